#pragma once

#include <QString>
#include <QTemporaryDir>

namespace zav::test {

/** @brief The program folder laid out by the build (read-only for tests). */
QString builtProgramFolder();

/**
 * @brief A temporary copy of the built program folder, installed as the program folder for the
 * fixture's lifetime; the previous one is restored after.
 */
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder &) = delete;
    TempProgramFolder &operator=(const TempProgramFolder &) = delete;

    QString path() const { return m_dir.path(); }
    /** @brief Path of a file inside the copy. */
    QString file(const QString &name) const;
    /** @brief Copies a template of the program folder to a new file of the copy, returns its path. */
    QString copyOf(const QString &templateName, const QString &newName) const;

private:
    QTemporaryDir m_dir;
};

} // namespace zav::test
