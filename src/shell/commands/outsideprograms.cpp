#include "shell/commands/outsideprograms.h"

#include "platform/system.h"
#include "platform/windowspaths.h"
#include "shell/project/editorfile.h"

namespace zav::shell {

QString OutsidePrograms::commandLine(const QString &key)
{
    if (key == QStringLiteral("calcolatrice"))
        return QStringLiteral("C:\\WINDOWS\\CALC.EXE");
    if (key == QStringLiteral("prompt"))
        return QStringLiteral("C:\\WINDOWS\\DOSPRMPT.PIF");
    if (key == QStringLiteral("control"))
        return QStringLiteral("C:\\WINDOWS\\control.EXE");
    if (key == QStringLiteral("notepad"))
        return QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE");
    if (key == QStringLiteral("wordpad"))
        return QStringLiteral("C:\\brem\\scrivex.EXE");
    return {};
}

bool OutsidePrograms::start(const QString &key)
{
    const QString windows = commandLine(key);
    if (windows.isEmpty())
        return false;
    QString program;
    if (key == QStringLiteral("wordpad")) {
        if (const auto chosen = EditorFile::read())
            program = platform::system().findProgram(*chosen);
    }
    if (program.isEmpty())
        program = platform::WindowsPaths::program(windows);
    if (program.isEmpty())
        return false;
    return platform::system().startProgram(program, {});
}

} // namespace zav::shell
