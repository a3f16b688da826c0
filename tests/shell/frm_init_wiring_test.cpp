#include "shellformsfixture.h"

#include "controls/xpbutton.h"
#include "engine/var_gbl.h"
#include "expenses/expensesforms.h"
#include "expenses/frm_rip_spese.h"
#include "platform/db.h"
#include "platform/report_recordingrunner.h"
#include "platform/ui/commandbar.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/twips.h"
#include "printing/st_mil.h"
#include "shell/forms/about.h"
#include "shell/forms/frm_init.h"
#include "shell/project/editorfile.h"
#include "support/cadautomationrecorder.h"
#include "support/screenshots.h"
#include "support/systemrecorder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::FormRegistry;

class MainWindowWiringTest : public ShellFormsTest
{
protected:
    void TearDown() override
    {
        shell::frm_init::setBrowserFactory({});
        ShellFormsTest::TearDown();
    }

    shell::frm_init *openMainWindow()
    {
        auto *window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
        window->show();
        return window;
    }

    /** @brief A project "PROVA" made current, holding one unit of this owner (1/A floor 1, number 4). */
    void openProjectWithOneUnit(const QString &owner)
    {
        engine::VAR_GBL.progetto_corrente
            = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
        platform::Database::open(*engine::VAR_GBL.progetto_corrente)
            .insert(QStringLiteral("CODIF_PIANI"),
                { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("SIGLA"), QStringLiteral("1") },
                    { QStringLiteral("PROPRIETARIO"), owner }, { QStringLiteral("HPIANO"), 3.0 },
                    { QStringLiteral("INTERNO"), 4 } });
    }
};

// The utility commands answer through the main window's dispatcher, without a project.
TEST_F(MainWindowWiringTest, AboutCommandShowsTheAboutBox)
{
    shell::frm_init *window = openMainWindow();
    window->Bar_main1()->clickTool(QStringLiteral("about"));
    shell::ABOUT *about = window->utilityCommands().about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());
    about->close();
}

TEST_F(MainWindowWiringTest, EachWebCommandOpensANewBrowserChildOnTheWebAddress)
{
    QStringList addresses;
    shell::frm_init::setBrowserFactory([&](const QString &address) -> QWidget * {
        addresses << address;
        auto *page = new QLabel(address);
        page->setAttribute(Qt::WA_DeleteOnClose);
        return page;
    });
    shell::frm_init *window = openMainWindow();
    auto *area = window->findChild<QMdiArea *>(QStringLiteral("mdiArea"));
    ASSERT_NE(area, nullptr);

    window->Bar_main1()->clickTool(QStringLiteral("Web"));
    window->Bar_main1()->clickTool(QStringLiteral("Web"));

    EXPECT_EQ(addresses, QStringList({ shell::webAddress(), shell::webAddress() }));
    EXPECT_EQ(area->subWindowList().size(), 2);
}

// "Gridal On" hands the CAD program the window of the workspace's hidden text box; a workspace
// that is not open yet is loaded for it, not shown.
TEST_F(MainWindowWiringTest, CadOnHandsTheWorkspacesHiddenTextBoxOver)
{
    const QString workspace = QStringLiteral("frm_ins_coeff");
    FormRegistry::setFactory(workspace, [] {
        auto *form = new QWidget;
        auto *txtole = new QLineEdit(form);
        txtole->setObjectName(QStringLiteral("txtole"));
        txtole->hide();
        return form;
    });
    platform::CadAutomationRecorder cad;
    shell::frm_init *window = openMainWindow();
    auto handles = [&] {
        QVariantList handed;
        for (const auto &call : cad.calls()) {
            if (call.method == QStringLiteral("SET_HANDLE"))
                handed.append(call.arguments);
        }
        return handed;
    };
    const auto textBoxOf
        = [](QWidget *form) { return form->findChild<QLineEdit *>(QStringLiteral("txtole")); };

    // No workspace open: it is loaded, stays hidden, and its text box is handed over.
    ASSERT_FALSE(FormRegistry::isLoaded(workspace));
    window->Bar_main1_ToolClick(QStringLiteral("cadon"));
    QWidget *hidden = FormRegistry::loaded(workspace);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(handles(), QVariantList { qint32(textBoxOf(hidden)->winId()) });

    // A second "on" starts no window and loads nothing.
    FormRegistry::unload(workspace);
    processDeletes();
    cad.clearCalls();
    window->Bar_main1_ToolClick(QStringLiteral("tCad"));
    EXPECT_TRUE(handles().isEmpty());
    EXPECT_FALSE(FormRegistry::isLoaded(workspace));
    window->Bar_main1_ToolClick(QStringLiteral("cadoff"));

    // An open workspace is the one whose text box is handed over.
    QWidget *open = FormRegistry::showModeless(workspace);
    ASSERT_NE(open, nullptr);
    cad.clearCalls();
    window->Bar_main1_ToolClick(QStringLiteral("tCad"));
    EXPECT_EQ(FormRegistry::loaded(workspace), open);
    EXPECT_EQ(handles(), QVariantList { qint32(textBoxOf(open)->winId()) });
    EXPECT_TRUE(boxes.shown().isEmpty());

    window->Bar_main1_ToolClick(QStringLiteral("cadoff")); // before the recorder goes
    FormRegistry::unload(workspace);
    FormRegistry::setFactory(workspace, {});
}

// The program's own workspace, loaded by "Gridal On" with no project open: hidden, silent, and with
// its loading done (the CAD menu on).
TEST_F(MainWindowWiringTest, CadOnLoadsTheRealWorkspaceHidden)
{
    const QString workspace = QStringLiteral("frm_ins_coeff");
    platform::CadAutomationRecorder cad;
    shell::frm_init *window = openMainWindow();
    ASSERT_FALSE(window->Bar_main1()->isToolEnabled(QStringLiteral("tCad2")));
    window->Bar_main1_ToolClick(QStringLiteral("cadon"));
    QWidget *form = FormRegistry::loaded(workspace);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(window->Bar_main1()->isToolEnabled(QStringLiteral("tCad2")));
    auto *txtole = form->findChild<QWidget *>(QStringLiteral("txtole"));
    ASSERT_NE(txtole, nullptr);
    bool handed = false;
    for (const auto &call : cad.calls())
        handed = handed
            || (call.method == QStringLiteral("SET_HANDLE")
                && call.arguments == QVariantList { qint32(txtole->winId()) });
    EXPECT_TRUE(handed);
    EXPECT_TRUE(boxes.shown().isEmpty());

    window->Bar_main1_ToolClick(QStringLiteral("cadoff")); // before the recorder goes
    FormRegistry::unload(workspace);
    processDeletes();
}

// The print form of the printing folder, registered at start-up, opens as a child window.
TEST_F(MainWindowWiringTest, StampaMilShowsThePrintFormAsAChildWindow)
{
    shell::frm_init *window = openMainWindow();
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    window->Bar_main1()->clickTool(QStringLiteral("tStampa"));
    QWidget *form = FormRegistry::loaded(QStringLiteral("ST_MIL"));
    ASSERT_NE(form, nullptr);
    ASSERT_NE(window->mdiArea()->activeSubWindow(), nullptr);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());
    FormRegistry::unload(QStringLiteral("ST_MIL"));
}

// The print form opens its documents with the editor chosen in the utilities and through the
// desktop; the coefficient and window table forms print through the printing's report controls.
TEST_F(MainWindowWiringTest, PrintFormDocumentsAndTablePrintsAreWired)
{
    platform::SystemRecorder desktop;
    const QString editor = QStringLiteral("/usr/local/bin/scrivi");
    desktop.install(editor);
    ASSERT_TRUE(shell::EditorFile::write(editor));
    shell::frm_init *window = openMainWindow();
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    engine::VAR_GBL.nome_progetto = QStringLiteral("PROVA");
    window->Bar_main1()->clickTool(QStringLiteral("tStampa"));
    auto *form = FormRegistry::loaded<printing::ST_MIL>(QStringLiteral("ST_MIL"));
    ASSERT_NE(form, nullptr);
    emit form->Command9->Click();
    emit form->XPButton1->Click();
    using Started = platform::SystemRecorder::Started;
    EXPECT_EQ(desktop.started(),
        (QList<Started> { { editor, { folder.file(QStringLiteral("srs.rtf")) }, QString() },
            { QString(), {}, folder.file(QStringLiteral("CIRCxMILLESIMI.pdf")) } }));
    EXPECT_TRUE(boxes.shown().isEmpty());

    // Without the editor file the button says so.
    ASSERT_TRUE(QFile::remove(shell::EditorFile::path()));
    emit form->Command9->Click();
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Errore 35: WordPad.exe non trovato. Puoi effettuare la modifica e la "
                                     "stampa del file PROVA.REL con un altro Word Processor") });
    FormRegistry::unload(QStringLiteral("ST_MIL"));

    test::RecordingReportRunner runner;
    window->Bar_main1()->clickTool(QStringLiteral("tPiano"));
    auto *coefficients = FormRegistry::loaded(QStringLiteral("frm_tab_coeff"));
    ASSERT_NE(coefficients, nullptr);
    auto *stampa = coefficients->findChild<QPushButton *>(QStringLiteral("Command5"));
    ASSERT_NE(stampa, nullptr);
    EXPECT_TRUE(stampa->isEnabled());
    stampa->click();
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(QFileInfo(runner.runs.at(0).ReportFileName).fileName(), QStringLiteral("COEFF.GST"));
    // With a project open the coefficient tool shows (and prints) the project's own table.
    EXPECT_EQ(
        QFileInfo(runner.runs.at(0).DataFiles.at(10)).fileName().toUpper(), QStringLiteral("PROVA.CDB"));
    FormRegistry::unload(QStringLiteral("frm_tab_coeff"));

    // The window table prints the archive it shows: the template, then the project's.
    window->Bar_main1()->clickTool(QStringLiteral("tInfissi"));
    auto *windows = FormRegistry::loaded(QStringLiteral("frm_infissi"));
    ASSERT_NE(windows, nullptr);
    auto *print = windows->findChild<QPushButton *>(QStringLiteral("Command4"));
    auto *project = windows->findChild<QPushButton *>(QStringLiteral("Command3"));
    ASSERT_NE(print, nullptr);
    ASSERT_NE(project, nullptr);
    EXPECT_TRUE(print->isEnabled());
    print->click();
    project->click();
    print->click();
    ASSERT_EQ(runner.runs.size(), 3);
    for (int run : { 1, 2 })
        EXPECT_EQ(QFileInfo(runner.runs.at(run).ReportFileName).fileName(), QStringLiteral("finestre.GST"));
    EXPECT_EQ(
        QFileInfo(runner.runs.at(1).DataFiles.at(18)).fileName().toUpper(), QStringLiteral("ARCH_MIL.CLO"));
    EXPECT_EQ(runner.runs.at(2).DataFiles.at(18), *engine::VAR_GBL.progetto_corrente);
    EXPECT_EQ(boxes.messages().size(), 1); // only the missing editor's, above
    FormRegistry::unload(QStringLiteral("frm_infissi"));
}

// The coefficient and window tables are served by their own folder, without a project.
TEST_F(MainWindowWiringTest, CoefficientAndWindowToolsOpenTheirTableForms)
{
    shell::frm_init *window = openMainWindow();
    for (const QString &key : { QStringLiteral("tPiano"), QStringLiteral("coef8") }) {
        window->Bar_main1()->clickTool(key);
        QWidget *form = FormRegistry::loaded(QStringLiteral("frm_tab_coeff"));
        ASSERT_NE(form, nullptr) << qPrintable(key);
        EXPECT_TRUE(form->isVisible()) << qPrintable(key);
        FormRegistry::unload(QStringLiteral("frm_tab_coeff"));
    }
    window->Bar_main1()->clickTool(QStringLiteral("tInfissi"));
    QWidget *windows = FormRegistry::loaded(QStringLiteral("frm_infissi"));
    ASSERT_NE(windows, nullptr);
    ASSERT_NE(window->mdiArea()->activeSubWindow(), nullptr);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), windows);
    EXPECT_TRUE(boxes.shown().isEmpty());
    FormRegistry::unload(QStringLiteral("frm_infissi"));
}

// With a header stored, the buildings tool shows the real buildings form, modal.
TEST_F(MainWindowWiringTest, CompPalShowsTheBuildingsFormModal)
{
    shell::frm_init *window = openMainWindow();
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    platform::Database::open(*engine::VAR_GBL.progetto_corrente)
        .insert(
            QStringLiteral("ANA_CONDO"), { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") } });
    QStringList modal;
    platform::ModalDriverScope driver([&modal](QWidget *form) {
        modal << QString::fromLatin1(form->metaObject()->className());
        form->close();
    });
    window->Bar_main1()->clickTool(QStringLiteral("tCompPal"));
    EXPECT_EQ(modal, QStringList { QStringLiteral("zav::register_::frm_comp_pal") });
    FormRegistry::unload(QStringLiteral("frm_comp_pal"));
}

// The workspace's tool opens the real workspace on the project's first unit, with its owner.
TEST_F(MainWindowWiringTest, VisualizzaOpensTheWorkspaceOnTheFirstUnit)
{
    shell::frm_init *window = openMainWindow();
    openProjectWithOneUnit(QStringLiteral("D'Amico \"Nino\""));
    window->Bar_main1()->clickTool(QStringLiteral("tVisualizza"));
    QWidget *workspace = FormRegistry::loaded(QStringLiteral("frm_ins_coeff"));
    ASSERT_NE(workspace, nullptr);
    EXPECT_TRUE(workspace->isVisible());
    auto *owner = workspace->findChild<QLabel *>(QStringLiteral("Label8"));
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->text(), QStringLiteral("D'Amico \"Nino\""));
    window->Bar_main1()->clickTool(QStringLiteral("chiudi"));
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_ins_coeff")));
}

// The band's find and copy tools show the real unit list modal, each with its mode.
TEST_F(MainWindowWiringTest, FindAndCopyToolsShowTheUnitListModalInTheirMode)
{
    shell::frm_init *window = openMainWindow();
    openProjectWithOneUnit(QStringLiteral("Rossi"));
    window->Bar_main1()->clickTool(QStringLiteral("tVisualizza"));
    QStringList shown;
    platform::ModalDriverScope driver([&shown](QWidget *form) {
        auto *mode = form->findChild<QPushButton *>(QStringLiteral("Command1"));
        shown << form->objectName() + QStringLiteral(":") + (mode ? mode->text() : QString());
        form->close();
    });
    window->Bar_main1()->clickTool(QStringLiteral("tTrova"));
    window->Bar_main1()->clickTool(QStringLiteral("tCopia"));
    EXPECT_EQ(
        shown, (QStringList { QStringLiteral("frm_elenco:Trova"), QStringLiteral("frm_elenco:Copia") }));
    window->Bar_main1()->clickTool(QStringLiteral("chiudi"));
}

// A tool button or a menu item takes no focus from the workspace's grid: the room's cell being typed
// is stored before the command runs, whatever the command; text the cell refuses stays in edit and
// the command waits.
TEST_F(MainWindowWiringTest, ACommandStoresTheCellBeingTypedFirst)
{
    shell::frm_init *window = openMainWindow();
    openProjectWithOneUnit(QStringLiteral("Rossi"));
    const QString project = *engine::VAR_GBL.progetto_corrente;
    qint64 room = 0;
    {
        platform::Database db = platform::Database::open(project);
        db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Rossi") }, { QStringLiteral("PALAZ"), 1 },
                { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), 4 },
                { QStringLiteral("DESCRIZIONE"), QStringLiteral("Cucina") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("3*3") } });
        room = db.query(QStringLiteral("SELECT max(rowid) FROM ESPRESSIONI")).value(0, 0).toLongLong();
        db.exec(QStringLiteral("CREATE TRIGGER refuse_ab BEFORE UPDATE OF DESCRIZIONE ON ESPRESSIONI "
                               "WHEN NEW.DESCRIZIONE = 'ab' BEGIN SELECT RAISE(ABORT, 'rifiutato'); END"));
    }
    const auto description = [&] {
        return platform::Database::open(project)
            .query(QStringLiteral("SELECT DESCRIZIONE FROM ESPRESSIONI WHERE rowid = %1").arg(room))
            .value(0, 0)
            .toString();
    };
    platform::ModalDriverScope driver([](QWidget *form) { form->close(); });

    // Opens the workspace when needed and types into the room's description, leaving it in edit.
    const auto typeInto = [&](const QString &text) -> platform::DataGrid * {
        if (!FormRegistry::isLoaded(QStringLiteral("frm_ins_coeff")))
            window->Bar_main1()->clickTool(QStringLiteral("tVisualizza"));
        QWidget *workspace = FormRegistry::loaded(QStringLiteral("frm_ins_coeff"));
        auto *grid
            = workspace ? workspace->findChild<platform::DataGrid *>(QStringLiteral("TDBGrid1")) : nullptr;
        if (!grid)
            return nullptr;
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            ADD_FAILURE() << "the main window is not active";
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 1));
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        return grid;
    };
    const auto editorText = [](platform::DataGrid *grid) {
        for (QLineEdit *edit : grid->viewport()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return std::optional<QString>(edit->text());
        }
        return std::optional<QString>();
    };

    for (const char *tool : { "tRicalcola", "tEliminariga", "tTrova", "tCopia", "tCalcolaMil", "tEsciVis" }) {
        SCOPED_TRACE(tool);
        platform::Database::open(project).exec(
            QStringLiteral("UPDATE ESPRESSIONI SET DESCRIZIONE = 'Cucina' WHERE rowid = %1").arg(room));
        FormRegistry::unload(QStringLiteral("frm_ins_coeff"));
        platform::DataGrid *grid = typeInto(QStringLiteral("x"));
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(editorText(grid), std::optional<QString>(QStringLiteral("x")));
        window->Bar_main1()->clickTool(QString::fromLatin1(tool));
        EXPECT_EQ(description(), QStringLiteral("x"));
    }

    FormRegistry::unload(QStringLiteral("frm_ins_coeff"));
    platform::DataGrid *grid = typeInto(QStringLiteral("ab"));
    ASSERT_NE(grid, nullptr);
    for (const char *tool : { "tRicalcola", "tEsciVis" }) {
        SCOPED_TRACE(tool);
        boxes.clear();
        window->Bar_main1()->clickTool(QString::fromLatin1(tool));
        EXPECT_TRUE(FormRegistry::isLoaded(QStringLiteral("frm_ins_coeff")));
        EXPECT_EQ(editorText(grid), std::optional<QString>(QStringLiteral("ab")));
        EXPECT_EQ(boxes.shown().size(), 1); // the refusal, said once
    }
    EXPECT_EQ(description(), QStringLiteral("x"));
    // Closing the project waits for the cell too; put right, the cell goes in and the project closes.
    boxes.clear();
    window->Bar_main1()->clickTool(QStringLiteral("chiudi"));
    EXPECT_EQ(engine::VAR_GBL.progetto_corrente, project);
    EXPECT_EQ(boxes.shown().size(), 1);
    for (QLineEdit *edit : grid->viewport()->findChildren<QLineEdit *>()) {
        if (edit->isVisible())
            edit->setText(QStringLiteral("y"));
    }
    window->Bar_main1()->clickTool(QStringLiteral("chiudi"));
    EXPECT_FALSE(engine::VAR_GBL.progetto_corrente.has_value());
    EXPECT_EQ(description(), QStringLiteral("y"));
}

// The unit register and the expense form are the real ones, shown as child windows.
TEST_F(MainWindowWiringTest, CodPianiAndSpeseShowTheirFormsAsChildWindows)
{
    shell::frm_init *window = openMainWindow();
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    engine::VAR_GBL.nome_progetto = QStringLiteral("PROVA");
    platform::Database::open(*engine::VAR_GBL.progetto_corrente)
        .insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                { QStringLiteral("NUM_PAL"), 1 } });
    for (const auto &[key, form] :
        { std::pair { "tCodPiani", "frm_cod_piani" }, std::pair { "spese", "frm_ripart_spese" } }) {
        window->Bar_main1_ToolClick(QString::fromLatin1(key));
        QWidget *shown = FormRegistry::loaded(QString::fromLatin1(form));
        ASSERT_NE(shown, nullptr) << key;
        EXPECT_TRUE(shown->isVisible()) << key;
        ASSERT_NE(window->mdiArea()->activeSubWindow(), nullptr) << key;
        EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), shown) << key;
        FormRegistry::unload(QString::fromLatin1(form));
    }
}

// "Cod. Piani" of the buildings form opens the register as a child window of the main window, so
// that the workspace the register opens later stands in front of it, not behind.
TEST_F(MainWindowWiringTest, TheBuildingsFormOpensTheRegisterAsAChildWindow)
{
    shell::frm_init *window = openMainWindow();
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    engine::VAR_GBL.nome_progetto = QStringLiteral("PROVA");
    platform::Database db = platform::Database::open(*engine::VAR_GBL.progetto_corrente);
    db.insert(QStringLiteral("ANA_CONDO"),
        { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
            { QStringLiteral("NUM_PAL"), 1 } });
    db.insert(QStringLiteral("COMPOS_PAL"),
        { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 } });
    db.close();
    auto *buildings = FormRegistry::form(QStringLiteral("frm_comp_pal"));
    ASSERT_NE(buildings, nullptr);
    buildings->show();
    auto *codPiani = buildings->findChild<QPushButton *>(QStringLiteral("Command3_2"));
    ASSERT_NE(codPiani, nullptr);
    codPiani->click();
    QWidget *shown = FormRegistry::loaded(QStringLiteral("frm_cod_piani"));
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isWindow());
    ASSERT_NE(window->mdiArea()->activeSubWindow(), nullptr);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), shown);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_comp_pal")));
    FormRegistry::unload(QStringLiteral("frm_cod_piani"));
}

// A dialog closes and the focus comes back to a control of the register, behind the workspace (the
// control that had it, or the next one): the workspace, brought forward by its command, stays in front.
TEST_F(MainWindowWiringTest, TheChildInFrontStaysInFrontWhenTheFocusComesBackBehindIt)
{
    shell::frm_init *window = openMainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    openProjectWithOneUnit(QStringLiteral("Rossi"));
    platform::Database::open(*engine::VAR_GBL.progetto_corrente)
        .insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                { QStringLiteral("NUM_PAL"), 1 } });
    window->Bar_main1_ToolClick(QStringLiteral("tCodPiani"));
    QWidget *unitRegister = FormRegistry::loaded(QStringLiteral("frm_cod_piani"));
    ASSERT_NE(unitRegister, nullptr);
    window->mdiArea()->activeSubWindow()->showMaximized();
    window->Bar_main1()->clickTool(QStringLiteral("tVisualizza"));
    QWidget *workspace = FormRegistry::loaded(QStringLiteral("frm_ins_coeff"));
    ASSERT_NE(workspace, nullptr);
    QMdiSubWindow *front = window->mdiArea()->activeSubWindow();
    ASSERT_NE(front, nullptr);
    ASSERT_EQ(front->widget(), workspace);

    QWidget dialog;
    dialog.setWindowFlag(Qt::Window);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto *control = unitRegister->findChild<QPushButton *>();
    ASSERT_NE(control, nullptr);
    control->setFocus();
    dialog.close();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QCoreApplication::processEvents();

    EXPECT_EQ(window->mdiArea()->activeSubWindow(), front);
    EXPECT_EQ(window->mdiArea()->subWindowList(QMdiArea::StackingOrder).constLast(), front);
    EXPECT_TRUE(front->isMaximized());
    window->Bar_main1()->clickTool(QStringLiteral("chiudi"));
    FormRegistry::unload(QStringLiteral("frm_cod_piani"));
}

// A child window that gives up the maximised state to another (the register, "Infissi") comes back
// at least as large as its form when that other closes: never a bare title bar.
TEST_F(MainWindowWiringTest, AChildLeftBehindAMaximisedOneKeepsItsFormsSize)
{
    for (const auto &[key, form] :
        { std::pair { "tCodPiani", "frm_cod_piani" }, std::pair { "tInfissi", "frm_infissi" } }) {
        shell::frm_init *window = openMainWindow();
        window->resize(1280, 900);
        openProjectWithOneUnit(QStringLiteral("Rossi"));
        platform::Database::open(*engine::VAR_GBL.progetto_corrente)
            .insert(QStringLiteral("ANA_CONDO"),
                { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                    { QStringLiteral("NUM_PAL"), 1 } });
        QCoreApplication::processEvents();
        window->Bar_main1()->clickTool(QStringLiteral("tVisualizza"));
        QWidget *workspace = FormRegistry::loaded(QStringLiteral("frm_ins_coeff"));
        ASSERT_NE(workspace, nullptr) << key;
        // The workspace's own size: 12000 by 9000 twips.
        const QSize designed = platform::Twips::toPixels(QSize(12000, 9000), workspace);
        QMdiSubWindow *workspaceWindow = window->mdiArea()->activeSubWindow();
        ASSERT_NE(workspaceWindow, nullptr) << key;
        ASSERT_TRUE(workspaceWindow->isMaximized()) << key;

        // The other form comes forward and takes the maximised state; the workspace is restored.
        window->Bar_main1_ToolClick(QString::fromLatin1(key));
        QMdiSubWindow *other = window->mdiArea()->activeSubWindow();
        ASSERT_NE(other, nullptr) << key;
        ASSERT_NE(other, workspaceWindow) << key;
        other->showMaximized();
        QCoreApplication::processEvents();
        EXPECT_FALSE(workspaceWindow->isMaximized()) << key;

        FormRegistry::unload(QString::fromLatin1(form));
        QCoreApplication::processEvents();
        const QSize room = window->mdiArea()->viewport()->size();
        EXPECT_TRUE(workspaceWindow->isVisible()) << key;
        EXPECT_GE(workspace->width(), std::min(designed.width(), room.width() - 20)) << key;
        EXPECT_GE(workspace->height(), std::min(designed.height(), room.height() - 40)) << key;
        window->Bar_main1()->clickTool(QStringLiteral("chiudi"));
        FormRegistry::unload(QStringLiteral("frm_init"));
        QCoreApplication::processEvents();
    }
}

// The main window at the size it opens with, as a PNG in the folder named by ZAV_SCREENSHOT_DIR.
TEST_F(MainWindowWiringTest, Screenshot)
{
    const QString target = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (target.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    shell::frm_init *window = openMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(QDir().mkpath(target));
    EXPECT_TRUE(window->grab().save(QDir(target).filePath(QStringLiteral("main-window.png"))));
}

// The expense form reads the main window's width and the width of its "Progetto" pull-down.
TEST_F(MainWindowWiringTest, TheMainWindowGivesTheExpenseFormItsWidths)
{
    shell::frm_init *window = openMainWindow();
    window->resize(900, 600);
    expenses::MainWindowMetrics *metrics = expenses::mainWindowMetrics();
    ASSERT_EQ(metrics, static_cast<expenses::MainWindowMetrics *>(window));
    EXPECT_EQ(metrics->windowWidth(), window->frameGeometry().width());
    const QMenu *progetto = window->Bar_main1()->menu(window->Bar_main1()->bandName(1));
    ASSERT_NE(progetto, nullptr);
    EXPECT_EQ(progetto->title().remove(u'&'), QStringLiteral("Progetto"));
    EXPECT_EQ(metrics->bandWidth(1), progetto->sizeHint().width());
    EXPECT_GT(metrics->bandWidth(1), 0);
}

// "Tab. Riepilogativa Millesimi" shows the summary table as a child window; the right button on its
// grid pops the main window's menu up with "Seleziona" and "Accorpa" only, and the two items merge
// the table's rows.
class SummaryWiringTest : public MainWindowWiringTest
{
protected:
    void TearDown() override
    {
        FormRegistry::unload(expenses::SummaryFormName);
        MainWindowWiringTest::TearDown();
    }

    /** The project PROVA open, with three rows in the summary table. */
    shell::frm_init *openWithRows()
    {
        shell::frm_init *window = openMainWindow();
        engine::VAR_GBL.progetto_corrente
            = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
        engine::VAR_GBL.nome_progetto = QStringLiteral("PROVA");
        platform::Database summary = platform::Database::open(folder.file(QStringLiteral("RIP_SPESE.MDB")));
        const struct
        {
            const char *owner, *description;
            int number;
            double general, building, stair;
        } rows[] = { { "Rossi", "Appartamento", 1, 400.0, 400.0, 500.0 },
            { "Rossi", "Box", 2, 20.0, 20.0, 0.0 }, { "Bianchi", "Appartamento", 3, 580.0, 580.0, 500.0 } };
        for (const auto &row : rows)
            summary.insert(QStringLiteral("TAB_GENERALE"),
                { { QStringLiteral("COD_CONDOMINIO"), QStringLiteral("PROVA") },
                    { QStringLiteral("nome_condomino"), QString::fromUtf8(row.owner) },
                    { QStringLiteral("PAL"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("INTERNO"), row.number },
                    { QStringLiteral("DESCRIZIONE"), QString::fromUtf8(row.description) },
                    { QStringLiteral("millesimi_generali"), row.general },
                    { QStringLiteral("millesimi_palazzina"), row.building },
                    { QStringLiteral("millesimi_scala"), row.stair } });
        return window;
    }

    static QAction *item(shell::frm_init *window, const char *name)
    {
        return window->Opzioni()->findChild<QAction *>(QString::fromLatin1(name));
    }
};

TEST_F(SummaryWiringTest, TheGridsRightButtonPopsTheMenuUpAndItsItemsMerge)
{
    shell::frm_init *window = openWithRows();
    // As another form left them: every item shown.
    for (const char *name : { "sel", "accorpa", "copia", "incolla" })
        item(window, name)->setVisible(true);

    window->Bar_main1()->clickTool(QStringLiteral("tab_riepilogativa"));
    auto *form = FormRegistry::loaded<expenses::frm_rip_spese>(expenses::SummaryFormName);
    ASSERT_NE(form, nullptr);
    ASSERT_NE(window->mdiArea()->activeSubWindow(), nullptr);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), form);
    ASSERT_EQ(form->Data1->recordCount(), 3);

    QTest::mouseRelease(form->TDBGrid1->viewport(), Qt::RightButton, {}, QPoint(30, 12));
    QMenu *menu = window->Opzioni();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->menuAction()->isVisible());
    EXPECT_TRUE(item(window, "sel")->isVisible());
    EXPECT_TRUE(item(window, "accorpa")->isVisible());
    EXPECT_FALSE(item(window, "copia")->isVisible());
    EXPECT_FALSE(item(window, "incolla")->isVisible());
    menu->close();

    // The Box into Rossi's flat.
    form->TDBGrid1->selectBookmark(form->Data1->rowid(1));
    item(window, "sel")->trigger();
    EXPECT_EQ(engine::VAR_GBL.descrizioni_accorpate, QStringLiteral(" + Box"));
    form->Data1->setCurrentRow(0);
    item(window, "accorpa")->trigger();
    EXPECT_EQ(form->Data1->value(0, QStringLiteral("millesimi_generali")), QVariant(420.0));
    EXPECT_EQ(
        form->Data1->value(0, QStringLiteral("DESCRIZIONE")), QVariant(QStringLiteral("Appartamento + Box")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// The summary table with its pop-up menu, as a PNG in the folder named by ZAV_SCREENSHOT_DIR.
TEST_F(SummaryWiringTest, Screenshot)
{
    const QString target = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (target.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    shell::frm_init *window = openWithRows();
    window->resize(1000, 600);
    window->Bar_main1()->clickTool(QStringLiteral("tab_riepilogativa"));
    auto *form = FormRegistry::loaded<expenses::frm_rip_spese>(expenses::SummaryFormName);
    ASSERT_NE(form, nullptr);
    QMdiSubWindow *child = window->mdiArea()->activeSubWindow();
    ASSERT_NE(child, nullptr);
    child->resize(900, 420);
    QCoreApplication::processEvents();
    const QPoint at(120, 40);
    QTest::mouseRelease(form->TDBGrid1->viewport(), Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
    QPixmap sheet = child->grab();
    QPainter painter(&sheet);
    painter.drawPixmap(
        child->mapFromGlobal(form->TDBGrid1->viewport()->mapToGlobal(at)), window->Opzioni()->grab());
    painter.end();
    window->Opzioni()->close();
    ASSERT_TRUE(QDir().mkpath(target));
    EXPECT_TRUE(zav::test::pictureWritten(sheet, target, QStringLiteral("summary-form.png")));
}

} // namespace
} // namespace zav::test
