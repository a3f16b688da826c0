// The terrace form: its load, its activation, the table buttons, "Trova", the unit lists and the
// deletions of a unit's rooms.

#include "platform/ui/datagrid.h"
#include "terraces/tab_terr.h"
#include "terracesfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using zav::engine::VAR_GBL;
using zav::platform::DataGrid;
using zav::platform::FormRegistry;
using zav::platform::ModalDriverScope;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::MsgResult;
using zav::terraces::frm_terrazze;
using zav::terraces::ShownTerraceUnit;
using zav::terraces::TAB_TERR;
using zav::terraces::TerraceUnit;
using zav::test::child;

namespace {

class TerraceForm : public zav::test::TerracesTest
{
protected:
    static QStringList items(const QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    /** "Crea-Selez. Tab." with the dialog's current row on the table of this code, "Seleziona", "Esci". */
    void selectTable(frm_terrazze *form, const QString &code)
    {
        const ModalDriverScope driver([&](QWidget *shown) {
            auto *dialog = qobject_cast<TAB_TERR *>(shown);
            ASSERT_NE(dialog, nullptr);
            const int row = column(*dialog->Data1, QStringLiteral("CODICE")).indexOf(code);
            ASSERT_GE(row, 0);
            dialog->Data1->setCurrentRow(row);
            dialog->Command2->click();
            dialog->Command1->click();
        });
        form->Command1[0]->click();
    }

    /** Picks a row of the unit list and presses "Trova". */
    static void trova(frm_terrazze *form, int row)
    {
        form->Data5->setCurrentRow(row);
        form->Command4->click();
    }
};

TEST_F(TerraceForm, LoadListsTheBuildingsAndBindsTheLastOnesRooms)
{
    const struct
    {
        const char *name;
        bool header;
        QVariant count;
        QList<int> numbers;
        QStringList expected;
        QStringList rooms; // descriptions bound to the room grid at load
    } cases[] = {
        { "three buildings", true, 3, { 1, 2, 3 }, { "1", "2", "3" }, { "b3 T1", "b3 T2" } },
        { "a gap: buildings 1, 2, 5", true, 3, { 1, 2, 5 }, { "1", "2", "5" }, { "b5" } },
        { "no header record", false, {}, { 1, 2, 3 }, {}, { "b1", "b3 T1", "b5", "b3 T2" } },
        { "empty count, no buildings", true, {}, {}, {}, { "b1", "b3 T1", "b5", "b3 T2" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        if (c.header)
            buildings(c.count, c.numbers);
        else
            for (int number : c.numbers)
                insert(project, QStringLiteral("COMPOS_PAL"), { { "NUM_PAL", number } });
        terraceRoom("T1", "Rossi", 1, "A", 1, "b1");
        terraceRoom("T1", "Bianchi", 3, "A", 2, "b3 T1");
        terraceRoom("T2", "Verdi", 5, "B", 7, "b5");
        terraceRoom("T2", "Bianchi", 3, "A", 2, "b3 T2");
        frm_terrazze *form = openForm();
        ASSERT_NE(form, nullptr);
        for (const QComboBox *combo : { form->Combo1, form->Combo2, form->Combo3 })
            EXPECT_EQ(items(combo), c.expected);
        EXPECT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")), c.rooms);
        EXPECT_TRUE(boxes.messages().isEmpty()) << boxes.messages().join(u'|').toStdString();
    }
}

TEST_F(TerraceForm, LoadShowsTheFirstRoomsUnitAndHidesTheFramesAndTheGrid)
{
    buildings(2, { 1, 2 });
    terraceRoom("T9", "Verdi", 2, "B", 7, "Terrazzo");
    frm_terrazze *form = openForm();
    ASSERT_TRUE(form->shownUnit().has_value());
    EXPECT_EQ(*form->shownUnit(),
        (ShownTerraceUnit { "T9", { "Verdi", qlonglong(2), "B", QString(), qlonglong(7) } }));
    EXPECT_EQ(form->Label8->text(), QStringLiteral("Verdi"));
    EXPECT_TRUE(form->Label1->text().isEmpty());
    const QList<QWidget *> hiddenAtLoad { form->TDBGrid1, form->Frame1, form->Frame2, form->Frame3,
        form->Frame4, form->Command7, form->Label20 };
    for (QWidget *hidden : hiddenAtLoad)
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    for (int index : { 1, 2, 3, 4, 5, 7, 9, 11 })
        EXPECT_FALSE(form->Command1[std::size_t(index)]->isEnabled()) << index;
    EXPECT_TRUE(form->Command1[0]->isEnabled());
    EXPECT_TRUE(form->Command1[6]->isEnabled());
    // The load's layout of the room grid: description, expression and surface.
    QStringList shown;
    for (int i = 0; i < form->TDBGrid1->columnCount(); ++i)
        if (form->TDBGrid1->column(i).visible)
            shown << form->TDBGrid1->column(i).heading();
    EXPECT_EQ(shown, (QStringList { "Descrizione", "Espressione", "Mq." }));
    EXPECT_EQ(form->TDBGrid1->column(16).dataField, QStringLiteral("SUP_CONVENZIONALE"));
}

// The form opens within a 1024 x 768 screen, and its total boxes keep the height of their text.
TEST_F(TerraceForm, OpensWithinTheScreenWithTotalBoxesOfOneLine)
{
    buildings(1, { 1 });
    terraceRoom("T1", "Rossi", 1, "A", 3, "Terrazzo");
    frm_terrazze *form = openForm();
    form->show();
    QApplication::processEvents();
    EXPECT_LE(form->width(), 1024);
    EXPECT_LE(form->height(), 768);
    const int line = form->Label14->fontMetrics().height();
    for (QLabel *total : { form->Label14, form->Label16, form->Label18 })
        EXPECT_LE(total->height(), 2 * line) << total->objectName().toStdString();
    form->close();
}

TEST_F(TerraceForm, UnitListShowsOnActivationOnlyWithATableAndTheGridOnItsFirstRow)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    for (int i = 1; i <= 3; ++i)
        terraceRoom("T1", "Rossi", 1, "A", 1, QStringLiteral("vano %1").arg(i));
    frm_terrazze *form = openForm();
    form->Form_Activate();
    EXPECT_TRUE(form->Frame3->isHidden()) << "no table yet";
    // Closing the tables dialog after "Seleziona" activates the form on the first row.
    selectTable(form, QStringLiteral("T1"));
    EXPECT_FALSE(form->Frame3->isHidden());

    const struct
    {
        int gridRow;
        bool shown;
    } cases[] = { { 0, true }, { 2, false }, { -1, true } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.gridRow);
        form->Frame3->hide();
        form->Data1->setCurrentRow(c.gridRow);
        form->Form_Activate();
        EXPECT_EQ(!form->Frame3->isHidden(), c.shown);
    }
}

TEST_F(TerraceForm, TableButtonsRefuseWithoutATable)
{
    buildings(1, { 1 });
    frm_terrazze *form = openForm();
    for (int index : { 1, 2, 9 }) {
        SCOPED_TRACE(index);
        boxes.clear();
        form->Command1_Click(index);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().first().text, QStringLiteral("Nessuna Tabella terrazze selezionata."));
        EXPECT_EQ(boxes.shown().first().title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Information);
    }
    EXPECT_TRUE(form->Frame2->isHidden());
    EXPECT_TRUE(form->Frame3->isHidden());
}

TEST_F(TerraceForm, TrovaShowsTheUnitWithItsTotalsOrAnEmptyGrid)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    listed("Bianchi", 1, "B", "T", 3, "T1", "Terrazzi");
    // Rossi's rooms in T1; a room of his in another table and one of a namesake elsewhere do not count.
    terraceRoom("T1", "Rossi", 1, "A", 5, "Terrazzo", "10,5", "9,45", "28,35");
    terraceRoom("T1", "Rossi", 1, "A", 5, "Balcone", "4,25", {}, "11,475");
    terraceRoom("T2", "Rossi", 1, "A", 5, "Altra tabella", "100", "100", "100");
    terraceRoom("T1", "Rossi", 1, "A", 6, "Altro interno", "100", "100", "100");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(2);
    ASSERT_EQ(form->Data5->recordCount(), 2);

    const struct
    {
        const char *name;
        int row;
        QStringList rooms;
        QStringList header; // owner, building, stair, floor code, unit number
        QStringList totals;
        bool frame4;
    } cases[] = {
        { "with rooms", 0, { "Terrazzo", "Balcone" }, { "Rossi", "1", "A", "2", "5" },
            { "14,75", "9,45", "39,825" }, true },
        { "without rooms", 1, {}, { "Bianchi", "1", "B", "T", "3" }, { "0", "0", "0" }, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        form->Frame4->hide();
        trova(form, c.row);
        EXPECT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")), c.rooms);
        EXPECT_EQ((QStringList { form->Label8->text(), form->Label9->text(), form->Label10->text(),
                      form->Label11->text(), form->Label12->text() }),
            c.header);
        EXPECT_EQ(
            (QStringList { form->Label14->text(), form->Label16->text(), form->Label18->text() }), c.totals);
        EXPECT_EQ(!form->Frame4->isHidden(), c.frame4);
        EXPECT_FALSE(form->TDBGrid1->isHidden());
        EXPECT_FALSE(form->Frame3->isHidden());
        ASSERT_TRUE(VAR_GBL.sql_unita_corrente.has_value());
        EXPECT_EQ(*VAR_GBL.sql_unita_corrente, form->Data1->recordSource());
        EXPECT_EQ(form->shownUnit()->unit.owner, c.header.first());
    }
}

TEST_F(TerraceForm, TrovaOnAnEmptyListChangesNothing)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    terraceRoom("T1", "Rossi", 1, "A", 5, "Terrazzo");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(2);
    const auto before = form->Data1->recordSource();
    form->Command4->click();
    EXPECT_EQ(form->Data1->recordSource(), before);
    EXPECT_EQ(form->Label14->text(), QStringLiteral("0"));
    EXPECT_TRUE(form->TDBGrid1->isHidden());
}

TEST_F(TerraceForm, CercaNeedsTheDescriptionTheTableGridTheCodeOnly)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi nuovi");
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    listed("Bianchi", 1, "B", "T", 3, "T1", "Terrazzi");
    listed("Verdi", 1, "A", "1", 2, "T2", "Altri");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(2);
    EXPECT_EQ(form->Data5->recordCount(), 0) << "listed under the old description";
    form->Command1_Click(5);
    EXPECT_FALSE(form->Frame1->isHidden());
    EXPECT_EQ(column(*form->Data2, QStringLiteral("CODICE")), QStringList { "T1" });
    EXPECT_EQ(form->Data5->recordCount(), 0);
    form->TDBGrid2_RowColChange();
    EXPECT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), (QStringList { "Rossi", "Bianchi" }));
    form->Command5->click();
    EXPECT_TRUE(form->Frame1->isHidden());
    EXPECT_EQ(form->Data5->recordCount(), 0);
}

TEST_F(TerraceForm, BuildingPickersListOneBuildingSortedWithTheFloorCodeAsText)
{
    buildings(2, { 1, 2 });
    table("T1", "Terrazzi");
    unit("Neri", 2, "B", "2", 1);
    unit("Gialli", 2, "A", "2", 4);
    unit("Rossi", 1, "A", "1", 1);
    unit("Bianchi", 2, "A", "10", 9);
    unit("Verdi", 2, "A", "2", 3);
    listed("Neri", 2, "B", "2", 1, "T1", "Terrazzi");
    listed("Bianchi", 2, "A", "10", 9, "T1", "Terrazzi");
    listed("Rossi", 1, "A", "1", 1, "T1", "Terrazzi");
    listed("Verdi", 2, "A", "2", 3, "T2", "Altri");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));

    form->Combo1->setCurrentIndex(1);
    form->Combo1_Click();
    EXPECT_EQ(column(*form->Data3, QStringLiteral("PROPRIETARIO")),
        (QStringList { "Bianchi", "Verdi", "Gialli", "Neri" }));
    form->Combo2->setCurrentIndex(1);
    form->Combo2_Click();
    EXPECT_EQ(column(*form->Data4, QStringLiteral("PROPRIETARIO")), (QStringList { "Bianchi", "Neri" }));
    form->Combo3->setCurrentIndex(0);
    form->Combo3_Click();
    EXPECT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), QStringList { "Rossi" });
    // "Elenco Condomini" opens on the first building's listed units.
    form->Command1_Click(9);
    EXPECT_FALSE(form->Frame2->isHidden());
    EXPECT_EQ(form->Combo2->currentText(), QStringLiteral("1"));
    EXPECT_EQ(column(*form->Data4, QStringLiteral("PROPRIETARIO")), QStringList { "Rossi" });
    form->Command3->click();
    EXPECT_TRUE(form->Frame2->isHidden());
}

TEST_F(TerraceForm, TrasferisciListsTheRowsInTheOrderTheyWereSelected)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    unit("Rossi", 1, "A", "1", 1);
    unit("Bianchi", 1, "A", "2", 2);
    unit("Verdi", 1, "B", "3", 3);
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(9);
    form->Combo1->setCurrentIndex(0);
    form->Combo1_Click();
    ASSERT_EQ(
        column(*form->Data3, QStringLiteral("PROPRIETARIO")), (QStringList { "Rossi", "Bianchi", "Verdi" }));
    for (int row : { 2, 0, 1 })
        form->TDBGrid3->selectBookmark(form->Data3->rowid(row));

    form->Command1[8]->click();
    const QStringList once { "Verdi", "Rossi", "Bianchi" };
    EXPECT_EQ(column(terraces, QStringLiteral("ELENCO"), QStringLiteral("PROPRIETARIO")), once);
    EXPECT_EQ(
        column(terraces, QStringLiteral("ELENCO"), QStringLiteral("SIGLA")), (QStringList { "3", "1", "2" }));
    EXPECT_EQ(
        column(terraces, QStringLiteral("ELENCO"), QStringLiteral("COD_TERRAZZE")), (QStringList(3, "T1")));
    EXPECT_EQ(column(terraces, QStringLiteral("ELENCO"), QStringLiteral("DESCRIZIONE_TER")),
        (QStringList(3, "Terrazzi")));
    // Numbers stay numbers in the archive.
    {
        zav::platform::Database db = zav::platform::Database::open(terraces);
        const auto rs = db.query(QStringLiteral("SELECT typeof(NUM_PAL), typeof(INTERNO) FROM ELENCO"));
        EXPECT_EQ(rs.value(0, 0).toString(), QStringLiteral("integer"));
        EXPECT_EQ(rs.value(0, 1).toString(), QStringLiteral("integer"));
    }
    EXPECT_EQ(form->Data4->recordCount(), 3);
    EXPECT_EQ(form->TDBGrid3->selectedBookmarks().size(), 3) << "the selection stays";

    form->Command1[8]->click();
    EXPECT_EQ(column(terraces, QStringLiteral("ELENCO"), QStringLiteral("PROPRIETARIO")), once + once);
    EXPECT_TRUE(boxes.messages().isEmpty());
}

// Rows picked with the mouse, on their selectors or their cells, go over in the order of the
// clicks; the row that was current when the frame opened is one like the others.
TEST_F(TerraceForm, TrasferisciFollowsTheClicksTheCurrentRowIncluded)
{
    const struct
    {
        const char *name;
        bool onSelectors;
        QList<int> clicks;
        QStringList listed;
    } cases[] = {
        { "selectors, the current row second", true, { 2, 0, 1 }, { "Verdi", "Rossi", "Bianchi" } },
        { "cells, the current row last", false, { 1, 2, 0 }, { "Bianchi", "Verdi", "Rossi" } },
        { "selectors, the current row first", true, { 0, 2 }, { "Rossi", "Verdi" } },
        { "cells, a row clicked twice is left out", false, { 0, 1, 0, 2 }, { "Bianchi", "Verdi" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        buildings(1, { 1 });
        table("T1", "Terrazzi");
        unit("Rossi", 1, "A", "1", 1);
        unit("Bianchi", 1, "A", "2", 2);
        unit("Verdi", 1, "B", "3", 3);
        frm_terrazze *form = openForm();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        selectTable(form, QStringLiteral("T1"));
        form->Command1[9]->click();
        ASSERT_EQ(column(*form->Data3, QStringLiteral("PROPRIETARIO")),
            (QStringList { "Rossi", "Bianchi", "Verdi" }));
        QApplication::processEvents();
        for (int row : c.clicks) {
            DataGrid *grid = form->TDBGrid3;
            if (c.onSelectors) {
                QHeaderView *selectors = grid->verticalHeader();
                QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                    QPoint(selectors->width() / 2,
                        selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2));
            } else {
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(row, 0)).center());
            }
        }
        form->Command1[8]->click();
        EXPECT_EQ(column(terraces, QStringLiteral("ELENCO"), QStringLiteral("PROPRIETARIO")), c.listed);
        form->close();
    }
}

// The unit list, closed with its "Esci" and opened again, still lists the table's units.
TEST_F(TerraceForm, TheUnitListKeepsItsUnitsAfterEsci)
{
    buildings(2, { 1, 2 });
    table("T1", "Terrazzi");
    listed("Rossi", 1, "A", "1", 1, "T1", "Terrazzi");
    listed("Bianchi", 1, "A", "2", 2, "T1", "Terrazzi");
    listed("Verdi", 2, "B", "3", 3, "T1", "Terrazzi");
    terraceRoom("T1", "Bianchi", 1, "A", 2, "Terrazzo", "10", "10", "30");
    frm_terrazze *form = openForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    selectTable(form, QStringLiteral("T1"));
    form->Command1[2]->click(); // "Cerca "
    const QStringList all { "Rossi", "Bianchi", "Verdi" };
    ASSERT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), all);
    trova(form, 1);

    form->Command1[10]->click(); // "Esci"
    QApplication::processEvents();
    EXPECT_TRUE(form->Frame3->isHidden());
    EXPECT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), all);
    EXPECT_EQ(form->TDBGrid5->model()->rowCount() - (form->TDBGrid5->model()->rowCount() > 3 ? 1 : 0), 3);

    form->Command1[2]->click(); // "Cerca " again
    QApplication::processEvents();
    EXPECT_FALSE(form->Frame3->isHidden());
    EXPECT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), all);
    EXPECT_TRUE(boxes.messages().isEmpty()) << boxes.messages().join(u'|').toStdString();
}

TEST_F(TerraceForm, TrasferisciLeavesOutUnitsWithoutFloorCodeOrUnitNumber)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    unit("Rossi", 1, "A", "1", 1);
    unit("Senza Piano", 1, "A", QVariant(), 2);
    unit("Senza Interno", 1, "A", "3", QVariant());
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(9);
    form->Combo1->setCurrentIndex(0);
    form->Combo1_Click();
    for (int row = 0; row < 3; ++row)
        form->TDBGrid3->selectBookmark(form->Data3->rowid(row));
    form->TRASF_ELENCO_TER();
    EXPECT_EQ(
        column(terraces, QStringLiteral("ELENCO"), QStringLiteral("PROPRIETARIO")), QStringList { "Rossi" });
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().first().contains(QStringLiteral("Senza Piano")));
    EXPECT_TRUE(boxes.messages().first().contains(QStringLiteral("Senza Interno")));
    EXPECT_FALSE(boxes.messages().first().contains(QStringLiteral("Rossi")));
}

TEST_F(TerraceForm, EliminaOfTheListRemovesTheUnitAndItsRoomsInTheCurrentTableOnly)
{
    const QString owner = QStringLiteral("D'Amico \"Nino\"");
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    listed(owner, 1, "A", "2", 5, "T1", "Terrazzi");
    listed("Rossi", 1, "A", "1", 1, "T1", "Terrazzi");
    listed(owner, 1, "A", "2", 5, "T2", "Altri");
    terraceRoom("T1", owner, 1, "A", 5, "Terrazzo");
    terraceRoom("T1", owner, 1, "A", 5, "Balcone");
    terraceRoom("T2", owner, 1, "A", 5, "Altra tabella");
    terraceRoom("T1", "Rossi", 1, "A", 1, "Di Rossi");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(2);
    form->Data5->setCurrentRow(0);

    boxes.answer(MsgResult::No);
    form->Command6->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().text,
        QStringLiteral("Sei sicuro di voler eliminare %1 e tutti i suoi dati ?").arg(owner));
    EXPECT_EQ(boxes.shown().first().title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(rows(terraces, QStringLiteral("ELENCO")), 3);
    EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 4);

    form->Data5->setCurrentRow(0);
    boxes.answer(MsgResult::Yes);
    form->Command6->click();
    EXPECT_EQ(column(terraces, QStringLiteral("ELENCO"), QStringLiteral("COD_TERRAZZE")),
        (QStringList { "T1", "T2" }));
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
        (QStringList { "Altra tabella", "Di Rossi" }));
    EXPECT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), QStringList { "Rossi" });
    EXPECT_EQ(form->Data1->recordCount(), 0);
}

TEST_F(TerraceForm, EliminaCondominoDeletesOnlyTheShownUnitsRoomsInTheCurrentTable)
{
    // An owner named like a field: compared as a text, never as the field.
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    listed("SCALA", 1, "A", "2", 5, "T1", "Terrazzi");
    terraceRoom("T1", "SCALA", 1, "A", 5, "Terrazzo");
    terraceRoom("T1", "A", 1, "A", 5, "Di A");
    terraceRoom("T1", "NOME_CONDOMINO", 1, "A", 5, "Di chi si chiama come il campo");
    terraceRoom("T2", "SCALA", 1, "A", 5, "Altra tabella");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(2);
    trova(form, 0);

    boxes.answer(MsgResult::No);
    form->Command1[7]->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().text, QStringLiteral("Vuoi eliminare SCALA Pal. 1 Scala A Int. 5 ?"));
    EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Critical);
    EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 4);

    boxes.answer(MsgResult::Yes);
    form->Command1[7]->click();
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
        (QStringList { "Di A", "Di chi si chiama come il campo", "Altra tabella" }));
    EXPECT_EQ(rows(terraces, QStringLiteral("ELENCO")), 1) << "the unit stays listed";
    EXPECT_EQ(form->Data1->recordCount(), 0);
}

TEST_F(TerraceForm, EliminaCondominoIsRefusedWhileNoUnitIsShown)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    terraceRoom("T1", "Altro", 2, "A", 5, "Di un'altra palazzina");
    frm_terrazze *form = openForm();
    ASSERT_FALSE(form->shownUnit().has_value());
    selectTable(form, QStringLiteral("T1"));
    form->Command1[7]->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().buttons, MsgButtons::Ok);
    EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 1);
}

TEST_F(TerraceForm, AUnitWithoutUnitNumberHasNoRooms)
{
    buildings(1, { 1 });
    table("T1", "Terrazzi");
    listed("Rossi", 1, "A", "2", QVariant(), "T1", "Terrazzi");
    terraceRoom("T1", "Rossi", 1, "A", QVariant(), "Senza interno");
    frm_terrazze *form = openForm();
    selectTable(form, QStringLiteral("T1"));
    form->Command1_Click(2);
    trova(form, 0);
    EXPECT_EQ(form->Data1->recordCount(), 0);
    boxes.answer(MsgResult::Yes);
    form->Command1[7]->click();
    EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 1);
}

TEST_F(TerraceForm, EsciUnloadsTheForm)
{
    buildings(1, { 1 });
    frm_terrazze *form = openForm();
    form->Command1[6]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FormRegistry::isLoaded(zav::terraces::TerraceFormName));
}

} // namespace
