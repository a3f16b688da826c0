#include "shell/project/projectfiles.h"

#include "platform/diskspace.h"

#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <memory>
#include <vector>

namespace zav::shell::projectfiles {

namespace {

std::function<bool(const QString &)> &writableCheck()
{
    static std::function<bool(const QString &)> check;
    return check;
}

// Why a file could not be written at this path.
FileOutcome writeFailure(const QString &target)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return FileOutcome::PathNotFound;
    if (!isWritableFolder(folder) || (info.exists() && !isWritableFile(target)))
        return FileOutcome::PermissionDenied;
    if (platform::isDiskFull(target))
        return FileOutcome::DiskFull;
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

QString projectName(const QString &archiveFileName)
{
    const qsizetype dot = archiveFileName.lastIndexOf(u'.');
    return dot < 0 ? archiveFileName : archiveFileName.left(dot);
}

QString extension(ProjectFile file)
{
    switch (file) {
    case ProjectFile::Archive:
        return QStringLiteral(".CDB");
    case ProjectFile::Report:
        return QStringLiteral(".RTF");
    case ProjectFile::Terraces:
        return QStringLiteral(".TER");
    case ProjectFile::Lock:
        return QStringLiteral(".LDB");
    }
    return QString();
}

QString projectFileName(const QString &projectName, ProjectFile file)
{
    return projectName + extension(file);
}

std::optional<QString> projectNameProblem(const QString &name)
{
    if (name.size() > MaxProjectNameLength)
        return QStringLiteral("Il nome del progetto è troppo lungo (%1 caratteri): può avere al massimo %2 "
                              "caratteri.")
            .arg(name.size())
            .arg(MaxProjectNameLength);
    // Characters that show nothing or change how the text around them shows (a line break, the
    // marks that reverse the direction of the text) would make the name read as another in every
    // list and message; the name is not repeated in the message for the same reason.
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Other_Surrogate || c == QChar::ReplacementCharacter)
            return QStringLiteral("Il nome scritto non è un nome di progetto valido: contiene caratteri di "
                                  "controllo o di formato, che non si vedono o cambiano il verso del testo. "
                                  "Scrivere il nome con lettere, cifre e segni visibili.");
    }
    if (name.contains(u'.') || name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("\"%1\" non è un nome di progetto valido: il nome non può contenere il punto "
                              "(\".\"), \"/\" o \"\\\".")
            .arg(name);
    return std::nullopt;
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

QStringList namesakes(const QString &folder, const QString &archiveFileName)
{
    const QString name = projectName(archiveFileName);
    const QString archiveExtension = extension(ProjectFile::Archive);
    QStringList found;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry == archiveFileName || !entry.endsWith(archiveExtension, Qt::CaseInsensitive))
            continue;
        if (projectName(entry).compare(name, Qt::CaseInsensitive) == 0)
            found << entry;
    }
    return found;
}

bool hasTwin(const QString &folder, const QString &archiveFileName)
{
    const QString name = projectName(archiveFileName);
    for (const QString &other : namesakes(folder, archiveFileName)) {
        if (projectName(other) == name)
            return true;
    }
    return false;
}

QStringList companionFiles(const QString &folder, const QString &archiveFileName, ProjectFile file)
{
    const QString name = projectName(archiveFileName);
    const QStringList candidates = filesIgnoringCase(folder, projectFileName(name, file));
    if (namesakes(folder, archiveFileName).isEmpty())
        return candidates;
    if (hasTwin(folder, archiveFileName))
        return {};
    QStringList own;
    for (const QString &path : candidates) {
        if (projectName(QFileInfo(path).fileName()) == name)
            own << path;
    }
    return own;
}

QString newCompanionName(const QString &folder, const QString &archiveFileName, ProjectFile file)
{
    const QString name = projectName(archiveFileName);
    return projectFileName(namesakes(folder, archiveFileName).isEmpty() ? name.toUpper() : name, file);
}

QString companionPath(const QString &folder, const QString &archiveFileName, ProjectFile file)
{
    const QStringList found = companionFiles(folder, archiveFileName, file);
    return !found.isEmpty() ? found.first()
                            : joinPath(folder, newCompanionName(folder, archiveFileName, file));
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

bool isWritableFolder(const QString &folder)
{
    if (writableCheck())
        return writableCheck()(folder);
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(joinPath(folder, QStringLiteral(".zav-XXXXXX")));
    return probe.open();
}

bool isWritableFile(const QString &path)
{
    if (writableCheck())
        return writableCheck()(path) && writableCheck()(QFileInfo(path).absolutePath());
    return QFileInfo(path).isWritable() && isWritableFolder(QFileInfo(path).absolutePath());
}

void setWritableCheck(std::function<bool(const QString &)> check)
{
    writableCheck() = std::move(check);
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
            return fail(
                platform::isDiskFull(copy.target) ? FileOutcome::DiskFull : FileOutcome::Failed, copy.target);
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
