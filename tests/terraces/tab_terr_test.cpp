// The terrace tables dialog: creating a table on the grid's last line, selecting one for the
// terrace form, deleting one with its units and rooms.

#include "platform/ui/datagrid.h"
#include "platform/ui/datagridmodel.h"
#include "terraces/tab_terr.h"
#include "terracesfixture.h"

#include <QLabel>
#include <QPushButton>

using zav::engine::VAR_GBL;
using zav::platform::FormRegistry;
using zav::platform::MsgIcon;
using zav::platform::MsgResult;
using zav::terraces::frm_terrazze;
using zav::terraces::TAB_TERR;

namespace {

class TerraceTables : public zav::test::TerracesTest
{
protected:
    void SetUp() override
    {
        TerracesTest::SetUp();
        buildings(1, { 1 });
    }

    /** The terrace form and its tables dialog, loaded as "Crea-Selez. Tab." shows it. */
    TAB_TERR *openDialog()
    {
        form = openForm();
        return FormRegistry::form<TAB_TERR>(zav::terraces::TerraceTablesName);
    }

    /** Types a value into a cell of the dialog's grid (the last line starts a new table). */
    static bool type(TAB_TERR *dialog, int row, int column, const QString &text)
    {
        auto *model = dialog->TDBGrid1->dataModel();
        return model->setData(model->index(row, column), text);
    }

    frm_terrazze *form = nullptr;
};

TEST_F(TerraceTables, NewCodesAreRefusedWhenEmptyOrTakenWithoutRegardToCase)
{
    table("T1", "Terrazzi");
    TAB_TERR *dialog = openDialog();
    const int newLine = dialog->TDBGrid1->dataModel()->newRowLine();
    ASSERT_EQ(newLine, 1);
    const struct
    {
        const char *name;
        int column;
        QString text;
        bool stored;
    } cases[] = {
        { "empty code", 0, QStringLiteral("   "), false },
        { "description first", 1, QStringLiteral("Senza codice"), false },
        { "same code", 0, QStringLiteral("T1"), false },
        { "same code, other case", 0, QStringLiteral("t1"), false },
        { "code with an apostrophe", 0, QStringLiteral("L'ATTICO"), true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        const int before = rows(terraces, QStringLiteral("CODICE"));
        EXPECT_EQ(type(dialog, dialog->TDBGrid1->dataModel()->newRowLine(), c.column, c.text), c.stored);
        EXPECT_EQ(rows(terraces, QStringLiteral("CODICE")), before + (c.stored ? 1 : 0));
        EXPECT_EQ(boxes.messages().size(), c.stored ? 0 : 1);
    }
    // The new table takes its description on the same row.
    EXPECT_TRUE(type(dialog, 1, 1, QStringLiteral("Attico")));
    EXPECT_EQ(column(terraces, QStringLiteral("CODICE"), QStringLiteral("CODICE")),
        (QStringList { "T1", "L'ATTICO" }));
    EXPECT_EQ(column(terraces, QStringLiteral("CODICE"), QStringLiteral("DESCRIZIONE")),
        (QStringList { "Terrazzi", "Attico" }));
}

// A code is stored without the blanks around it, at most as long as the field, and with no control
// character: each refusal says what to do.
TEST_F(TerraceTables, NewCodesAreTrimmedAndRefusedWhenTooLongOrHoldingControlCharacters)
{
    table("T1", "Terrazzi");
    TAB_TERR *dialog = openDialog();
    const struct
    {
        const char *name;
        QString text;
        const char *stored; // the code stored, nullptr when refused
        const char *message; // the beginning of the refusal
    } cases[] = {
        { "blank before an existing code", QStringLiteral(" T1"), nullptr, "Esiste già la tabella" },
        { "blank after an existing code", QStringLiteral("T1 "), nullptr, "Esiste già la tabella" },
        { "blanks around a new code", QStringLiteral("  T2 "), "T2", nullptr },
        { "a line break after a new code", QStringLiteral("T3\n"), "T3", nullptr },
        { "10,000 characters", QString(10000, u'X'), nullptr,
            "Il codice della tabella è troppo lungo (10000" },
        { "51 characters", QString(51, u'Y'), nullptr, "Il codice della tabella è troppo lungo (51" },
        { "50 characters", QString(50, u'Z'), "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ", nullptr },
        { "a NUL inside", QStringLiteral("T") + QChar(0) + QStringLiteral("4"), nullptr,
            "Il codice della tabella contiene caratteri di controllo" },
        { "a tabulation inside", QStringLiteral("T\t5"), nullptr,
            "Il codice della tabella contiene caratteri di controllo" },
    };
    QStringList expected { "T1" };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        EXPECT_EQ(type(dialog, dialog->TDBGrid1->dataModel()->newRowLine(), 0, c.text), c.stored != nullptr);
        if (c.stored) {
            expected << QString::fromUtf8(c.stored);
            EXPECT_TRUE(boxes.shown().isEmpty());
        } else {
            ASSERT_EQ(boxes.shown().size(), 1);
            EXPECT_TRUE(boxes.shown().first().text.startsWith(QString::fromUtf8(c.message)))
                << boxes.shown().first().text.toStdString();
        }
        EXPECT_EQ(column(terraces, QStringLiteral("CODICE"), QStringLiteral("CODICE")), expected);
    }
}

TEST_F(TerraceTables, AStoredCodeCannotChangeItsDescriptionCan)
{
    table("T1", "Terrazzi");
    TAB_TERR *dialog = openDialog();
    EXPECT_FALSE(type(dialog, 0, 0, QStringLiteral("T9")));
    EXPECT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(type(dialog, 0, 1, QStringLiteral("Terrazzi di copertura")));
    EXPECT_EQ(column(terraces, QStringLiteral("CODICE"), QStringLiteral("CODICE")), QStringList { "T1" });
    EXPECT_EQ(column(terraces, QStringLiteral("CODICE"), QStringLiteral("DESCRIZIONE")),
        QStringList { "Terrazzi di copertura" });
}

TEST_F(TerraceTables, SelezionaMakesTheTableCurrent)
{
    table("T1", "Terrazzi");
    table("T2", "Lastrici");
    TAB_TERR *dialog = openDialog();
    ASSERT_FALSE(form->shownUnit().has_value());
    dialog->Data1->setCurrentRow(1);
    dialog->Command2->click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("T2"));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Lastrici"));
    for (int index : { 1, 2, 5, 7, 9 })
        EXPECT_TRUE(form->Command1[std::size_t(index)]->isEnabled()) << index;
    EXPECT_FALSE(VAR_GBL.sql_unita_corrente.has_value()) << "no unit was shown";
    EXPECT_TRUE(FormRegistry::isLoaded(zav::terraces::TerraceTablesName)) << "the dialog stays open";

    // With no current row nothing changes.
    dialog->Data1->setCurrentRow(-1);
    dialog->Command2->click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("T2"));
}

TEST_F(TerraceTables, SelezionaKeepsTheShownUnitUnderTheNewTable)
{
    table("T1", "Terrazzi");
    table("T2", "Lastrici");
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    terraceRoom("T1", "Rossi", 1, "A", 5, "In T1");
    terraceRoom("T2", "Rossi", 1, "A", 5, "In T2");
    terraceRoom("T2", "Bianchi", 1, "A", 6, "Di Bianchi in T2");
    TAB_TERR *dialog = openDialog();
    dialog->Data1->setCurrentRow(0);
    dialog->Command2->click();
    form->Command1_Click(2);
    form->Data5->setCurrentRow(0);
    form->Command4_Click();
    ASSERT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")), QStringList { "In T1" });

    dialog->Data1->setCurrentRow(1);
    dialog->Command2->click();
    EXPECT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")), QStringList { "In T2" });
    EXPECT_EQ(form->shownUnit()->code, QStringLiteral("T2"));
    EXPECT_EQ(form->shownUnit()->unit.owner, QStringLiteral("Rossi"));
    ASSERT_TRUE(VAR_GBL.sql_unita_corrente.has_value());
    EXPECT_EQ(*VAR_GBL.sql_unita_corrente, form->Data1->recordSource());
}

TEST_F(TerraceTables, EliminaAsksTwiceAndDeletesTheTableWithItsUnitsAndRooms)
{
    table("T1", "Terrazzi");
    table("T2", "Lastrici");
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    listed("Rossi", 1, "A", "2", 5, "T2", "Lastrici");
    terraceRoom("T1", "Rossi", 1, "A", 5, "In T1");
    terraceRoom("T2", "Rossi", 1, "A", 5, "In T2");
    insert(terraces, QStringLiteral("MILLESIMI"), { { "NOME_CONDOMINO", "Rossi" }, { "CODICE", "T1" } });
    const struct
    {
        const char *name;
        QList<MsgResult> answers;
        int questions;
        bool deleted;
    } cases[] = {
        { "No", { MsgResult::No }, 1, false },
        { "Yes, then No", { MsgResult::Yes, MsgResult::No }, 2, false },
        { "Yes, Yes", { MsgResult::Yes, MsgResult::Yes }, 2, true },
    };
    TAB_TERR *dialog = openDialog();
    dialog->Data1->setCurrentRow(0);
    dialog->Command2->click();
    ASSERT_EQ(form->Label1->text(), QStringLiteral("T1"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        for (MsgResult answer : c.answers)
            boxes.answer(answer);
        dialog->Data1->setCurrentRow(0);
        dialog->Command3->click();
        ASSERT_GE(boxes.shown().size(), c.questions);
        EXPECT_EQ(
            boxes.shown().at(0).text, QStringLiteral("Vuoi eliminare la tabella T1 e tutti i suoi dati ?"));
        EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
        if (c.questions == 2) {
            EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Sei sicuro ?"));
        }
        const QStringList codes = column(terraces, QStringLiteral("CODICE"), QStringLiteral("CODICE"));
        EXPECT_EQ(codes, c.deleted ? QStringList { "T2" } : (QStringList { "T1", "T2" }));
        EXPECT_EQ(column(terraces, QStringLiteral("ELENCO"), QStringLiteral("COD_TERRAZZE")),
            c.deleted ? QStringList { "T2" } : (QStringList { "T1", "T2" }));
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
            c.deleted ? QStringList { "In T2" } : (QStringList { "In T1", "In T2" }));
        if (c.deleted) {
            ASSERT_EQ(boxes.shown().size(), 3);
            EXPECT_EQ(boxes.shown().at(2).text, QStringLiteral("Tabella eliminata"));
            EXPECT_EQ(boxes.shown().at(2).title, QStringLiteral("!!! Elinima Tabella !!!"));
        }
    }
    // Its terrace thousandths stay until the next calculation.
    EXPECT_EQ(rows(terraces, QStringLiteral("MILLESIMI")), 1);
    EXPECT_EQ(column(*dialog->Data1, QStringLiteral("CODICE")), QStringList { "T2" });
    // The unit list shows every listed unit; the deleted table is no longer current.
    EXPECT_EQ(form->Data5->recordCount(), 1);
    EXPECT_TRUE(form->Label1->text().isEmpty());
    EXPECT_TRUE(form->Label2->text().isEmpty());
    for (int index : { 1, 2, 5, 7, 9 })
        EXPECT_FALSE(form->Command1[std::size_t(index)]->isEnabled()) << index;
}

TEST_F(TerraceTables, DeletingAnotherTableKeepsTheCurrentOne)
{
    table("T1", "Terrazzi");
    table("T2", "Lastrici");
    TAB_TERR *dialog = openDialog();
    dialog->Data1->setCurrentRow(0);
    dialog->Command2->click();
    boxes.answer(MsgResult::Yes);
    boxes.answer(MsgResult::Yes);
    dialog->Data1->setCurrentRow(1);
    dialog->Command3->click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("T1"));
    EXPECT_TRUE(form->Command1[1]->isEnabled());
}

TEST_F(TerraceTables, ACodeWithAnApostropheIsSelectedListedAndDeletedAsAValue)
{
    const QString code = QStringLiteral("L'ATTICO");
    table(code, "Attico");
    table("T2", "Lastrici");
    listed("Rossi", 1, "A", "2", 5, code, "Attico");
    listed("Rossi", 1, "A", "2", 5, "T2", "Lastrici");
    terraceRoom(code, "Rossi", 1, "A", 5, "Nell'attico");
    terraceRoom("T2", "Rossi", 1, "A", 5, "In T2");
    TAB_TERR *dialog = openDialog();
    dialog->Data1->setCurrentRow(0);
    dialog->Command2->click();
    form->Command1_Click(2);
    ASSERT_EQ(form->Data5->recordCount(), 1);
    form->Command4_Click();
    EXPECT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")), QStringList { "Nell'attico" });

    boxes.answer(MsgResult::Yes);
    boxes.answer(MsgResult::Yes);
    dialog->Data1->setCurrentRow(0);
    dialog->Command3->click();
    EXPECT_EQ(column(terraces, QStringLiteral("CODICE"), QStringLiteral("CODICE")), QStringList { "T2" });
    EXPECT_EQ(
        column(terraces, QStringLiteral("ELENCO"), QStringLiteral("COD_TERRAZZE")), QStringList { "T2" });
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
        QStringList { "In T2" });
}

} // namespace
