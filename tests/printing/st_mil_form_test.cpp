#include "printing/printingforms.h"
#include "printing/st_mil.h"
#include "printingfixture.h"

#include "controls/xpbutton.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace zav;
using printing::ST_MIL;
using zav::platform::MsgIcon;

namespace {

QStringList entries(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

QStringList owners(const platform::DataSource *source)
{
    QStringList texts;
    for (int row = 0; row < source->recordCount(); ++row)
        texts.append(source->value(row, QStringLiteral("PROPRIETARIO")).toString());
    return texts;
}

class PrintForm : public test::PrintingTest
{
};

} // namespace

TEST_F(PrintForm, LoadsTheProjectsBuildingsAndLists)
{
    ST_MIL *f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(printing::stampa_mil(), f); // one form, reached by name
    EXPECT_EQ(f->objectName(), QStringLiteral("ST_MIL"));
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Stampa Millesimi / Dati Condomini"));
    EXPECT_EQ(f->CrystalReport1.previewTitle, QStringLiteral("Z.A.V. (Anteprima di Stampa)"));
    EXPECT_TRUE(f->Option1->isChecked());

    EXPECT_EQ(entries(f->Combo1), (QStringList { "1", "2" }));
    EXPECT_EQ(f->Combo1->currentText(), QString());
    EXPECT_EQ(f->Combo2->count(), 0);
    EXPECT_EQ(entries(f->Combo3), (QStringList { "1", "2" }));
    EXPECT_EQ(f->Combo3->currentText(), QStringLiteral("1"));
    // Building 1's units, in the table's own order.
    EXPECT_EQ(owners(f->Data4),
        (QStringList { "ALFA", "D'Amico \"Nino\"", "Bianchi", QStringLiteral("Negozio Perù") }));
    EXPECT_EQ(f->TDBGrid14->column(0).caption, QStringLiteral("Nome Condomino"));
    EXPECT_EQ(f->TDBGrid14->column(15).dataField, QStringLiteral("INTERNO"));

    EXPECT_EQ(f->TDBGrid1->caption(), QStringLiteral("Elenco Tabelle Varie"));
    EXPECT_EQ(f->TDBGrid1->column(0).caption, QStringLiteral("Nome Tabella"));
    ASSERT_EQ(f->Data1->recordCount(), 2);
    EXPECT_EQ(f->Label1->text(), QString()); // nothing chosen by loading
    EXPECT_EQ(f->List1->count(), 0);
    EXPECT_TRUE(f->Frame2->isEnabled());
    EXPECT_FALSE(f->Check10->isEnabled());
    EXPECT_FALSE(f->Check10->isChecked());

    const std::pair<controls::XPButton *, const char *> documents[]
        = { { f->Command3, "Relazione di Calcolo" }, { f->Command7, "Dispos. Cod. Civile" },
              { f->Command8, "Maggior. Assemblari" }, { f->Command9, "Schema Rip. Spese" },
              { f->XPButton1, "Circolare 26/03/66" } };
    for (const auto &[button, caption] : documents) {
        EXPECT_EQ(button->caption(), QString::fromLatin1(caption));
        EXPECT_EQ(button->parentWidget(), f->Frame1);
    }
    // Always shown, one under the other in that order.
    f->resize(900, 700);
    f->show();
    for (std::size_t i = 0; i < std::size(documents); ++i) {
        const QWidget *button = documents[i].first;
        SCOPED_TRACE(documents[i].second);
        EXPECT_TRUE(button->isVisibleTo(f));
        if (i == 0)
            continue;
        const QWidget *above = documents[i - 1].first;
        EXPECT_EQ(button->x(), above->x());
        EXPECT_GE(button->y(), above->geometry().bottom());
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(PrintForm, WithoutAHeaderRecordNothingIsFilledOrBound)
{
    db().clear(QStringLiteral("ANA_CONDO"));
    ST_MIL *f = form();
    EXPECT_EQ(f->Combo1->count(), 0);
    EXPECT_EQ(f->Combo3->count(), 0);
    EXPECT_EQ(f->Data1->recordCount(), 0);
    EXPECT_EQ(f->Data4->recordCount(), 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// The boxes list the buildings that exist, whatever count the header holds.
TEST_F(PrintForm, WithoutBuildingsTheBoxesAndTheUnitsGridStayEmpty)
{
    platform::Database d = db();
    d.clear(QStringLiteral("COMPOS_PAL"));
    ST_MIL *f = form();
    EXPECT_EQ(f->Combo1->count(), 0);
    EXPECT_EQ(f->Combo3->count(), 0);
    EXPECT_EQ(f->Data4->recordCount(), 0);
    EXPECT_EQ(f->Data1->recordCount(), 2); // the user tables are listed all the same
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(PrintForm, ChoosingABuildingFillsTheStairBox)
{
    {
        platform::Database d = db();
        d.exec(QStringLiteral("UPDATE ANA_CONDO SET NUM_PAL = 5"));
        insert(d, "COMPOS_PAL", { "NUM_PAL", "NUM_SCALE" }, { { 3, 10 }, { 4, QVariant() }, { 5, 23 } });
    }
    ST_MIL *f = form();
    f->selectBuilding(0);
    EXPECT_EQ(entries(f->Combo2), (QStringList { "Nessuna", "A", "B" }));
    EXPECT_EQ(f->Combo2->currentText(), QString()); // no stair chosen yet

    f->selectBuilding(2);
    EXPECT_EQ(
        entries(f->Combo2), (QStringList { "Nessuna", "A", "B", "C", "D", "E", "F", "G", "H", "I", "L" }));

    // Beyond the 21st letter every stair is an empty entry.
    f->selectBuilding(4);
    ASSERT_EQ(f->Combo2->count(), 24);
    EXPECT_EQ(f->Combo2->itemText(21), QStringLiteral("Z"));
    EXPECT_EQ(f->Combo2->itemText(22), QString());
    EXPECT_EQ(f->Combo2->itemText(23), QString());
    EXPECT_TRUE(boxes.shown().isEmpty());

    f->selectBuilding(3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Nessuna scala inserita nella palazzina n°: 4"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(f->Combo2->count(), 0);
}

TEST_F(PrintForm, ABuildingBoxWithNoBuildingsStoredWarnsAndKeepsTheStairs)
{
    ST_MIL *f = form();
    f->selectBuilding(0);
    db().clear(QStringLiteral("COMPOS_PAL"));
    f->selectBuilding(1);
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Non sono ancora state inserite palazzine") });
    EXPECT_EQ(entries(f->Combo2), (QStringList { "Nessuna", "A", "B" }));

    // A building the table does not hold leaves the stairs as they were, without a message.
    boxes.clear();
    {
        platform::Database d = db();
        insert(d, "COMPOS_PAL", { "NUM_PAL", "NUM_SCALE" }, { { 7, 3 } });
    }
    f->selectBuilding(1);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(entries(f->Combo2), (QStringList { "Nessuna", "A", "B" }));
}

TEST_F(PrintForm, TheUsersChoiceInTheBoxesRunsTheirHandlers)
{
    ST_MIL *f = form();
    f->show();
    f->Combo1->setFocus();
    QTest::keyClick(f->Combo1, Qt::Key_Down); // the user activates the next entry
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("1"));
    EXPECT_EQ(entries(f->Combo2), (QStringList { "Nessuna", "A", "B" }));

    f->Combo3->setFocus();
    QTest::keyClick(f->Combo3, Qt::Key_Down);
    EXPECT_EQ(f->Combo3->currentText(), QStringLiteral("2"));
    EXPECT_EQ(owners(f->Data4), QStringList { "Rossi" });
}

TEST_F(PrintForm, TheDestinationSetsTuttiAndTheButtonsTickAndUntick)
{
    ST_MIL *f = form();
    f->Option2->click();
    EXPECT_TRUE(f->Check10->isChecked());
    f->Option1->click();
    EXPECT_FALSE(f->Check10->isChecked());
    f->Option3->click();
    EXPECT_TRUE(f->Check10->isChecked());

    f->Check9->setChecked(true);
    f->Check7->setChecked(true);
    EXPECT_TRUE(f->Frame2->isEnabled());
    f->Command1->click();
    for (QCheckBox *box : { f->Check1, f->Check2, f->Check3, f->Check4, f->Check5, f->Check6 })
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    f->Check8->setChecked(true);

    f->Command4->click();
    for (QCheckBox *box :
        { f->Check1, f->Check2, f->Check3, f->Check4, f->Check5, f->Check6, f->Check7, f->Check8 })
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_TRUE(f->Check9->isChecked());
    EXPECT_TRUE(f->Check10->isChecked());
    // Unticking "Millesimi Tabelle Varie" disables the user-table frame.
    EXPECT_FALSE(f->Frame2->isEnabled());
}

TEST_F(PrintForm, TheUserTableIsChosenFromTheList)
{
    ST_MIL *f = form();
    f->Data1->setCurrentRow(1);
    EXPECT_EQ(f->Label1->text(), QStringLiteral("VUOTA"));
    f->Data1->setCurrentRow(0);
    EXPECT_EQ(f->Label1->text(), QStringLiteral("SCALA B"));

    f->Label1->clear();
    f->Command6->click();
    EXPECT_EQ(f->Label1->text(), QStringLiteral("SCALA B"));

    // With no current row "Seleziona Tab." changes nothing.
    f->Data1->setCurrentRow(-1);
    f->Label1->setText(QStringLiteral("X"));
    f->Command6->click();
    EXPECT_EQ(f->Label1->text(), QStringLiteral("X"));
}

TEST_F(PrintForm, EsciUnloadsTheFormAndTheNextCommandLoadsItAfresh)
{
    ST_MIL *f = form();
    f->Option3->click();
    f->Check1->setChecked(true);
    f->List1->addItem(QStringLiteral("SCALA B"));
    f->Command5->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(platform::FormRegistry::isLoaded(printing::PrintFormName));

    ST_MIL *again = form();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->Option1->isChecked());
    EXPECT_FALSE(again->Check1->isChecked());
    EXPECT_EQ(again->List1->count(), 0);
}
