#pragma once

#include "platform/ui/gridform.h"

namespace zav::shell {

/**
 * @brief The units' maintenance grid, titled "Gestione Database": every row of `CODIF_PIANI`,
 * edited in place. "Verifica DB" offers to delete each unit that lacks part of its key, "Elimina
 * Riga" deletes the current one. The archive is the project open when the form loads.
 */
class frm_gestdb : public platform::GridForm
{
    Q_OBJECT

public:
    explicit frm_gestdb(QWidget *parent = nullptr);

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
