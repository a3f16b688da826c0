#include "platform/windowspaths.h"

#include "platform/programfolder.h"
#include "platform/system.h"

#include <QDir>

namespace zav::platform {

const QList<WindowsPaths::Entry> &WindowsPaths::table()
{
    // Each program path lists what plays its part on the common Linux desktops, most likely first.
    static const QList<Entry> entries {
        { QStringLiteral("C:\\WINDOWS\\CALC.EXE"), false,
            { QStringLiteral("gnome-calculator"), QStringLiteral("galculator"), QStringLiteral("kcalc"),
                QStringLiteral("mate-calc"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc") } },
        { QStringLiteral("C:\\WINDOWS\\DOSPRMPT.PIF"), false,
            { QStringLiteral("x-terminal-emulator"), QStringLiteral("gnome-terminal"),
                QStringLiteral("konsole"), QStringLiteral("xfce4-terminal"), QStringLiteral("lxterminal"),
                QStringLiteral("xterm") } },
        { QStringLiteral("C:\\WINDOWS\\control.EXE"), false,
            { QStringLiteral("gnome-control-center"), QStringLiteral("xfce4-settings-manager"),
                QStringLiteral("systemsettings"), QStringLiteral("mate-control-center"),
                QStringLiteral("lxqt-config") } },
        { QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE"), false,
            { QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("mousepad"),
                QStringLiteral("kwrite"), QStringLiteral("pluma"), QStringLiteral("xed"),
                QStringLiteral("leafpad") } },
        // The maker's text editor does not exist on Linux; a word processor takes its place.
        { QStringLiteral("C:\\brem\\scrivex.EXE"), false,
            { QStringLiteral("lowriter"), QStringLiteral("abiword") } },
        // The floppy drive: backups go to the user's home folder.
        { QStringLiteral("a:\\"), true, { QStringLiteral("~") } },
    };
    return entries;
}

const WindowsPaths::Entry *WindowsPaths::find(const QString &windows)
{
    for (const Entry &entry : table()) {
        if (entry.windows.compare(windows, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

QString WindowsPaths::program(const QString &windows)
{
    const Entry *entry = find(windows);
    if (!entry || entry->isFolder)
        return {};
    for (const QString &candidate : entry->onLinux) {
        const QString found = system().findProgram(candidate);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString WindowsPaths::folder(const QString &windows)
{
    const Entry *entry = find(windows);
    if (!entry || !entry->isFolder)
        return {};
    const QString onLinux = entry->onLinux.value(0);
    if (onLinux == u'~')
        return QDir::homePath();
    return ProgramFolder::file(onLinux);
}

const QList<WindowsPaths::Document> &WindowsPaths::documents()
{
    // No viewer reads the old help format on Linux: the program's manual stands in for it. The
    // various-expense database had a fixed folder of its own; it ships in the program folder.
    static const QList<Document> entries {
        { QStringLiteral("zav.hlp"), QStringLiteral("Zav6-Man.pdf") },
        { QStringLiteral("c:\\zav4\\rip_spese3.mdb"), QStringLiteral("rip_spese3.mdb") },
    };
    return entries;
}

QString WindowsPaths::document(const QString &windows)
{
    for (const Document &entry : documents()) {
        if (entry.windows.compare(windows, Qt::CaseInsensitive) == 0)
            return ProgramFolder::file(entry.onLinux);
    }
    return {};
}

} // namespace zav::platform
