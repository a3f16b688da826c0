// The workspace's thousandths views and their selectors, on archives that the thousandths
// calculation fills (or on rows written by hand where the order of the rows is the point).
// Expected shares are worked out by hand beside each fixture.

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "workspace/thousandthsviews.h"
#include "workspace/unitviews.h"
#include "workspacefixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::DataGridColumn;
using zav::platform::FormRegistry;
using zav::platform::MsgIcon;
using zav::test::Fields;
using zav::test::num;
using zav::test::strings;
using zav::workspace::frm_ins_coeff;
using zav::workspace::ThousandthsViews;
using zav::workspace::UnitViews;
namespace vb = zav::platform::vb;

namespace {

class ViewsTest : public zav::test::WorkspaceTest
{
protected:
    void building(const QVariant &number, const QVariant &stairs, bool lift = false)
    {
        Database::open(project.path())
            .insert(QStringLiteral("COMPOS_PAL"),
                { { QStringLiteral("NUM_PAL"), number }, { QStringLiteral("NUM_SCALE"), stairs },
                    { QStringLiteral("ASCENSORE"), lift } });
    }

    /** A unit of the register with the totals the calculation reads. */
    void unit(const char *owner, int building, const char *stair, const char *floor, const QVariant &interno,
        const QVariant &riga, double volume, double hterra = 3, double hascensore = 0)
    {
        Database::open(project.path())
            .insert(QStringLiteral("CODIF_PIANI"),
                { { QStringLiteral("NUM_PAL"), building },
                    { QStringLiteral("SCALA"), QString::fromLatin1(stair) },
                    { QStringLiteral("SIGLA"), QString::fromLatin1(floor) },
                    { QStringLiteral("PROPRIETARIO"), QString::fromUtf8(owner) },
                    { QStringLiteral("HPIANO"), 3.0 }, { QStringLiteral("HTERRA"), hterra },
                    { QStringLiteral("HASCENSORE"), hascensore }, { QStringLiteral("TOT_SUP"), 1 },
                    { QStringLiteral("TOT_VOL"), volume }, { QStringLiteral("INTERNO"), interno },
                    { QStringLiteral("RIGA"), riga } });
    }

    void row(const QString &table, const Fields &fields)
    {
        Database::open(project.path()).insert(table, fields);
    }

    frm_ins_coeff *form()
    {
        if (!m_form)
            m_form = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
        return m_form;
    }

    void enter(int tab) { ASSERT_TRUE(ThousandthsViews::enter(*form(), tab)); }

    void pickBuilding(const char *number)
    {
        form()->Combo1->setCurrentText(QString::fromLatin1(number));
        form()->Combo1_Click();
    }
    void pickStair(const char *entry)
    {
        form()->Combo2->setCurrentText(QString::fromLatin1(entry));
        form()->Combo2_Click();
    }

    QStringList shown(const char *field)
    {
        QStringList values;
        for (int r = 0; r < form()->Data1->recordCount(); ++r)
            values << form()->Data1->value(r, QString::fromLatin1(field)).toString();
        return values;
    }

    QStringList comboItems(QComboBox *combo)
    {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }

    /** Captions and fields of the shown columns, in index order. */
    QStringList visibleColumns()
    {
        QStringList columns;
        for (int i = 0; i < form()->TDBGrid1->columnCount(); ++i) {
            const DataGridColumn c = form()->TDBGrid1->column(i);
            if (c.visible)
                columns << QStringLiteral("%1 %2=%3").arg(i).arg(c.caption, c.dataField);
        }
        return columns;
    }

    /** The four total pairs: "caption value" for each pair shown, "-" for a hidden one. */
    QStringList totals()
    {
        const std::pair<QLabel *, QLabel *> pairs[]
            = { { form()->Label13, form()->Label14 }, { form()->Label15, form()->Label16 },
                  { form()->Label17, form()->Label18 }, { form()->Label19, form()->Label20 } };
        QStringList texts;
        for (const auto &[caption, value] : pairs)
            texts << (caption->isHidden() && value->isHidden() ? QStringLiteral("-")
                                                               : caption->text() + u' ' + value->text());
        return texts;
    }

    bool toolOn(const char *key) const { return main->bar->isToolEnabled(QString::fromLatin1(key)); }

private:
    frm_ins_coeff *m_form = nullptr;
};

const QStringList kSevenColumns = strings({ "0 Condomino=CONDOMINO", "1 Pal.=PALAZ", "2 Scala=SCALA",
    "3 Piano=PIANO", "4 Int.=INTERNO", "5 Mq. / Mc. (virtuali)=MQ", "6 Millesimi=MILLESIMI" });

// Volumes in stored order: c1 b2 200, c2 b1 100, c3 b2 200, c4 b1 300, c5 b2 200, c6 b3 1000
// (total 2000). General: c1 100, c2 50, c3 100, c4 150, c5 100, c6 500, in all 1000.
// Building 1 (50 + 150): c2 250, c4 750, in all 1000; building 2 (300): 333.333 each, 999.999.
// Unit numbers: c4 1 before c2 2 in building 1; c1 1, c5 2, c3 3 in building 2.
class GeneralAndBuilding : public ViewsTest, public ::testing::WithParamInterface<QChar>
{
protected:
    void SetUp() override
    {
        separator.emplace(GetParam());
        ViewsTest::SetUp();
        project.header(true, false, false, 3);
        building(1, 1);
        building(2, 1);
        building(3, 1);
        unit("c1", 2, "A", "1", 1, 1, 200);
        unit("c2", 1, "A", "1", 2, 1, 100);
        unit("c3", 2, "A", "1", 3, 1, 200);
        unit("c4", 1, "A", "1", 1, 1, 300);
        unit("c5", 2, "A", "1", 2, 1, 200);
        unit("c6", 3, "A", "1", 1, 1, 1000);
        VAR_GBL.calcolo_millesimi();
        boxes.clear();
    }
    void TearDown() override
    {
        ViewsTest::TearDown();
        separator.reset();
    }
    std::optional<vb::DecimalSeparatorScope> separator;
};

TEST_P(GeneralAndBuilding, GeneralViewShowsEveryUnitWithItsTotal)
{
    enter(4);
    EXPECT_EQ(form()->TDBGrid1->caption(), QStringLiteral("Millesimi Globali"));
    // By building, stair, position and unit number.
    EXPECT_EQ(shown("CONDOMINO"), strings({ "c4", "c2", "c1", "c5", "c3", "c6" }));
    EXPECT_EQ(visibleColumns(), kSevenColumns);
    EXPECT_EQ(totals(), (QStringList { "-", "-", "-", QStringLiteral("Tot. Mil.: 1000") }));
    EXPECT_FALSE(form()->TDBGrid1->isHidden());
    EXPECT_FALSE(form()->TDBGrid1->allowUpdate());
    EXPECT_FALSE(form()->TDBGrid1->allowAddNew());
    for (QWidget *hidden : { static_cast<QWidget *>(form()->Combo1), static_cast<QWidget *>(form()->Combo2),
             static_cast<QWidget *>(form()->Label21), static_cast<QWidget *>(form()->Frame1) })
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_TRUE(toolOn("tArrotonda"));
    EXPECT_TRUE(toolOn("tCalcolaMil"));
    for (const char *off :
        { "tCalcTab", "tCopiaMil", "tAzzera", "tSelTab", "tTrova", "tRicalcola", "tCopia", "tEliminariga" })
        EXPECT_FALSE(toolOn(off)) << off;
    for (int i : { 0, 1, 2, 3, 5, 7, 8, 9, 10 })
        EXPECT_FALSE(form()->Command1[size_t(i)]->isEnabled()) << i;
    EXPECT_TRUE(form()->Command1[6]->isEnabled());
    EXPECT_TRUE(form()->Command2->isEnabled());
}

TEST_P(GeneralAndBuilding, BuildingViewOpensOnTheFirstBuildingAndFollowsThePicks)
{
    enter(5);
    EXPECT_EQ(form()->TDBGrid1->caption(), QStringLiteral("Millesimi Palazzina"));
    EXPECT_FALSE(form()->Combo1->isHidden());
    EXPECT_TRUE(form()->Combo2->isHidden());
    EXPECT_EQ(form()->Combo1->currentText(), QStringLiteral("1"));
    EXPECT_EQ(shown("CONDOMINO"), strings({ "c4", "c2" }));
    EXPECT_EQ(visibleColumns(), kSevenColumns);
    EXPECT_EQ(totals(), (QStringList { "-", "-", "-", QStringLiteral("Tot. Mil.: 1000") }));

    pickBuilding("2");
    EXPECT_EQ(shown("CONDOMINO"), strings({ "c1", "c5", "c3" }));
    EXPECT_EQ(form()->Label20->text(), num("999.999"));
    EXPECT_TRUE(boxes.shown().isEmpty());

    // The stair view left on building 2: the building view starts again from building 1.
    enter(6);
    pickBuilding("2");
    enter(5);
    EXPECT_EQ(form()->Combo1->currentText(), QStringLiteral("1"));
    EXPECT_EQ(shown("CONDOMINO"), strings({ "c4", "c2" }));
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("1000"));
}

INSTANTIATE_TEST_SUITE_P(Separators, GeneralAndBuilding, ::testing::Values(QChar(u','), QChar(u'.')));

// One stair with a lift, floor heights 3 (floor 1) and 7 (floor 2), lift heights 0 and 3; volumes
// 500, 250, 250. First halves 500, 250, 250; second halves 3/10 and 7/10 of 1000: 300, 350, 350;
// means 400, 300, 300. Lift: 0, 500, 500 with means 250, 375, 375. Every total is 1000.
class StairAndLift : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        project.header(true, false, false, 1);
        building(1, 2, true);
        unit("u3", 1, "A", "2", 3, 2, 250, 7, 3);
        unit("u1", 1, "A", "1", 1, 1, 500, 3, 0);
        unit("u2", 1, "A", "2", 2, 2, 250, 7, 3);
        VAR_GBL.calcolo_millesimi();
        boxes.clear();
    }
    const vb::DecimalSeparatorScope separator { u',' };
};

TEST_F(StairAndLift, StairViewOpensOnTheFirstStairWithItsThreeTotals)
{
    enter(6);
    EXPECT_EQ(form()->TDBGrid1->caption(), QStringLiteral("Millesimi Scala"));
    EXPECT_EQ(comboItems(form()->Combo1), strings({ "1" }));
    EXPECT_EQ(comboItems(form()->Combo2), strings({ "Nessuna", "A", "B" }));
    EXPECT_EQ(form()->Combo2->currentText(), QStringLiteral("A"));
    EXPECT_FALSE(form()->Combo1->isHidden());
    EXPECT_FALSE(form()->Combo2->isHidden());
    // A stair pick orders by floor code, then owner.
    EXPECT_EQ(shown("CONDOMINO"), strings({ "u1", "u2", "u3" }));
    EXPECT_EQ(visibleColumns(),
        strings({ "0 Condomino=CONDOMINO", "1 Pal.=PALAZ", "2 Scala=SCALA", "3 Piano=PIANO", "4 Int.=INTERNO",
            "5 1a Metà=MILLESIMI", "6 2a Metà=MIL_B", "7 Media=MEDIA" }));
    EXPECT_EQ(shown("MIL_B"), strings({ "300", "350", "350" }));
    EXPECT_EQ(totals(),
        (QStringList { "-", QStringLiteral("Tot. 1a Metà: 1000"), QStringLiteral("Tot. 2a Metà: 1000"),
            QStringLiteral("Tot. Mil.: 1000") }));

    // A stair without rows shows no row and totals of nothing, not the last stair's.
    pickStair("B");
    EXPECT_EQ(form()->Data1->recordCount(), 0);
    EXPECT_EQ(totals(),
        (QStringList { "-", QStringLiteral("Tot. 1a Metà: 0"), QStringLiteral("Tot. 2a Metà: 0"),
            QStringLiteral("Tot. Mil.: 0") }));

    // A building pick rebuilds the stairs with none chosen: the rows with an empty stair.
    pickStair("A");
    pickBuilding("1");
    EXPECT_EQ(comboItems(form()->Combo2), strings({ "Nessuna", "A", "B" }));
    EXPECT_EQ(form()->Combo2->currentIndex(), -1);
    EXPECT_EQ(form()->Data1->recordCount(), 0);
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("0"));
}

TEST_F(StairAndLift, LiftViewShowsTheLiftHalvesAndStartsAgainFromTheFirstStair)
{
    enter(6);
    pickStair("B");
    enter(7);
    EXPECT_EQ(form()->TDBGrid1->caption(), QStringLiteral("Millesimi Ascensore"));
    EXPECT_EQ(form()->Combo2->currentText(), QStringLiteral("A"));
    EXPECT_EQ(shown("CONDOMINO"), strings({ "u1", "u2", "u3" }));
    EXPECT_EQ(form()->TDBGrid1->column(6).dataField, QStringLiteral("ASCENSORE"));
    EXPECT_EQ(form()->TDBGrid1->column(7).dataField, QStringLiteral("MEDIA_ASC"));
    EXPECT_EQ(shown("ASCENSORE"), strings({ "0", "500", "500" }));
    EXPECT_EQ(shown("MEDIA_ASC"), strings({ "250", "375", "375" }));
    EXPECT_EQ(totals(),
        (QStringList { "-", QStringLiteral("Tot. 1a Metà: 1000"), QStringLiteral("Tot. 2a Metà: 1000"),
            QStringLiteral("Tot. Mil.: 1000") }));
}

// --- Selectors ------------------------------------------------------------------------------------

TEST(StairEntries, NessunaThenOneLetterPerStair)
{
    EXPECT_EQ(ThousandthsViews::stairEntries(0), strings({ "Nessuna" }));
    EXPECT_EQ(ThousandthsViews::stairEntries(3), strings({ "Nessuna", "A", "B", "C" }));
    // Twenty-one letters, without J, K, W, X and Y; the stairs past them have no letter.
    EXPECT_EQ(ThousandthsViews::stairEntries(23),
        strings({ "Nessuna", "A", "B", "C", "D", "E", "F", "G", "H", "I", "L", "M", "N", "O", "P", "Q", "R",
            "S", "T", "U", "V", "Z", "", "" }));
}

TEST_F(ViewsTest, BuildingListHoldsTheBuildingsThatExist)
{
    // Three buildings counted, the second deleted.
    project.header(true, false, false, 3);
    building(3, 1);
    building(1, 2);
    EXPECT_EQ(comboItems(form()->Combo1), strings({ "1", "3" }));
}

TEST_F(ViewsTest, BuildingWithoutStairs)
{
    const vb::DecimalSeparatorScope separator(u',');
    project.header(true, false, false, 2);
    building(1, QVariant());
    building(2, 1);
    row(QStringLiteral("TEMPORANEO2"),
        { { QStringLiteral("CONDOMINO"), QStringLiteral("x") },
            { QStringLiteral("PALAZ"), QStringLiteral("2") },
            { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("MILLESIMI"), 1000 } });
    row(QStringLiteral("TEMPORANEO"),
        { { QStringLiteral("CONDOMINO"), QStringLiteral("y") },
            { QStringLiteral("PALAZ"), QStringLiteral("1") }, { QStringLiteral("MILLESIMI"), 400.5 } });

    // Building 1 without stairs: the message, no stair, the whole table and its totals "0".
    enter(6);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Nessuna scala inserita nella palazzina n°: 1"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(form()->Combo2->count(), 0);
    EXPECT_EQ(shown("CONDOMINO"), strings({ "x" }));
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("0"));

    // After building 2's stair, building 1 leaves the grid and the totals as they were.
    pickBuilding("2");
    pickStair("A");
    EXPECT_EQ(form()->Label16->text(), QStringLiteral("1000"));
    pickBuilding("1");
    EXPECT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(form()->Combo2->count(), 0);
    EXPECT_EQ(shown("CONDOMINO"), strings({ "x" }));
    EXPECT_EQ(form()->Label16->text(), QStringLiteral("1000"));

    // The building view shows building 1's units all the same, without a message.
    boxes.clear();
    enter(5);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(shown("CONDOMINO"), strings({ "y" }));
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("400,5"));
}

TEST_F(ViewsTest, NoBuildings)
{
    project.header(true, false, false, 2);
    row(QStringLiteral("TEMPORANEO2"), { { QStringLiteral("CONDOMINO"), QStringLiteral("x") } });
    row(QStringLiteral("TEMPORANEO2"), { { QStringLiteral("CONDOMINO"), QStringLiteral("a") } });

    // An empty building list: the whole table, in the lift view's order, and totals "0".
    enter(7);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(shown("CONDOMINO").size(), 2);
    EXPECT_EQ(totals().last(), QStringLiteral("Tot. Mil.: 0"));

    // A building picked after every building was deleted: the message and nothing else.
    form()->Combo1->addItem(QStringLiteral("1"));
    form()->Combo2->addItem(QStringLiteral("Nessuna"));
    pickBuilding("1");
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Non sono ancora state inserite palazzine"));
    EXPECT_EQ(comboItems(form()->Combo2), strings({ "Nessuna" }));
    EXPECT_EQ(shown("CONDOMINO").size(), 2);
}

// --- Heating and porter's lodge ---------------------------------------------------------------------

TEST_F(ViewsTest, HeatingAndPorterViewsSortFloorsAsText)
{
    const vb::DecimalSeparatorScope separator(u',');
    for (const char *table : { "MIL_RISC", "MIL_PORTIERATO" }) {
        const QString name = QString::fromLatin1(table);
        const QString base
            = name == QLatin1String("MIL_RISC") ? QStringLiteral("VOLUME") : QStringLiteral("MQ");
        for (const auto &[owner, floor, share] :
            { std::tuple { "low", "2", 499.5 }, std::tuple { "high", "10", 500.5 } })
            row(name,
                { { QStringLiteral("CONDOMINO"), QString::fromLatin1(owner) },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("PIANO"), QString::fromLatin1(floor) }, { base, 10 },
                    { QStringLiteral("MILLESIMI"), share } });
    }
    row(QStringLiteral("MIL_PORTIERATO"),
        { { QStringLiteral("CONDOMINO"), QStringLiteral("none") },
            { QStringLiteral("PALAZ"), QStringLiteral("2") } });

    enter(8);
    EXPECT_EQ(form()->TDBGrid1->caption(), QStringLiteral("Millesimi Riscaldamento"));
    EXPECT_EQ(shown("CONDOMINO"), strings({ "high", "low" }));
    EXPECT_EQ(form()->TDBGrid1->column(5).caption, QStringLiteral("Vol./Sup.Rad."));
    EXPECT_EQ(form()->TDBGrid1->column(5).dataField, QStringLiteral("VOLUME"));
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("1000"));

    // The row without thousandths is shown and adds nothing.
    enter(9);
    EXPECT_EQ(form()->TDBGrid1->caption(), QStringLiteral("Millesimi Portierato"));
    EXPECT_EQ(shown("CONDOMINO"), strings({ "high", "low", "none" }));
    EXPECT_EQ(visibleColumns(), kSevenColumns);
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("1000"));
}

TEST_F(ViewsTest, GeneralViewPutsUnitsWithoutPositionFirst)
{
    const struct
    {
        const char *owner;
        const char *floor;
        QVariant riga;
    } rows[] = { { "one", "1", 1 }, { "ground", "T", -1 }, { "roof", "R", 0 }, { "cellar", "1S", -2 },
        { "nowhere", "S1", QVariant() } };
    for (const auto &r : rows)
        row(QStringLiteral("MILLESIMI"),
            { { QStringLiteral("CONDOMINO"), QString::fromLatin1(r.owner) },
                { QStringLiteral("PALAZ"), QStringLiteral("1") },
                { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PIANO"), QString::fromLatin1(r.floor) },
                { QStringLiteral("RIGA"), r.riga } });
    row(QStringLiteral("MILLESIMI"),
        { { QStringLiteral("CONDOMINO"), QStringLiteral("other building") },
            { QStringLiteral("PALAZ"), QStringLiteral("2") },
            { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("RIGA"), -2 } });
    enter(4);
    EXPECT_EQ(
        shown("CONDOMINO"), strings({ "nowhere", "cellar", "ground", "roof", "one", "other building" }));
    // No thousandths anywhere: nothing adds up.
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("0"));
}

// --- The recipe over what the previous view left --------------------------------------------------

TEST_F(ViewsTest, ColumnsAndLabelsDoNotSurviveTheViewBefore)
{
    // A unit view's presentation with cell buttons, then the user table's eight columns.
    form()->TDBGrid1->setColumns(UnitViews::present(UnitViews::coefficients(), UnitViews::designedColumns()));
    enter(6);
    EXPECT_FALSE(form()->TDBGrid1->column(6).button);
    EXPECT_FALSE(form()->TDBGrid1->column(7).button);
    EXPECT_EQ(form()->TDBGrid1->column(6).alignment, DataGridColumn::Alignment::Right);
    EXPECT_EQ(form()->TDBGrid1->column(1).alignment, DataGridColumn::Alignment::Center);

    VAR_GBL.tabella_selezionata.clear();
    enter(10);
    EXPECT_TRUE(form()->TDBGrid1->isHidden());
    for (int tab : { 4, 5, 8, 9 }) {
        enter(tab);
        EXPECT_FALSE(form()->TDBGrid1->isHidden()) << tab;
        EXPECT_EQ(visibleColumns().size(), 7) << tab;
        EXPECT_TRUE(form()->Label21->isHidden()) << tab;
        EXPECT_TRUE(form()->Label15->isHidden()) << tab;
        EXPECT_TRUE(form()->Label17->isHidden()) << tab;
        EXPECT_EQ(form()->Label19->text(), QStringLiteral("Tot. Mil.:")) << tab;
    }
    EXPECT_FALSE(ThousandthsViews::enter(*form(), 3));
    EXPECT_FALSE(ThousandthsViews::enter(*form(), 11));
}

// --- User table -----------------------------------------------------------------------------------

TEST_F(ViewsTest, UserTableViewWithoutATable)
{
    const QString caption = form()->TDBGrid1->caption();
    ASSERT_EQ(caption, QStringLiteral("Calcolo Superfici"));
    VAR_GBL.tabella_selezionata.clear();
    enter(10);
    EXPECT_TRUE(form()->TDBGrid1->isHidden());
    EXPECT_FALSE(form()->Label21->isHidden());
    EXPECT_EQ(form()->Label21->text(), QStringLiteral("(Nessuna Tabella Selezionata)"));
    // The hidden grid keeps the caption of the view left.
    EXPECT_EQ(form()->TDBGrid1->caption(), caption);
    EXPECT_EQ(totals(), (QStringList { "-", "-", "-", QStringLiteral("Tot. Mil.: 0") }));
    for (const char *on : { "tArrotonda", "tCalcTab", "tCopiaMil", "tAzzera", "tSelTab" })
        EXPECT_TRUE(toolOn(on)) << on;
    for (const char *off : { "tTrova", "tRicalcola", "tCopia", "tCalcolaMil", "tEliminariga" })
        EXPECT_FALSE(toolOn(off)) << off;
    for (int i : { 0, 1, 2, 3, 5 })
        EXPECT_FALSE(form()->Command1[size_t(i)]->isEnabled()) << i;
    for (int i : { 6, 7, 8, 9, 10 })
        EXPECT_TRUE(form()->Command1[size_t(i)]->isEnabled()) << i;
    EXPECT_FALSE(form()->Command2->isEnabled());
}

TEST_F(ViewsTest, UserTableViewShowsTheSelectedTableInItsOwnOrder)
{
    const vb::DecimalSeparatorScope separator(u',');
    const QString table = QStringLiteral("Scale e ascensore_2");
    {
        Database db = Database::open(project.path());
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, MILLESIMI "
                           "DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, RIGA DOUBLE)")
                .arg(table));
        for (const auto &[owner, share] :
            { std::pair { "z", QVariant(250.25) }, std::pair { "a", QVariant(249.75) },
                std::pair { "m", QVariant() }, std::pair { "b", QVariant(500) } })
            db.insert(table,
                { { QStringLiteral("CONDOMINO"), QString::fromLatin1(owner) },
                    { QStringLiteral("MILLESIMI"), share } });
    }
    form(); // created before a table is chosen, as the program does
    VAR_GBL.tabella_selezionata = table;
    enter(10);
    EXPECT_FALSE(form()->TDBGrid1->isHidden());
    EXPECT_EQ(form()->TDBGrid1->caption(), table);
    EXPECT_EQ(form()->Label21->text(), table);
    EXPECT_EQ(shown("CONDOMINO"), strings({ "z", "a", "m", "b" }));
    EXPECT_EQ(visibleColumns(),
        strings({ "0 Condomino=CONDOMINO", "1 Pal.=PALAZ", "2 Scala=SCALA", "3 Piano=PIANO", "4 Int.=INTERNO",
            "5 Mq. / Mc. (virtuali)=MQ", "6 Input=INPUT", "7 Millesimi=MILLESIMI" }));
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("1000"));
    EXPECT_TRUE(form()->TDBGrid1->allowUpdate());
    EXPECT_FALSE(form()->TDBGrid1->allowAddNew());

    // A weight typed into the grid goes to the table; the total waits for the next entry.
    auto *model = form()->TDBGrid1->model();
    ASSERT_TRUE(model->setData(model->index(0, 7), QStringLiteral("750,25"), Qt::EditRole));
    EXPECT_EQ(Database::open(project.path())
                  .query(QStringLiteral("SELECT MILLESIMI FROM [%1] WHERE CONDOMINO = 'z'").arg(table))
                  .value(0, 0)
                  .toDouble(),
        750.25);
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("1000"));
    enter(10);
    EXPECT_EQ(form()->Label20->text(), QStringLiteral("1500"));

    // Del on a row chosen by its selector deletes it from the table; no other view deletes rows.
    form()->TDBGrid1->selectRow(2);
    QTest::keyClick(form()->TDBGrid1, Qt::Key_Delete);
    EXPECT_EQ(Database::open(project.path()).table(table).recordCount(), 3);
    EXPECT_EQ(shown("CONDOMINO"), strings({ "z", "a", "b" }));
    enter(4);
    row(QStringLiteral("MILLESIMI"), { { QStringLiteral("CONDOMINO"), QStringLiteral("kept") } });
    enter(4);
    form()->TDBGrid1->selectRow(0);
    QTest::keyClick(form()->TDBGrid1, Qt::Key_Delete);
    EXPECT_EQ(Database::open(project.path()).table(QStringLiteral("MILLESIMI")).recordCount(), 1);
}

TEST_F(ViewsTest, UserTableWithANameThatCannotBeATableIsNotRead)
{
    form();
    VAR_GBL.tabella_selezionata = QStringLiteral("MILLESIMI]; DROP TABLE [MILLESIMI");
    enter(10);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(form()->TDBGrid1->isHidden());
    EXPECT_EQ(form()->Label21->text(), QStringLiteral("(Nessuna Tabella Selezionata)"));
    EXPECT_TRUE(Database::open(project.path()).hasTable(QStringLiteral("MILLESIMI")));
}

} // namespace
