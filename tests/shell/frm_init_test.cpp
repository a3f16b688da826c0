#include "shellformsfixture.h"

#include "platform/commandbar.h"
#include "platform/vb.h"
#include "shell/frm_init.h"
#include "shell/inizio.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <stdexcept>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using platform::FormRegistry;

// The command keys of the main window and whether each works on the open project.
struct Key
{
    const char *key;
    bool project;
};
const Key commandKeys[] = {
    { "apri", false },
    { "tApri", false },
    { "nuovo", false },
    { "tNuovo", false },
    { "chiudi", false },
    { "elimina", false },
    { "tElimina", false },
    { "esci", false },
    { "dati_prg", true },
    { "tDatiGen", true },
    { "comp_pal", true },
    { "tCompPal", true },
    { "cod_piani", true },
    { "tCodPiani", true },
    { "tabelle", true },
    { "tTabella", true },
    { "coef1", false },
    { "coef2", false },
    { "coef3", false },
    { "coef4", false },
    { "coef5", false },
    { "coef6", false },
    { "coef7", false },
    { "coef8", false },
    { "tPiano", false },
    { "tOrientamento", false },
    { "tEsposizione", false },
    { "tLuminosita", false },
    { "tUtilizzo", false },
    { "tGlobale", false },
    { "tDestinazione", false },
    { "tLibero", false },
    { "infissi", false },
    { "tInfissi", false },
    { "option", true },
    { "tOpzioni", true },
    { "ins_coeff", true },
    { "tVisualizza", true },
    { "calc_mil", true },
    { "tCalcMil", true },
    { "tCalcolaMil", true },
    { "ricalcolo", true },
    { "tRicalcolo", true },
    { "tab_riepilogativa", true },
    { "spese", true },
    { "RIP_SPESE", true },
    { "terrazze", true },
    { "stampa_mil", true },
    { "tStampa", true },
    { "cod_piani_db", true },
    { "sup_vol", true },
    { "conv_dati", false },
    { "password", false },
    { "utente", false },
    { "about", false },
    { "tInfo", false },
    { "trova", false },
    { "tTrova", false },
    { "ric_tot", false },
    { "tRicalcola", false },
    { "arrotonda", false },
    { "tArrotonda", false },
    { "copia_piano", false },
    { "tCopia", false },
    { "elimina_riga", false },
    { "tEliminariga", false },
    { "seleziona_tabella", false },
    { "tSelTab", false },
    { "calc_mil_tab", false },
    { "tCalcTab", false },
    { "copia_mil", false },
    { "tCopiaMil", false },
    { "azzera", false },
    { "tAzzera", false },
    { "exit_mil", false },
    { "tEsciVis", false },
    { "cadon", false },
    { "tCad", false },
    { "cadoff", false },
    { "imp_st", false },
    { "tSetup", false },
    { "editor", false },
    { "calcolatrice", false },
    { "prompt", false },
    { "notepad", false },
    { "wordpad", false },
    { "control", false },
    { "Web", false },
    { "tHelp", false },
};
// Keys held only in the tool list: no menu or toolbar shows them.
const QStringList listOnlyKeys = { "trova", "ric_tot", "arrotonda", "copia_piano", "elimina_riga",
    "seleziona_tabella", "calc_mil_tab", "copia_mil", "azzera", "exit_mil", "RIP_SPESE" };

class MainWindowTest : public ShellFormsTest
{
protected:
    shell::frm_init *openMainWindow()
    {
        auto *window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
        window->show();
        return window;
    }

    /** Replaces every command with one that records its key. */
    void recordCommands(shell::frm_init *window)
    {
        for (const Key &k : commandKeys) {
            const QString key = QString::fromLatin1(k.key);
            ASSERT_TRUE(window->setCommandHandler(key, [this, key] { ran.append(key); })) << k.key;
        }
    }

    /** Items of the menu bar, its menus and the toolbars that run a command (not menu openers). */
    static QList<QAction *> commandItems(shell::frm_init *window)
    {
        QList<QAction *> found;
        std::function<void(const QList<QAction *> &)> walk = [&](const QList<QAction *> &actions) {
            for (QAction *action : actions) {
                if (QMenu *menu = QMenu::menuInAction(action))
                    walk(menu->actions());
                else if (!action->isSeparator())
                    found.append(action);
            }
        };
        walk(window->menuBar()->actions());
        for (QToolBar *toolBar : window->findChildren<QToolBar *>())
            walk(toolBar->actions());
        return found;
    }

    static QAction *menuTitle(shell::frm_init *window, const QString &caption)
    {
        for (QAction *action : window->menuBar()->actions()) {
            if (action->text() == caption)
                return action;
        }
        return nullptr;
    }

    QStringList ran;
};

TEST_F(MainWindowTest, LoadStartsWithNoProjectBand11HiddenAndTheCadMenuOff)
{
    VAR_GBL.progetto_corrente = QStringLiteral("/tmp/x.CDB");
    VAR_GBL.sql_unita_corrente = platform::TableQuery { QStringLiteral("ESPRESSIONI"), {}, {} };
    VAR_GBL.elenco_per_terrazze = true;
    auto *login = FormRegistry::form(QStringLiteral("INIZIO"));
    login->show();

    shell::frm_init *window = openMainWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zav Win - 2013 Edition -"));
    EXPECT_FALSE(VAR_GBL.progetto_corrente.has_value());
    EXPECT_FALSE(VAR_GBL.sql_unita_corrente.has_value());
    EXPECT_FALSE(VAR_GBL.elenco_per_terrazze);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("INIZIO")));
    EXPECT_FALSE(login->isVisible());
    EXPECT_EQ(programEnds, 0);

    platform::CommandBar *bar = window->Bar_main1();
    EXPECT_EQ(bar->bandName(11), QStringLiteral("tBand"));
    EXPECT_FALSE(bar->isBandVisible(11));
    EXPECT_FALSE(window->findChild<QToolBar *>(QStringLiteral("tBand"))->isVisible());
    EXPECT_TRUE(bar->isBandVisible(10));
    EXPECT_TRUE(window->findChild<QToolBar *>(QStringLiteral("tbDatiGen"))->isVisible());

    QAction *cad = menuTitle(window, QStringLiteral("CAD"));
    ASSERT_NE(cad, nullptr);
    EXPECT_FALSE(cad->isEnabled());
    EXPECT_FALSE(bar->isToolEnabled(QStringLiteral("tCad2")));
    EXPECT_TRUE(bar->isToolEnabled(QStringLiteral("cadon")));
    EXPECT_EQ(window->statusPanelText(2), QString());
}

TEST_F(MainWindowTest, LoadProbesTheDecimalSeparator)
{
    for (const auto &[separator, point] : { std::pair { u',', false }, std::pair { u'.', true } }) {
        platform::vb::DecimalSeparatorScope scope(separator);
        VAR_GBL.punto_decimale = !point;
        shell::frm_init window;
        EXPECT_EQ(VAR_GBL.punto_decimale, point) << "separator " << char(separator);
    }
}

TEST_F(MainWindowTest, EveryCommandIsReachableFromItsMenuOrToolbarItem)
{
    shell::frm_init *window = openMainWindow();
    recordCommands(window);
    VAR_GBL.progetto_corrente = QStringLiteral("/tmp/PROVA.CDB");
    const QList<QAction *> items = commandItems(window);

    for (const Key &k : commandKeys) {
        const QString key = QString::fromLatin1(k.key);
        if (listOnlyKeys.contains(key))
            continue;
        int shown = 0;
        for (QAction *item : items) {
            if (item->objectName() != key)
                continue;
            ++shown;
            ran.clear();
            item->setEnabled(true); // band 11 tools are switched by the workspace
            item->trigger();
            EXPECT_EQ(ran, QStringList { key }) << "item " << item->text().toStdString();
        }
        EXPECT_GT(shown, 0) << "no item carries " << k.key;
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(MainWindowTest, ListOnlyToolsAreDispatchedLikeTheOthers)
{
    shell::frm_init *window = openMainWindow();
    recordCommands(window);
    VAR_GBL.progetto_corrente = QStringLiteral("/tmp/PROVA.CDB");
    for (const QString &key : listOnlyKeys) {
        for (QAction *item : commandItems(window))
            EXPECT_NE(item->objectName(), key) << "a band shows " << key.toStdString();
        ran.clear();
        window->Bar_main1()->clickTool(key);
        EXPECT_EQ(ran, QStringList { key });
    }
}

TEST_F(MainWindowTest, ProjectCommandsRefuseWithoutAProject)
{
    shell::frm_init *window = openMainWindow();
    recordCommands(window);
    for (const Key &k : commandKeys) {
        const QString key = QString::fromLatin1(k.key);
        ran.clear();
        boxes.clear();
        window->Bar_main1_ToolClick(key);
        if (k.project) {
            EXPECT_TRUE(ran.isEmpty()) << k.key;
            ASSERT_EQ(boxes.shown().size(), 1) << k.key;
            const auto &shown = boxes.shown().first();
            EXPECT_EQ(shown.text, QStringLiteral("Nessun progetto selezionato"));
            EXPECT_EQ(shown.title, QStringLiteral("!!! Zav - Attenzione - !!!"));
            EXPECT_EQ(shown.icon, platform::MsgIcon::Information);
            EXPECT_EQ(shown.buttons, platform::MsgButtons::Ok);
        } else {
            EXPECT_EQ(ran, QStringList { key });
            EXPECT_TRUE(boxes.shown().isEmpty()) << k.key;
        }
    }

    // A project that has been closed again refuses as before.
    VAR_GBL.progetto_corrente = QStringLiteral("/tmp/PROVA.CDB");
    ran.clear();
    window->Bar_main1_ToolClick(QStringLiteral("calc_mil"));
    EXPECT_EQ(ran, QStringList { QStringLiteral("calc_mil") });
    VAR_GBL.progetto_corrente.reset();
    boxes.clear();
    window->Bar_main1_ToolClick(QStringLiteral("calc_mil"));
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });
}

TEST_F(MainWindowTest, KeysAreCaseSensitiveAndMenuOpenersRunNothing)
{
    shell::frm_init *window = openMainWindow();
    recordCommands(window);
    VAR_GBL.progetto_corrente = QStringLiteral("/tmp/PROVA.CDB");

    // `rip_spese` is no command; `RIP_SPESE` is.
    EXPECT_FALSE(window->setCommandHandler(QStringLiteral("rip_spese"), [this] { ran.append("rip_spese"); }));
    window->Bar_main1()->clickTool(QStringLiteral("rip_spese"));
    window->Bar_main1_ToolClick(QStringLiteral("Apri"));
    window->Bar_main1_ToolClick(QStringLiteral("tProgetto"));
    EXPECT_TRUE(ran.isEmpty());

    // The menu title "Stampa" carries the key of "Stampa Dati" but only opens its menu.
    QAction *stampa = menuTitle(window, QStringLiteral("Stampa"));
    ASSERT_NE(stampa, nullptr);
    EXPECT_EQ(stampa->objectName(), QStringLiteral("tStampa"));
    stampa->trigger();
    for (const char *title : { "Progetto", "Archivi", "Calcoli", "Utility" })
        menuTitle(window, QString::fromLatin1(title))->trigger();
    EXPECT_TRUE(ran.isEmpty());
    window->Bar_main1()->clickTool(QStringLiteral("tStampa"));
    EXPECT_EQ(ran, QStringList { QStringLiteral("tStampa") });
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(MainWindowTest, EsciFromTheMenuOrTheToolbarEndsTheProgram)
{
    for (const char *band : { "Mnu_progetto", "tbDatiGen" }) {
        SCOPED_TRACE(band);
        programEnds = 0;
        shell::frm_init *window = openMainWindow();
        QAction *esci = nullptr;
        for (QAction *item : window->Bar_main1()->tools(QStringLiteral("esci"))) {
            for (QObject *holder : item->associatedObjects()) {
                if (holder->objectName() == QLatin1String(band))
                    esci = item;
            }
        }
        ASSERT_NE(esci, nullptr);
        esci->trigger();
        EXPECT_EQ(programEnds, 1);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_init")));
        processDeletes();
    }
}

TEST_F(MainWindowTest, AFailingCommandDoesNotEscapeTheDispatcher)
{
    shell::frm_init *window = openMainWindow();
    window->setCommandHandler(QStringLiteral("about"), [] { throw std::runtime_error("form not loaded"); });
    EXPECT_NO_THROW(window->Bar_main1()->clickTool(QStringLiteral("about")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(MainWindowTest, PopupMenuHoldsItsItemsAndRunsTheirHandlers)
{
    shell::frm_init *window = openMainWindow();
    QStringList captions;
    for (QAction *action : window->Opzioni()->actions()) {
        if (!action->isSeparator() && action->isEnabled())
            captions.append(action->text());
    }
    EXPECT_EQ(captions, (QStringList { "Seleziona", "Accorpa", "Copia", "Incolla" }));
    EXPECT_FALSE(window->setPopupHandler(QStringLiteral("menu"), [] {}));
    EXPECT_TRUE(window->setPopupHandler(QStringLiteral("accorpa"), [this] { ran.append("accorpa"); }));
    for (QAction *action : window->Opzioni()->actions()) {
        if (action->objectName() == QLatin1String("accorpa") || action->objectName() == QLatin1String("sel"))
            action->trigger();
    }
    EXPECT_EQ(ran, QStringList { QStringLiteral("accorpa") });
}

TEST_F(MainWindowTest, ChildFormsLiveInTheMdiAreaOnceAndLeaveWithTheirForm)
{
    shell::frm_init *window = openMainWindow();
    auto *form = new QWidget;
    form->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *first = window->showChild(form);
    EXPECT_EQ(window->showChild(form), first);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(form->isVisible());

    form->close();
    processDeletes();
    processDeletes();
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
}

} // namespace
} // namespace zav::test
