#include "shell/forms/frm_virgola.h"

#include "platform/db.h"
#include "support/child.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"
#include "tables/fulldisk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using platform::Database;

class VirgolaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB"));
        QDir(folder.path()).mkpath(QStringLiteral("ARCHIVI"));
        other = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    }

    static QString firstFloorCoefficient(const QString &archive)
    {
        Database db = Database::open(archive);
        return db.table(QStringLiteral("TAB_COEF")).value(0, 1).toString();
    }

    static void pick(shell::frm_virgola &form, const QString &file)
    {
        const QList<QListWidgetItem *> found = form.File1->findItems(file, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << file.toStdString();
        form.File1->setCurrentItem(found.first());
        child<QPushButton>(form, QStringLiteral("Command2"))->click();
    }

    TempProgramFolder folder;
    QString path;
    QString other;
    platform::ScriptedDialogs boxes;
};

TEST_F(VirgolaTest, ListsTheArchivesOfTheProgramFolderAndTheTenTables)
{
    shell::frm_virgola form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Conversione Dati - Separatore decimale -"));
    EXPECT_EQ(QDir(form.Dir1->Path()), QDir(folder.path()));
    QStringList files;
    for (int i = 0; i < form.File1->count(); ++i)
        files << form.File1->item(i)->text();
    // The archives' extensions in any case, and nothing else of the program folder.
    EXPECT_TRUE(files.contains(QStringLiteral("ARCH_MIL.CLO")));
    EXPECT_TRUE(files.contains(QStringLiteral("PROVA.CDB")));
    EXPECT_FALSE(files.contains(QStringLiteral("vga.drv")));
    EXPECT_FALSE(files.contains(QStringLiteral("UTENTE.MDB")));
    for (const QString &file : files) {
        const QString suffix = QFileInfo(file).suffix().toLower();
        EXPECT_TRUE(suffix == u"gep" || suffix == u"clo" || suffix == u"cdb") << file.toStdString();
    }
    QStringList tables;
    for (int i = 0; i < form.List1->count(); ++i)
        tables << form.List1->item(i)->text();
    EXPECT_EQ(tables,
        (QStringList { "TAB_COEF", "TAB_COEF2", "TAB_COEF3", "TAB_COEF4", "TAB_COEF5", "TAB_COEF6",
            "TAB_COEF7", "TAB_COEF8", "TAB_WINDOW", "ESPRESSIONI" }));
    EXPECT_TRUE(form.Label1->text().isEmpty());
}

TEST_F(VirgolaTest, SelezionaTakesOnlyAFileTheUserSelected)
{
    shell::frm_virgola form;
    form.show();
    // Tabbing into the file list puts its cursor on the first file without selecting it.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.File1, &focusIn);
    child<QPushButton>(form, QStringLiteral("Command2"))->click();
    EXPECT_TRUE(form.Label1->text().isEmpty());

    pick(form, QStringLiteral("PROVA.CDB"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("PROVA.CDB"));
}

TEST_F(VirgolaTest, ConvertiNeedsADirectionThenAFile)
{
    shell::frm_virgola form;
    auto *converti = child<QPushButton>(form, QStringLiteral("Command1"));
    converti->click();
    EXPECT_TRUE(boxes.shown().isEmpty());

    form.Option1->setChecked(true);
    converti->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Nessun archivio selezionato"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Information);

    // A file taken, then no direction: still nothing.
    boxes.clear();
    pick(form, QStringLiteral("PROVA.CDB"));
    form.Option1->setAutoExclusive(false);
    form.Option1->setChecked(false);
    converti->click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(firstFloorCoefficient(path), QStringLiteral("1,00"));
}

TEST_F(VirgolaTest, ConvertsTheChosenArchiveWithOneProgressStepPerTable)
{
    shell::frm_virgola form;
    pick(form, QStringLiteral("PROVA.CDB"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("PROVA.CDB"));
    form.Option1->setChecked(true);

    QList<int> values;
    QObject::connect(form.ProgressBar1, &QProgressBar::valueChanged, [&](int value) { values << value; });
    int valueAtMessage = -1;
    // The message box is the scripted one, so the bar's value at that moment is what it showed.
    QObject::connect(form.ProgressBar1, &QProgressBar::valueChanged, [&] {
        if (boxes.shown().isEmpty())
            valueAtMessage = form.ProgressBar1->value();
    });
    form.Command1_Click();

    EXPECT_EQ(firstFloorCoefficient(path), QStringLiteral("1.00"));
    EXPECT_EQ(firstFloorCoefficient(other), QStringLiteral("1,00"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Progetto aggiornato"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Informazioni !!!"));
    EXPECT_EQ(form.ProgressBar1->maximum(), 10);
    EXPECT_EQ(valueAtMessage, 10);
    EXPECT_EQ(values, (QList<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1 }));

    // And back.
    form.Option2->setChecked(true);
    form.Command1_Click();
    EXPECT_EQ(firstFloorCoefficient(path), QStringLiteral("1,00"));
}

TEST_F(VirgolaTest, OnAFullDiskNothingIsConvertedAndTheMessageSaysSo)
{
    shell::frm_virgola form;
    pick(form, QStringLiteral("PROVA.CDB"));
    form.Option1->setChecked(true);
    {
        FullDiskScope disk;
        form.Command1_Click();
    }
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Archivio non convertito. Il disco è pieno: nessun valore è stato cambiato. Liberare "
                       "spazio sul disco e riprovare."));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Critical);
    EXPECT_EQ(firstFloorCoefficient(path), QStringLiteral("1,00"));
    EXPECT_EQ(form.ProgressBar1->value(), 1);
}

TEST_F(VirgolaTest, TheNameTakenIsLookedForInTheFolderShownWhenConverting)
{
    shell::frm_virgola form;
    pick(form, QStringLiteral("PROVA.CDB"));
    form.Option1->setChecked(true);
    form.Dir1->setPath(folder.file(QStringLiteral("ARCHIVI")));
    form.Command1_Click();
    EXPECT_EQ(firstFloorCoefficient(other), QStringLiteral("1.00"));
    EXPECT_EQ(firstFloorCoefficient(path), QStringLiteral("1,00"));

    // A folder without that name: the failure is told and no update is announced.
    boxes.clear();
    QDir(folder.path()).mkpath(QStringLiteral("VUOTA"));
    form.Dir1->setPath(folder.file(QStringLiteral("VUOTA")));
    form.Command1_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_NE(boxes.shown().at(0).text, QStringLiteral("Progetto aggiornato"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Critical);
    EXPECT_EQ(form.ProgressBar1->value(), 1);
}

} // namespace
} // namespace zav::test
