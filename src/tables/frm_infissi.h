#pragma once

#include "tables/tableform.h"

class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::tables {

/**
 * @brief "Infissi": the window table `TAB_WINDOW`, the light coefficient of each window band, in a
 * grid. It always loads on the template archive; "Default" and "Progetto" switch between the
 * template's table and the open project's, and the grid's caption says which is shown. A child
 * window of the main window.
 */
class frm_infissi : public TableForm
{
    Q_OBJECT

public:
    explicit frm_infissi(QWidget *parent = nullptr);
    ~frm_infissi() override;

    /** @brief Binds the grid to the template archive's table. */
    void Form_Load();
    /** @brief "Esci". */
    void Command1_Click();
    /** @brief "Default": the template archive's table. */
    void Command2_Click();
    /** @brief "Progetto": the open project's table. */
    void Command3_Click();
    /** @brief "Stampa": the table shown, through the print handler the program installed. */
    void Command4_Click();

    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid15 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;

private:
    /** Writes into the grid's caption whether it shows the template or the project (by name). */
    void sayWhichArchive();
};

} // namespace zav::tables
