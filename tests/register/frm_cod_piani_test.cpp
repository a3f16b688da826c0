#include "register/unitregisterfixture.h"

#include "engine/archive.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "register/frm_comp_pal.h"
#include "support/screenshots.h"
#include "workspace/workspacefixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <QLabel>
#include <algorithm>

namespace zav::test {
namespace {

using register_::frm_cod_piani;

class UnitRegisterTest : public UnitRegisterFixture
{
protected:
    QVariant unitField(const QString &owner, const QString &field)
    {
        const platform::Recordset rs
            = platform::Database::open(project.path())
                  .query(QStringLiteral("SELECT %1 FROM CODIF_PIANI WHERE PROPRIETARIO = ?").arg(field),
                      { owner });
        return rs.isEmpty() ? QVariant(QStringLiteral("<none>")) : rs.value(0, 0);
    }
};

TEST_F(UnitRegisterTest, SelectorsListTheBuildingsAndStairsAndTheLiftColumnFollowsTheBuilding)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("B"), QStringLiteral("2"), 4, 3.0);
    project.unit(QStringLiteral("Bianchi"), 1, QStringLiteral("B"), QStringLiteral("1S"), 1, 3.0);
    project.unit(QStringLiteral("Verdi"), 1, QStringLiteral("A"), QStringLiteral("T"), 2, 3.0);
    frm_cod_piani *form = open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Codifica piani"));
    ASSERT_EQ(form->Combo1->count(), 2);
    EXPECT_EQ(form->Combo3->itemText(1), QStringLiteral("2"));
    EXPECT_EQ(form->TDBGrid1->model()->rowCount(), 0); // nothing bound before a stair

    choose(form, QStringLiteral("1"), QStringLiteral("B"));
    QStringList stairs;
    for (int i = 0; i < form->Combo2->count(); ++i)
        stairs << form->Combo2->itemText(i);
    EXPECT_EQ(stairs, (QStringList { "Nessuna", "A", "B" }));
    EXPECT_EQ(form->Combo4->count(), 3);
    EXPECT_FALSE(form->TDBGrid1->column(7).visible);
    // Stair B of building 1: ordered by floor code as text, then the new-row line.
    ASSERT_EQ(form->Data1->recordCount(), 2);
    EXPECT_EQ(form->Data1->value(0, QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("Bianchi"));
    EXPECT_EQ(form->TDBGrid1->model()->rowCount(), 3);
    const QStringList floors = form->TDBGrid1->column(3).valueItems;
    ASSERT_EQ(floors.size(), 53);
    EXPECT_EQ(floors.first(), QStringLiteral("10S"));
    EXPECT_EQ(floors.mid(9, 5), (QStringList { "1S", "R", "T", "1", "2" }));
    EXPECT_EQ(floors.mid(20, 3), (QStringList { "9", "S1", "10" }));
    EXPECT_EQ(floors.last(), QStringLiteral("40"));
    EXPECT_EQ(form->TDBGrid1->column(2).valueItems,
        (QStringList { "Appartamento", "Negozio", "Box", "Mansarda", "Ufficio", "Magazzino", "Garage" }));

    choose(form, QStringLiteral("2"), QString());
    EXPECT_TRUE(form->TDBGrid1->column(7).visible);
    EXPECT_EQ(form->Combo2->currentText(), QString());
}

TEST_F(UnitRegisterTest, ANewRowTakesTheChosenBuildingAndStairAndItsPosition)
{
    frm_cod_piani *form = open();
    QAbstractItemModel *model = form->TDBGrid1->model();
    choose(form, QStringLiteral("2"), QStringLiteral("A"));
    ASSERT_EQ(model->rowCount(), 1);
    ASSERT_TRUE(model->setData(model->index(0, 1), QStringLiteral("D'Amico \"Nino\"")));
    EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("NUM_PAL")).toInt(), 2);
    EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("SCALA")).toString(),
        QStringLiteral("A"));
    EXPECT_TRUE(form->nuova_riga()); // still being typed

    // The floor position of each code, worked from the rule; "S1" leaves it as it was.
    const struct
    {
        const char *code;
        QVariant position;
    } cases[]
        = { { "3S", -4 }, { "10S", -11 }, { "1S", -2 }, { "T", -1 }, { "R", 0 }, { "12", 12 }, { "S1", 12 } };
    for (const auto &c : cases) {
        ASSERT_TRUE(model->setData(model->index(0, 3), QString::fromLatin1(c.code))) << c.code;
        EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("RIGA")), c.position)
            << c.code;
    }

    // The unit number must be a number (and an emptied one is refused); a too long owner is refused.
    EXPECT_TRUE(model->setData(model->index(0, 4), QStringLiteral("7")));
    for (const char *bad : { "12a", "" }) {
        boxes.clear();
        EXPECT_FALSE(model->setData(model->index(0, 4), QString::fromLatin1(bad)));
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().at(0).text,
            QStringLiteral("Attenzione. L'interno non puo' essere inserito alfanumerico"));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav"));
    }
    EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("INTERNO")).toInt(), 7);
    boxes.clear();
    EXPECT_FALSE(model->setData(model->index(1, 1), QString(300, u'x')));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(platform::Database::open(project.path()).table(QStringLiteral("CODIF_PIANI")).recordCount(), 1);

    // Without a stair the new row is refused.
    choose(form, QStringLiteral("1"), QString());
    boxes.clear();
    EXPECT_FALSE(model->setData(model->index(model->rowCount() - 1, 1), QStringLiteral("Gialli")));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Palazzina o Scala non inserita"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(
        unitField(QStringLiteral("Gialli"), QStringLiteral("NUM_PAL")).toString(), QStringLiteral("<none>"));
}

TEST_F(UnitRegisterTest, EliminaRigaDeletesTheUnitWithItsRooms)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
    // The rooms of the unit match by owner (exactly), building read as a number, stair without
    // its blanks and unit number; a room lacking any of the four stays.
    const struct
    {
        const char *owner;
        const char *building;
        const char *stair;
        QVariant interno;
        bool deleted;
    } rooms[] = {
        { "Rossi", "1", "A", 3, true },
        { "Rossi", " 1", "A ", 3, true },
        { "Rossi", "01", " A", 3, true },
        { "ROSSI", "1", "A", 3, false },
        { "Rossi", "2", "A", 3, false },
        { "Rossi", "1", "B", 3, false },
        { "Rossi", "1", "A", 4, false },
        { "Rossi", "1", "A", QVariant(), false },
        { "Rossi", "", "A", 3, false },
    };
    platform::Database db = platform::Database::open(project.path());
    QList<qint64> staying;
    for (const auto &r : rooms) {
        const qint64 id = db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), QString::fromLatin1(r.owner) },
                { QStringLiteral("PALAZ"),
                    *r.building ? QVariant(QString::fromLatin1(r.building)) : QVariant() },
                { QStringLiteral("SCALA"), QString::fromLatin1(r.stair) },
                { QStringLiteral("INTERNO"), r.interno } });
        if (!r.deleted)
            staying << id;
    }
    db.close();
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    ASSERT_EQ(form->Data1->recordCount(), 1);
    form->Data1->moveFirst();

    boxes.answer(platform::MsgResult::Yes);
    form->Command1_Click(3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Vuoi eliminare Rossi e tutti i suoi dati (Superfici Coefficienti e Volumi) ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);
    // A hurried Enter keeps the unit.
    EXPECT_EQ(boxes.shown().at(0).defaultButton, platform::MsgDefault::Second);
    const platform::Recordset left
        = platform::Database::open(project.path()).table(QStringLiteral("ESPRESSIONI"));
    QList<qint64> ids;
    for (int i = 0; i < left.recordCount(); ++i)
        ids << left.rowidAt(i);
    EXPECT_EQ(ids, staying);
    EXPECT_EQ(form->Data1->recordCount(), 0);
    EXPECT_EQ(
        unitField(QStringLiteral("Rossi"), QStringLiteral("INTERNO")).toString(), QStringLiteral("<none>"));
}

TEST_F(UnitRegisterTest, InsCoeffChecksTheUnitAndHandsItToTheWorkspace)
{
    const QString damico = QStringLiteral("D'Amico");
    project.unit(damico, 1, QStringLiteral("A"), QStringLiteral("2"), 3, 2.7);
    project.room(damico, 1, QStringLiteral("A"), 3, {});
    project.room(damico, 1, QStringLiteral("A"), 3, {});
    project.room(damico, 1, QStringLiteral("A"), 4, {});
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QVariant(), 3, 3.0);
    project.unit(QStringLiteral("Neri"), 1, QStringLiteral("A"), QStringLiteral("1"), QVariant(), 3.0);
    project.unit(QStringLiteral("Verdi"), 1, QStringLiteral("A"), QStringLiteral("2"), 5, QVariant());
    frm_cod_piani *form = open();
    const auto handOver = [&](const QString &owner) {
        boxes.clear();
        for (int row = 0; row < form->Data1->recordCount(); ++row) {
            if (form->Data1->value(row, QStringLiteral("PROPRIETARIO")).toString() == owner)
                form->Data1->setCurrentRow(row);
        }
        form->Command1_Click(1);
    };
    const auto oneBox = [&](const QString &text, const QString &title) {
        ASSERT_EQ(boxes.shown().size(), 1) << text.toStdString();
        EXPECT_EQ(boxes.shown().at(0).text, text);
        EXPECT_EQ(boxes.shown().at(0).title, title);
    };

    // Nothing to hand over: no building, no stair, no unit.
    const QString zavWarning = QStringLiteral("!!! Zav - Attenzione - !!!");
    handOver(QString());
    oneBox(QStringLiteral("Palazzina non inserita"), zavWarning);
    choose(form, QStringLiteral("1"), QString());
    handOver(QString());
    oneBox(QStringLiteral("Scala non inserita"), zavWarning);
    choose(form, QStringLiteral("1"), QStringLiteral("B"));
    handOver(QString());
    oneBox(QStringLiteral("Nessun condomino selezionato o inserito"), zavWarning);
    EXPECT_EQ(loadedWorkspace(), nullptr);

    // An owner with an apostrophe: the workspace shows that unit's two rooms, not the third.
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    engine::VAR_GBL.altezza_piano = 1.0;
    handOver(damico);
    EXPECT_TRUE(boxes.shown().isEmpty());
    ASSERT_NE(loadedWorkspace(), nullptr);
    EXPECT_EQ(loadedWorkspace()->Label8->text(), damico);
    EXPECT_EQ(loadedWorkspace()->Data1->recordCount(), 2);
    EXPECT_DOUBLE_EQ(engine::VAR_GBL.altezza_piano, 2.7);
    EXPECT_TRUE(main->bar->isBandVisible(11));

    // A unit without a floor code or unit number is refused, and the open workspace closes.
    handOver(QStringLiteral("Rossi"));
    oneBox(QStringLiteral("Non è stato inserito il piano nel condomino Rossi"), QStringLiteral("Zav"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::None);
    processDeletes();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    handOver(QStringLiteral("Neri"));
    oneBox(QStringLiteral("Non è stato inserito l'interno nel condomino Neri"), QStringLiteral("Zav"));
    EXPECT_EQ(loadedWorkspace(), nullptr);

    // Without a floor height the unit opens after a notice, and the height in use stays.
    handOver(QStringLiteral("Verdi"));
    oneBox(QStringLiteral(
               "Non è stata inserita l'altezza del piano, il calcolo dei volumi non verrà effettuato."),
        QStringLiteral("!!! Informazioni !!!"));
    ASSERT_NE(loadedWorkspace(), nullptr);
    EXPECT_EQ(loadedWorkspace()->Label8->text(), QStringLiteral("Verdi"));
    EXPECT_EQ(loadedWorkspace()->Label12->text(), QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(engine::VAR_GBL.altezza_piano, 2.7);
}

TEST_F(UnitRegisterTest, EsciClosesTheRegister)
{
    frm_cod_piani *form = open();
    form->Command1_Click(0);
    processDeletes();
    EXPECT_EQ(platform::FormRegistry::loaded<frm_cod_piani>(register_::UnitRegisterFormName), nullptr);
}

// Several units are selected by their row selectors, and the grid keeps the order of the clicks.
TEST_F(UnitRegisterTest, RowSelectorsSelectSeveralUnitsInTheOrderOfTheClicks)
{
    QList<qint64> ids;
    for (int i = 1; i <= 3; ++i)
        ids << project.unit(QStringLiteral("U%1").arg(i), 1, QStringLiteral("A"), QString::number(i), i, 3.0);
    frm_cod_piani *form = open();
    form->show();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    QCoreApplication::processEvents();
    QHeaderView *selectors = form->TDBGrid1->verticalHeader();
    ASSERT_TRUE(selectors->isVisible());
    const auto click = [selectors](int row, Qt::KeyboardModifiers modifiers) {
        const QPoint at(selectors->width() / 2,
            selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2);
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, modifiers, at);
    };
    click(2, Qt::NoModifier);
    click(0, Qt::ControlModifier);
    EXPECT_EQ(form->TDBGrid1->selectedBookmarksInClickOrder(), (QList<qint64> { ids[2], ids[0] }));
    EXPECT_EQ(form->TDBGrid1->selectedBookmarks(), (QList<qint64> { ids[0], ids[2] }));
}

// Columns 1 to 4 are locked on a stored unit with a position, decided when the current cell moves.
TEST_F(UnitRegisterTest, OwnerKindFloorAndNumberLockOnStoredUnitsWithAPosition)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("1S"), 1, 3.0);
    const qint64 bianchi
        = project.unit(QStringLiteral("Bianchi"), 1, QStringLiteral("A"), QStringLiteral("2"), 2, 3.0);
    platform::Database::open(project.path())
        .query(QStringLiteral("UPDATE CODIF_PIANI SET RIGA = 2 WHERE rowid = ?"), { bianchi });
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    platform::DataGrid *grid = form->TDBGrid1;
    QAbstractItemModel *model = grid->model();
    ASSERT_EQ(model->rowCount(), 3); // "1S" (no position stored), "2" (position 2), the new-row line
    const auto editable = [&](int row) {
        QList<bool> columns;
        for (int c = 0; c < 8; ++c)
            columns << bool(model->flags(model->index(row, c)) & Qt::ItemIsEditable);
        return columns;
    };
    // The lift height column is hidden, the building having no lift: a hidden column is never written.
    ASSERT_FALSE(grid->column(7).visible);
    const QList<bool> open { true, true, true, true, true, true, true, false };
    const QList<bool> locked { true, false, false, false, false, true, true, false };

    grid->setCurrentIndex(model->index(1, 5));
    EXPECT_EQ(editable(1), locked);
    EXPECT_FALSE(model->setData(model->index(1, 1), QStringLiteral("Neri")));
    EXPECT_EQ(unitField(QStringLiteral("Bianchi"), QStringLiteral("INTERNO")).toInt(), 2);
    grid->setCurrentIndex(model->index(0, 5));
    EXPECT_EQ(editable(0), open);
    grid->setCurrentIndex(model->index(1, 0));
    grid->setCurrentIndex(model->index(2, 1));
    EXPECT_EQ(editable(2), open);

    // A unit typed left to right on the new-row line: once its floor code gives it a position, its
    // unit number must still be typed, so the row being added stays open until the user leaves it.
    const struct
    {
        int column;
        const char *text;
    } typed[] = { { 1, "Verdi" }, { 2, "Appartamento" }, { 3, "3" }, { 4, "6" }, { 6, "3" } };
    int row = 2;
    for (const auto &t : typed) {
        grid->setCurrentIndex(model->index(row, t.column));
        EXPECT_TRUE(model->setData(model->index(row, t.column), QString::fromLatin1(t.text))) << t.text;
        row = form->Data1->recordCount() - 1;
        EXPECT_EQ(grid->currentIndex().row(), row) << "the cell stays on the unit being typed";
    }
    EXPECT_EQ(unitField(QStringLiteral("Verdi"), QStringLiteral("INTERNO")).toInt(), 6);
    EXPECT_EQ(unitField(QStringLiteral("Verdi"), QStringLiteral("RIGA")).toInt(), 3);
    // Once left, the new unit is a stored unit with a position like any other.
    grid->setCurrentIndex(model->index(0, 1));
    grid->setCurrentIndex(model->index(row, 1));
    EXPECT_EQ(editable(row), locked);
}

TEST_F(UnitRegisterTest, TheBuildingSelectorListsTheStoredBuildingsAndRefusesWhatItCannotOpen)
{
    building(5, QVariant(), false); // the header still counts 2 buildings
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("2"), 1, 3.0);
    frm_cod_piani *form = open();
    QStringList buildings, panel;
    for (int i = 0; i < form->Combo1->count(); ++i)
        buildings << form->Combo1->itemText(i);
    for (int i = 0; i < form->Combo3->count(); ++i)
        panel << form->Combo3->itemText(i);
    EXPECT_EQ(buildings, (QStringList { "1", "2", "5" }));
    EXPECT_EQ(panel, buildings);

    // A stair chosen while no building is: nothing is bound.
    form->Combo2_Click();
    EXPECT_EQ(form->Data1->recordCount(), 0);

    // Each refusal names the building; the grid keeps the rows it showed.
    const struct
    {
        const char *change;
        const char *building;
        const char *text;
        int stairsLeft;
    } cases[] = {
        { "", "5", "Nessuna scala inserita nella palazzina n°: 5", 0 },
        { "DELETE FROM COMPOS_PAL WHERE NUM_PAL = 2", "2",
            "La palazzina n°: 2 non esiste. Aggiungerla in Composizione Palazzina.", 0 },
        { "DELETE FROM COMPOS_PAL", "1", "Non sono ancora state inserite palazzine", 3 },
    };
    for (const auto &c : cases) {
        choose(form, QStringLiteral("1"), QStringLiteral("A"));
        ASSERT_EQ(form->Data1->recordCount(), 1) << c.building;
        if (*c.change)
            platform::Database::open(project.path()).query(QString::fromLatin1(c.change));
        boxes.clear();
        choose(form, QString::fromLatin1(c.building), QString());
        ASSERT_EQ(boxes.shown().size(), 1) << c.building;
        EXPECT_EQ(boxes.shown().at(0).text, QString::fromUtf8(c.text));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_EQ(form->Combo2->count(), c.stairsLeft) << c.building;
        EXPECT_EQ(form->Data1->recordCount(), 1) << c.building;
    }

    // An archive that lost the buildings' table: the failure is said in the program's words.
    platform::Database::open(project.path()).query(QStringLiteral("DROP TABLE COMPOS_PAL"));
    boxes.clear();
    choose(form, QStringLiteral("1"), QString());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(
        boxes.shown().at(0).text.startsWith(QStringLiteral("Nell'archivio manca la tabella COMPOS_PAL.\n")))
        << boxes.shown().at(0).text.toStdString();

    // The user tables' list is bound at loading; without the header record the register opens
    // empty and binds nothing.
    EXPECT_EQ(form->Data2->databaseName(), project.path());
    platform::FormRegistry::unload(register_::UnitRegisterFormName);
    processDeletes();
    platform::Database::open(project.path()).query(QStringLiteral("DELETE FROM ANA_CONDO"));
    form = open();
    EXPECT_EQ(form->Combo1->count(), 0);
    EXPECT_EQ(form->TDBGrid1->model()->rowCount(), 0);
    EXPECT_TRUE(form->Data2->databaseName().isEmpty());
}

TEST_F(UnitRegisterTest, OrdinaSortsByPositionOnYesAndBackByFloorCodeOnNo)
{
    const struct
    {
        const char *owner;
        const char *floor;
        int interno;
        QVariant position;
    } units[] = {
        { "Rossi", "2", 4, 2 },
        { "Bianchi", "T", 1, -1 },
        { "Verdi", "1S", 2, -2 },
        { "Neri", "R", 3, 0 },
        { "Gialli", "S1", 5, QVariant() },
        { "D'Amico", "2", 3, 2 },
    };
    platform::Database db = platform::Database::open(project.path());
    for (const auto &u : units)
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PROPRIETARIO"), QString::fromLatin1(u.owner) },
                { QStringLiteral("SIGLA"), QString::fromLatin1(u.floor) },
                { QStringLiteral("INTERNO"), u.interno }, { QStringLiteral("RIGA"), u.position } });
    project.unit(QStringLiteral("Altri"), 1, QStringLiteral("B"), QStringLiteral("1S"), 1, 3.0);
    db.close();
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    const auto owners = [form] {
        QStringList list;
        for (int row = 0; row < form->Data1->recordCount(); ++row)
            list << form->Data1->value(row, QStringLiteral("PROPRIETARIO")).toString();
        return list;
    };
    const QStringList byFloorCode { "Verdi", "D'Amico", "Rossi", "Neri", "Gialli", "Bianchi" };
    EXPECT_EQ(owners(), byFloorCode);

    boxes.answer(platform::MsgResult::Yes);
    form->Command1_Click(2);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi ordinare per piano?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Ordina Record"));
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);
    // No position first, then by position and unit number.
    EXPECT_EQ(owners(), (QStringList { "Gialli", "Verdi", "Bianchi", "Neri", "D'Amico", "Rossi" }));

    boxes.answer(platform::MsgResult::No);
    form->Command1_Click(2);
    EXPECT_EQ(owners(), byFloorCode);
}

TEST_F(UnitRegisterTest, GenPosizioniSetsThePositionsFromTheCurrentRowToTheEnd)
{
    // In the grid's order: "1S", "2", "3S", "S1", "T"; every position stale.
    const char *floors[] = { "1S", "2", "3S", "S1", "T" };
    platform::Database db = platform::Database::open(project.path());
    for (int i = 0; i < 5; ++i)
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("U%1").arg(i + 1) },
                { QStringLiteral("SIGLA"), QString::fromLatin1(floors[i]) },
                { QStringLiteral("INTERNO"), i + 1 }, { QStringLiteral("RIGA"), 99 } });
    db.close();
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    ASSERT_EQ(form->Data1->value(2, QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("U3"));
    form->Data1->setCurrentRow(2);
    boxes.clear();
    form->Command1_Click(4);

    // Rows 1 and 2 keep theirs, "3S" gives -4, "S1" leaves it, "T" gives -1.
    const int expected[] = { 99, 99, -4, 99, -1 };
    for (int i = 0; i < 5; ++i) {
        const QString owner = QStringLiteral("U%1").arg(i + 1);
        EXPECT_EQ(unitField(owner, QStringLiteral("RIGA")).toInt(), expected[i]) << owner.toStdString();
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(form->Data1->noCurrentRow());
}

TEST_F(UnitRegisterTest, CellsTheFieldsCannotHoldAreRefusedAndAClearedCellIsNull)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("S1"), 1, 3.0);
    const qint64 bianchi
        = project.unit(QStringLiteral("Bianchi"), 1, QStringLiteral("A"), QStringLiteral("T"), 2, 3.0);
    platform::Database::open(project.path())
        .query(QStringLiteral("UPDATE CODIF_PIANI SET RIGA = -1, HTERRA = 4.5 WHERE rowid = ?"), { bianchi });
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    platform::DataGrid *grid = form->TDBGrid1;
    QAbstractItemModel *model = grid->model();
    // Rossi ("S1") comes before Bianchi ("T").
    ASSERT_EQ(form->Data1->value(0, QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("Rossi"));

    // On Rossi's row (no position, so nothing is locked): each refused with one message.
    const struct
    {
        int column;
        const char *typed;
        const char *field;
    } refused[] = {
        { 5, "abc", "HTERRA" },
        { 6, "tre", "HPIANO" },
        { 3, "0S", "SIGLA" },
        { 2, "Villa", "DESCRIZIONE" },
        { 1, "Rossi\tMario\nBianchi", "PROPRIETARIO" },
    };
    for (const auto &r : refused) {
        const QVariant before = unitField(QStringLiteral("Rossi"), QString::fromLatin1(r.field));
        boxes.clear();
        EXPECT_FALSE(model->setData(model->index(0, r.column), QString::fromUtf8(r.typed))) << r.typed;
        EXPECT_EQ(boxes.shown().size(), 1) << r.typed;
        EXPECT_EQ(unitField(QStringLiteral("Rossi"), QString::fromLatin1(r.field)), before) << r.typed;
    }

    // A cleared cell is stored as Null; a cleared floor code leaves the position as it was.
    ASSERT_TRUE(model->setData(model->index(0, 6), QString()));
    EXPECT_TRUE(unitField(QStringLiteral("Rossi"), QStringLiteral("HPIANO")).isNull());
    ASSERT_TRUE(model->setData(model->index(1, 5), QString()));
    EXPECT_TRUE(unitField(QStringLiteral("Bianchi"), QStringLiteral("HTERRA")).isNull());
    grid->setCurrentIndex(model->index(0, 3));
    ASSERT_TRUE(model->setData(model->index(0, 3), QStringLiteral("4")));
    ASSERT_TRUE(model->setData(model->index(0, 3), QString()));
    EXPECT_TRUE(unitField(QStringLiteral("Rossi"), QStringLiteral("SIGLA")).isNull());
    EXPECT_EQ(unitField(QStringLiteral("Rossi"), QStringLiteral("RIGA")).toInt(), 4);

    // The unit-row clipboard pastes straight into the archive: a row typed in the grid while the
    // clipboard holds rows still gets its floor's position.
    engine::VAR_GBL.appunti_pieni = true;
    ASSERT_TRUE(model->setData(model->index(0, 3), QStringLiteral("7")));
    EXPECT_EQ(unitField(QStringLiteral("Rossi"), QStringLiteral("RIGA")).toInt(), 7);
    engine::VAR_GBL.appunti_pieni = false;

    // A position typed by hand gives way to the floor code's; with "S1" (none) it is kept.
    boxes.clear();
    EXPECT_TRUE(model->setData(model->index(1, 0), QStringLiteral("5")));
    EXPECT_EQ(unitField(QStringLiteral("Bianchi"), QStringLiteral("RIGA")).toInt(), -1);
    ASSERT_TRUE(model->setData(model->index(0, 3), QStringLiteral("S1")));
    EXPECT_TRUE(model->setData(model->index(0, 0), QStringLiteral("8")));
    EXPECT_EQ(unitField(QStringLiteral("Rossi"), QStringLiteral("RIGA")).toInt(), 8);
    EXPECT_TRUE(boxes.shown().isEmpty());

    // A new row whose first cell the field refuses is not stored, and it ends the row being added:
    // Bianchi's row is then locked again.
    const int newRow = model->rowCount() - 1;
    grid->setCurrentIndex(model->index(newRow, 5));
    boxes.clear();
    EXPECT_FALSE(model->setData(model->index(newRow, 5), QStringLiteral("alto")));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(platform::Database::open(project.path()).table(QStringLiteral("CODIF_PIANI")).recordCount(), 2);
    grid->setCurrentIndex(model->index(1, 5));
    EXPECT_FALSE(model->flags(model->index(1, 1)) & Qt::ItemIsEditable);
}

// Text pasted into a cell's editor goes through the same checks as text typed.
TEST_F(UnitRegisterTest, TextPastedIntoACellIsCheckedAsTyped)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("S1"), 1, 3.0);
    frm_cod_piani *form = open();
    form->show();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    platform::DataGrid *grid = form->TDBGrid1;
    QAbstractItemModel *model = grid->model();
    // Pastes into a cell and presses Enter; a refused text stays in the cell, still in edit, and is
    // given up with Esc. Whether it stayed.
    const auto paste = [&](int column, const QString &clip) {
        QApplication::clipboard()->setText(clip);
        grid->setCurrentIndex(model->index(0, column));
        grid->edit(model->index(0, column));
        const QList<QLineEdit *> editors = grid->viewport()->findChildren<QLineEdit *>();
        if (editors.size() != 1) {
            ADD_FAILURE() << "editors: " << editors.size();
            return false;
        }
        QLineEdit *editor = editors.at(0);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        const QString pasted = editor->text();
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        const bool stayed = editor->isVisible();
        if (stayed) {
            EXPECT_EQ(editor->text(), pasted);
            QTest::keyClick(editor, Qt::Key_Escape);
            QCoreApplication::processEvents();
        }
        processDeletes();
        return stayed;
    };

    EXPECT_TRUE(paste(4, QStringLiteral("12a")));
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Attenzione. L'interno non puo' essere inserito alfanumerico") });
    EXPECT_EQ(unitField(QStringLiteral("Rossi"), QStringLiteral("INTERNO")).toInt(), 1);
    boxes.clear();
    EXPECT_TRUE(paste(1, QStringLiteral("Verdi\tT\t3\nNeri\tR\t4")));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(unitField(QStringLiteral("Rossi"), QStringLiteral("INTERNO")).toInt(), 1);
    boxes.clear();
    EXPECT_FALSE(paste(4, QStringLiteral("12")));
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(unitField(QStringLiteral("Rossi"), QStringLiteral("INTERNO")).toInt(), 12);
}

TEST_F(UnitRegisterTest, EliminaRigaWithoutOwnerAsksNothingAndAFailureDeletesNothing)
{
    const qint64 anonymous = project.unit(QString(), 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
    const qint64 kept = project.room(QString(), 1, QStringLiteral("A"), 3, {});
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("T"), 4, 3.0);
    project.room(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 4, {});
    project.room(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 4, {});
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    ASSERT_EQ(form->Data1->rowid(0), anonymous);
    const auto count = [this](const char *table) {
        return platform::Database::open(project.path()).table(QString::fromLatin1(table)).recordCount();
    };

    // No owner: deleted at once, its rooms' table untouched.
    form->Data1->moveFirst();
    form->Command1_Click(3);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(count("CODIF_PIANI"), 1);
    EXPECT_EQ(count("ESPRESSIONI"), 3);
    EXPECT_EQ(project.value(QStringLiteral("ESPRESSIONI"), kept, QStringLiteral("INTERNO")).toInt(), 3);

    // No answer keeps everything.
    ASSERT_EQ(form->Data1->recordCount(), 1);
    form->Data1->moveFirst();
    boxes.answer(platform::MsgResult::No);
    form->Command1_Click(3);
    EXPECT_EQ(count("CODIF_PIANI"), 1);
    EXPECT_EQ(count("ESPRESSIONI"), 3);

    // The unit cannot be deleted: its rooms, deleted first, come back; the failure is told.
    platform::Database::open(project.path())
        .query(QStringLiteral("CREATE TRIGGER keep_units BEFORE DELETE ON CODIF_PIANI "
                              "BEGIN SELECT RAISE(ABORT, 'unit kept'); END"));
    boxes.clear();
    form->Data1->moveFirst();
    boxes.answer(platform::MsgResult::Yes);
    form->Command1_Click(3);
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_TRUE(boxes.shown().at(1).text.startsWith(
        QStringLiteral("Impossibile eliminare Rossi: non è stato eliminato nulla.")));
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Zav - Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(1).icon, platform::MsgIcon::Critical);
    EXPECT_EQ(count("CODIF_PIANI"), 1);
    EXPECT_EQ(count("ESPRESSIONI"), 3);
    EXPECT_EQ(form->Data1->recordCount(), 1);

    // With no current row nothing is deleted.
    form->Data1->setCurrentRow(form->Data1->recordCount());
    boxes.clear();
    form->Command1_Click(3);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(count("CODIF_PIANI"), 1);
}

// Writes the register's picture for the documentation into the folder named by ZAV_SCREENSHOT_DIR.
TEST_F(UnitRegisterTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    const platform::vb::DecimalSeparatorScope separator(u',');
    platform::Database::open(project.path())
        .query(QStringLiteral("UPDATE COMPOS_PAL SET ASCENSORE = 1 WHERE NUM_PAL = 1"));
    const struct
    {
        const char *owner;
        const char *kind;
        const char *floor;
        int interno;
    } units[] = {
        { "Bianchi Maria", "Box", "1S", 1 },
        { "Rossi Mario", "Negozio", "T", 2 },
        { "D'Amico Giovanni", "Appartamento", "1", 3 },
        { "Esposito Luca", "Appartamento", "1", 4 },
        { "Ferrari Anna", "Appartamento", "2", 5 },
        { "Romano Paolo", "Mansarda", "3", 6 },
    };
    platform::Database db = platform::Database::open(project.path());
    for (const auto &u : units) {
        const std::optional<int> position = engine::archive::floorPosition(QString::fromLatin1(u.floor));
        // Ground floor at 0 m, 3 m a floor; the lift starts from the basement.
        const double above = *position >= -1 ? 3.0 * std::max(*position, 0) : 3.0 * (*position + 1);
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PROPRIETARIO"), QString::fromUtf8(u.owner) },
                { QStringLiteral("DESCRIZIONE"), QString::fromLatin1(u.kind) },
                { QStringLiteral("SIGLA"), QString::fromLatin1(u.floor) },
                { QStringLiteral("RIGA"), *position }, { QStringLiteral("INTERNO"), u.interno },
                { QStringLiteral("HTERRA"), above }, { QStringLiteral("HPIANO"), 3.0 },
                { QStringLiteral("HASCENSORE"), above + 3.0 } });
    }
    db.close();
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    form->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(zav::test::pictureWritten(form->grab(), folder, QStringLiteral("unit-register.png")));
}

// A unit typed on the new-row line and given up with Esc, in its next cell's editor or on the
// grid itself: nothing of it stays in the archive, and the line is new again.
TEST_F(UnitRegisterTest, EscGivesUpTheRowBeingAdded)
{
    frm_cod_piani *form = open();
    form->show();
    choose(form, QStringLiteral("2"), QStringLiteral("A"));
    platform::DataGrid *grid = form->TDBGrid1;
    QAbstractItemModel *model = grid->model();
    const QStringList before = dump(QStringLiteral("CODIF_PIANI"));
    const auto visibleEditor = [grid]() -> QLineEdit * {
        for (QLineEdit *edit : grid->viewport()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return edit;
        }
        return nullptr;
    };
    for (const bool inTheNextCell : { true, false }) {
        SCOPED_TRACE(inTheNextCell);
        grid->setFocus();
        ASSERT_EQ(model->rowCount(), 1);
        grid->setCurrentIndex(model->index(0, 1));
        QTest::keyClick(grid, 'N');
        ASSERT_NE(visibleEditor(), nullptr);
        QTest::keyClicks(visibleEditor(), QStringLiteral("eri"));
        QTest::keyClick(visibleEditor(), Qt::Key_Tab);
        ASSERT_EQ(unitField(QStringLiteral("Neri"), QStringLiteral("SCALA")), QVariant(QStringLiteral("A")));
        if (inTheNextCell) {
            grid->setCurrentIndex(model->index(0, 4));
            QTest::keyClick(grid, '5');
            ASSERT_NE(visibleEditor(), nullptr);
            QTest::keyClick(visibleEditor(), Qt::Key_Escape);
        } else {
            if (QLineEdit *editor = visibleEditor())
                QTest::keyClick(editor, Qt::Key_Escape);
            QTest::keyClick(grid, Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(dump(QStringLiteral("CODIF_PIANI")), before);
        EXPECT_FALSE(form->nuova_riga());
        EXPECT_EQ(model->rowCount(), 1);
    }
    // A unit already stored is never given up by Esc.
    const qint64 stored
        = project.unit(QStringLiteral("Bruni"), 2, QStringLiteral("A"), QStringLiteral("1"), 3, 3.0);
    choose(form, QStringLiteral("2"), QStringLiteral("A"));
    makeCurrent(form, stored);
    QTest::keyClick(grid, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(unitField(QStringLiteral("Bruni"), QStringLiteral("INTERNO")).toInt(), 3);
}

// The stairs a building's count gives: none for a count not given or not a number, "Nessuna" alone
// for 0, "Nessuna" and the letters otherwise. A unit of a building of 0 stairs is shown on
// "Nessuna", and another one can be added there.
TEST_F(UnitRegisterTest, AStairCountOfZeroListsNessunaAlone)
{
    const struct
    {
        QVariant count;
        QStringList stairs;
    } cases[] = {
        { QVariant(), {} },
        { QStringLiteral(""), {} },
        { QStringLiteral("x"), {} },
        { 0, { "Nessuna" } },
        { 2, { "Nessuna", "A", "B" } },
    };
    int number = 3;
    for (const auto &c : cases)
        building(number++, c.count, false);
    const qint64 bianchi
        = project.unit(QStringLiteral("Bianchi"), 6, QStringLiteral("Nessuna"), QStringLiteral("1"), 2, 3.0);
    frm_cod_piani *form = open();
    form->show();
    number = 3;
    for (const auto &c : cases) {
        SCOPED_TRACE(number);
        boxes.clear();
        form->Combo1->setCurrentIndex(form->Combo1->findText(QString::number(number)));
        emit form->Combo1->activated(form->Combo1->currentIndex());
        QStringList listed;
        for (int i = 0; i < form->Combo2->count(); ++i)
            listed << form->Combo2->itemText(i);
        EXPECT_EQ(listed, c.stairs);
        EXPECT_EQ(boxes.messages(),
            c.stairs.isEmpty()
                ? QStringList { QStringLiteral("Nessuna scala inserita nella palazzina n°: %1").arg(number) }
                : QStringList());
        ++number;
    }

    choose(form, QStringLiteral("6"), QStringLiteral("Nessuna"));
    ASSERT_EQ(form->Data1->recordCount(), 1);
    EXPECT_EQ(form->Data1->rowid(0), bianchi);
    QAbstractItemModel *model = form->TDBGrid1->model();
    ASSERT_TRUE(model->setData(model->index(1, 1), QStringLiteral("Neri")));
    EXPECT_EQ(
        unitField(QStringLiteral("Neri"), QStringLiteral("SCALA")), QVariant(QStringLiteral("Nessuna")));
    EXPECT_EQ(unitField(QStringLiteral("Neri"), QStringLiteral("NUM_PAL")).toInt(), 6);
}

// Building 3 deleted in "Composizione palazzine" while the register shows it and the workspace one
// of its units: the register lists the buildings left and shows no unit, the workspace closes with
// a message, and nothing of building 3 is left or written.
TEST_F(UnitRegisterTest, ABuildingDeletedWhileTheRegisterIsOpen)
{
    building(3, 1, false);
    project.unit(QStringLiteral("Gialli"), 3, QStringLiteral("A"), QStringLiteral("1"), 7, 3.0);
    frm_cod_piani *form = open();
    main->area()->addSubWindow(form);
    form->show();
    choose(form, QStringLiteral("3"), QStringLiteral("A"));
    ASSERT_EQ(form->Data1->recordCount(), 1);
    form->Data1->setCurrentRow(0);
    QTest::mouseClick(form->Command1[1], Qt::LeftButton); // "Ins. Coeff."
    ASSERT_NE(loadedWorkspace(), nullptr);
    EXPECT_EQ(loadedWorkspace()->Label8->text(), QStringLiteral("Gialli"));

    boxes.clear();
    boxes.answerText(QStringLiteral("3"));
    boxes.answer(platform::MsgResult::Yes);
    boxes.answer(platform::MsgResult::Yes);
    {
        register_::frm_comp_pal buildings;
        buildings.Command4[2]->click(); // "Elimina"
    }
    processDeletes();
    QStringList listed;
    for (int i = 0; i < form->Combo1->count(); ++i)
        listed << form->Combo1->itemText(i);
    EXPECT_EQ(listed, (QStringList { "1", "2" }));
    EXPECT_EQ(form->Combo2->count(), 0);
    EXPECT_EQ(form->Data1->recordCount(), 0);
    EXPECT_EQ(loadedWorkspace(), nullptr);
    const QStringList told = boxes.messages();
    EXPECT_EQ(std::count_if(told.begin(), told.end(),
                  [](const QString &text) {
                      return text.startsWith(QStringLiteral("Il condomino Gialli Pal.: 3 "))
                          && text.contains(QStringLiteral("non esiste più in Codifica Piani"));
                  }),
        1)
        << told.join(u'|').toStdString();

    // "Ins. Coeff." has no unit to open, and no room of building 3 was ever written.
    boxes.clear();
    QTest::mouseClick(form->Command1[1], Qt::LeftButton);
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_EQ(platform::Database::open(project.path())
                  .query(QStringLiteral("SELECT COUNT(*) FROM ESPRESSIONI WHERE PALAZ = '3'"))
                  .value(0, 0)
                  .toInt(),
        0);
    EXPECT_EQ(
        unitField(QStringLiteral("Gialli"), QStringLiteral("NUM_PAL")), QVariant(QStringLiteral("<none>")));
}

// A unit whose row went away behind the workspace's back: a room typed on its new-row line is
// refused with a message and stored nowhere.
TEST_F(UnitRegisterTest, NoRoomIsStoredForAUnitThatIsNotInTheRegister)
{
    const qint64 unit
        = project.unit(QStringLiteral("Gialli"), 1, QStringLiteral("A"), QStringLiteral("1"), 7, 3.0);
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    makeCurrent(form, unit);
    form->Command1_Click(1);
    workspace::frm_ins_coeff *workspace = loadedWorkspace();
    ASSERT_NE(workspace, nullptr);
    platform::Database::open(project.path()).remove(QStringLiteral("CODIF_PIANI"), unit);
    boxes.clear();
    QAbstractItemModel *model = workspace->TDBGrid1->model();
    const int line = workspace->TDBGrid1->dataModel()->newRowLine();
    ASSERT_GE(line, 0);
    EXPECT_FALSE(model->setData(model->index(line, 1), QStringLiteral("Cucina")));
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(QStringLiteral("non risulta in Codifica Piani")));
    EXPECT_EQ(platform::Database::open(project.path())
                  .query(QStringLiteral("SELECT COUNT(*) FROM ESPRESSIONI"))
                  .value(0, 0)
                  .toInt(),
        0);
}

} // namespace
} // namespace zav::test
