#include "shellformsfixture.h"

#include "platform/db.h"
#include "platform/ui/commandbar.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "shell/commands/commandtable.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/inizio.h"
#include "terraces/frm_terrazze.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>
#include <tuple>

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

// The caption as the user reads it, without the mark of its mnemonic ("&Apri" reads "Apri").
QString caption(const QAction *action)
{
    static const QRegularExpression mark(QStringLiteral("&(.)"));
    return QString(action->text()).replace(mark, QStringLiteral("\\1"));
}

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

    static QAction *menuTitle(shell::frm_init *window, const QString &title)
    {
        for (QAction *action : window->menuBar()->actions()) {
            if (caption(action) == title)
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

// One band's tools as "caption (key)", "caption > menu" for an item that opens a menu, "|" for a
// separator; with tooltips, "caption (key) [tooltip]".
QStringList describe(const QList<QAction *> &actions, bool withToolTips = false)
{
    QStringList tools;
    for (QAction *action : actions) {
        if (action->isSeparator()) {
            tools << QStringLiteral("|");
            continue;
        }
        QString tool = caption(action);
        if (!action->objectName().isEmpty())
            tool += QStringLiteral(" (%1)").arg(action->objectName());
        if (QMenu *menu = QMenu::menuInAction(action))
            tool += QStringLiteral(" > ") + menu->objectName();
        if (withToolTips)
            tool += QStringLiteral(" [%1]").arg(action->toolTip());
        tools << tool;
    }
    return tools;
}

TEST_F(MainWindowTest, BandsHoldTheirToolsInOrder)
{
    shell::frm_init *window = openMainWindow();
    platform::CommandBar *bar = window->Bar_main1();
    const QStringList bandNames = { "MnuBand1", "Mnu_progetto", "Mnu_archivi", "Mnu_coeff", "Luminosità",
        "Mnu_calcoli", "Mnu_stampa", "Mnu_cad", "Mnu_utility", "Archivi Database", "tbShortcuts", "tBand" };
    ASSERT_EQ(bar->bandCount(), bandNames.size());
    for (int i = 0; i < bandNames.size(); ++i)
        EXPECT_EQ(bar->bandName(i), bandNames[i]) << "band " << i;

    const QList<std::pair<QString, QStringList>> menus = {
        { "MnuBand1",
            { "Progetto (tProgetto) > Mnu_progetto", "Archivi (tArchivi) > Mnu_archivi",
                "Calcoli (tCalcoli) > Mnu_calcoli", "Stampa (tStampa) > Mnu_stampa", "CAD (tCad2) > Mnu_cad",
                "Utility (tUtility) > Mnu_utility", "Help (tHelp)" } },
        { "Mnu_progetto",
            { "Apri (apri)", "Nuovo (nuovo)", "Chiudi (chiudi)", "Elimina (elimina)", "|", "Esci (esci)" } },
        { "Mnu_archivi",
            { "Dati Progetto (dati_prg)", "Composizione palazzine (comp_pal)", "Codifica piani (cod_piani)",
                "Tabella (tabelle)", "Coefficienti > Mnu_coeff" } },
        { "Mnu_coeff",
            { "Piano (coef1)", "Orientamento (coef2)", "Esposizione (coef3)", "Luminosità > Luminosità",
                "Utilizzazione (coef5)", "Globale (coef6)", "Destinazione (coef7)", "Libero (coef8)" } },
        { "Luminosità", { "Infissi (infissi)", "|", "Default (coef4)" } },
        { "Mnu_calcoli",
            { "Opzioni di calcolo (option)", "Visualizza Coefficienti / Millesimi (ins_coeff)", "|",
                "Calcola Millesimi (calc_mil)", "Ricalcolo Globale Sup. Coeff. Vol. (ricalcolo)",
                "Tab. Riepilogativa Millesimi (tab_riepilogativa)", "Ripartizione delle Spese (spese)", "|",
                "Terrazze (terrazze)" } },
        { "Mnu_stampa", { "Stampa Millesimi (stampa_mil)", "|", "Imposta stampante (imp_st)" } },
        { "Mnu_cad", { "Gridal On (cadon)", "Gridal Off (cadoff)" } },
        { "Mnu_utility",
            { "Dati Utente (utente)", "Gestione Database > Archivi Database", "Password (password)",
                "Editor di Testo (editor)", "Conversione Dati (conv_dati)", "|",
                "Calcolatrice (calcolatrice)", "Prompt Dos (prompt)", "Notepad (notepad)",
                "Scrivex (wordpad)", "Pannello di controllo (control)", "Web Brem (Web)", "|",
                "Informazioni (about)" } },
        { "Archivi Database", { "Cod. Piani (cod_piani_db)", "Sup. / Coeff. / Vol. (sup_vol)" } },
    };
    EXPECT_EQ(describe(window->menuBar()->actions()), menus.first().second);
    for (qsizetype i = 1; i < menus.size(); ++i)
        EXPECT_EQ(describe(bar->menu(menus[i].first)->actions()), menus[i].second)
            << menus[i].first.toStdString();

    const QList<std::tuple<QString, QString, QStringList>> toolBars = {
        { "tbDatiGen", "Opzioni Progetto",
            { "Apri Progetto (tApri)", "Nuovo Progetto (tNuovo)", "Elimina Progetto (tElimina)",
                "Stampa Dati (tStampa)", "Setup Stampante (tSetup)", "Informazioni Zav (tInfo)",
                "Esci da Zav (esci)" } },
        { "tbDati", "Dati Progetto",
            { "Dati Progetto (tDatiGen)", "Comp. Palazzina (tCompPal)", "Codifca Piani (tCodPiani)",
                "Crea Tabella (tTabella)" } },
        { "tbCalcoli", "Calcoli",
            { "Opzioni di Calcolo (tOpzioni)", "Calcola Millesimi (tCalcMil)",
                "Ricalcolo Globale (tRicalcolo)", "Vis. Coeff./Millesimi (tVisualizza)" } },
        { "tbCoefficenti", "Coefficenti",
            { "Piano (tPiano)", "Orietamento (tOrientamento)", "Esposizione (tEsposizione)",
                "Infissi (tInfissi)", "Luminosità (tLuminosita)", "Utilizzazione (tUtilizzo)",
                "Globale (tGlobale)", "Destinazione (tDestinazione)", "Libero (tLibero)" } },
    };
    for (const auto &[name, caption, tools] : toolBars) {
        QToolBar *toolBar = bar->toolBar(name);
        ASSERT_NE(toolBar, nullptr) << name.toStdString();
        EXPECT_EQ(toolBar->windowTitle(), caption);
        EXPECT_EQ(describe(toolBar->actions()), tools) << name.toStdString();
    }

    QToolBar *band11 = bar->toolBar(QStringLiteral("tBand"));
    ASSERT_NE(band11, nullptr);
    EXPECT_EQ(band11->windowTitle(), QStringLiteral("Opzioni Millesimi"));
    EXPECT_EQ(describe(band11->actions(), true),
        (QStringList { "Trova (tTrova) [Lista Condomini]", "Ricalcola (tRicalcola) [Ricalcola Importi]",
            "Arrotonda (tArrotonda) [Arrotonda]", "Copia (tCopia) [Copia da]", "CAD (tCad) [Gridal]",
            "Calcola Millesimi (tCalcolaMil) [Calcola Millesimi]",
            "Elimina Riga (tEliminariga) [Elimina Riga]", "Seleziona Tabella (tSelTab) [Seleziona Tabella]",
            "Calcola Tabella (tCalcTab) [Calcola Millesimi della Tabella]",
            "Copia Millesimi da ... (tCopiaMil) [Copia Millesimi da -->]",
            "Azzera colonna tabella (tAzzera) [Azzera la colonna Input]",
            "Chiudi (tEsciVis) [Esce dalla Visualizzazione Coefficienti]" }));
}

TEST_F(MainWindowTest, KnowsTheDecimalSeparator)
{
    for (const auto &[separator, point] : { std::pair { u',', false }, std::pair { u'.', true } }) {
        platform::vb::DecimalSeparatorScope scope(separator);
        shell::frm_init window;
        EXPECT_EQ(VAR_GBL.punto_decimale(), point) << "separator " << char(separator);
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
            captions.append(caption(action));
    }
    EXPECT_EQ(captions, (QStringList { "Seleziona", "Accorpa", "Copia", "Incolla" }));
    // The subsystems that pop the menu up register the items' handlers under the items' names;
    // the menu's title runs nothing.
    using platform::CommandRegistry;
    CommandRegistry::setHandler(QStringLiteral("menu"), [this] { ran.append("menu"); });
    CommandRegistry::setHandler(QStringLiteral("accorpa"), [this] { ran.append("accorpa"); });
    for (QAction *action : window->Opzioni()->actions())
        action->trigger();
    CommandRegistry::setHandler(QStringLiteral("menu"), {});
    CommandRegistry::setHandler(QStringLiteral("accorpa"), {});
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

// A form whose grid area has no size hint of its own (the expense apportionment) opened as a thin
// strip: its child frame now keeps the size the form gave itself, within the main window.
TEST_F(MainWindowTest, ChildFormOpensAtItsOwnSizeNotAsAStrip)
{
    shell::frm_init *window = openMainWindow();
    window->resize(1024, 720);
    auto *form = new QWidget;
    auto *layout = new QVBoxLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Titolo"), form));
    layout->addWidget(new QWidget(form), 1);
    layout->addWidget(new QPushButton(QStringLiteral("Chiudi"), form));
    form->resize(600, 400);
    window->showChild(form);
    EXPECT_GE(form->height(), 400);
    EXPECT_GE(form->width(), 600);

    auto *big = new QWidget;
    big->resize(1500, 1200);
    QMdiSubWindow *frame = window->showChild(big);
    const QSize area = window->mdiArea()->viewport()->size();
    EXPECT_LE(frame->width(), area.width());
    EXPECT_LE(frame->height(), area.height());
}

// The main window opens over the whole screen the first time, so that the workspace's tabs and the
// register's columns have room; afterwards as it was when it was closed.
TEST_F(MainWindowTest, OpensMaximisedThenAsItWasLastClosed)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto mdiArea = [](shell::frm_init *window) {
        return QRect(window->mdiArea()->mapToGlobal(QPoint()), window->mdiArea()->size());
    };
    const auto reopen = [&] {
        FormRegistry::unload(QStringLiteral("frm_init"));
        processDeletes();
        shell::frm_init *window = openMainWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window;
    };

    shell::frm_init *window = openMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(screen.contains(mdiArea(window)));
    EXPECT_EQ(window->frameGeometry().size(), screen.size());

    // Closed at a size of the user's: it opens at that size, in that place.
    window->showNormal();
    const QRect chosen(screen.topLeft() + QPoint(40, 30), QSize(640, 420));
    window->setGeometry(chosen);
    QTest::qWait(20);
    window->close();
    window = reopen();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->geometry(), chosen);
    EXPECT_TRUE(screen.contains(mdiArea(window)));

    // Closed maximised: it opens maximised.
    window->showMaximized();
    QTest::qWait(20);
    window->close();
    window = reopen();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->frameGeometry().size(), screen.size());
}

// "Terrazze" opens over the main window's workspace and within it, and stays within it when its
// frames open side by side; its room grid scrolls rather than the window growing.
TEST_F(MainWindowTest, TerrazzeOpensWithinTheWorkspaceAndItsGridScrolls)
{
    const QString archive
        = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
    const QString terraces
        = folder.copyOf(QStringLiteral("TERRAZZE.CLO"), QStringLiteral("ARCHIVI/PROVA.TER"));
    {
        platform::Database project = platform::Database::open(archive);
        project.insert(QStringLiteral("ANA_CONDO"), { { "NOME", "Condominio" }, { "NUM_PAL", 1 } });
        project.insert(QStringLiteral("COMPOS_PAL"), { { "NUM_PAL", 1 }, { "NUM_SCALE", 1 } });
        platform::Database archiveOfTerraces = platform::Database::open(terraces);
        archiveOfTerraces.insert(
            QStringLiteral("CODICE"), { { "CODICE", "T1" }, { "DESCRIZIONE", "Terrazzi" } });
        for (int i = 1; i <= 3; ++i) {
            const QString owner = QStringLiteral("Condomino dal nome piuttosto lungo %1").arg(i);
            project.insert(QStringLiteral("CODIF_PIANI"),
                { { "PROPRIETARIO", owner }, { "NUM_PAL", 1 }, { "SCALA", "A" }, { "SIGLA", "1" },
                    { "INTERNO", i } });
            archiveOfTerraces.insert(QStringLiteral("ELENCO"),
                { { "PROPRIETARIO", owner }, { "NUM_PAL", 1 }, { "SCALA", "A" }, { "SIGLA", "1" },
                    { "INTERNO", i }, { "COD_TERRAZZE", "T1" }, { "DESCRIZIONE_TER", "Terrazzi" } });
            archiveOfTerraces.insert(QStringLiteral("SUP_COEFF_VOL"),
                { { "CODICE", "T1" }, { "NOME_CONDOMINO", owner }, { "PALAZ", 1 }, { "SCALA", "A" },
                    { "INTERNO", i }, { "DESCRIZ_VANO", "Terrazzo" }, { "ESPRESSIONE", "4*5" } });
        }
    }
    shell::frm_init *window = openMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    VAR_GBL.progetto_corrente = archive;
    VAR_GBL.nome_progetto = QStringLiteral("PROVA");
    VAR_GBL.archivio_terrazze = terraces;
    const QRect workspace(window->mdiArea()->mapToGlobal(QPoint()), window->mdiArea()->size());
    bool driven = false;
    const platform::ModalDriverScope driver([&](QWidget *shown) {
        auto *form = qobject_cast<terraces::frm_terrazze *>(shown);
        ASSERT_NE(form, nullptr);
        driven = true;
        const auto expectWithin = [&](const char *when) {
            QApplication::processEvents();
            EXPECT_TRUE(workspace.contains(form->frameGeometry()))
                << when << ": " << form->frameGeometry().width() << "x" << form->frameGeometry().height()
                << " in " << workspace.width() << "x" << workspace.height();
        };
        expectWithin("opened");
        form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        form->Command1_Click(9); // the list-building frame
        form->Command1_Click(2); // the unit list beside it
        expectWithin("both frames open");
        form->Data5->setCurrentRow(0);
        form->Command4_Click(); // "Trova"
        form->TabStrip1->setCurrentIndex(1); // "Coefficienti": many columns
        expectWithin("coefficients shown");
        QApplication::processEvents();
        EXPECT_GT(form->TDBGrid1->horizontalScrollBar()->maximum(), 0);
        form->close();
    });
    window->Bar_main1_ToolClick(QStringLiteral("terrazze"));
    EXPECT_TRUE(driven);
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.messages().join(u'|').toStdString();
}

// Keyboard access: every menu title and menu item has a mnemonic, and no two items of one menu
// share theirs.
TEST_F(MainWindowTest, EveryMenuAndMenuItemHasAMnemonicOfItsOwn)
{
    shell::frm_init *window = openMainWindow();
    platform::CommandBar *bar = window->Bar_main1();
    QList<std::pair<QString, QList<QAction *>>> menus = { { "MnuBand1", window->menuBar()->actions() } };
    for (int band = 1; band <= 9; ++band)
        menus.append({ bar->bandName(band), bar->menu(bar->bandName(band))->actions() });
    QList<QAction *> popupItems = window->Opzioni()->actions();
    popupItems.removeIf([](const QAction *action) { return !action->isEnabled(); }); // its title
    menus.append({ QStringLiteral("Opzioni"), popupItems });

    for (const auto &[menu, actions] : menus) {
        QStringList mnemonics;
        for (const QAction *action : actions) {
            if (action->isSeparator())
                continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
            EXPECT_FALSE(mnemonic.isEmpty()) << menu.toStdString() << ": " << caption(action).toStdString();
            EXPECT_FALSE(mnemonics.contains(mnemonic.toString()))
                << menu.toStdString() << ": " << caption(action).toStdString() << " repeats "
                << mnemonic.toString().toStdString();
            mnemonics.append(mnemonic.toString());
        }
    }
}

TEST_F(MainWindowTest, AltAndALetterOpenAMenuAndRunItsItems)
{
    shell::frm_init *window = openMainWindow();
    recordCommands(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QTest::keyClick(window, Qt::Key_P, Qt::AltModifier);
    QMenu *progetto = window->Bar_main1()->menu(QStringLiteral("Mnu_progetto"));
    ASSERT_TRUE(progetto->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), progetto);

    QTest::keyClick(progetto, Qt::Key_N); // "Nuovo"
    EXPECT_EQ(ran, QStringList { QStringLiteral("nuovo") });
    EXPECT_FALSE(progetto->isVisible());

    // "Help" is a command of the menu bar itself: its letter runs it.
    QTest::keyClick(window, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(ran, (QStringList { "nuovo", "tHelp" }));
}

// Only the program shows and hides bands: the right-click menu of the toolbar area offers no
// switch for them, so band 11 stays hidden until the workspace shows it.
TEST_F(MainWindowTest, TheToolbarAreaOffersNoSwitchForTheBands)
{
    shell::frm_init *window = openMainWindow();
    platform::CommandBar *bar = window->Bar_main1();
    const std::unique_ptr<QMenu> offered(window->createPopupMenu());
    if (offered) {
        for (const QAction *action : offered->actions())
            EXPECT_FALSE(action->isVisible()) << caption(action).toStdString();
    }

    // A menu that came up on the right click would be noted and closed at once.
    QStringList shown;
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            for (const QAction *action : popup->actions())
                shown << caption(action);
            popup->close();
        }
    });
    for (const char *name : { "tbDatiGen", "tbCoefficenti" }) {
        QToolBar *toolBar = bar->toolBar(QString::fromLatin1(name));
        closer.start(0);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), toolBar->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(toolBar, &click);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral(", ")).toStdString();
    EXPECT_FALSE(bar->isBandVisible(shell::frm_init::ThousandthsBand));
    EXPECT_FALSE(bar->toolBar(QStringLiteral("tBand"))->isVisible());
    EXPECT_TRUE(bar->isBandVisible(10));
}

// The rows whose recipes belong to the folders below the shell (the unit workspace, the default
// coefficient tables) run what those folders register under one of the row's keys; the project
// test still comes first. A row with the shell's own recipe keeps it.
TEST_F(MainWindowTest, FoldersBelowTheShellServeTheirRowsByKey)
{
    using platform::CommandRegistry;
    shell::frm_init *window = openMainWindow();
    for (const char *key : { "trova", "tTrova", "exit_mil", "coef1", "tLuminosita", "ins_coeff" })
        EXPECT_FALSE(shell::CommandTable::find(QString::fromLatin1(key))->handler) << key;
    for (const char *key : { "apri", "calc_mil", "tCalcolaMil", "about", "infissi", "spese" })
        EXPECT_TRUE(shell::CommandTable::find(QString::fromLatin1(key))->handler) << key;

    // Stand-ins in place of whatever the folders registered at start-up.
    for (const char *key : { "trova", "tTrova", "ins_coeff", "tVisualizza" })
        CommandRegistry::setHandler(QString::fromLatin1(key), {});
    CommandRegistry::setHandler(QStringLiteral("trova"), [this] { ran.append("trova"); });
    CommandRegistry::setHandler(QStringLiteral("tVisualizza"), [this] { ran.append("tVisualizza"); });
    CommandRegistry::setHandler(QStringLiteral("about"), [this] { ran.append("about"); });
    window->Bar_main1()->clickTool(QStringLiteral("tTrova"));
    window->Bar_main1()->clickTool(QStringLiteral("trova"));
    window->Bar_main1_ToolClick(QStringLiteral("ins_coeff"));
    EXPECT_EQ(ran, (QStringList { "trova", "trova" }));
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });

    VAR_GBL.progetto_corrente = QStringLiteral("/tmp/PROVA.CDB");
    window->Bar_main1_ToolClick(QStringLiteral("ins_coeff"));
    window->Bar_main1_ToolClick(QStringLiteral("about"));
    for (const char *key : { "trova", "tVisualizza", "about" })
        CommandRegistry::setHandler(QString::fromLatin1(key), {});
    EXPECT_EQ(ran, (QStringList { "trova", "trova", "tVisualizza" }));
    ASSERT_NE(window->utilityCommands().about(), nullptr);
    window->utilityCommands().about()->close();
}

} // namespace
} // namespace zav::test
