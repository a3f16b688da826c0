#include "shell/commands/commandtable.h"

#include "engine/var_gbl.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/formregistry.h"
#include "printing/printingforms.h"
#include "shell/commands/commandhost.h"
#include "shell/commands/projectcommands.h"
#include "shell/commands/utilitycommands.h"
#include "shell/forms/shellforms.h"
#include "tables/tablecommands.h"

namespace zav::shell {

namespace {

using Handler = CommandRow::Handler;
using platform::FormRegistry;

constexpr bool NeedsProject = true;
constexpr bool Anytime = false;

/** A key held only in the tool list. */
CommandKey listed(const char *key)
{
    CommandKey k;
    k.key = QString::fromLatin1(key);
    return k;
}

/** A menu item; with `line`, a separator goes above it. */
CommandKey item(Band band, const char *key, const char *caption, bool line = false)
{
    CommandKey k = listed(key);
    k.band = band;
    k.caption = QString::fromUtf8(caption);
    k.separatorBefore = line;
    return k;
}

CommandKey itemAfterLine(Band band, const char *key, const char *caption)
{
    return item(band, key, caption, true);
}

/** A toolbar tool at its place on the toolbar. */
CommandKey tool(
    Band band, int position, const char *key, const char *caption, ToolIcon icon, const char *toolTip = "")
{
    CommandKey k = item(band, key, caption);
    k.position = position;
    k.toolTip = QString::fromUtf8(toolTip);
    k.icon = icon;
    return k;
}

Handler showModal(const QString &form)
{
    return [form](CommandHost &, const QString &) { FormRegistry::showModal(form); };
}

Handler showModeless(const QString &form)
{
    return [form](CommandHost &, const QString &) { FormRegistry::showModeless(form); };
}

/** A form shown modeless as a child window of the main window. */
Handler showAsChild(const QString &form)
{
    return [form](CommandHost &host, const QString &) { host.showChild(FormRegistry::form(form)); };
}

/** A recipe that needs the window only. */
Handler onHost(void (*recipe)(CommandHost &))
{
    return [recipe](CommandHost &host, const QString &) { recipe(host); };
}

/** A recipe of the utility commands. */
Handler onUtility(void (UtilityCommands::*recipe)())
{
    return [recipe](CommandHost &host, const QString &) { (host.utilityCommands().*recipe)(); };
}

/** A recipe that needs the clicked key only. */
Handler onKey(void (*recipe)(const QString &key))
{
    return [recipe](CommandHost &, const QString &key) { recipe(key); };
}

/** A recipe that needs nothing. */
Handler plain(void (*recipe)())
{
    return [recipe](CommandHost &, const QString &) { recipe(); };
}

/** Served by a subsystem below the shell (platform::CommandRegistry). */
const Handler plugged;

} // namespace

QStringList CommandRow::keyNames() const
{
    QStringList names;
    for (const CommandKey &k : keys)
        names.append(k.key);
    return names;
}

void CommandRow::run(CommandHost &host, const QString &key) const
{
    if (handler) {
        handler(host, key);
        return;
    }
    if (const platform::CommandRegistry::Handler registered = platform::CommandRegistry::handler(keyNames()))
        registered();
}

const QList<CommandRow> &CommandTable::rows()
{
    using B = Band;
    using S = QStyle;
    // Menu items take the order of the rows; an item that opens a menu goes in before the first
    // item of its menu. Toolbar tools carry their place, since the toolbars group the commands
    // otherwise than the menus.
    static const QList<CommandRow> table = {
        // Menu "Progetto"
        { { item(B::Mnu_progetto, "apri", "&Apri"),
              tool(B::tbDatiGen, 1, "tApri", "Apri Progetto", { "document-open", S::SP_DialogOpenButton }) },
            Anytime, showModeless(FormName::frm_file) },
        { { item(B::Mnu_progetto, "nuovo", "&Nuovo"),
              tool(B::tbDatiGen, 2, "tNuovo", "Nuovo Progetto", { "document-new", S::SP_FileIcon }) },
            Anytime, plain(&ProjectCommands::nuovo) },
        { { item(B::Mnu_progetto, "chiudi", "&Chiudi") }, Anytime, onHost(&ProjectCommands::chiudi) },
        { { item(B::Mnu_progetto, "elimina", "&Elimina"),
              tool(B::tbDatiGen, 3, "tElimina", "Elimina Progetto", { "edit-delete", S::SP_TrashIcon }) },
            Anytime, showModeless(FormName::frm_file) },
        { { itemAfterLine(B::Mnu_progetto, "esci", "E&sci"),
              tool(B::tbDatiGen, 7, "esci", "Esci da Zav", { "application-exit", S::SP_DialogCloseButton }) },
            Anytime, [](CommandHost &host, const QString &) { host.esci(); } },

        // Menu "Archivi"
        { { item(B::Mnu_archivi, "dati_prg", "&Dati Progetto"),
              tool(B::tbDati, 1, "tDatiGen", "Dati Progetto",
                  { "document-properties", S::SP_FileDialogContentsView }) },
            NeedsProject, showModal(FormName::frm_datiprg) },
        { { item(B::Mnu_archivi, "comp_pal", "&Composizione palazzine"),
              tool(B::tbDati, 2, "tCompPal", "Comp. Palazzina", { "go-home", S::SP_DirHomeIcon }) },
            NeedsProject, plain(&ProjectCommands::comp_pal) },
        { { item(B::Mnu_archivi, "cod_piani", "C&odifica piani"),
              tool(B::tbDati, 3, "tCodPiani", "Codifca Piani", { "view-list", S::SP_FileDialogListView }) },
            NeedsProject, onHost(&ProjectCommands::cod_piani) },
        { { item(B::Mnu_archivi, "tabelle", "&Tabella"),
              tool(B::tbDati, 4, "tTabella", "Crea Tabella", { "list-add", S::SP_FileDialogNewFolder }) },
            NeedsProject, showModeless(FormName::frm_tabelle) },

        // Menu "Coefficienti" and its menu "Luminosità": the default coefficient tables, prepared
        // by the coefficient table form's folder.
        { { item(B::Mnu_coeff, "coef1", "&Piano"),
              tool(B::tbCoefficenti, 1, "tPiano", "Piano", { "go-up", S::SP_ArrowUp }) },
            Anytime, plugged },
        { { item(B::Mnu_coeff, "coef2", "&Orientamento"),
              tool(B::tbCoefficenti, 2, "tOrientamento", "Orietamento", { "go-next", S::SP_ArrowRight }) },
            Anytime, plugged },
        { { item(B::Mnu_coeff, "coef3", "&Esposizione"),
              tool(B::tbCoefficenti, 3, "tEsposizione", "Esposizione",
                  { "weather-clear", S::SP_DesktopIcon }) },
            Anytime, plugged },
        { { item(B::Luminosita, "infissi", "&Infissi"),
              tool(
                  B::tbCoefficenti, 4, "tInfissi", "Infissi", { "window-new", S::SP_TitleBarNormalButton }) },
            Anytime, [](CommandHost &host, const QString &) { host.showChild(tables::infissi()); } },
        { { itemAfterLine(B::Luminosita, "coef4", "&Default"),
              tool(B::tbCoefficenti, 5, "tLuminosita", "Luminosità",
                  { "display-brightness", S::SP_DialogYesButton }) },
            Anytime, plugged },
        { { item(B::Mnu_coeff, "coef5", "&Utilizzazione"),
              tool(B::tbCoefficenti, 6, "tUtilizzo", "Utilizzazione", { "user-home", S::SP_DirHomeIcon }) },
            Anytime, plugged },
        { { item(B::Mnu_coeff, "coef6", "&Globale"),
              tool(B::tbCoefficenti, 7, "tGlobale", "Globale",
                  { "applications-system", S::SP_DriveNetIcon }) },
            Anytime, plugged },
        { { item(B::Mnu_coeff, "coef7", "&Destinazione"),
              tool(B::tbCoefficenti, 8, "tDestinazione", "Destinazione",
                  { "mark-location", S::SP_DirLinkIcon }) },
            Anytime, plugged },
        { { item(B::Mnu_coeff, "coef8", "L&ibero"),
              tool(B::tbCoefficenti, 9, "tLibero", "Libero", { "document-edit", S::SP_FileLinkIcon }) },
            Anytime, plugged },

        // Menu "Calcoli"
        { { item(B::Mnu_calcoli, "option", "&Opzioni di calcolo"),
              tool(B::tbCalcoli, 1, "tOpzioni", "Opzioni di Calcolo",
                  { "preferences-system", S::SP_ComputerIcon }) },
            NeedsProject, showModal(FormName::frm_opt) },
        // Opening the unit workspace on the first unit belongs to the workspace's folder.
        { { item(B::Mnu_calcoli, "ins_coeff", "&Visualizza Coefficienti / Millesimi"),
              tool(B::tbCalcoli, 4, "tVisualizza", "Vis. Coeff./Millesimi",
                  { "edit-find", S::SP_FileDialogContentsView }) },
            NeedsProject, plugged },
        { { itemAfterLine(B::Mnu_calcoli, "calc_mil", "&Calcola Millesimi"),
              tool(B::tbCalcoli, 2, "tCalcMil", "Calcola Millesimi",
                  { "accessories-calculator", S::SP_MediaPlay }),
              tool(B::tBand, 6, "tCalcolaMil", "Calcola Millesimi",
                  { "accessories-calculator", S::SP_MediaPlay }, "Calcola Millesimi") },
            NeedsProject, onHost(&ProjectCommands::calc_mil) },
        { { item(B::Mnu_calcoli, "ricalcolo", "&Ricalcolo Globale Sup. Coeff. Vol."),
              tool(B::tbCalcoli, 3, "tRicalcolo", "Ricalcolo Globale",
                  { "view-refresh", S::SP_BrowserReload }) },
            NeedsProject, [](CommandHost &, const QString &) { engine::VAR_GBL.ricalcolo_globale(); } },
        { { item(B::Mnu_calcoli, "tab_riepilogativa", "&Tab. Riepilogativa Millesimi") }, NeedsProject,
            showAsChild(FormName::frm_rip_spese) },
        { { item(B::Mnu_calcoli, "spese", "Ripartizione delle &Spese"), listed("RIP_SPESE") }, NeedsProject,
            showAsChild(FormName::frm_ripart_spese) },
        { { itemAfterLine(B::Mnu_calcoli, "terrazze", "T&errazze") }, NeedsProject,
            showModal(FormName::frm_terrazze) },

        // Menu "Stampa"
        { { item(B::Mnu_stampa, "stampa_mil", "&Stampa Millesimi"),
              tool(B::tbDatiGen, 4, "tStampa", "Stampa Dati",
                  { "document-print", S::SP_FileDialogDetailedView }) },
            NeedsProject,
            [](CommandHost &host, const QString &) { host.showChild(printing::stampa_mil()); } },
        { { itemAfterLine(B::Mnu_stampa, "imp_st", "&Imposta stampante"),
              tool(B::tbDatiGen, 5, "tSetup", "Setup Stampante",
                  { "document-page-setup", S::SP_FileDialogInfoView }) },
            Anytime, onUtility(&UtilityCommands::pageSetup) },

        // Menu "CAD"
        { { item(B::Mnu_cad, "cadon", "Gridal O&n"),
              tool(B::tBand, 5, "tCad", "CAD", { "applications-graphics", S::SP_DesktopIcon }, "Gridal") },
            Anytime, onUtility(&UtilityCommands::cadOn) },
        { { item(B::Mnu_cad, "cadoff", "Gridal O&ff") }, Anytime, onUtility(&UtilityCommands::cadOff) },

        // Menu "Utility" and its menu "Gestione Database"
        { { item(B::Mnu_utility, "utente", "&Dati Utente") }, Anytime,
            onUtility(&UtilityCommands::showUserData) },
        { { item(B::ArchiviDatabase, "cod_piani_db", "Cod. &Piani") }, NeedsProject,
            showModeless(FormName::frm_gestdb) },
        { { item(B::ArchiviDatabase, "sup_vol", "&Sup. / Coeff. / Vol.") }, NeedsProject,
            showModeless(FormName::frm_coeff_db) },
        { { item(B::Mnu_utility, "password", "&Password") }, Anytime, showModal(FormName::frm_password) },
        { { item(B::Mnu_utility, "editor", "&Editor di Testo") }, Anytime,
            onUtility(&UtilityCommands::chooseEditor) },
        { { item(B::Mnu_utility, "conv_dati", "&Conversione Dati") }, Anytime,
            showModal(FormName::frm_virgola) },
        // The outside programs, each known by its key.
        { { itemAfterLine(B::Mnu_utility, "calcolatrice", "C&alcolatrice") }, Anytime,
            onKey(&UtilityCommands::startProgram) },
        { { item(B::Mnu_utility, "prompt", "P&rompt Dos") }, Anytime, onKey(&UtilityCommands::startProgram) },
        { { item(B::Mnu_utility, "notepad", "&Notepad") }, Anytime, onKey(&UtilityCommands::startProgram) },
        { { item(B::Mnu_utility, "wordpad", "&Scrivex") }, Anytime, onKey(&UtilityCommands::startProgram) },
        { { item(B::Mnu_utility, "control", "Pannello di c&ontrollo") }, Anytime,
            onKey(&UtilityCommands::startProgram) },
        { { item(B::Mnu_utility, "Web", "&Web Brem") }, Anytime, onUtility(&UtilityCommands::openWeb) },
        { { itemAfterLine(B::Mnu_utility, "about", "&Informazioni"),
              tool(B::tbDatiGen, 6, "tInfo", "Informazioni Zav",
                  { "help-about", S::SP_MessageBoxInformation }) },
            Anytime, onUtility(&UtilityCommands::showAbout) },

        // The menu bar's own command
        { { item(B::MnuBand1, "tHelp", "&Help") }, Anytime, plain(&UtilityCommands::openManual) },

        // The thousandths band, acting on the open unit workspace: served by the workspace's folder.
        { { listed("trova"),
              tool(B::tBand, 1, "tTrova", "Trova", { "edit-find", S::SP_FileDialogContentsView },
                  "Lista Condomini") },
            Anytime, plugged },
        { { listed("ric_tot"),
              tool(B::tBand, 2, "tRicalcola", "Ricalcola", { "view-refresh", S::SP_BrowserReload },
                  "Ricalcola Importi") },
            Anytime, plugged },
        { { listed("arrotonda"),
              tool(B::tBand, 3, "tArrotonda", "Arrotonda", { "format-justify-fill", S::SP_DialogApplyButton },
                  "Arrotonda") },
            Anytime, plugged },
        { { listed("copia_piano"),
              tool(B::tBand, 4, "tCopia", "Copia", { "edit-copy", S::SP_FileLinkIcon }, "Copia da") },
            Anytime, plugged },
        { { listed("elimina_riga"),
              tool(B::tBand, 7, "tEliminariga", "Elimina Riga", { "edit-delete", S::SP_TrashIcon },
                  "Elimina Riga") },
            Anytime, plugged },
        { { listed("seleziona_tabella"),
              tool(B::tBand, 8, "tSelTab", "Seleziona Tabella", { "view-list", S::SP_FileDialogListView },
                  "Seleziona Tabella") },
            Anytime, plugged },
        { { listed("calc_mil_tab"),
              tool(B::tBand, 9, "tCalcTab", "Calcola Tabella", { "system-run", S::SP_CommandLink },
                  "Calcola Millesimi della Tabella") },
            Anytime, plugged },
        { { listed("copia_mil"),
              tool(B::tBand, 10, "tCopiaMil", "Copia Millesimi da ...", { "edit-paste", S::SP_ArrowForward },
                  "Copia Millesimi da -->") },
            Anytime, plugged },
        { { listed("azzera"),
              tool(B::tBand, 11, "tAzzera", "Azzera colonna tabella",
                  { "edit-clear", S::SP_DialogResetButton }, "Azzera la colonna Input") },
            Anytime, plugged },
        { { listed("exit_mil"),
              tool(B::tBand, 12, "tEsciVis", "Chiudi", { "window-close", S::SP_DialogCloseButton },
                  "Esce dalla Visualizzazione Coefficienti") },
            Anytime, plugged },
    };
    return table;
}

const CommandRow *CommandTable::find(const QString &key)
{
    for (const CommandRow &row : rows()) {
        for (const CommandKey &k : row.keys) {
            if (k.key == key)
                return &row;
        }
    }
    return nullptr;
}

} // namespace zav::shell
