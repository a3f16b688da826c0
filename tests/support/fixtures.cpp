#include "support/fixtures.h"

#include "platform/programfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace zav::test {

QString builtProgramFolder()
{
    return QStringLiteral(ZAV_TEST_PROGRAM_DIR);
}

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        const QString target = to + u'/' + relative;
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
            continue;
        }
        if (it.fileInfo().isExecutable() && it.fileInfo().suffix().isEmpty())
            continue; // the program itself is not needed by tests
        if (!QFile::copy(source, target))
            throw std::runtime_error("cannot copy the program folder");
        QFile(target).setPermissions(
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
}

} // namespace

TempProgramFolder::TempProgramFolder()
{
    copyTree(builtProgramFolder(), m_dir.path());
    platform::ProgramFolder::setPath(m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    platform::ProgramFolder::setPath(QString());
}

QString TempProgramFolder::file(const QString &name) const
{
    return m_dir.path() + u'/' + name;
}

QString TempProgramFolder::copyOf(const QString &templateName, const QString &newName) const
{
    const QString target = file(newName);
    QFile::remove(target);
    if (!QFile::copy(file(templateName), target))
        throw std::runtime_error("cannot copy a template");
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

} // namespace zav::test
