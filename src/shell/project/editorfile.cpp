#include "shell/project/editorfile.h"

#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QFile>
#include <QSaveFile>

namespace zav::shell {

QString EditorFile::path()
{
    return platform::ProgramFolder::file(QStringLiteral("editor.cfg"));
}

bool EditorFile::write(const QString &programPath)
{
    if (programPath.contains(u'"'))
        return false;
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((u'"' + programPath + QStringLiteral("\"\r\n")).toUtf8());
    return file.commit();
}

std::optional<QString> EditorFile::read()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The first record: the text between its quotes, or an unquoted record up to its end.
    const QString content = QString::fromUtf8(file.readAll());
    const QString record = content.section(u'\n', 0, 0).trimmed();
    if (record.isEmpty())
        return std::nullopt;
    if (record.startsWith(u'"')) {
        const qsizetype close = record.indexOf(u'"', 1);
        return close < 0 ? record.mid(1) : record.mid(1, close - 1);
    }
    return record.section(u',', 0, 0).trimmed();
}

void EditorFile::choose(QString &chosen)
{
    const QString picked = platform::dialogs().openFileName(QString(), QString(), QString());
    if (!picked.isEmpty())
        chosen = picked;
    if (chosen.isEmpty())
        return;
    write(chosen);
}

} // namespace zav::shell
