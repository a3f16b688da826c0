// "Gestione tabelle": creating, dropping and selecting the user thousandths tables of a project.
#include "tables/frm_tabelle.h"

#include "support/child.h"
#include "tablesfixture.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/workspacecommands.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::Database;
using platform::FormRegistry;
using platform::MsgIcon;
using platform::MsgResult;
using tables::frm_tabelle;
using workspace::frm_ins_coeff;

class UserTablesFormTest : public TablesTest
{
protected:
    void SetUp() override
    {
        TablesTest::SetUp();
        workspace::registerForms();
        openProject();
    }

    void TearDown() override
    {
        FormRegistry::unload(QString::fromLatin1(frm_tabelle::FormName));
        TablesTest::TearDown();
    }

    frm_tabelle *form()
    {
        return FormRegistry::form<frm_tabelle>(QString::fromLatin1(frm_tabelle::FormName));
    }

    /** A user table made by hand, listed, with these thousandths. */
    void userTable(const QString &name, const QList<QVariant> &thousandths = {})
    {
        Database db = Database::open(project);
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                           "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                           "RIGA DOUBLE)")
                .arg(name));
        for (const QVariant &value : thousandths)
            db.insert(name, { { QStringLiteral("MILLESIMI"), value } });
        db.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), name } });
    }

    QStringList listed() const
    {
        QStringList names;
        const platform::Recordset rs = Database::open(project).table(QStringLiteral("NEW_TAB"));
        for (int row = 0; row < rs.recordCount(); ++row)
            names << rs.value(row, 0).toString();
        return names;
    }

    bool hasTable(const QString &name) const { return Database::open(project).hasTable(name); }

    /** Puts the list on the row holding this name. */
    void choose(frm_tabelle *f, const QString &name)
    {
        for (int row = 0; row < f->Data1->recordCount(); ++row) {
            if (f->Data1->value(row, 0).toString() == name)
                f->Data1->setCurrentRow(row);
        }
    }
};

TEST_F(UserTablesFormTest, CreateMakesTheUpperCasedTableWithItsTenFieldsAndListsIt)
{
    frm_tabelle *f = form();
    f->Text1->setText(QStringLiteral("garage"));
    child<QPushButton>(*f, QStringLiteral("Command1_0"))->click();

    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(f->Text1->text(), QStringLiteral("GARAGE"));
    EXPECT_EQ(Database::open(project).fields(QStringLiteral("GARAGE")),
        (QStringList { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "PIANO", "NOME_CONDO", "INPUT",
            "INTERNO", "RIGA" }));
    EXPECT_EQ(listed(), QStringList { QStringLiteral("GARAGE") });
    // The list shows and marks the new name.
    ASSERT_FALSE(f->Data1->noCurrentRow());
    EXPECT_EQ(f->Data1->value(f->Data1->currentRow(), 0).toString(), QStringLiteral("GARAGE"));

    // A name of 64 characters, blanks and underscores allowed, is a name.
    const QString longest = QStringLiteral("SCALA B_") + QString(56, u'X');
    f->Text1->setText(longest.toLower());
    f->Command1_Click(0);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(hasTable(longest));
}

// Enter on the focused "Crea" creates the table, as a click does.
TEST_F(UserTablesFormTest, EnterOnTheFocusedCreaCreatesTheTable)
{
    frm_tabelle *f = form();
    f->Text1->setText(QStringLiteral("cantine"));
    auto *crea = child<QPushButton>(*f, QStringLiteral("Command1_0"));
    crea->setFocus();
    QTest::keyClick(crea, Qt::Key_Return);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(hasTable(QStringLiteral("CANTINE")));
    EXPECT_EQ(listed(), QStringList { QStringLiteral("CANTINE") });
}

// A name that cannot be a new table is refused with its message, and nothing is created or listed.
TEST_F(UserTablesFormTest, CreateRefusesNamesThatCannotBeANewTable)
{
    userTable(QStringLiteral("GARAGE"));
    // One of the archive's own tables is refused even where an older archive lacks it.
    Database::open(project).dropTable(QStringLiteral("TEMP_VARIE"));
    const QString exists = QStringLiteral("Tabella già esistente. Cambia il nome.");
    const QString invalid
        = QStringLiteral("Nome di tabella non valido: usare solo lettere, cifre, spazi e \"_\", al più 64 "
                         "caratteri.");
    const struct
    {
        QString typed;
        QString message;
        QString title;
    } cases[] = {
        { QString(), QStringLiteral("Nessun nome inserito."), QStringLiteral("!!! Zav - Attenzione - !!!") },
        { QStringLiteral("   "), QStringLiteral("Nessun nome inserito."),
            QStringLiteral("!!! Zav - Attenzione - !!!") },
        { QStringLiteral("garage"), exists, QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("Millesimi"), exists, QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("new_tab"), exists, QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("temp_varie"), exists, QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("sqlite_sequence"), exists, QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("l'altra"), invalid, QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("box]; DROP TABLE MILLESIMI"), invalid, QStringLiteral("!!! Attenzione !!!") },
        { QString(65, u'x'), invalid, QStringLiteral("!!! Attenzione !!!") },
    };
    frm_tabelle *f = form();
    const QStringList tablesBefore = Database::open(project).tables();
    for (const auto &c : cases) {
        boxes.clear();
        f->Text1->setText(c.typed);
        f->Command1_Click(0);
        ASSERT_EQ(boxes.shown().size(), 1) << qPrintable(c.typed);
        EXPECT_EQ(boxes.shown().at(0).text, c.message) << qPrintable(c.typed);
        EXPECT_EQ(boxes.shown().at(0).title, c.title) << qPrintable(c.typed);
        EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information) << qPrintable(c.typed);
    }
    EXPECT_EQ(listed(), QStringList { QStringLiteral("GARAGE") });
    EXPECT_EQ(Database::open(project).tables(), tablesBefore);
    EXPECT_TRUE(hasTable(QStringLiteral("MILLESIMI")));
}

TEST_F(UserTablesFormTest, DropAsksThenRemovesTheTableAndItsListRow)
{
    userTable(QStringLiteral("GARAGE"));
    userTable(QStringLiteral("CANTINE"));
    frm_tabelle *f = form();
    choose(f, QStringLiteral("CANTINE"));

    // No changes nothing.
    boxes.answer(MsgResult::No);
    f->Command1_Click(1);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi eliminare la tabella: CANTINE"));
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_TRUE(hasTable(QStringLiteral("CANTINE")));
    EXPECT_EQ(listed().size(), 2);

    boxes.answer(MsgResult::Yes);
    f->Command1_Click(1);
    EXPECT_FALSE(hasTable(QStringLiteral("CANTINE")));
    EXPECT_EQ(listed(), QStringList { QStringLiteral("GARAGE") });
    EXPECT_EQ(f->Data1->recordCount(), 1);

    // A listed table that is gone from the archive loses its list row.
    Database::open(project).dropTable(QStringLiteral("GARAGE"));
    f->Data1->moveFirst();
    boxes.answer(MsgResult::Yes);
    f->Command1_Click(1);
    EXPECT_TRUE(listed().isEmpty());

    // With an empty list nothing is asked.
    boxes.clear();
    f->Command1_Click(1);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// A table that the workspace has selected, or that an open window shows, stays with its list row.
TEST_F(UserTablesFormTest, ATableInUseIsNotDropped)
{
    userTable(QStringLiteral("GARAGE"));
    userTable(QStringLiteral("CANTINE"));
    const QString inUse
        = QStringLiteral("Attenzione. La tabella è attualmente in uso. Uscire dalla maschera ed "
                         "eliminare la tabella dal Menù Archivi/Tabelle.");

    // Selected in the open workspace.
    FormRegistry::form(QString::fromLatin1(frm_ins_coeff::FormName));
    engine::VAR_GBL.tabella_selezionata = QStringLiteral("GARAGE");
    // Shown in another window's grid.
    RoomGridForm other(project, platform::TableQuery { QStringLiteral("CANTINE"), {}, {} }, {});

    frm_tabelle *f = form();
    for (const QString &name : { QStringLiteral("GARAGE"), QStringLiteral("CANTINE") }) {
        boxes.clear();
        choose(f, name);
        boxes.answer(MsgResult::Yes);
        f->Command1_Click(1);
        ASSERT_EQ(boxes.shown().size(), 2) << qPrintable(name);
        EXPECT_EQ(boxes.shown().at(1).text, inUse);
        EXPECT_EQ(boxes.shown().at(1).icon, MsgIcon::None);
        EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("Zav"));
        EXPECT_TRUE(hasTable(name));
    }
    EXPECT_EQ(listed().size(), 2);

    // Once the workspace is closed its selection keeps the table no more, and is forgotten with it.
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
    choose(f, QStringLiteral("GARAGE"));
    boxes.answer(MsgResult::Yes);
    f->Command1_Click(1);
    EXPECT_FALSE(hasTable(QStringLiteral("GARAGE")));
    EXPECT_TRUE(engine::VAR_GBL.tabella_selezionata.isEmpty());
}

TEST_F(UserTablesFormTest, SelectLoadsTheTableIntoTheWorkspaceAndCloses)
{
    userTable(QStringLiteral("VUOTA"));
    userTable(QStringLiteral("SCALA B"), { 400, 350.5, QVariant(), 249.5 });
    frm_tabelle *f = form();
    f->Command1[3]->setVisible(true);
    choose(f, QStringLiteral("SCALA B"));
    f->Command1_Click(3);

    auto *ws = FormRegistry::loaded<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    ASSERT_NE(ws, nullptr);
    EXPECT_EQ(ws->Label20->text(), QStringLiteral("1000"));
    EXPECT_EQ(ws->Label21->text(), QStringLiteral("SCALA B"));
    EXPECT_EQ(ws->TDBGrid1->caption(), QStringLiteral("SCALA B"));
    EXPECT_EQ(ws->Data1->recordSource().table, QStringLiteral("SCALA B"));
    EXPECT_EQ(ws->Data1->recordCount(), 4);
    EXPECT_EQ(engine::VAR_GBL.tabella_selezionata, QStringLiteral("SCALA B"));
    EXPECT_FALSE(FormRegistry::isLoaded(QString::fromLatin1(frm_tabelle::FormName)));
    EXPECT_TRUE(boxes.shown().isEmpty());

    // An empty table totals 0.
    f = form();
    choose(f, QStringLiteral("VUOTA"));
    f->Command1_Click(3);
    EXPECT_EQ(ws->Label20->text(), QStringLiteral("0"));
    EXPECT_EQ(ws->Label21->text(), QStringLiteral("VUOTA"));
    EXPECT_EQ(engine::VAR_GBL.tabella_selezionata, QStringLiteral("VUOTA"));
}

TEST_F(UserTablesFormTest, SelectWithNothingToSelectSaysSoAndKeepsTheSelection)
{
    engine::VAR_GBL.tabella_selezionata = QStringLiteral("PRIMA");
    frm_tabelle *f = form();
    f->Command1_Click(3);
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessuna Tabella selezionata.") });
    EXPECT_EQ(engine::VAR_GBL.tabella_selezionata, QStringLiteral("PRIMA"));
    EXPECT_TRUE(FormRegistry::isLoaded(QString::fromLatin1(frm_tabelle::FormName)));

    // A listed name whose table is gone is not selected.
    Database::open(project).insert(
        QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), QStringLiteral("SPARITA") } });
    f->Data1->refresh();
    boxes.clear();
    f->Command1_Click(3);
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("La tabella SPARITA non si trova nell'archivio.") });
    EXPECT_EQ(engine::VAR_GBL.tabella_selezionata, QStringLiteral("PRIMA"));
}

} // namespace
} // namespace zav::test
