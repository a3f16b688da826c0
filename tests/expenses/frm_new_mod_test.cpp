// The cost estimate form driven through its handlers: the totals row made on load, the
// percentages against the totals as shown, the split of the amounts, the check and the emptying.

#include "expenses/costestimate.h"
#include "expenses/frm_new_mod.h"
#include "expensesfixture.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using expenses::frm_new_mod;
using platform::Database;

class EstimateFormTest : public ExpensesTest
{
protected:
    void TearDown() override
    {
        platform::FormRegistry::unload(expenses::EstimateFormName);
        ExpensesTest::TearDown();
    }

    QString path() const { return folder.file(QStringLiteral("new.mdb")); }

    frm_new_mod *open() { return platform::FormRegistry::form<frm_new_mod>(expenses::EstimateFormName); }

    /** Units with their five bases: urban, covered, useful surface, volume, presumed cost. */
    void units(const QList<QVariantList> &rows)
    {
        Database d = Database::open(path());
        insert(
            d, "preventivo", { "nome_condomino", "sup_urba", "sup_cop", "sup_uti", "volume", "costo" }, rows);
    }

    QVariantList column(const char *field) const
    {
        return ExpensesTest::column(path(), QStringLiteral("preventivo"), QString::fromLatin1(field));
    }

    static QStringList labels(frm_new_mod *f)
    {
        QStringList texts;
        for (QLabel *label : f->Label)
            texts << label->text();
        return texts;
    }

    void typeAmounts(frm_new_mod *f, const QStringList &texts)
    {
        for (int i = 0; i < 5; ++i)
            f->Text[i]->setText(texts.at(i));
    }
};

TEST_F(EstimateFormTest, LoadGivesAnEmptyTotaliItsRowOfZerosAndLeavesAnExistingOne)
{
    open();
    QVariantList row;
    for (const char *field :
        { "TOTALE_SUP_URBA", "TOTALE_SUP_COP", "TOTALE_SUP_UTI", "TOTALE_VOLUME", "TOTALE_COSTO" })
        row << ExpensesTest::column(path(), QStringLiteral("TOTALI"), QString::fromLatin1(field));
    EXPECT_EQ(row, (QVariantList { 0.0, 0.0, 0.0, 0.0, 0.0 }));
    platform::FormRegistry::unload(expenses::EstimateFormName);

    Database::open(path()).exec(QStringLiteral("UPDATE TOTALI SET TOTALE_COSTO = 1234.5"));
    frm_new_mod *f = open();
    EXPECT_EQ(ExpensesTest::column(path(), QStringLiteral("TOTALI"), QStringLiteral("TOTALE_COSTO")),
        QVariantList { 1234.5 });
    // Shown as an amount when the form becomes active; text that is no number stays.
    f->Text[0]->setText(QStringLiteral("abc"));
    f->Form_Activate();
    EXPECT_EQ(f->Text[4]->text(), QStringLiteral("€ 1.234,50"));
    EXPECT_EQ(f->Text[0]->text(), QStringLiteral("abc"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(EstimateFormTest, AnAmountTypedIsShownAsCurrencyAndStoredWhenTheBoxIsLeft)
{
    frm_new_mod *f = open();
    f->Text[0]->setText(QStringLiteral("1.500,5"));
    f->Text_LostFocus(0);
    EXPECT_EQ(f->Text[0]->text(), QStringLiteral("€ 1.500,50"));
    EXPECT_EQ(ExpensesTest::column(path(), QStringLiteral("TOTALI"), QStringLiteral("TOTALE_SUP_URBA")),
        QVariantList { 1500.5 });
    // Its currency text stores back as the same amount.
    f->Text_LostFocus(0);
    f->Form_Activate();
    f->close();
    EXPECT_EQ(ExpensesTest::column(path(), QStringLiteral("TOTALI"), QStringLiteral("TOTALE_SUP_URBA")),
        QVariantList { 1500.5 });

    // Text that is no amount stays in the box and is not stored.
    f->Text[1]->setText(QStringLiteral("abc"));
    f->Text_LostFocus(1);
    EXPECT_EQ(f->Text[1]->text(), QStringLiteral("abc"));
    EXPECT_EQ(ExpensesTest::column(path(), QStringLiteral("TOTALI"), QStringLiteral("TOTALE_SUP_COP")),
        QVariantList { 0.0 });
}

TEST_F(EstimateFormTest, CalcPercWorksEachShareAgainstTheTotalShown)
{
    units({ { "Rossi", 30, 10, 25, 90, 100 }, { "Verdi", 70, 30, 75, 210, 300 } });
    frm_new_mod *f = open();
    f->Command2->click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    // Label1..5 the column totals (the cost in currency), Label6..10 the percentage totals from
    // the cost back to the urban surface.
    EXPECT_EQ(labels(f),
        (QStringList { "100", "40", "100", "300", "€ 400,00", "100", "100", "100", "100", "100" }));
    EXPECT_EQ(column("perc_sup_urba"), (QVariantList { 30.0, 70.0 }));
    EXPECT_EQ(column("perc_sup_cop"), (QVariantList { 25.0, 75.0 }));
    EXPECT_EQ(column("perc_volume"), (QVariantList { 30.0, 70.0 }));
    EXPECT_EQ(column("perc_costo"), (QVariantList { 25.0, 75.0 }));
}

TEST_F(EstimateFormTest, CurrencyRoundingOfTheShownCostTotalMovesTheCostShares)
{
    // Three costs of half a cent: the label is rounded to cents after every row (0,01, 0,02,
    // 0,03), so each share is 0,005 / 0,03 = 16,6667 % and they add up to 50,0001.
    units({ { "A", 1, 1, 1, 1, 0.005 }, { "B", 1, 1, 1, 1, 0.005 }, { "C", 1, 1, 1, 1, 0.005 } });
    frm_new_mod *f = open();
    f->Command2_Click();
    EXPECT_EQ(f->Label[4]->text(), QStringLiteral("€ 0,03"));
    EXPECT_EQ(column("perc_costo"), (QVariantList { 16.6667, 16.6667, 16.6667 }));
    EXPECT_EQ(f->Label[5]->text(), QStringLiteral("50,0001"));
    // Shares rounded to four decimals need not add up to 100.
    EXPECT_EQ(column("perc_sup_urba"), (QVariantList { 33.3333, 33.3333, 33.3333 }));
    EXPECT_EQ(f->Label[9]->text(), QStringLiteral("99,9999"));
}

TEST_F(EstimateFormTest, BadDataStopsAtItsRowAndSaysWhere)
{
    // An empty covered surface in the second row stops the totals there.
    units({ { "Rossi", 30, 10, 25, 90, 100 }, { "Verdi", 70, QVariant(), 75, 210, 300 } });
    frm_new_mod *f = open();
    f->Command2_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("riga 2")));
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("Sup. cop. (mq.)")));
    EXPECT_EQ(f->Label[0]->text(), QStringLiteral("100"));
    EXPECT_EQ(f->Label[1]->text(), QStringLiteral("10"));
    EXPECT_EQ(column("perc_sup_urba"), (QVariantList { QVariant(), QVariant() }));

    // A base that totals 0 stops at the first row, with nothing stored.
    Database::open(path()).exec(QStringLiteral("UPDATE preventivo SET sup_cop = 5, volume = 0"));
    boxes.clear();
    f->Command2_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("riga 1")));
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("\"Volume\"")));
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("Divisione per zero.")));
    EXPECT_EQ(column("perc_sup_urba"), (QVariantList { QVariant(), QVariant() }));
}

TEST_F(EstimateFormTest, RipartizioneSplitsTheAmountsTypedInAnyCurrencyForm)
{
    units({ { "Rossi", 30, 10, 25, 90, 100 }, { "Verdi", 70, 30, 75, 210, 300 } });
    frm_new_mod *f = open();
    f->Command2_Click();
    typeAmounts(f, { "€ 1.000,00", "1.000,00 €", "200", "0", "€ 50,00" });
    f->Command3->click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(column("COSTO_SUP_URBA"), (QVariantList { 300.0, 700.0 }));
    EXPECT_EQ(column("COSTO_SUP_COP"), (QVariantList { 250.0, 750.0 }));
    EXPECT_EQ(column("COSTO_SUP_UTI"), (QVariantList { 50.0, 150.0 }));
    EXPECT_EQ(column("COSTO_VOLUME"), (QVariantList { 0.0, 0.0 }));
    EXPECT_EQ(column("COSTO_COSTO"), (QVariantList { 12.5, 37.5 }));

    // A box that holds no amount stops at the first row, which is not stored.
    typeAmounts(f, { "1", "1", "abc", "1", "1" });
    f->Command3_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("riga 1")));
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("Costo Sup. Uti.")));
    EXPECT_EQ(column("COSTO_SUP_URBA"), (QVariantList { 300.0, 700.0 }));
}

TEST_F(EstimateFormTest, RipartizioneStopsAtARowWithoutPercentagesKeepingTheRowsBefore)
{
    Database d = Database::open(path());
    insert(d, "preventivo", { "perc_sup_urba", "perc_sup_cop", "perc_sup_uti", "perc_volume", "perc_costo" },
        { { 10, 20, 30, 40, 50 }, { 10, QVariant(), 30, 40, 50 } });
    frm_new_mod *f = open();
    typeAmounts(f, { "100", "100", "100", "100", "100" });
    f->Command3_Click();
    EXPECT_EQ(column("COSTO_COSTO"), (QVariantList { 50.0, QVariant() }));
    EXPECT_EQ(column("COSTO_SUP_URBA"), (QVariantList { 10.0, QVariant() }));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("riga 2")));
}

TEST_F(EstimateFormTest, CtrlAddsTheCoveredSurfaceCostsAsShown)
{
    Database d = Database::open(path());
    insert(d, "preventivo", { "COSTO_SUP_URBA", "COSTO_SUP_COP", "COSTO_COSTO" },
        { { 1000, 33.3333, 7 }, { 1000, 33.3333, 7 }, { 1000, 33.3334, 7 } });
    frm_new_mod *f = open();
    f->Command4->click();
    // Three cells showing € 33,33.
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("99,99"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::None);
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::Ok);

    d.exec(QStringLiteral("UPDATE preventivo SET COSTO_SUP_COP = NULL WHERE rowid = 2"));
    f->Data1->refresh();
    boxes.clear();
    f->Command4_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("riga 2")));
}

TEST_F(EstimateFormTest, AnEmptyEstimateChangesNothingAndEliminaTuttoAsksNothing)
{
    frm_new_mod *f = open();
    typeAmounts(f, { "abc", "", "1", "1", "1" });
    f->Command2_Click();
    f->Command3_Click();
    f->Command1_Click();
    EXPECT_EQ(labels(f), QStringList(10, QStringLiteral("0")));
    f->Command4_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("0") });

    units({ { "Rossi", 1, 1, 1, 1, 1 }, { "Verdi", 1, 1, 1, 1, 1 } });
    f->Data1->refresh();
    f->Command1->click();
    EXPECT_TRUE(column("nome_condomino").isEmpty());
    EXPECT_EQ(f->Data1->recordCount(), 0);
    EXPECT_EQ(boxes.shown().size(), 1);
}

// A unit typed into the grid's new-row line, cell after cell, is one unit.
TEST_F(EstimateFormTest, AUnitTypedCellAfterCellOnTheNewRowLineIsOneUnit)
{
    units({ { "Rossi", 1, 1, 1, 1, 1 } });
    frm_new_mod *f = open();
    f->show();
    platform::DataGrid *grid = f->TDBGrid1;
    QAbstractItemModel *model = grid->model();
    ASSERT_EQ(model->rowCount(), 2);
    grid->setFocus();
    grid->setCurrentIndex(model->index(1, 0));
    const auto editor = [grid]() -> QLineEdit * {
        for (QLineEdit *edit : grid->viewport()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return edit;
        }
        return nullptr;
    };
    QTest::keyClick(grid, 'N');
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("eri"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("2"));
    QTest::keyClick(editor(), Qt::Key_Return);

    EXPECT_EQ(column("nome_condomino"), (QVariantList { QStringLiteral("Rossi"), QStringLiteral("Neri") }));
    ASSERT_EQ(column("pal").size(), 2);
    EXPECT_EQ(column("pal").at(1), QVariant(QStringLiteral("2")));
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(grid->currentIndex(), model->index(1, 1));
}

TEST_F(EstimateFormTest, AMissingDatabaseIsSaid)
{
    ASSERT_TRUE(QFile::remove(path()));
    frm_new_mod *f = open();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("new.mdb")));
    f->Command2_Click();
    EXPECT_EQ(boxes.shown().size(), 2);
    EXPECT_FALSE(QFile::exists(path()));
}

} // namespace
} // namespace zav::test

#include <QMdiArea>
#include <QMdiSubWindow>

namespace zav::test {
namespace {

// As a child window of the main window, the form shows the amounts as currency each time it
// becomes the active child.
TEST_F(EstimateFormTest, BecomingTheActiveChildShowsTheAmountsAsCurrency)
{
    QMdiArea area;
    area.resize(800, 600);
    area.show();
    frm_new_mod *f = open();
    QMdiSubWindow *child = area.addSubWindow(f);
    child->show();
    auto *other = area.addSubWindow(new QWidget);
    other->show();
    area.setActiveSubWindow(other);
    f->Text[1]->setText(QStringLiteral("2500"));
    area.setActiveSubWindow(child);
    QCoreApplication::processEvents();
    EXPECT_EQ(f->Text[1]->text(), QStringLiteral("€ 2.500,00"));
    area.removeSubWindow(f);
}

} // namespace
} // namespace zav::test
