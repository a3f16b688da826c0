#pragma once

#include "platform/ui/gridform.h"

class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::terraces {

class frm_terrazze;

/**
 * @brief "Tabelle Terrazze - Crea / Seleziona -": the terrace tables of the project. A table is
 * created by typing its code and description on the grid's last line; "Seleziona" makes the
 * current row the terrace form's table, "Elimina" deletes it with its units and rooms.
 *
 * A new table's code is stored without the blanks around it and must be a code
 * TerraceOperations::refusedCode() accepts (not empty, not too long, no control character, not
 * another table's); a stored table's code cannot be changed (its units and rooms carry it), its
 * description can.
 */
class TAB_TERR : public platform::GridForm
{
    Q_OBJECT

public:
    explicit TAB_TERR(QWidget *parent = nullptr);
    ~TAB_TERR() override;

    /** @brief "Esci": closes the dialog. */
    void Command1_Click();
    /** @brief "Seleziona": the current row becomes the terrace form's table. */
    void Command2_Click();
    /** @brief "Elimina": after two questions, deletes the current row's table with its units and rooms. */
    void Command3_Click();

    platform::DataSource *Data1;
    platform::DataGrid *TDBGrid1;
    QPushButton *Command2;
    QPushButton *Command3;
    QPushButton *Command1;

private:
    /** The terrace form, which is loaded while this dialog is open. */
    static frm_terrazze *terraceForm();
    /** Refuses (true) an edit of the code: a stored table's, or a new one that cannot be used. */
    bool refusesCode(int column, const QVariant &oldValue, const QVariant &newValue);
};

} // namespace zav::terraces
