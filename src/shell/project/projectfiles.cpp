#include "shell/project/projectfiles.h"

#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace zav::shell::projectfiles {

namespace {

// Why a file could not be written at this path.
FileOutcome writeFailure(const QString &target)
{
    const QFileInfo info(target);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return FileOutcome::PathNotFound;
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return FileOutcome::PermissionDenied;
    return FileOutcome::Failed;
}

// Writes the source's bytes into an open save file.
bool copyInto(const QString &source, QSaveFile &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (target.write(buffer, got) != got)
            return false;
    }
}

} // namespace

QString baseName(const QString &fileName)
{
    QString name;
    const qsizetype limit = qMin<qsizetype>(fileName.size(), 1000);
    for (qsizetype i = 0; i < limit; ++i) {
        if (fileName.at(i) == u'.')
            break;
        name += fileName.at(i);
    }
    return name;
}

QString stem(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString joinPath(const QString &folder, const QString &fileName)
{
    if (folder.endsWith(u'/'))
        return folder + fileName;
    return folder + u'/' + fileName;
}

QStringList filesIgnoringCase(const QString &folder, const QString &name)
{
    QStringList found;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            found << dir.filePath(entry);
    }
    return found;
}

bool isSameFile(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

QString defaultFolder()
{
    return platform::ProgramFolder::file(DefaultFolderName);
}

bool ensureDefaultFolder()
{
    return QDir().mkpath(defaultFolder());
}

std::optional<QString> rememberedFolder()
{
    QFile file(platform::ProgramFolder::file(FolderMemoryFile));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    // The record is the folder between double quotes; an unquoted record is taken as it stands.
    QString folder;
    if (line.startsWith(u'"')) {
        const qsizetype close = line.lastIndexOf(u'"');
        folder = close > 0 ? line.mid(1, close - 1) : line.mid(1);
    } else {
        folder = line.trimmed();
    }
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

bool rememberFolder(const QString &folder)
{
    QSaveFile file(platform::ProgramFolder::file(FolderMemoryFile));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray record = '"' + folder.toUtf8() + "\"\r\n";
    if (file.write(record) != record.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

FileOutcome copyAll(const QList<Copy> &copies, const QStringList &replaced, QString *failedPath)
{
    auto fail = [failedPath](FileOutcome outcome, const QString &path) {
        if (failedPath)
            *failedPath = path;
        return outcome;
    };

    std::vector<std::unique_ptr<QSaveFile>> staged;
    for (const Copy &copy : copies) {
        if (!QFileInfo(copy.source).isFile())
            return fail(FileOutcome::SourceMissing, copy.source);
        auto target = std::make_unique<QSaveFile>(copy.target);
        if (!target->open(QIODevice::WriteOnly))
            return fail(writeFailure(copy.target), copy.target);
        if (!copyInto(copy.source, *target)) {
            target->cancelWriting();
            return fail(FileOutcome::Failed, copy.target);
        }
        staged.push_back(std::move(target));
    }

    // Every copy is written: the files they replace go, then the copies take their names.
    for (const QString &path : replaced) {
        bool isTarget = false;
        for (const Copy &copy : copies)
            isTarget = isTarget || copy.target == path;
        if (!isTarget && QFileInfo::exists(path) && !QFile::remove(path))
            return fail(writeFailure(path), path);
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (!staged[i]->commit())
            return fail(writeFailure(copies.at(qsizetype(i)).target), copies.at(qsizetype(i)).target);
    }
    return FileOutcome::Done;
}

FileOutcome removeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return FileOutcome::SourceMissing;
    if (QFile::remove(path))
        return FileOutcome::Done;
    return writeFailure(path);
}

} // namespace zav::shell::projectfiles
