#include "shellformsfixture.h"

#include "engine/archive.h"
#include "platform/ui/datagrid.h"
#include "shell/commands/projectcommands.h"
#include "shell/forms/frm_datiprg.h"
#include "shell/forms/frm_file.h"
#include "shell/forms/frm_gestdb.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/frm_opt.h"
#include "shell/forms/frm_virgola.h"

#include "controls/xpbutton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using platform::Database;
using platform::FormRegistry;

const QString Attenzione = QStringLiteral("!!! Zav - Attenzione - !!!");

/** Scripted boxes that also note the main window's mouse pointer while each box is up. */
class PointerDialogs : public platform::ScriptedDialogs
{
public:
    platform::MsgResult msgBox(const QString &text, platform::MsgButtons buttons, platform::MsgIcon icon,
        const QString &title, platform::MsgDefault defaultButton) override
    {
        if (auto *window = FormRegistry::loaded<shell::frm_init>(QStringLiteral("frm_init")))
            pointers << window->mousePointer();
        return ScriptedDialogs::msgBox(text, buttons, icon, title, defaultButton);
    }
    QList<int> pointers;
};

/** Stand-ins for the forms of other subsystems that the commands show. */
const char *const standIns[] = { "frm_comp_pal", "frm_cod_piani", "frm_ins_coeff", "frm_tabelle",
    "frm_infissi", "ST_MIL", "frm_rip_spese", "frm_ripart_spese", "frm_terrazze" };

class ProjectCommandsTest : public ShellFormsTest
{
protected:
    void SetUp() override
    {
        ShellFormsTest::SetUp();
        window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
        window->show();
        for (const char *name : standIns) {
            const QString form = QString::fromLatin1(name);
            FormRegistry::setFactory(form, [this, form] {
                shown << form;
                auto *widget = new QWidget;
                widget->setObjectName(form);
                return widget;
            });
        }
    }

    void TearDown() override
    {
        for (const char *name :
            { "frm_datiprg", "frm_opt", "frm_virgola", "frm_gestdb", "frm_coeff_db", "frm_file" })
            FormRegistry::unload(QString::fromLatin1(name));
        for (const char *name : standIns) {
            FormRegistry::unload(QString::fromLatin1(name));
            FormRegistry::setFactory(QString::fromLatin1(name), {});
        }
        ShellFormsTest::TearDown();
    }

    /** Opens a project copied from the template, as the archive dialog does. */
    QString openProject()
    {
        const QString path
            = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
        VAR_GBL.progetto_corrente = path;
        VAR_GBL.nome_progetto = QStringLiteral("PROVA");
        VAR_GBL.archivio_terrazze = folder.file(QStringLiteral("ARCHIVI/PROVA.TER"));
        window->setStatusPanelText(2, path);
        return path;
    }

    void storeHeader(const QVariant &buildings)
    {
        Database db = Database::open(*VAR_GBL.progetto_corrente);
        db.insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                { QStringLiteral("NUM_PAL"), buildings } });
    }

    void click(const char *key) { window->Bar_main1_ToolClick(QString::fromLatin1(key)); }

    shell::frm_init *window = nullptr;
    QStringList shown;
};

TEST_F(ProjectCommandsTest, ChiudiWithoutAProjectChangesNothingVisible)
{
    click("chiudi");
    EXPECT_FALSE(VAR_GBL.progetto_corrente.has_value());
    EXPECT_EQ(window->statusPanelText(2), QString());
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(ProjectCommandsTest, ChiudiClosesTheProjectFormsStoringTheHeaderFirst)
{
    const QString path = openProject();
    storeHeader(2);
    VAR_GBL.sql_unita_corrente
        = engine::archive::roomsQuery(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 3);

    // The header shown modeless, as after a new project, with a change typed and not stored.
    auto *header
        = qobject_cast<shell::frm_datiprg *>(FormRegistry::showModeless(QStringLiteral("frm_datiprg")));
    ASSERT_NE(header, nullptr);
    header->Text1->setText(QStringLiteral("Condominio Borea"));
    FormRegistry::showModeless(QStringLiteral("frm_file"));
    FormRegistry::showModeless(QStringLiteral("frm_gestdb"));
    click("cod_piani");
    ASSERT_TRUE(FormRegistry::isLoaded(QStringLiteral("frm_cod_piani")));

    click("chiudi");
    processDeletes();
    for (const char *name : { "frm_datiprg", "frm_file", "frm_cod_piani" })
        EXPECT_FALSE(FormRegistry::isLoaded(QString::fromLatin1(name))) << name;
    // The archive checks stay open.
    EXPECT_TRUE(FormRegistry::isLoaded(QStringLiteral("frm_gestdb")));
    EXPECT_FALSE(VAR_GBL.progetto_corrente.has_value());
    EXPECT_EQ(VAR_GBL.archivio_terrazze, QString());
    EXPECT_EQ(window->statusPanelText(2), QString());
    EXPECT_EQ(VAR_GBL.nome_progetto, QStringLiteral("PROVA"));
    EXPECT_TRUE(VAR_GBL.sql_unita_corrente.has_value());

    Database db = Database::open(path);
    EXPECT_EQ(
        db.table(QStringLiteral("ANA_CONDO")).value(0, 0).toString(), QStringLiteral("Condominio Borea"));

    // From now on the project commands refuse.
    boxes.clear();
    click("dati_prg");
    click("cod_piani_db");
    EXPECT_EQ(
        boxes.messages(), (QStringList { "Nessun progetto selezionato", "Nessun progetto selezionato" }));
}

// A cell of "Gestione Database" being typed (no Enter) when the project or the program is closed:
// the text goes in first, through the cell's own check. A unit number that is no number is
// refused with its message, and the project, the program and the window stay open.
TEST_F(ProjectCommandsTest, ClosingTheProjectOrTheProgramStoresTheCellBeingTyped)
{
    const QString path = openProject();
    storeHeader(1);
    const qint64 unit = Database::open(path).insert(QStringLiteral("CODIF_PIANI"),
        { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
            { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") }, { QStringLiteral("INTERNO"), 3 } });
    auto *grid = FormRegistry::showModeless(QStringLiteral("frm_gestdb"))->findChild<platform::DataGrid *>();
    ASSERT_NE(grid, nullptr);
    const auto typeInto = [grid](int column, const QString &text) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, column));
        grid->edit(grid->currentIndex());
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    };
    const auto field = [&](const char *name) {
        return Database::open(path)
            .query(
                QStringLiteral("SELECT %1 FROM CODIF_PIANI WHERE rowid = ?").arg(QString::fromLatin1(name)),
                { unit })
            .value(0, 0);
    };
    const int ended = programEnds;

    // Refused: the project stays open, and so does the program.
    typeInto(3, QStringLiteral("tre"));
    click("chiudi");
    EXPECT_EQ(VAR_GBL.progetto_corrente, path);
    ASSERT_EQ(boxes.shown().size(), 1);
    QCloseEvent closing;
    QCoreApplication::sendEvent(window, &closing);
    EXPECT_FALSE(closing.isAccepted());
    EXPECT_EQ(programEnds, ended);
    EXPECT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(field("INTERNO").toInt(), 3);

    // Put right, the text goes in as the program closes.
    boxes.clear();
    typeInto(3, QStringLiteral("5"));
    QCloseEvent again;
    QCoreApplication::sendEvent(window, &again);
    EXPECT_TRUE(again.isAccepted());
    EXPECT_EQ(programEnds, ended + 1);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(field("INTERNO").toInt(), 5);
}

TEST_F(ProjectCommandsTest, CompPalAndCodPianiCheckTheHeaderAndTheBuildings)
{
    openProject();
    platform::ModalDriverScope driver([](QWidget *form) { form->close(); });

    click("comp_pal");
    click("tCodPiani");
    ASSERT_EQ(boxes.shown().size(), 2);
    for (const auto &box : boxes.shown()) {
        EXPECT_EQ(box.text, QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"));
        EXPECT_EQ(box.title, QStringLiteral("!!! Zav - Informazioni - !!!"));
        EXPECT_EQ(box.icon, platform::MsgIcon::Information);
    }
    EXPECT_TRUE(shown.isEmpty());

    // A header without buildings: the buildings form opens, the unit register does not.
    storeHeader(QVariant());
    boxes.clear();
    click("tCompPal");
    EXPECT_EQ(shown, QStringList { QStringLiteral("frm_comp_pal") });
    click("cod_piani");
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Attenzione Composizione palazzina non effettuata."));
    EXPECT_EQ(boxes.shown().at(0).title, Attenzione);
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Information);

    // Buildings composed: the unit register opens as a child window of the main window.
    {
        Database db = Database::open(*VAR_GBL.progetto_corrente);
        db.exec(QStringLiteral("UPDATE ANA_CONDO SET NUM_PAL = 2"));
    }
    click("cod_piani");
    EXPECT_EQ(shown.last(), QStringLiteral("frm_cod_piani"));
    QWidget *units = FormRegistry::loaded(QStringLiteral("frm_cod_piani"));
    ASSERT_NE(units, nullptr);
    ASSERT_NE(window->mdiArea()->activeSubWindow(), nullptr);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), units);
    EXPECT_EQ(boxes.shown().size(), 1);
}

TEST_F(ProjectCommandsTest, FormCommandsShowTheirFormsModalOrModeless)
{
    openProject();
    storeHeader(1);
    QStringList modal;
    platform::ModalDriverScope driver([&](QWidget *form) {
        modal << form->objectName();
        form->close();
    });

    click("tDatiGen");
    click("option");
    click("tOpzioni");
    click("conv_dati");
    EXPECT_EQ(modal, (QStringList { "frm_datiprg", "frm_opt", "frm_opt", "frm_virgola" }));

    click("cod_piani_db");
    click("sup_vol");
    auto *units = FormRegistry::loaded<shell::frm_gestdb>(QStringLiteral("frm_gestdb"));
    ASSERT_NE(units, nullptr);
    EXPECT_TRUE(units->isVisible());
    EXPECT_FALSE(units->isModal());
    EXPECT_TRUE(FormRegistry::loaded(QStringLiteral("frm_coeff_db"))->isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());

    // The decimal conversion needs no project.
    click("chiudi");
    click("conv_dati");
    EXPECT_EQ(modal.last(), QStringLiteral("frm_virgola"));
    EXPECT_EQ(modal.size(), 5);
}

// The forms of the folders below the shell are shown by name: the window table, the print form and
// the two expense forms as child windows of the main window, the user tables modeless on their own,
// the terraces modal.
TEST_F(ProjectCommandsTest, FormsOfOtherFoldersAreShownByName)
{
    openProject();
    QStringList modal;
    platform::ModalDriverScope driver([&](QWidget *form) {
        modal << form->objectName();
        form->close();
    });
    const auto isChild = [this](const char *name) {
        QWidget *form = FormRegistry::loaded(QString::fromLatin1(name));
        for (QMdiSubWindow *child : window->mdiArea()->subWindowList()) {
            if (form && child->widget() == form)
                return form->isVisible();
        }
        return false;
    };

    for (const char *key :
        { "tTabella", "tInfissi", "stampa_mil", "tab_riepilogativa", "RIP_SPESE", "terrazze" })
        click(key);
    EXPECT_EQ(shown,
        (QStringList {
            "frm_tabelle", "frm_infissi", "ST_MIL", "frm_rip_spese", "frm_ripart_spese", "frm_terrazze" }));
    EXPECT_EQ(modal, QStringList { QStringLiteral("frm_terrazze") });
    for (const char *name : { "frm_infissi", "ST_MIL", "frm_rip_spese", "frm_ripart_spese" })
        EXPECT_TRUE(isChild(name)) << name;
    QWidget *tables = FormRegistry::loaded(QStringLiteral("frm_tabelle"));
    ASSERT_NE(tables, nullptr);
    EXPECT_TRUE(tables->isVisible());
    EXPECT_FALSE(isChild("frm_tabelle"));

    // Shown again, each form is the same one.
    click("infissi");
    click("spese");
    EXPECT_EQ(shown.size(), 6);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 4);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(ProjectCommandsTest, ArchiveDialogCommandsAndTheNewProjectFields)
{
    click("apri");
    auto *dialog = FormRegistry::loaded<shell::frm_file>(QStringLiteral("frm_file"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_FALSE(dialog->Text1->isVisible());
    click("tElimina");
    EXPECT_EQ(FormRegistry::loaded(QStringLiteral("frm_file")), dialog);

    click("tNuovo");
    EXPECT_TRUE(dialog->Label1->isVisible());
    EXPECT_TRUE(dialog->Text1->isVisible());
    EXPECT_TRUE(dialog->Command2->isVisible());
    QApplication::setActiveWindow(dialog);
    EXPECT_EQ(dialog->focusWidget(), dialog->Text1);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(ProjectCommandsTest, RicalcoloRunsTheGlobalRecalculationWhichAsksFirst)
{
    openProject();
    for (const char *key : { "ricalcolo", "tRicalcolo" })
        click(key);
    EXPECT_EQ(boxes.messages(),
        (QStringList { "Questa operazione potrebbe richiedere alcuni minuti. Continuare ?",
            "Questa operazione potrebbe richiedere alcuni minuti. Continuare ?" }));
}

// The road of a new project through the main window: create it, enter its header, close it and
// open it again.
TEST_F(ProjectCommandsTest, CreateEnterTheHeaderCloseAndReopenAProject)
{
    click("nuovo");
    auto *dialog = FormRegistry::loaded<shell::frm_file>(QStringLiteral("frm_file"));
    ASSERT_NE(dialog, nullptr);
    dialog->Form_Activate();
    dialog->Text1->setText(QStringLiteral("aurora"));
    boxes.answer(platform::MsgResult::Yes); // the default folder
    dialog->Command2_Click();

    const QString archive = folder.file(QStringLiteral("ARCHIVI/AURORA.CDB"));
    ASSERT_TRUE(VAR_GBL.progetto_corrente.has_value());
    EXPECT_EQ(QFileInfo(*VAR_GBL.progetto_corrente), QFileInfo(archive));
    EXPECT_EQ(window->statusPanelText(2), *VAR_GBL.progetto_corrente);

    // The header comes up by itself, on a new record.
    auto *header = FormRegistry::loaded<shell::frm_datiprg>(QStringLiteral("frm_datiprg"));
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->isVisible());
    EXPECT_FALSE(header->Command1[2]->isEnabled());
    header->Text1->setText(QStringLiteral("Condominio Aurora"));
    header->Text2->setText(QStringLiteral("Via dei Mille 12"));
    header->Text3->setText(QStringLiteral("Cesena"));
    header->Command1[0]->click();

    click("chiudi");
    processDeletes();
    EXPECT_FALSE(VAR_GBL.progetto_corrente.has_value());
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_datiprg")));
    EXPECT_EQ(window->statusPanelText(2), QString());

    click("apri");
    dialog = FormRegistry::loaded<shell::frm_file>(QStringLiteral("frm_file"));
    ASSERT_NE(dialog, nullptr);
    dialog->Form_Activate();
    const QList<QListWidgetItem *> found
        = dialog->File1->findItems(QStringLiteral("AURORA.CDB"), Qt::MatchFixedString);
    ASSERT_EQ(found.size(), 1);
    dialog->File1->setCurrentItem(found.first());
    dialog->Command1_Click(0);
    ASSERT_TRUE(VAR_GBL.progetto_corrente.has_value());
    EXPECT_EQ(QFileInfo(*VAR_GBL.progetto_corrente), QFileInfo(archive));

    QStringList seen;
    platform::ModalDriverScope driver([&](QWidget *form) {
        auto *shown = qobject_cast<shell::frm_datiprg *>(form);
        ASSERT_NE(shown, nullptr);
        seen << shown->Text1->text() << shown->Text2->text() << shown->Text3->text();
        EXPECT_FALSE(shown->Command1[0]->isEnabled());
        shown->Command1[1]->click();
    });
    click("dati_prg");
    EXPECT_EQ(seen, (QStringList { "Condominio Aurora", "Via dei Mille 12", "Cesena" }));
    EXPECT_EQ(boxes.pendingAnswers(), 0);
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Vuoi utilizzare la cartella di default?") });
}

// A header form left open on one project must not take the header of the next project created:
// the new project's header starts on its own empty record, and what was typed in the old form
// goes into the old project's archive.
TEST_F(ProjectCommandsTest, ANewProjectGetsItsOwnHeaderFormWhileTheLastOneIsStillOpen)
{
    const auto create = [this](const QString &name) {
        click("nuovo");
        auto *dialog = FormRegistry::loaded<shell::frm_file>(QStringLiteral("frm_file"));
        ASSERT_NE(dialog, nullptr);
        dialog->Form_Activate();
        dialog->Text1->setText(name);
        boxes.answer(platform::MsgResult::Yes); // the default folder
        dialog->Command2_Click();
    };
    const auto storedNames = [](const QString &archive) {
        Database db = Database::open(archive);
        const platform::Recordset rs = db.table(QStringLiteral("ANA_CONDO"));
        QStringList names;
        for (int row = 0; row < rs.recordCount(); ++row)
            names << rs.value(row, rs.fieldIndex(QStringLiteral("NOME"))).toString();
        return names;
    };

    create(QStringLiteral("aurora"));
    auto *first = FormRegistry::loaded<shell::frm_datiprg>(QStringLiteral("frm_datiprg"));
    ASSERT_NE(first, nullptr);
    first->Text1->setText(QStringLiteral("Condominio Aurora"));
    first->Command1[0]->click();
    first->Command1[2]->click(); // "Modifica", then a change typed and not stored
    first->Text2->setText(QStringLiteral("Via dei Mille 12"));

    create(QStringLiteral("borea"));
    processDeletes();
    auto *second = FormRegistry::loaded<shell::frm_datiprg>(QStringLiteral("frm_datiprg"));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(second->Text1->text().isEmpty());
    EXPECT_TRUE(second->Command1[0]->isEnabled());
    EXPECT_FALSE(second->Command1[2]->isEnabled());

    second->Text1->setText(QStringLiteral("Condominio Borea"));
    second->Command1[0]->click();
    const QString aurora = folder.file(QStringLiteral("ARCHIVI/AURORA.CDB"));
    EXPECT_EQ(storedNames(aurora), QStringList { QStringLiteral("Condominio Aurora") });
    EXPECT_EQ(storedNames(folder.file(QStringLiteral("ARCHIVI/BOREA.CDB"))),
        QStringList { QStringLiteral("Condominio Borea") });
    Database db = Database::open(aurora);
    const platform::Recordset header = db.table(QStringLiteral("ANA_CONDO"));
    EXPECT_EQ(header.value(0, header.fieldIndex(QStringLiteral("INDIRIZZO"))).toString(),
        QStringLiteral("Via dei Mille 12"));
}

TEST_F(ProjectCommandsTest, CalcMilRunsTheCalculationUnderTheHourglass)
{
    PointerDialogs pointerBoxes;
    openProject();
    storeHeader(1);
    {
        // A unit without floor height stops the calculation with a message naming its owner.
        Database db = Database::open(*VAR_GBL.progetto_corrente);
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 } });
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("SIGLA"), QStringLiteral("1") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") }, { QStringLiteral("INTERNO"), 1 },
                { QStringLiteral("TOT_SUP"), 100.0 }, { QStringLiteral("TOT_VOL"), 300.0 } });
    }
    for (const char *key : { "calc_mil", "tCalcMil", "tCalcolaMil" })
        click(key);
    ASSERT_EQ(pointerBoxes.messages().size(), 3);
    for (const QString &message : pointerBoxes.messages())
        EXPECT_TRUE(message.contains(QStringLiteral("Rossi"))) << message.toStdString();
    EXPECT_EQ(pointerBoxes.pointers,
        (QList<int> { shell::frm_init::Hourglass, shell::frm_init::Hourglass, shell::frm_init::Hourglass }));
    EXPECT_EQ(window->mousePointer(), shell::frm_init::NormalPointer);
}

} // namespace
} // namespace zav::test
