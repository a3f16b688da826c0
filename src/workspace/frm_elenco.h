#pragma once

#include "platform/ui/gridform.h"
#include "workspace/unitkey.h"

#include <QString>

#include <optional>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::workspace {

/**
 * @brief The unit list "Elenco condomini": the units of one building of the open project, and
 * what to do with the unit picked, by the caption of `Command1`.
 *
 * With "Trova" the picked unit is opened in the unit workspace (through the workspace's own
 * hand-over) and the list stays open, so one unit after another can be found. With any other
 * caption, in practice "Copia", the picked unit's rooms are appended to the unit open in the
 * workspace and the list closes. The opener writes the caption before it shows the list; it
 * stays until another is written while the list is loaded.
 *
 * Loading lists the buildings the project has and shows the workspace's building, or the last
 * one when the workspace shows none of them.
 */
class frm_elenco : public platform::GridForm
{
    Q_OBJECT

public:
    /** @brief The form's name in the form registry. */
    static constexpr const char *FormName = "frm_elenco";
    /** @brief The captions of `Command1` that the openers write. */
    static inline const QString FindCaption = QStringLiteral("Trova");
    static inline const QString CopyCaption = QStringLiteral("Copia");

    explicit frm_elenco(QWidget *parent = nullptr);
    ~frm_elenco() override;

    /** @brief The list of the program run, created and loaded when need be, with this caption on
     * `Command1`; nullptr when the list cannot be made. */
    static frm_elenco *withCaption(const QString &caption);

    /** @brief Loads the building list and the units of the workspace's building. */
    void Form_Load();
    /** @brief A building picked: its units, the first one current. */
    void Combo1_Click();
    /** @brief Find or copy, by the caption of `Command1`; the find serves the terrace form while
     * `elenco_per_terrazze` is set. */
    void Command1_Click();
    /** @brief The terrace find: the picked unit's rooms in the terrace form's current table. */
    void trova_terrazza();
    /** @brief "Esci": the list serves the workspace again and closes. */
    void Command2_Click();

    // --- Controls -------------------------------------------------------------------------------
    QLabel *Label1 = nullptr;
    QComboBox *Combo1 = nullptr;
    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

private:
    void find();
    void copy();
    /** The unit of the current row; none when the list has no current row. */
    std::optional<Unit> chosenUnit() const;
    void showBuilding(const QString &building);
};

} // namespace zav::workspace
