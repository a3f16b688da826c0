// What the program says at start when its folder cannot be written.

#include "shell/project/projectfiles.h"
#include "shell/startup.h"
#include "support/fixtures.h"

#include <QDir>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

namespace projectfiles = shell::projectfiles;

class ProgramFolderNotice : public ::testing::Test
{
protected:
    void TearDown() override { projectfiles::setWritableCheck({}); }

    TempProgramFolder program;
};

TEST_F(ProgramFolderNotice, NamesTheFolderThatCannotBeWrittenAndWhatWillNotWork)
{
    EXPECT_FALSE(shell::programFolderNotice().has_value());

    const QString archivi = program.file(QStringLiteral("ARCHIVI"));
    ASSERT_TRUE(QDir().mkpath(archivi));
    const struct
    {
        QString unwritable;
    } cases[] = { { program.path() }, { archivi } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.unwritable.toStdString());
        projectfiles::setWritableCheck([&](const QString &path) { return QDir(path) != QDir(c.unwritable); });
        const std::optional<QString> notice = shell::programFolderNotice();
        ASSERT_TRUE(notice.has_value());
        EXPECT_TRUE(notice->startsWith(
            QStringLiteral("La cartella \"%1\" non è scrivibile.").arg(QDir::toNativeSeparators(c.unwritable))))
            << notice->toStdString();
        for (const char *what : { "progetti nella cartella predefinita", "tabelle spese", "impostazioni" })
            EXPECT_TRUE(notice->contains(QString::fromUtf8(what))) << what;
    }
}

} // namespace
} // namespace zav::test
