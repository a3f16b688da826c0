// The user's manual: laid out by the build into the program folder, opened by "Help" and by F1.

#include "shellformsfixture.h"

#include "platform/programfolder.h"
#include "shell/forms/frm_init.h"
#include "support/systemrecorder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace zav::test {
namespace {

using platform::FormRegistry;
using platform::SystemRecorder;

// The build turns the chapters of docs/manuale into "Zav6-Man.pdf": a PDF document with at least
// one page for each chapter, since every chapter starts a page.
TEST(Manual, TheBuildLaysOutTheManualIntoTheProgramFolder)
{
    QFile pdf(builtProgramFolder() + QStringLiteral("/Zav6-Man.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << pdf.fileName().toStdString();
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));

    const QStringList chapters = QDir(QStringLiteral(ZAV_TEST_SOURCE_DIR "/../docs/manuale"))
                                     .entryList({ QStringLiteral("*.md") }, QDir::Files, QDir::Name);
    ASSERT_GE(chapters.size(), 6);
    const QRegularExpressionMatch count
        = QRegularExpression(QStringLiteral("/Count (\\d+)")).match(QString::fromLatin1(bytes));
    ASSERT_TRUE(count.hasMatch());
    EXPECT_GE(count.captured(1).toInt(), chapters.size());
    const qsizetype pages
        = QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type /Page\\b")));
    EXPECT_EQ(pages, count.captured(1).toInt());
}

class ManualCommandsTest : public ShellFormsTest
{
};

// "Help" and F1 in the main window open the program folder's manual with the desktop's program.
TEST_F(ManualCommandsTest, HelpAndF1OpenTheManual)
{
    SystemRecorder system;
    auto *window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    const QString manual = platform::ProgramFolder::file(QStringLiteral("Zav6-Man.pdf"));
    ASSERT_TRUE(QFile::exists(manual));

    window->Bar_main1_ToolClick(QStringLiteral("tHelp"));
    ASSERT_EQ(system.started().size(), 1);
    EXPECT_EQ(system.started().at(0).document, manual);

    QTest::keyClick(window, Qt::Key_F1);
    ASSERT_EQ(system.started().size(), 2);
    EXPECT_EQ(system.started().at(1).document, manual);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// Where no program opens PDF documents the desktop's opener starts all the same and gives up only
// when it ends; whether it gives up at once or the lookup finds no program, "Help" and F1 each say
// once that the manual was not opened, where it is and what opens it.
TEST_F(ManualCommandsTest, HelpAndF1SayWhereTheManualIsWhenNoProgramOpensIt)
{
    auto *window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    const QString manual = platform::ProgramFolder::file(QStringLiteral("Zav6-Man.pdf"));

    const auto saysWhereTheManualIs = [&](const QString &text) {
        EXPECT_TRUE(text.contains(QStringLiteral("manuale non è stato aperto"))) << text.toStdString();
        EXPECT_TRUE(text.contains(manual)) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("lettore di PDF"))) << text.toStdString();
    };
    for (const bool lookupFindsNone : { false, true }) {
        SCOPED_TRACE(lookupFindsNone ? "no program found" : "the opener gives up");
        boxes.clear();
        SystemRecorder system;
        if (lookupFindsNone)
            system.setLookup(manual, platform::DocumentLookup::NoAssociation);
        else
            system.setOpenFailsLater(true);

        window->Bar_main1_ToolClick(QStringLiteral("tHelp"));
        QTest::qWait(20);
        ASSERT_EQ(boxes.shown().size(), 1);
        saysWhereTheManualIs(boxes.shown().at(0).text);

        QTest::keyClick(window, Qt::Key_F1);
        QTest::qWait(20);
        ASSERT_EQ(boxes.shown().size(), 2);
        saysWhereTheManualIs(boxes.shown().at(1).text);
    }
}

} // namespace
} // namespace zav::test
