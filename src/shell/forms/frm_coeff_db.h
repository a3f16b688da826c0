#pragma once

#include "platform/ui/gridform.h"

namespace zav::shell {

/**
 * @brief "Gestione Database" on the rooms table `ESPRESSIONI` of the open project: an editable grid
 * of the rooms, "Verifica DB" to find and delete rooms that lack part of their unit's key, "Filtro"
 * to show the rooms of the current row's owner alone, "Refresh" to show them all again, "Elimina
 * Riga" and "Esci". Reads the archive named by `progetto_corrente` when it loads and keeps it.
 */
class frm_coeff_db : public platform::GridForm
{
    Q_OBJECT

public:
    explicit frm_coeff_db(QWidget *parent = nullptr);

    /** @brief "Filtro". */
    void Command2_Click();
    /** @brief "Refresh". */
    void Command3_Click();
    /** @brief "Elimina Riga". */
    void Command4_Click();
    /** @brief "Verifica DB". */
    void Command5_Click();

    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace zav::shell
