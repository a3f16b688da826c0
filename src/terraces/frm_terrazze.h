#pragma once

#include "platform/db.h"
#include "terraces/terraceunit.h"
#include "workspace/terraceunitview.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::terraces {

struct TerraceView;
class TerracePrints;

/**
 * @brief "Terrazze": the terrace tables of the open project, the units listed for each, the rooms
 * of one unit in the current table.
 *
 * The current table is the code and description in `Label1` and `Label2` (empty code: none). The
 * unit shown is held apart, typed (ShownTerraceUnit), as well as in the header labels: the load
 * shows the unit of the first room it binds, "Trova" the unit chosen in the list, and the terrace
 * tables dialog keeps it when another table is selected. The dialogs opened over the form
 * (`TAB_TERR`, `frm_copia_dati`) change it only through the public operations below.
 *
 * Every write goes to the terrace archive at once; nothing is stored when the form closes.
 */
class frm_terrazze : public QWidget, public workspace::TerraceUnitView
{
    Q_OBJECT

public:
    explicit frm_terrazze(QWidget *parent = nullptr);
    ~frm_terrazze() override;

    /**
     * @brief Whether the open project's terrace archive can be worked; when not, the user is told
     * in Italian what is wrong with it (missing, read-only, a table or field missing).
     */
    static bool archiveUsable();

    // --- Event handlers -----------------------------------------------------------------------
    /** @brief Binds the archives, lays out the room grid and fills the building lists. */
    void Form_Load();
    /** @brief The form is active again: with a table current and the room grid on its first row,
     * the unit list shows. */
    void Form_Activate();
    /** @brief The button array: runs the command of button Index. */
    void Command1_Click(int Index);
    /** @brief "Esci" of the list-building frame: hides it. */
    void Command3_Click();
    /** @brief "Trova": shows the list's current unit with its rooms in the current table. */
    void Command4_Click();
    /** @brief "Stampa" of the print frame: the ticked reports of the frame's table to the chosen
     * destination. */
    void Command2_Click();
    /** @brief "Esci" of the print frame: the list back on the current table, the frame hidden. */
    void Command5_Click();
    /** @brief "Elimina" of the unit list: after a question, removes the unit with its rooms. */
    void Command6_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    /** @brief "Trasferisci": lists the project's units selected, in the order they were selected. */
    void TRASF_ELENCO_TER();
    /** @brief The print frame's table grid moved: the list shows the units of that table. */
    void TDBGrid2_RowColChange();
    /** @brief "Arr. Millesimi": runs ARR_MIL_TER. */
    void Command7_Click();
    /** @brief The view switch: lays out the room grid for the selected tab and recomputes it. */
    void TabStrip1_Click();
    /** @brief A key in the room grid: a comma typed into an expression becomes its decimal point;
     * Enter in the expression of the surfaces view evaluates it. */
    void TDBGrid1_KeyPress(int &KeyAscii);
    /** @brief A room started in the grid takes the table's code and the shown unit's key; false
     * (no row) outside the rooms of a terrace unit, or with no unit shown (said to the user). */
    bool TDBGrid1_OnAddNew(QList<std::pair<QString, QVariant>> &values);
    /** @brief A coefficient cell's button: the coefficient table of the grid's current column as a
     * picker that writes into this grid. */
    void TDBGrid1_ButtonClick(int ColIndex);

    // --- Rooms, totals and thousandths --------------------------------------------------------
    /** @brief "Calcola Totali": computes the rooms shown and their three totals. */
    void CALC_TOT_TER();
    /** @brief "Ricalcola Totali": computes every room of the current table, then shows the unit again. */
    void RICALC_TOT_TER();
    /** @brief "Calcola Millesimi": the terrace thousandths of the current table, then shows them. */
    void CALC_MIL_TER();
    /** @brief Shows the terrace thousandths read-only with their total. */
    void TABELLA_MILLESIMI();
    /** @brief Brings the thousandths shown to a total of 1000 in steps of 0.001. */
    void ARR_MIL_TER();

    // --- What the dialogs over the form use ---------------------------------------------------
    /** @brief Code of the current terrace table; empty when none. */
    QString currentTableCode() const;
    /** @brief Description of the current terrace table. */
    QString currentTableDescription() const;
    /**
     * @brief Makes a table current ("Seleziona" of the terrace tables): its code and description in
     * the labels, the unit shown kept with its rooms in that table, the table's buttons enabled.
     */
    void selectTable(const QString &code, const QString &description);
    /**
     * @brief A table has been deleted: the unit list shows every listed unit; when it was the current
     * table, no table is current any more (labels cleared, the table's buttons disabled).
     */
    void tableDeleted(const QString &code);
    /** @brief The unit list shows these rows of `ELENCO`. */
    void showUnitList(const platform::TableQuery &rows);

    /**
     * @brief Shows a terrace unit: binds its rooms in its table to the room grid and makes that query
     * `sql_unita_corrente`. With `headerAndTotals`, the header names the unit, the three totals are
     * summed over its rooms, and the room grid shows on its first row. False when the rooms cannot be
     * read (said to the user).
     */
    bool showTerraceUnit(const ShownTerraceUnit &shown, bool headerAndTotals);
    /** @brief The unit list's terrace find: as showTerraceUnit() with the header and totals, but
     * the header frame left as it is and a field without value leaving its label. */
    void showListedUnit(const ListedUnit &unit) override;
    /** @brief The unit shown; none before any. */
    const std::optional<ShownTerraceUnit> &shownUnit() const { return m_shown; }
    /** @brief Whether the room grid shows the terrace thousandths rather than a unit's rooms. */
    bool thousandthsViewShown() const;

    // --- Controls -----------------------------------------------------------------------------
    QLabel *Label1 = nullptr; ///< code of the current table
    QLabel *Label2 = nullptr; ///< its description
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr; ///< owner of the unit shown
    QLabel *Label9 = nullptr; ///< its building
    QLabel *Label10 = nullptr; ///< its stair
    QLabel *Label11 = nullptr; ///< its floor code
    QLabel *Label12 = nullptr; ///< its unit number
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr; ///< total floor surface
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr; ///< total weighted surface
    QLabel *Label17 = nullptr;
    QLabel *Label18 = nullptr; ///< total volume
    QLabel *Label19 = nullptr;
    QLabel *Label20 = nullptr; ///< total of the terrace thousandths
    QLabel *Label21 = nullptr;
    QLabel *Label22 = nullptr;
    QLabel *Label23 = nullptr;
    QLabel *Label24 = nullptr;
    QLabel *Label25 = nullptr;
    QLabel *Label26 = nullptr;
    QLabel *Label27 = nullptr;

    platform::DataSource *Data1 = nullptr; ///< rooms (terrace archive)
    platform::DataSource *Data2 = nullptr; ///< tables of the print frame
    platform::DataSource *Data3 = nullptr; ///< the project's units
    platform::DataSource *Data4 = nullptr; ///< units listed, right of the list-building frame
    platform::DataSource *Data5 = nullptr; ///< units listed, the unit list and the print frame
    platform::DataGrid *TDBGrid1 = nullptr;
    platform::DataGrid *TDBGrid2 = nullptr;
    platform::DataGrid *TDBGrid3 = nullptr;
    platform::DataGrid *TDBGrid4 = nullptr;
    platform::DataGrid *TDBGrid5 = nullptr;
    platform::DataGrid *TDBGrid6 = nullptr;
    QTabBar *TabStrip1 = nullptr;
    QGroupBox *Frame1 = nullptr; ///< "Stampa"
    QGroupBox *Frame2 = nullptr; ///< "Creazione Elenco Condomini Terrazze"
    QGroupBox *Frame3 = nullptr; ///< "Elenco Condomini Terrazze"
    QFrame *Frame4 = nullptr; ///< header of the unit shown
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QComboBox *Combo3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check8 = nullptr;
    QCheckBox *Check2 = nullptr;
    std::array<QPushButton *, 12> Command1 {};
    QPushButton *Command2 = nullptr; ///< "Stampa" of the print frame
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr; ///< "Arr. Millesimi"
    /** @brief The print frame's report control and export flag, kept from one click to the next. */
    TerracePrints &prints() { return *m_prints; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    /** Brings the window within the main window's workspace, no larger than it. */
    void fitOverWorkspace();
    /** The room grid's columns as the load lays them out. */
    void layRoomGrid();
    /** Enables or disables the buttons that need a current table. */
    void enableTableButtons(bool enabled);
    /** The table test: false, after saying so, when no table is current. */
    bool tableSelected() const;
    /** Sets a source's rows and reads them; false when said to the user. */
    bool bindRows(platform::DataSource *source, const platform::TableQuery &rows);
    /** Runs a step on an archive; a failure is said to the user and gives false. */
    bool attempt(const std::function<void()> &step) const;
    /** "Elimina Condomino": after a question, deletes the rooms of the unit shown in the current table. */
    void eliminaCondomino();
    void showFrame(QWidget *frame);
    /** How a unit is shown: by "Trova" of the form, or by the unit list's terrace find. */
    bool showUnit(const ShownTerraceUnit &shown, bool headerAndTotals, const ListedUnit *listed);
    /** Lays out the room grid and the controls around it as a view says. */
    void applyView(const TerraceView &view);
    /** With no room current (the new-row line, no rooms), the header labels name the unit shown. */
    void keepShownHeader();
    /** @brief Shows in `Label14`, `Label16` and `Label18` the sums of the rooms the grid shows. */
    void showRoomTotals();

    std::optional<ShownTerraceUnit> m_shown;
    std::unique_ptr<TerracePrints> m_prints;
};

} // namespace zav::terraces
