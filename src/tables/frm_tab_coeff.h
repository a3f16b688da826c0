#pragma once

#include "tables/coefficienttables.h"
#include "tables/tableform.h"

#include <optional>

class QLabel;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::tables {

/**
 * @brief "Tabella Coefficienti": one of the eight coefficient tables in a grid, from the template
 * archive ("Default") or the open project's archive ("Progetto"); a click on a column header marks
 * that column in use. Opened from a coefficient cell of a room grid it is also a picker: its transfer
 * button writes the chosen value into that coefficient of the current room, or of every room, and
 * closes.
 *
 * Callers prepare it and then show it: `prepareDefault` for the main window's commands (shown
 * modeless), `preparePicker` for the room grids' cell buttons (shown modal). Callers that may not
 * include this header reach `preparePicker` through the meta-object system, the form through the
 * form registry by its name "frm_tab_coeff".
 */
class frm_tab_coeff : public TableForm
{
    Q_OBJECT

public:
    explicit frm_tab_coeff(QWidget *parent = nullptr);
    ~frm_tab_coeff() override;

    /**
     * @brief Prepares the form as the main window's commands do, as the tables' editor: coefficient
     * table n (1 to 8) of the open project's archive ("Progetto"), or of the template ("Default")
     * when no project is open, its title, the transfer button hidden, every column editable. False
     * when the table or the archive cannot be used (told); the form then keeps what it showed.
     */
    bool prepareDefault(int number);
    /**
     * @brief Prepares the form as the picker of a room grid: the table of the grid's column (the unit
     * workspace's columns 6 to 13 with the caption "Trasferisci", the terrace grid's 8 to 15 with any
     * other caption) from the open project's archive, its title, "Progetto", and the transfer button
     * shown with the caption. The texts are read-only and the cell of the column in use (the
     * first coefficient column when none is) of the current row is selected. False (told, nothing
     * changed) when the column opens no table or the archive cannot be used. A form shown modeless
     * is hidden first, so that it can be shown modal.
     */
    Q_INVOKABLE bool preparePicker(int column, const QString &transferCaption);

    /** @brief The table shown, from the program's list; none before the form is prepared. */
    std::optional<CoefficientTable> table() const;

    // Handlers.
    void Form_Load();
    /** @brief Shows the column in use of the current row in the grid's caption. */
    void Form_Activate();
    /** @brief "Esci". */
    void Command1_Click();
    /** @brief "Trasferisci" / "Trasf.": the transfer into the calling grid. */
    void Command2_Click();
    /** @brief "Tab. Default". */
    void Command3_Click();
    /** @brief "Tab. Progetto". */
    void Command4_Click();
    /** @brief "Stampa": the table shown, through the print handler the program installed. */
    void Command5_Click();
    /** @brief A click on a column header: marks that column in use. */
    void TDBGrid1_HeadClick(int ColIndex);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;

protected:
    bool event(QEvent *event) override;

private:
    /** The table of the record source, which callers set from the program's list. */
    QString tableName() const;
    /** Makes the text columns (description, column in use) read-only or editable. */
    void lockTexts(bool locked);
    /** Selects the cell of the column in use in the current row (the first row when none is). */
    void selectColumnInUse();
};

} // namespace zav::tables
