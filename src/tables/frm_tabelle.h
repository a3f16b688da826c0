#pragma once

#include "platform/ui/gridform.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::tables {

/**
 * @brief "Gestione tabelle": the user thousandths tables of the open project, listed from
 * `NEW_TAB`. "Crea" makes an empty table under the name typed (upper-cased), "Elimina" drops the
 * table chosen in the list after a question, and "Seleziona", hidden unless the caller shows it,
 * loads the chosen table into the workspace's user-table view and closes the form.
 *
 * A table that the workspace has selected, or that any open window shows, is not dropped.
 */
class frm_tabelle : public platform::GridForm
{
    Q_OBJECT

public:
    /** @brief The form's name in the form registry. */
    static constexpr const char *FormName = "frm_tabelle";

    explicit frm_tabelle(QWidget *parent = nullptr);
    ~frm_tabelle() override;

    /** @brief The buttons' handler: 0 create, 1 drop, 2 close, 3 select. */
    void Command1_Click(int Index);

    /** @brief Whether a table of this archive is in use: selected in the open workspace, or the
     * rows of a data source of any open window. */
    static bool isInUse(const QString &archive, const QString &name);

    QLabel *Label59 = nullptr;
    QLineEdit *Text1 = nullptr;
    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid12 = nullptr;
    std::array<QPushButton *, 4> Command1 {};

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Activate();
    void create();
    void drop();
    void select();
    /** The name in the list's current row; none when the list has no current row. */
    std::optional<QString> chosenName() const;
};

} // namespace zav::tables
