#pragma once

#include "platform/ui/gridform.h"

class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::shell {

/**
 * @brief "Gestione Database" on the units table `CODIF_PIANI` of the open project: an editable grid
 * of the units, "Verifica DB" to find and delete units that lack part of their key, "Elimina Riga"
 * and "Esci". Reads the archive named by `progetto_corrente` when it loads and keeps it.
 */
class frm_gestdb : public platform::GridForm
{
    Q_OBJECT

public:
    explicit frm_gestdb(QWidget *parent = nullptr);

    /** @brief Binds the grid to the open project's units. */
    void Form_Load();
    /** @brief "Esci". */
    void Command1_Click();
    /** @brief "Verifica DB". */
    void Command2_Click();
    /** @brief "Elimina Riga". */
    void Command3_Click();

    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace zav::shell
