#include "shell/commands/commandtable.h"

namespace zav::shell {

const QList<CommandRow> &CommandTable::rows()
{
    static const QList<CommandRow> table = {
        // Projects
        { { "apri", "tApri" }, false },
        { { "nuovo", "tNuovo" }, false },
        { { "chiudi" }, false },
        { { "elimina", "tElimina" }, false },
        { { "esci" }, false },
        // Project data and registers
        { { "dati_prg", "tDatiGen" }, true },
        { { "comp_pal", "tCompPal" }, true },
        { { "cod_piani", "tCodPiani" }, true },
        { { "tabelle", "tTabella" }, true },
        // Default coefficient and window tables
        { { "coef1", "coef2", "coef3", "coef4", "coef5", "coef6", "coef7", "coef8", "tPiano", "tOrientamento",
              "tEsposizione", "tLuminosita", "tUtilizzo", "tGlobale", "tDestinazione", "tLibero" },
            false },
        { { "infissi", "tInfissi" }, false },
        // Calculations
        { { "option", "tOpzioni" }, true },
        { { "ins_coeff", "tVisualizza" }, true },
        { { "calc_mil", "tCalcMil", "tCalcolaMil" }, true },
        { { "ricalcolo", "tRicalcolo" }, true },
        { { "tab_riepilogativa" }, true },
        { { "spese", "RIP_SPESE" }, true },
        { { "terrazze" }, true },
        // Printing and archive checks
        { { "stampa_mil", "tStampa" }, true },
        { { "cod_piani_db" }, true },
        { { "sup_vol" }, true },
        // Utilities
        { { "conv_dati" }, false },
        { { "password" }, false },
        { { "utente" }, false },
        { { "about", "tInfo" }, false },
        // The open unit workspace
        { { "trova", "tTrova" }, false },
        { { "ric_tot", "tRicalcola" }, false },
        { { "arrotonda", "tArrotonda" }, false },
        { { "copia_piano", "tCopia" }, false },
        { { "elimina_riga", "tEliminariga" }, false },
        { { "seleziona_tabella", "tSelTab" }, false },
        { { "calc_mil_tab", "tCalcTab" }, false },
        { { "copia_mil", "tCopiaMil" }, false },
        { { "azzera", "tAzzera" }, false },
        { { "exit_mil", "tEsciVis" }, false },
        // CAD link, printer, editor, outside programs, web, manual
        { { "cadon", "tCad" }, false },
        { { "cadoff" }, false },
        { { "imp_st", "tSetup" }, false },
        { { "editor" }, false },
        { { "calcolatrice", "prompt", "notepad", "wordpad", "control" }, false },
        { { "Web" }, false },
        { { "tHelp" }, false },
    };
    return table;
}

const CommandRow *CommandTable::find(const QString &key)
{
    for (const CommandRow &row : rows()) {
        if (row.keys.contains(key, Qt::CaseSensitive))
            return &row;
    }
    return nullptr;
}

bool CommandTable::isProjectCommand(const QString &key)
{
    const CommandRow *row = find(key);
    return row && row->project;
}

} // namespace zav::shell
