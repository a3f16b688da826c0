// The unit list: its building list and units, the find that opens a unit in the workspace, the
// copy of a unit's rooms into the open unit, and the commands and key that show it.

#include "engine/archive.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "workspace/frm_elenco.h"
#include "workspace/roomcopy.h"
#include "workspacefixture.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::MsgResult;
using zav::test::num;
using zav::workspace::frm_elenco;
using zav::workspace::frm_ins_coeff;
using zav::workspace::RoomCopy;
using zav::workspace::Unit;
using zav::workspace::UnitKey;
using zav::workspace::WorkspaceCommands;
namespace vb = zav::platform::vb;

namespace {

const QString kDamico = QStringLiteral("D'Amico \"Nino\"");
const QString kWarning = QStringLiteral("!!! Zav - Attenzione - !!!");

/** The fields of a room, in their stored order. */
const QStringList kRoomFields = { "NOME_CONDOMINO", "DESCRIZIONE", "ESPRESSIONE", "MQ", "PALAZ", "COEF1",
    "COEF2", "COEF3", "COEF4", "COEF5", "COEF6", "COEF7", "COEF8", "TOT_COEF", "SCALA", "H_PIANO", "TOT_VOL",
    "OPT_RISC", "ESPRES_RAD", "TOT_ESPRES_RAD", "SUP_FINESTRA", "MQ_FINESTRA", "INTERNO", "PIANO" };

/**
 * Three buildings. Building 2 holds, inserted out of order, D'Amico "Nino" (B, floor 2, number 5,
 * the unit the workspace shows), Verdi (A, 2, 4), Bianchi (A, 10, 3) and Neri (A, 2, 2); listed
 * by stair, floor code as text and number they read Bianchi, Neri, Verdi, D'Amico. Building 1
 * holds Rossi, building 3 Gialli (no rooms) and Senza (no unit number).
 *
 * D'Amico's rooms: "Cucina" 3*4 (12 stored everywhere) and "Terrazzo" 1*2 with an empty surface
 * and volume and a weighted surface of 2. Neri's two rooms have every field filled.
 */
class UnitListTest : public zav::test::WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        project.header(true, false, false, 3);
        for (int building : { 1, 2, 3 })
            Database::open(project.path()).insert(QStringLiteral("COMPOS_PAL"), { { "NUM_PAL", building } });
        const QString a = QStringLiteral("A");
        damico = project.unit(kDamico, 2, QStringLiteral("B"), QStringLiteral("2"), 5, 3.0);
        verdi = project.unit(QStringLiteral("Verdi"), 2, a, QStringLiteral("2"), 4, 2.7);
        bianchi = project.unit(QStringLiteral("Bianchi"), 2, a, QStringLiteral("10"), 3, 3.2);
        project.unit(QStringLiteral("Rossi"), 1, a, QStringLiteral("1"), 1, 3.0);
        neri = project.unit(QStringLiteral("Neri"), 2, a, QStringLiteral("2"), 2, 2.9);
        project.unit(QStringLiteral("Gialli"), 3, QStringLiteral("Nessuna"), QStringLiteral("T"), 1, 3.0);
        project.unit(
            QStringLiteral("Senza"), 3, QStringLiteral("Nessuna"), QStringLiteral("1"), QVariant(), 3.0);

        project.room(kDamico, 2, QStringLiteral("B"), 5,
            { { "DESCRIZIONE", QStringLiteral("Cucina") }, { "ESPRESSIONE", QStringLiteral("3*4") },
                { "MQ", QStringLiteral("12") }, { "TOT_COEF", QStringLiteral("12") },
                { "TOT_VOL", QStringLiteral("36") } });
        project.room(kDamico, 2, QStringLiteral("B"), 5,
            { { "DESCRIZIONE", QStringLiteral("Terrazzo") }, { "ESPRESSIONE", QStringLiteral("1*2") },
                { "TOT_COEF", QStringLiteral("2") } });
        for (const Fields &room : neriRooms())
            project.room(QStringLiteral("Neri"), 2, a, 2, room);
        project.room(QStringLiteral("Bianchi"), 2, a, 3,
            { { "DESCRIZIONE", QStringLiteral("Sala") }, { "ESPRESSIONE", QStringLiteral("5*4") },
                { "MQ", QStringLiteral("20") }, { "TOT_COEF", QStringLiteral("20") } });
        project.room(QStringLiteral("Bianchi"), 2, a, 3,
            { { "DESCRIZIONE", QStringLiteral("Bagno") }, { "ESPRESSIONE", QStringLiteral("2*2.5") },
                { "MQ", QStringLiteral("5") }, { "TOT_COEF", QStringLiteral("5") } });
    }

    void TearDown() override
    {
        FormRegistry::unload(QString::fromLatin1(frm_elenco::FormName));
        processDeletes();
        WorkspaceTest::TearDown();
    }

    using Fields = zav::test::Fields;

    /** Neri's rooms without their key fields: every other field filled, numbers as text. */
    static QList<Fields> neriRooms()
    {
        return {
            { { "DESCRIZIONE", QStringLiteral("Camera") }, { "ESPRESSIONE", QStringLiteral("4*4.5") },
                { "MQ", num("18.0") }, { "COEF1", num("0.9") }, { "COEF2", num("1.1") },
                { "COEF3", QStringLiteral("1") }, { "COEF4", num("0.95") }, { "COEF5", QStringLiteral("1") },
                { "COEF6", QStringLiteral("1") }, { "COEF7", num("1.2") }, { "COEF8", QStringLiteral("1") },
                { "TOT_COEF", num("20.3148") }, { "H_PIANO", num("2.9") }, { "TOT_VOL", num("52.2") },
                { "OPT_RISC", QStringLiteral("S") }, { "ESPRES_RAD", QStringLiteral("3*2") },
                { "TOT_ESPRES_RAD", QStringLiteral("6") }, { "SUP_FINESTRA", QStringLiteral("1.2*1.5") },
                { "MQ_FINESTRA", num("1.8") }, { "PIANO", QStringLiteral("2") } },
            { { "DESCRIZIONE", QStringLiteral("Ingresso") }, { "ESPRESSIONE", QStringLiteral("2*1.5") },
                { "MQ", num("3.0") }, { "COEF1", QStringLiteral("1") }, { "COEF2", QStringLiteral("1") },
                { "COEF3", QStringLiteral("1") }, { "COEF4", QStringLiteral("1") },
                { "COEF5", QStringLiteral("1") }, { "COEF6", QStringLiteral("1") },
                { "COEF7", QStringLiteral("1") }, { "COEF8", num("0.5") }, { "TOT_COEF", num("1.5") },
                { "H_PIANO", num("2.9") }, { "TOT_VOL", num("4.35") }, { "OPT_RISC", QStringLiteral("N") },
                { "ESPRES_RAD", QStringLiteral("0") }, { "TOT_ESPRES_RAD", QStringLiteral("0") },
                { "SUP_FINESTRA", QStringLiteral("C") }, { "MQ_FINESTRA", QStringLiteral("0") },
                { "PIANO", QStringLiteral("2") } },
        };
    }

    static Unit damicoUnit()
    {
        return Unit { UnitKey { kDamico, QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("2"),
                          QStringLiteral("5") },
            3.0 };
    }

    /** Every room of a unit, by owner, building, stair and number, in stored order. */
    zav::platform::Recordset rooms(
        const QString &owner, const QString &building, const QString &stair, int interno) const
    {
        return Database::open(project.path())
            .query(QStringLiteral("SELECT * FROM ESPRESSIONI WHERE NOME_CONDOMINO = ? AND PALAZ = ? AND "
                                  "SCALA = ? AND INTERNO = ? ORDER BY rowid"),
                { owner, building, stair, interno });
    }

    int roomCount() const
    {
        return Database::open(project.path())
            .query(QStringLiteral("SELECT COUNT(*) FROM ESPRESSIONI"))
            .value(0, 0)
            .toInt();
    }

    frm_ins_coeff *openDamico() { return frm_ins_coeff::open(damicoUnit()); }

    /** Runs a band command that shows the list modal; the list is left open and returned. */
    frm_elenco *runCommand(const QString &key)
    {
        frm_elenco *shown = nullptr;
        zav::platform::ModalDriverScope driver(
            [&shown](QWidget *form) { shown = qobject_cast<frm_elenco *>(form); });
        for (const auto &[command, handler] : WorkspaceCommands::commands()) {
            if (command == key)
                handler();
        }
        return shown;
    }

    static void choose(frm_elenco *list, const QString &owner)
    {
        for (int row = 0; row < list->Data1->recordCount(); ++row) {
            if (list->Data1->value(row, QStringLiteral("PROPRIETARIO")).toString() == owner) {
                list->Data1->setCurrentRow(row);
                return;
            }
        }
        FAIL() << "no unit of " << owner.toStdString() << " listed";
    }

    static QStringList owners(const frm_elenco *list)
    {
        QStringList names;
        for (int row = 0; row < list->Data1->recordCount(); ++row)
            names << list->Data1->value(row, QStringLiteral("PROPRIETARIO")).toString();
        return names;
    }

    static QStringList items(const QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    bool listLoaded() const { return FormRegistry::isLoaded(QString::fromLatin1(frm_elenco::FormName)); }

    qint64 damico = 0, verdi = 0, bianchi = 0, neri = 0;
};

// --- Loading ------------------------------------------------------------------------------------

TEST_F(UnitListTest, OpensOnTheWorkspacesBuildingWithItsUnitsInOrder)
{
    openDamico();
    frm_elenco *list = runCommand(QStringLiteral("trova"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Elenco condomini"));
    EXPECT_EQ(list->Label1->text(), QStringLiteral("Pal. n°:"));
    EXPECT_FALSE(list->Combo1->isEditable());
    EXPECT_EQ(items(list->Combo1), (QStringList { "1", "2", "3" }));
    EXPECT_EQ(list->Combo1->currentText(), QStringLiteral("2"));
    // Floor codes compare as text: "10" before "2".
    EXPECT_EQ(owners(list), (QStringList { "Bianchi", "Neri", "Verdi", kDamico }));
    EXPECT_EQ(list->Data1->currentRow(), 0);

    const QList<std::pair<QString, QString>> columns = { { "Comdomino", "PROPRIETARIO" },
        { "Pal.", "NUM_PAL" }, { "Scala", "SCALA" }, { "Piano", "SIGLA" }, { "Int.", "INTERNO" } };
    ASSERT_EQ(list->TDBGrid1->columnCount(), columns.size());
    for (int i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(list->TDBGrid1->column(i).caption, columns[i].first);
        EXPECT_EQ(list->TDBGrid1->column(i).dataField, columns[i].second);
    }
    EXPECT_TRUE(list->TDBGrid1->isReadOnly());
    EXPECT_FALSE(list->TDBGrid1->allowAddNew());
    EXPECT_EQ(list->Command1->text(), QStringLiteral("Trova"));
    EXPECT_EQ(list->Command2->text(), QStringLiteral("Esci"));
    EXPECT_EQ(list->ProgressBar1->maximum(), 100);

    // Picking a building lists its units, the first one current.
    list->Combo1->setCurrentIndex(0);
    list->Combo1_Click();
    EXPECT_EQ(owners(list), QStringList { "Rossi" });
    EXPECT_EQ(list->Data1->currentRow(), 0);

    // "Esci" closes it, the list serving the workspace again.
    VAR_GBL.elenco_per_terrazze = true;
    list->Command2->click();
    processDeletes();
    EXPECT_FALSE(listLoaded());
    EXPECT_FALSE(VAR_GBL.elenco_per_terrazze);
}

// The building list holds the buildings the project has, not the count in its header.
TEST_F(UnitListTest, ListsTheBuildingsThatExistAndShowsTheLastWithoutAWorkspace)
{
    Database::open(project.path()).exec(QStringLiteral("DELETE FROM COMPOS_PAL WHERE NUM_PAL = 3"));
    Database::open(project.path()).insert(QStringLiteral("COMPOS_PAL"), { { "NUM_PAL", 5 } });
    FormRegistry::showModeless(QString::fromLatin1(frm_elenco::FormName));
    auto *list = FormRegistry::loaded<frm_elenco>(QString::fromLatin1(frm_elenco::FormName));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(items(list->Combo1), (QStringList { "1", "2", "5" }));
    EXPECT_EQ(list->Combo1->currentText(), QStringLiteral("5"));
    EXPECT_EQ(list->Data1->recordCount(), 0);
}

TEST_F(UnitListTest, WithoutAProjectHeaderListsEveryUnitInStoredOrder)
{
    Database::open(project.path()).clear(QStringLiteral("ANA_CONDO"));
    openDamico();
    FormRegistry::showModeless(QString::fromLatin1(frm_elenco::FormName));
    auto *list = FormRegistry::loaded<frm_elenco>(QString::fromLatin1(frm_elenco::FormName));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Combo1->count(), 0);
    EXPECT_EQ(
        owners(list), (QStringList { kDamico, "Verdi", "Bianchi", "Rossi", "Neri", "Gialli", "Senza" }));
}

// --- Find ---------------------------------------------------------------------------------------

TEST_F(UnitListTest, FindOpensTheUnitInTheWorkspaceAndASecondFindStoresTheFirstUnitsTotals)
{
    frm_ins_coeff *workspace = openDamico();
    frm_elenco *list = runCommand(QStringLiteral("tTrova"));
    ASSERT_NE(list, nullptr);

    choose(list, QStringLiteral("Bianchi"));
    list->Command1->click();
    EXPECT_EQ(workspace->Label8->text(), QStringLiteral("Bianchi"));
    EXPECT_EQ(workspace->Label9->text(), QStringLiteral("2"));
    EXPECT_EQ(workspace->Label10->text(), QStringLiteral("A"));
    EXPECT_EQ(workspace->Label11->text(), QStringLiteral("10"));
    EXPECT_EQ(workspace->Label12->text(), QStringLiteral("3"));
    const UnitKey bianchiKey { QStringLiteral("Bianchi"), QStringLiteral("2"), QStringLiteral("A"),
        QStringLiteral("10"), QStringLiteral("3") };
    ASSERT_TRUE(VAR_GBL.sql_unita_corrente);
    EXPECT_EQ(*VAR_GBL.sql_unita_corrente, bianchiKey.rooms());
    EXPECT_DOUBLE_EQ(VAR_GBL.altezza_piano, 3.2);
    ASSERT_EQ(workspace->Data1->recordCount(), 2);
    EXPECT_EQ(workspace->Data1->value(0, QStringLiteral("DESCRIZIONE")).toString(), QStringLiteral("Sala"));
    EXPECT_EQ(workspace->Data1->value(1, QStringLiteral("DESCRIZIONE")).toString(), QStringLiteral("Bagno"));
    EXPECT_EQ(workspace->Label14->text(), QStringLiteral("25"));
    EXPECT_EQ(workspace->Label16->text(), QStringLiteral("25"));
    EXPECT_EQ(workspace->Label18->text(), QStringLiteral("0"));
    // The list stays open, in the same mode.
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->Command1->text(), QStringLiteral("Trova"));

    // Nothing is stored of Bianchi until the workspace leaves it: 5*4 and 2*2.5, coefficients 1.
    EXPECT_FALSE(project.totals(bianchi).at(0).isValid());
    choose(list, QStringLiteral("Verdi"));
    list->Command1->click();
    EXPECT_EQ(workspace->Label8->text(), QStringLiteral("Verdi"));
    EXPECT_DOUBLE_EQ(project.totals(bianchi).at(0).toDouble(), 25.0);
}

class UnitListSeparatorTest : public UnitListTest, public ::testing::WithParamInterface<QChar>
{
protected:
    void SetUp() override
    {
        separator.emplace(GetParam());
        UnitListTest::SetUp();
    }
    void TearDown() override
    {
        UnitListTest::TearDown();
        separator.reset();
    }

    std::optional<vb::DecimalSeparatorScope> separator;
};

// Rooms of 10.5 and 20.25 square metres and one without a surface: 30.75 in the separator in force.
TEST_P(UnitListSeparatorTest, FindSumsTheRoomsAnEmptySurfaceCountingAsZero)
{
    for (const auto &[description, mq] :
        { std::pair { "Sala", "10.5" }, { "Cucina", "20.25" }, { "Balcone", "" } })
        project.room(QStringLiteral("Verdi"), 2, QStringLiteral("A"), 4,
            { { "DESCRIZIONE", QString::fromLatin1(description) }, { "MQ", num(mq) } });
    frm_ins_coeff *workspace = openDamico();
    frm_elenco *list = runCommand(QStringLiteral("trova"));
    ASSERT_NE(list, nullptr);
    choose(list, QStringLiteral("Verdi"));
    list->Command1->click();
    EXPECT_EQ(workspace->Data1->recordCount(), 3);
    EXPECT_EQ(workspace->Label14->text(), QStringLiteral("30") + GetParam() + QStringLiteral("75"));
}

INSTANTIATE_TEST_SUITE_P(Separators, UnitListSeparatorTest, ::testing::Values(QChar(u'.'), QChar(u',')));

TEST_F(UnitListTest, FindRefusesAUnitWithoutNumberAndShowsAUnitWithoutRoomsAtZero)
{
    frm_ins_coeff *workspace = openDamico();
    frm_elenco *list = runCommand(QStringLiteral("trova"));
    ASSERT_NE(list, nullptr);
    list->Combo1->setCurrentIndex(list->Combo1->findText(QStringLiteral("3")));
    list->Combo1_Click();

    choose(list, QStringLiteral("Senza"));
    list->Command1->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Attenzione. Non è stato inserito l'interno del condomino."));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(boxes.shown().at(0).buttons, MsgButtons::Ok);
    EXPECT_EQ(workspace->Label8->text(), kDamico);
    EXPECT_EQ(workspace->Data1->recordCount(), 2);
    EXPECT_TRUE(list->isVisible());

    choose(list, QStringLiteral("Gialli"));
    list->Command1->click();
    EXPECT_EQ(workspace->Label8->text(), QStringLiteral("Gialli"));
    EXPECT_EQ(workspace->Data1->recordCount(), 0);
    for (const QLabel *total : { workspace->Label14, workspace->Label16, workspace->Label18 })
        EXPECT_EQ(total->text(), QStringLiteral("0"));
}

// --- Copy ---------------------------------------------------------------------------------------

TEST_F(UnitListTest, CopyAppendsTheRoomsWithTheOpenUnitsKeyAndRecountsTheTotals)
{
    frm_ins_coeff *workspace = openDamico();
    workspace->Label20->setText(QStringLiteral("7"));
    const auto before = VAR_GBL.sql_unita_corrente;
    frm_elenco *list = runCommand(QStringLiteral("copia_piano"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Command1->text(), QStringLiteral("Copia"));

    choose(list, QStringLiteral("Neri"));
    boxes.answer(MsgResult::Yes);
    list->Command1->click();
    // Closed, not yet deleted: the bar shows the copy's end.
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->ProgressBar1->value(), 2);

    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi copiare i dati di Neri a D'Amico \"Nino\" ?"));
    EXPECT_EQ(boxes.shown().at(0).title, kWarning);
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(boxes.shown().at(0).buttons, MsgButtons::YesNo);

    // D'Amico's two rooms, then Neri's two with D'Amico's key and everything else as Neri's.
    const zav::platform::Recordset target = rooms(kDamico, QStringLiteral("2"), QStringLiteral("B"), 5);
    ASSERT_EQ(target.recordCount(), 4);
    const zav::platform::Recordset source
        = rooms(QStringLiteral("Neri"), QStringLiteral("2"), QStringLiteral("A"), 2);
    ASSERT_EQ(source.recordCount(), 2);
    ASSERT_EQ(target.fieldNames(), kRoomFields);
    const QList<std::pair<QString, QVariant>> key
        = { { "NOME_CONDOMINO", kDamico }, { "PALAZ", QStringLiteral("2") }, { "SCALA", QStringLiteral("B") },
              { "INTERNO", 5 }, { "PIANO", QStringLiteral("2") } };
    for (int i = 0; i < 2; ++i) {
        for (int field = 0; field < kRoomFields.size(); ++field) {
            QVariant expected = source.value(i, field);
            for (const auto &[name, value] : key) {
                if (name == kRoomFields.at(field))
                    expected = value;
            }
            EXPECT_EQ(target.value(2 + i, field), expected)
                << "room " << i << " field " << kRoomFields.at(field).toStdString();
        }
    }
    EXPECT_EQ(target.value(2, 1).toString(), QStringLiteral("Camera"));
    EXPECT_EQ(target.value(2, 13).toString(), num("20.3148"));

    // The workspace shows the four rooms and their totals; the empty cells of "Terrazzo" now hold 0.
    ASSERT_EQ(workspace->Data1->recordCount(), 4);
    EXPECT_EQ(target.value(1, 3).toString(), QStringLiteral("0"));
    EXPECT_EQ(target.value(1, 16).toString(), QStringLiteral("0"));
    EXPECT_EQ(workspace->Label14->text(), num("33")); // 12 + 0 + 18 + 3
    EXPECT_EQ(workspace->Label16->text(), num("35.8148")); // 12 + 2 + 20.3148 + 1.5
    EXPECT_EQ(workspace->Label18->text(), num("92.55")); // 36 + 0 + 52.2 + 4.35
    EXPECT_EQ(workspace->Label20->text(), QStringLiteral("7"));
    EXPECT_EQ(VAR_GBL.sql_unita_corrente, before);
    processDeletes();
    EXPECT_FALSE(listLoaded());
}

// Copying a unit onto itself appends one copy of each of its rooms, not of the rows appended.
TEST_F(UnitListTest, CopyOntoItselfAppendsOneCopyOfEachRoom)
{
    openDamico();
    frm_elenco *list = runCommand(QStringLiteral("tCopia"));
    ASSERT_NE(list, nullptr);
    choose(list, kDamico);
    boxes.answer(MsgResult::Yes);
    list->Command1->click();
    const zav::platform::Recordset target = rooms(kDamico, QStringLiteral("2"), QStringLiteral("B"), 5);
    ASSERT_EQ(target.recordCount(), 4);
    const QStringList expected = { "Cucina", "Terrazzo", "Cucina", "Terrazzo" };
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(target.value(row, 1).toString(), expected.at(row));
}

TEST_F(UnitListTest, CopyAnsweredNoClosesTheListAndWritesNothing)
{
    openDamico();
    const int before = roomCount();
    frm_elenco *list = runCommand(QStringLiteral("copia_piano"));
    ASSERT_NE(list, nullptr);
    choose(list, QStringLiteral("Neri"));
    boxes.answer(MsgResult::No);
    list->Command1->click();
    processDeletes();
    EXPECT_FALSE(listLoaded());
    EXPECT_EQ(roomCount(), before);
}

TEST_F(UnitListTest, CopyFromAUnitWithoutRoomsIsRefusedAndTheListStaysOpen)
{
    frm_ins_coeff *workspace = openDamico();
    const int before = roomCount();
    frm_elenco *list = runCommand(QStringLiteral("copia_piano"));
    ASSERT_NE(list, nullptr);
    list->Combo1->setCurrentIndex(list->Combo1->findText(QStringLiteral("3")));
    list->Combo1_Click();
    choose(list, QStringLiteral("Gialli"));
    boxes.answer(MsgResult::Yes);
    list->Command1->click();
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(1).text,
        QStringLiteral("Impossibile copiare. Il condomino selezionato risulta non ancora inserito"));
    EXPECT_EQ(boxes.shown().at(1).title, kWarning);
    EXPECT_EQ(boxes.shown().at(1).icon, MsgIcon::Information);
    EXPECT_EQ(roomCount(), before);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->ProgressBar1->value(), 1);
    EXPECT_EQ(workspace->Data1->recordCount(), 2);
}

// Without a unit open in the workspace there is nowhere to copy to: refused before the question.
TEST_F(UnitListTest, CopyWithoutAnOpenUnitIsRefused)
{
    const int before = roomCount();
    frm_elenco *list = runCommand(QStringLiteral("copia_piano"));
    ASSERT_NE(list, nullptr);
    // Without a workspace the list shows the last building.
    EXPECT_EQ(list->Combo1->currentText(), QStringLiteral("3"));
    list->Combo1->setCurrentIndex(list->Combo1->findText(QStringLiteral("2")));
    list->Combo1_Click();
    choose(list, QStringLiteral("Neri"));
    list->Command1->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, kWarning);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(QStringLiteral("Impossibile copiare.")));
    EXPECT_EQ(boxes.shown().at(0).buttons, MsgButtons::Ok);
    EXPECT_EQ(roomCount(), before);
    EXPECT_TRUE(list->isVisible());
}

// A copy that fails part-way leaves no room of it behind, and says so.
TEST_F(UnitListTest, ACopyThatFailsWritesNothing)
{
    Database::open(project.path())
        .exec(QStringLiteral("CREATE TRIGGER refuse_entrance BEFORE INSERT ON ESPRESSIONI "
                             "WHEN NEW.DESCRIZIONE = 'Ingresso' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    const int before = roomCount();
    const UnitKey neri { QStringLiteral("Neri"), QStringLiteral("2"), QStringLiteral("A"),
        QStringLiteral("2"), QStringLiteral("2") };
    EXPECT_THROW(RoomCopy::copy(project.path(), neri, damicoUnit().key), zav::platform::DbError);
    EXPECT_EQ(roomCount(), before);

    frm_ins_coeff *workspace = openDamico();
    frm_elenco *list = runCommand(QStringLiteral("copia_piano"));
    ASSERT_NE(list, nullptr);
    choose(list, QStringLiteral("Neri"));
    boxes.answer(MsgResult::Yes);
    list->Command1->click();
    EXPECT_EQ(roomCount(), before);
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(1).icon, MsgIcon::Critical);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(workspace->Data1->recordCount(), 2);
}

// On a thousandths view the rooms are written, and the view keeps its rows and its totals.
TEST_F(UnitListTest, CopyOnAThousandthsViewLeavesTheViewAlone)
{
    frm_ins_coeff *workspace = openDamico();
    workspace->TabStrip1->setCurrentIndex(3);
    const zav::platform::TableQuery shown = workspace->Data1->recordSource();
    workspace->Label16->setText(QStringLiteral("1000"));
    frm_elenco *list = runCommand(QStringLiteral("copia_piano"));
    ASSERT_NE(list, nullptr);
    choose(list, QStringLiteral("Neri"));
    boxes.answer(MsgResult::Yes);
    list->Command1->click();
    EXPECT_EQ(rooms(kDamico, QStringLiteral("2"), QStringLiteral("B"), 5).recordCount(), 4);
    EXPECT_EQ(workspace->Data1->recordSource(), shown);
    EXPECT_EQ(workspace->Label16->text(), QStringLiteral("1000"));
}

// --- Openers ------------------------------------------------------------------------------------

// The band's commands on a unit view and on a thousandths view: only the find, and only on a unit
// view, stores the open unit's totals first (3*4 and 1*2: 14).
TEST_F(UnitListTest, BandCommandsWriteTheModeAndTheFindStoresTheTotalsOnAUnitView)
{
    struct Case
    {
        const char *key;
        bool unitView;
        const char *caption;
        bool stores;
    };
    const Case cases[] = {
        { "trova", true, "Trova", true },
        { "tTrova", false, "Trova", false },
        { "copia_piano", true, "Copia", false },
        { "tCopia", false, "Copia", false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        frm_ins_coeff *workspace = openDamico();
        // Leaving the unit's rooms for the general view stores its totals: they are cleared after.
        if (!c.unitView)
            workspace->TabStrip1->setCurrentIndex(3);
        Database::open(project.path())
            .update(QStringLiteral("CODIF_PIANI"), damico, { { "TOT_SUP", QVariant() } });
        frm_elenco *list = runCommand(QString::fromLatin1(c.key));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Command1->text(), QString::fromLatin1(c.caption));
        const QVariant stored = project.totals(damico).at(0);
        if (c.stores)
            EXPECT_DOUBLE_EQ(stored.toDouble(), 14.0);
        else
            EXPECT_FALSE(stored.isValid());
        FormRegistry::unload(QString::fromLatin1(frm_elenco::FormName));
        FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
        processDeletes();
    }
}

// F3 shows the list modeless in find mode; shown again while open it keeps the user's building.
TEST_F(UnitListTest, F3ShowsTheListModelessAndKeepsItsBuildingWhenShownAgain)
{
    frm_ins_coeff *workspace = openDamico();
    int modal = 0;
    zav::platform::ModalDriverScope driver([&modal](QWidget *) { ++modal; });
    workspace->Form_KeyDown(Qt::Key_F3);
    auto *list = FormRegistry::loaded<frm_elenco>(QString::fromLatin1(frm_elenco::FormName));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(list->isModal());
    EXPECT_EQ(modal, 0);
    EXPECT_EQ(list->Command1->text(), QStringLiteral("Trova"));

    list->Combo1->setCurrentIndex(list->Combo1->findText(QStringLiteral("1")));
    list->Combo1_Click();
    list->Command1->setText(QStringLiteral("Copia"));
    workspace->Form_KeyDown(Qt::Key_F3);
    EXPECT_EQ(FormRegistry::loaded<frm_elenco>(QString::fromLatin1(frm_elenco::FormName)), list);
    EXPECT_EQ(list->Command1->text(), QStringLiteral("Trova"));
    EXPECT_EQ(list->Combo1->currentText(), QStringLiteral("1"));
    EXPECT_EQ(owners(list), QStringList { "Rossi" });
}

} // namespace
