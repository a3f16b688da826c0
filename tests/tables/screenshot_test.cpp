#include "support/screenshots.h"
#include "tables/frm_tab_coeff.h"
#include "tables/frm_tabelle.h"
#include "tables/usertables.h"

#include "tablesfixture.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

// Renders the coefficient form on the light table of the template, with "Tab. A" in use, into a
// PNG in the folder named by ZAV_SCREENSHOT_DIR, for the documentation.
TEST_F(TablesTest, ScreenshotOfTheCoefficientForm)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

    // The program installs the printing, so "Stampa" is enabled.
    tables::setPrintHandlers({ [](const QString &, const QString &) {}, {} });
    auto *form = qobject_cast<tables::frm_tab_coeff *>(tables::coef(4));
    ASSERT_NE(form, nullptr);
    form->resize(860, 460);
    form->TDBGrid1_HeadClick(1);
    form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(2, 1));
    QTest::qWait(50);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(zav::test::pictureWritten(form->grab(), folder, QStringLiteral("coefficient-form.png")));
}

// Renders "Gestione tabelle" with three user tables, "Seleziona" shown as "Seleziona Tabella" shows
// it, into a PNG for the user's manual.
TEST_F(TablesTest, ScreenshotOfTheUserTablesForm)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

    openProject();
    for (const char *name : { "BOX AUTO", "SCALA B", "ASCENSORE PAL_2" })
        ASSERT_FALSE(tables::UserTables::create(project, QString::fromLatin1(name)));
    auto *form = platform::FormRegistry::form<tables::frm_tabelle>(QStringLiteral("frm_tabelle"));
    ASSERT_NE(form, nullptr);
    form->Command1[3]->setVisible(true);
    form->Text1->setText(QStringLiteral("CANTINE"));
    form->Data1->setCurrentRow(1);
    form->TDBGrid12->selectRow(1);
    form->show();
    QTest::qWait(50);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(zav::test::pictureWritten(form->grab(), folder, QStringLiteral("user-tables-form.png")));
    form->close();
}

} // namespace
} // namespace zav::test
