#include "shell/commands/mainbars.h"

#include "platform/ui/commandbar.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QStyle>
#include <QToolBar>

namespace zav::shell {

namespace {

using platform::CommandBar;

// An icon of the desktop's theme, else one of the style's own.
QIcon icon(const char *themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

struct Tool
{
    const char *key;
    const char *caption;
    const char *toolTip;
    const char *themeIcon;
    QStyle::StandardPixmap fallback;
};

void addTools(CommandBar &bar, const QString &band, std::initializer_list<Tool> tools)
{
    for (const Tool &tool : tools) {
        bar.addTool(band, QString::fromLatin1(tool.key), QString::fromUtf8(tool.caption),
            QString::fromUtf8(tool.toolTip), icon(tool.themeIcon, tool.fallback));
    }
}

void addItem(CommandBar &bar, const char *band, const char *key, const char *caption)
{
    bar.addTool(QString::fromUtf8(band), QString::fromLatin1(key), QString::fromUtf8(caption));
}

void addSubmenu(CommandBar &bar, const char *band, const char *key, const char *caption, const char *menu)
{
    bar.addMenuTool(QString::fromUtf8(band), QString::fromLatin1(key), QString::fromUtf8(caption),
        QString::fromUtf8(menu));
}

void buildMenus(CommandBar &bar)
{
    // Bands 0 to 9, created before they are filled, since items open menus by name.
    bar.addBand(QStringLiteral("MnuBand1"), CommandBar::BandKind::MenuBar);
    for (const char *name : { "Mnu_progetto", "Mnu_archivi", "Mnu_coeff", "Luminosità", "Mnu_calcoli",
             "Mnu_stampa", "Mnu_cad", "Mnu_utility", "Archivi Database" })
        bar.addBand(QString::fromUtf8(name), CommandBar::BandKind::Menu);

    addSubmenu(bar, "MnuBand1", "tProgetto", "Progetto", "Mnu_progetto");
    addSubmenu(bar, "MnuBand1", "tArchivi", "Archivi", "Mnu_archivi");
    addSubmenu(bar, "MnuBand1", "tCalcoli", "Calcoli", "Mnu_calcoli");
    addSubmenu(bar, "MnuBand1", "tStampa", "Stampa", "Mnu_stampa");
    addSubmenu(bar, "MnuBand1", "tCad2", "CAD", "Mnu_cad");
    addSubmenu(bar, "MnuBand1", "tUtility", "Utility", "Mnu_utility");
    addItem(bar, "MnuBand1", "tHelp", "Help");

    addItem(bar, "Mnu_progetto", "apri", "Apri");
    addItem(bar, "Mnu_progetto", "nuovo", "Nuovo");
    addItem(bar, "Mnu_progetto", "chiudi", "Chiudi");
    addItem(bar, "Mnu_progetto", "elimina", "Elimina");
    bar.addSeparator(QStringLiteral("Mnu_progetto"));
    addItem(bar, "Mnu_progetto", "esci", "Esci");

    addItem(bar, "Mnu_archivi", "dati_prg", "Dati Progetto");
    addItem(bar, "Mnu_archivi", "comp_pal", "Composizione palazzine");
    addItem(bar, "Mnu_archivi", "cod_piani", "Codifica piani");
    addItem(bar, "Mnu_archivi", "tabelle", "Tabella");
    addSubmenu(bar, "Mnu_archivi", "", "Coefficienti", "Mnu_coeff");

    addItem(bar, "Mnu_coeff", "coef1", "Piano");
    addItem(bar, "Mnu_coeff", "coef2", "Orientamento");
    addItem(bar, "Mnu_coeff", "coef3", "Esposizione");
    addSubmenu(bar, "Mnu_coeff", "", "Luminosità", "Luminosità");
    addItem(bar, "Mnu_coeff", "coef5", "Utilizzazione");
    addItem(bar, "Mnu_coeff", "coef6", "Globale");
    addItem(bar, "Mnu_coeff", "coef7", "Destinazione");
    addItem(bar, "Mnu_coeff", "coef8", "Libero");

    addItem(bar, "Luminosità", "infissi", "Infissi");
    bar.addSeparator(QStringLiteral("Luminosità"));
    addItem(bar, "Luminosità", "coef4", "Default");

    addItem(bar, "Mnu_calcoli", "option", "Opzioni di calcolo");
    addItem(bar, "Mnu_calcoli", "ins_coeff", "Visualizza Coefficienti / Millesimi");
    bar.addSeparator(QStringLiteral("Mnu_calcoli"));
    addItem(bar, "Mnu_calcoli", "calc_mil", "Calcola Millesimi");
    addItem(bar, "Mnu_calcoli", "ricalcolo", "Ricalcolo Globale Sup. Coeff. Vol.");
    addItem(bar, "Mnu_calcoli", "tab_riepilogativa", "Tab. Riepilogativa Millesimi");
    addItem(bar, "Mnu_calcoli", "spese", "Ripartizione delle Spese");
    bar.addSeparator(QStringLiteral("Mnu_calcoli"));
    addItem(bar, "Mnu_calcoli", "terrazze", "Terrazze");

    addItem(bar, "Mnu_stampa", "stampa_mil", "Stampa Millesimi");
    bar.addSeparator(QStringLiteral("Mnu_stampa"));
    addItem(bar, "Mnu_stampa", "imp_st", "Imposta stampante");

    addItem(bar, "Mnu_cad", "cadon", "Gridal On");
    addItem(bar, "Mnu_cad", "cadoff", "Gridal Off");

    addItem(bar, "Mnu_utility", "utente", "Dati Utente");
    addSubmenu(bar, "Mnu_utility", "", "Gestione Database", "Archivi Database");
    addItem(bar, "Mnu_utility", "password", "Password");
    addItem(bar, "Mnu_utility", "editor", "Editor di Testo");
    addItem(bar, "Mnu_utility", "conv_dati", "Conversione Dati");
    bar.addSeparator(QStringLiteral("Mnu_utility"));
    addItem(bar, "Mnu_utility", "calcolatrice", "Calcolatrice");
    addItem(bar, "Mnu_utility", "prompt", "Prompt Dos");
    addItem(bar, "Mnu_utility", "notepad", "Notepad");
    addItem(bar, "Mnu_utility", "wordpad", "Scrivex");
    addItem(bar, "Mnu_utility", "control", "Pannello di controllo");
    addItem(bar, "Mnu_utility", "Web", "Web Brem");
    bar.addSeparator(QStringLiteral("Mnu_utility"));
    addItem(bar, "Mnu_utility", "about", "Informazioni");

    addItem(bar, "Archivi Database", "cod_piani_db", "Cod. Piani");
    addItem(bar, "Archivi Database", "sup_vol", "Sup. / Coeff. / Vol.");
}

void buildToolBars(CommandBar &bar, QMainWindow *window)
{
    const QString shortcuts = QStringLiteral("tbShortcuts");
    bar.addBand(shortcuts, CommandBar::BandKind::ToolBarGroup, QStringLiteral("Opzioni Progetto"));

    bar.addChildBand(shortcuts, QStringLiteral("tbDatiGen"), QStringLiteral("Opzioni Progetto"));
    addTools(bar, QStringLiteral("tbDatiGen"),
        {
            { "tApri", "Apri Progetto", "", "document-open", QStyle::SP_DialogOpenButton },
            { "tNuovo", "Nuovo Progetto", "", "document-new", QStyle::SP_FileIcon },
            { "tElimina", "Elimina Progetto", "", "edit-delete", QStyle::SP_TrashIcon },
            { "tStampa", "Stampa Dati", "", "document-print", QStyle::SP_FileDialogDetailedView },
            { "tSetup", "Setup Stampante", "", "document-page-setup", QStyle::SP_FileDialogInfoView },
            { "tInfo", "Informazioni Zav", "", "help-about", QStyle::SP_MessageBoxInformation },
            { "esci", "Esci da Zav", "", "application-exit", QStyle::SP_DialogCloseButton },
        });

    bar.addChildBand(shortcuts, QStringLiteral("tbDati"), QStringLiteral("Dati Progetto"));
    addTools(bar, QStringLiteral("tbDati"),
        {
            { "tDatiGen", "Dati Progetto", "", "document-properties", QStyle::SP_FileDialogContentsView },
            { "tCompPal", "Comp. Palazzina", "", "go-home", QStyle::SP_DirHomeIcon },
            { "tCodPiani", "Codifca Piani", "", "view-list", QStyle::SP_FileDialogListView },
            { "tTabella", "Crea Tabella", "", "list-add", QStyle::SP_FileDialogNewFolder },
        });

    bar.addChildBand(shortcuts, QStringLiteral("tbCalcoli"), QStringLiteral("Calcoli"));
    addTools(bar, QStringLiteral("tbCalcoli"),
        {
            { "tOpzioni", "Opzioni di Calcolo", "", "preferences-system", QStyle::SP_ComputerIcon },
            { "tCalcMil", "Calcola Millesimi", "", "accessories-calculator", QStyle::SP_MediaPlay },
            { "tRicalcolo", "Ricalcolo Globale", "", "view-refresh", QStyle::SP_BrowserReload },
            { "tVisualizza", "Vis. Coeff./Millesimi", "", "edit-find", QStyle::SP_FileDialogContentsView },
        });

    bar.addChildBand(shortcuts, QStringLiteral("tbCoefficenti"), QStringLiteral("Coefficenti"));
    addTools(bar, QStringLiteral("tbCoefficenti"),
        {
            { "tPiano", "Piano", "", "go-up", QStyle::SP_ArrowUp },
            { "tOrientamento", "Orietamento", "", "go-next", QStyle::SP_ArrowRight },
            { "tEsposizione", "Esposizione", "", "weather-clear", QStyle::SP_DesktopIcon },
            { "tInfissi", "Infissi", "", "window-new", QStyle::SP_TitleBarNormalButton },
            { "tLuminosita", "Luminosità", "", "display-brightness", QStyle::SP_DialogYesButton },
            { "tUtilizzo", "Utilizzazione", "", "user-home", QStyle::SP_DirHomeIcon },
            { "tGlobale", "Globale", "", "applications-system", QStyle::SP_DriveNetIcon },
            { "tDestinazione", "Destinazione", "", "mark-location", QStyle::SP_DirLinkIcon },
            { "tLibero", "Libero", "", "document-edit", QStyle::SP_FileLinkIcon },
        });

    // The thousandths band goes on a row of its own, below the project toolbars.
    window->addToolBarBreak(Qt::TopToolBarArea);
    const QString band11 = QStringLiteral("tBand");
    bar.addBand(band11, CommandBar::BandKind::ToolBar, QStringLiteral("Opzioni Millesimi"));
    addTools(bar, band11,
        {
            { "tTrova", "Trova", "Lista Condomini", "edit-find", QStyle::SP_FileDialogContentsView },
            { "tRicalcola", "Ricalcola", "Ricalcola Importi", "view-refresh", QStyle::SP_BrowserReload },
            { "tArrotonda", "Arrotonda", "Arrotonda", "format-justify-fill", QStyle::SP_DialogApplyButton },
            { "tCopia", "Copia", "Copia da", "edit-copy", QStyle::SP_FileLinkIcon },
            { "tCad", "CAD", "Gridal", "applications-graphics", QStyle::SP_DesktopIcon },
            { "tCalcolaMil", "Calcola Millesimi", "Calcola Millesimi", "accessories-calculator",
                QStyle::SP_MediaPlay },
            { "tEliminariga", "Elimina Riga", "Elimina Riga", "edit-delete", QStyle::SP_TrashIcon },
            { "tSelTab", "Seleziona Tabella", "Seleziona Tabella", "view-list",
                QStyle::SP_FileDialogListView },
            { "tCalcTab", "Calcola Tabella", "Calcola Millesimi della Tabella", "system-run",
                QStyle::SP_CommandLink },
            { "tCopiaMil", "Copia Millesimi da ...", "Copia Millesimi da -->", "edit-paste",
                QStyle::SP_ArrowForward },
            { "tAzzera", "Azzera colonna tabella", "Azzera la colonna Input", "edit-clear",
                QStyle::SP_DialogResetButton },
            { "tEsciVis", "Chiudi", "Esce dalla Visualizzazione Coefficienti", "window-close",
                QStyle::SP_DialogCloseButton },
        });

    for (const char *name : { "tbDatiGen", "tbDati", "tbCalcoli", "tbCoefficenti", "tBand" })
        bar.toolBar(QString::fromLatin1(name))->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void buildListTools(CommandBar &bar)
{
    // Tools no band shows; those the command table lists are dispatched like the others.
    for (const char *key :
        { "trova", "ric_tot", "arrotonda", "copia_piano", "elimina_riga", "seleziona_tabella", "calc_mil_tab",
            "copia_mil", "azzera", "exit_mil", "RIP_SPESE", "rip_spese" })
        bar.addListTool(QString::fromLatin1(key));
}

} // namespace

void buildMainBars(CommandBar &bar, QMainWindow *window)
{
    buildMenus(bar);
    buildToolBars(bar, window);
    buildListTools(bar);
}

} // namespace zav::shell
