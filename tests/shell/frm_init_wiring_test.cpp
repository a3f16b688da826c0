#include "shellformsfixture.h"

#include "engine/var_gbl.h"
#include "expenses/expensesforms.h"
#include "platform/db.h"
#include "platform/ui/commandbar.h"
#include "shell/forms/about.h"
#include "shell/forms/frm_init.h"
#include "support/cadautomationrecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

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

// "Gridal On" hands the CAD program the window of the open workspace's hidden text box.
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

    // No workspace open: the window is started but no text box is handed over.
    window->Bar_main1_ToolClick(QStringLiteral("cadon"));
    EXPECT_TRUE(handles().isEmpty());
    window->Bar_main1_ToolClick(QStringLiteral("cadoff"));

    QWidget *form = FormRegistry::form(workspace);
    ASSERT_NE(form, nullptr);
    auto *txtole = form->findChild<QLineEdit *>(QStringLiteral("txtole"));
    cad.clearCalls();
    window->Bar_main1_ToolClick(QStringLiteral("tCad"));
    EXPECT_EQ(handles(), QVariantList { qint32(txtole->winId()) });
    EXPECT_TRUE(boxes.shown().isEmpty());

    window->Bar_main1_ToolClick(QStringLiteral("cadoff")); // before the recorder goes
    FormRegistry::unload(workspace);
    FormRegistry::setFactory(workspace, {});
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
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    platform::Database::open(*engine::VAR_GBL.progetto_corrente)
        .insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("SIGLA"), QStringLiteral("1") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("D'Amico \"Nino\"") },
                { QStringLiteral("HPIANO"), 3.0 }, { QStringLiteral("INTERNO"), 4 } });
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
    engine::VAR_GBL.progetto_corrente
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    platform::Database::open(*engine::VAR_GBL.progetto_corrente)
        .insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("SIGLA"), QStringLiteral("1") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") },
                { QStringLiteral("HPIANO"), 3.0 }, { QStringLiteral("INTERNO"), 4 } });
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

} // namespace
} // namespace zav::test
