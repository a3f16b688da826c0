// The main window's user-table commands and the workspace's hidden buttons: each key reaches its
// command, and each hidden button the command of its band tool.
#include "tables/tablecommands.h"

#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "support/cadautomationrecorder.h"
#include "tables/frm_tabelle.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/thousandthsviews.h"
#include "workspace/workspacefixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <map>

namespace zav::test {
namespace {

using platform::CommandRegistry;
using platform::Database;
using platform::FormRegistry;
using workspace::frm_ins_coeff;

const QStringList kTableKeys { "seleziona_tabella", "tSelTab", "copia_mil", "tCopiaMil", "calc_mil_tab",
    "tCalcTab", "azzera", "tAzzera", "arrotonda", "tArrotonda", "copia_mil_da" };

class TableCommandsTest : public WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        tables::registerForms();
        tables::registerCommands();
        for (const auto &[key, handler] : workspace::WorkspaceCommands::commands())
            CommandRegistry::setHandler(key, handler);
    }

    void TearDown() override
    {
        for (const char *name : { "frm_tabelle", "frm_copia_mil" })
            FormRegistry::unload(QString::fromLatin1(name));
        processDeletes();
        WorkspaceTest::TearDown();
    }

    frm_ins_coeff *workspaceForm()
    {
        return FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    }

    /** A listed user table with these weights, shown on the workspace's tab 10. */
    frm_ins_coeff *showUserTable(const QString &name, const QList<double> &weights)
    {
        Database db = Database::open(project.path());
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                           "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                           "RIGA DOUBLE)")
                .arg(name));
        for (double weight : weights)
            db.insert(name, { { QStringLiteral("INPUT"), weight }, { QStringLiteral("MILLESIMI"), 1.0 } });
        db.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), name } });
        frm_ins_coeff *form = workspaceForm();
        engine::VAR_GBL.tabella_selezionata = name;
        form->TabStrip1->blockSignals(true);
        form->TabStrip1->setCurrentIndex(9);
        form->TabStrip1->blockSignals(false);
        EXPECT_TRUE(workspace::ThousandthsViews::enter(*form, 10));
        return form;
    }

    QList<double> weights(const QString &table) const
    {
        QList<double> values;
        const platform::Recordset rs = Database::open(project.path()).table(table);
        for (int r = 0; r < rs.recordCount(); ++r)
            values << rs.value(r, rs.fieldIndex(QStringLiteral("INPUT"))).toDouble();
        return values;
    }
};

TEST_F(TableCommandsTest, EveryKeyIsServedAndTheFormsAreKnownByName)
{
    for (const QString &key : kTableKeys)
        EXPECT_TRUE(bool(CommandRegistry::handler(key))) << qPrintable(key);
    // "tabelle" and "tTabella" show the form by its name.
    EXPECT_TRUE(FormRegistry::hasFactory(QStringLiteral("frm_tabelle")));
    EXPECT_TRUE(FormRegistry::hasFactory(QStringLiteral("frm_copia_mil")));
    QWidget *list = FormRegistry::showModeless(QStringLiteral("frm_tabelle"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(static_cast<tables::frm_tabelle *>(list)->Command1[3]->isVisibleTo(list));
}

// "Seleziona Tabella" opens the list modal with "Seleziona" shown; picking there loads the table.
TEST_F(TableCommandsTest, SelezionaTabellaShowsTheListModalWithSeleziona)
{
    Database::open(project.path())
        .exec(QStringLiteral("CREATE TABLE [SCALA A] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                             "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                             "RIGA DOUBLE)"));
    Database::open(project.path())
        .insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), QStringLiteral("SCALA A") } });
    int driven = 0;
    platform::ModalDriverScope driver([&](QWidget *shown) {
        ++driven;
        auto *list = qobject_cast<tables::frm_tabelle *>(shown);
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->Command1[3]->isVisibleTo(list));
        list->Command1[3]->click();
    });
    CommandRegistry::handler(QStringLiteral("tSelTab"))();
    EXPECT_EQ(driven, 1);
    EXPECT_EQ(engine::VAR_GBL.tabella_selezionata, QStringLiteral("SCALA A"));

    // Without a project it is refused.
    engine::VAR_GBL.progetto_corrente.reset();
    CommandRegistry::handler(QStringLiteral("seleziona_tabella"))();
    EXPECT_EQ(driven, 1);
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });
}

// "Copia Millesimi da": nothing without a selected table; modal from the band, modeless from the
// workspace's button.
TEST_F(TableCommandsTest, CopiaMilOpensTheCopyFormOnlyWithATableSelected)
{
    int driven = 0;
    platform::ModalDriverScope driver([&](QWidget *shown) {
        ++driven;
        EXPECT_EQ(shown->objectName(), QStringLiteral("frm_copia_mil"));
        shown->close();
    });
    CommandRegistry::handler(QStringLiteral("tCopiaMil"))();
    EXPECT_EQ(driven, 0);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_copia_mil")));

    frm_ins_coeff *form = showUserTable(QStringLiteral("BOX"), { 1 });
    CommandRegistry::handler(QStringLiteral("copia_mil"))();
    EXPECT_EQ(driven, 1);

    form->Command1[9]->click();
    EXPECT_EQ(driven, 1);
    QWidget *copy = FormRegistry::loaded(QStringLiteral("frm_copia_mil"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isVisible());
}

// Each hidden button runs the command of its band tool: the same handler, reached by its key.
TEST_F(TableCommandsTest, EachHiddenButtonRunsItsBandToolsCommand)
{
    const std::map<int, QString> tools { { 0, "tCopia" }, { 1, "tRicalcola" }, { 2, "tEliminariga" },
        { 5, "tTrova" }, { 6, "tArrotonda" }, { 7, "tAzzera" }, { 8, "tSelTab" }, { 9, "copia_mil_da" },
        { 10, "tCalcTab" } };
    std::map<QString, CommandRegistry::Handler> kept;
    QStringList ran;
    for (const auto &[index, key] : tools) {
        kept[key] = CommandRegistry::handler(key);
        CommandRegistry::setHandler(key, [&ran, key] { ran << key; });
    }
    frm_ins_coeff *form = workspaceForm();
    for (const auto &[index, key] : tools) {
        ran.clear();
        // The view shown switches the buttons on and off; here only the wiring is looked at.
        form->Command1[index]->setEnabled(true);
        form->Command1[index]->click();
        EXPECT_EQ(ran, QStringList { key }) << index;
    }
    for (const auto &[key, handler] : kept)
        CommandRegistry::setHandler(key, handler);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// The same work through the band tool and through the button: both zero the weights.
TEST_F(TableCommandsTest, AzzeraThroughTheToolAndThroughTheButton)
{
    frm_ins_coeff *form = showUserTable(QStringLiteral("BOX"), { 2, 3 });
    CommandRegistry::handler(QStringLiteral("tAzzera"))();
    EXPECT_EQ(weights(QStringLiteral("BOX")), (QList<double> { 0, 0 }));

    Database::open(project.path()).exec(QStringLiteral("UPDATE BOX SET INPUT = 4"));
    form->Command1[7]->click();
    EXPECT_EQ(weights(QStringLiteral("BOX")), (QList<double> { 0, 0 }));

    // "Calc. Mil. Tab." asks as "Calcola Tabella" does.
    form->Command1[10]->click();
    ASSERT_FALSE(boxes.shown().isEmpty());
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Effettuare il calcolo della colonna Input S/n ?"));
}

// "Esci" closes the workspace as Esc does; "Calc. Mil." runs the thousandths calculation as F4.
TEST_F(TableCommandsTest, EsciAndCalcMilAreTheWorkspacesKeys)
{
    project.header(false, false, false, 1);
    Database::open(project.path())
        .insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 } });
    const qint64 unit
        = project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("1"), 1, 3.0);
    Database::open(project.path())
        .update(QStringLiteral("CODIF_PIANI"), unit,
            { { QStringLiteral("TOT_SUP"), 80.0 }, { QStringLiteral("TOT_VOL"), 240.0 } });
    frm_ins_coeff *form = workspaceForm();
    form->Command2->click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Calcolo Millesimi effettuato") });
    EXPECT_EQ(Database::open(project.path()).table(QStringLiteral("MILLESIMI")).recordCount(), 1);
    form->Command1[4]->click();
    EXPECT_EQ(loadedWorkspace(), nullptr);
}

// "Gridal" switches the workspace's own CAD link: each click makes a new object; the first starts
// the CAD window on the hidden text box, the second lets the object go.
TEST_F(TableCommandsTest, GridalSwitchesTheWorkspacesOwnCadLink)
{
    frm_ins_coeff *form = workspaceForm();
    {
        platform::CadAutomationRecorder cad;
        form->Command1[3]->click();
        using Call = platform::CadAutomationRecorder::Call;
        EXPECT_EQ(cad.creations(), QStringList { QStringLiteral("Ormida") });
        EXPECT_EQ(cad.calls(),
            (QList<Call> { { 1, "init_Cadform", { true, 0 } }, { 1, "mostra", {} },
                { 1, "SET_HANDLE", { qint32(form->txtole->winId()) } } }));
        EXPECT_TRUE(frm_ins_coeff::cad_locale_attivo());
        EXPECT_NE(frm_ins_coeff::oggetto_cad_locale(), nullptr);

        form->Command1[3]->click();
        EXPECT_EQ(cad.objectsMade(), 2);
        EXPECT_TRUE(cad.alive().isEmpty());
        EXPECT_FALSE(frm_ins_coeff::cad_locale_attivo());
        EXPECT_EQ(frm_ins_coeff::oggetto_cad_locale(), nullptr);
    }
    // Without a CAD program the link stays off and the user is told.
    form->Command1[3]->click();
    EXPECT_FALSE(frm_ins_coeff::cad_locale_attivo());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(QStringLiteral("Impossibile collegarsi al CAD")));
}

} // namespace
} // namespace zav::test
