#pragma once

#include "platform/ui/datagridmodel.h"
#include "workspace/unitkey.h"
#include "workspace/unittotals.h"
#include "workspace/workspaceview.h"

#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QComboBox;
class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace zav::platform {
class CadAutomation;
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::workspace {

/**
 * @brief Where the resize rules put the tab strip, the grid and the totals row, in twips. A rule
 * whose result would be a negative size gives nothing and the control keeps what it had.
 */
struct WorkspaceGeometry
{
    std::optional<int> tabStripWidth;
    std::optional<int> gridWidth;
    std::optional<int> tabStripHeight;
    std::optional<int> gridHeight;
    std::optional<int> totalsTop;

    /**
     * @brief The rules for a window of this size (twips), each on its own and in order, starting
     * from the tab strip's present size: tab strip width = window width - 225, grid width = tab
     * strip width - 120, tab strip height = window height - 2300, grid height = tab strip height -
     * 900, top of the totals row = tab strip height + 1500.
     */
    static WorkspaceGeometry resize(QSize window, QSize tabStrip);
};

/**
 * @brief The unit workspace "Inserimento Coefficienti": the rooms of one unit of the open project
 * on a grid with ten views, the unit's header and its totals, a child window of the main window.
 *
 * One form for the program run, reached by name; a unit reaches it through openUnit(), the one
 * hand-over of every opener. The tab strip chooses the view (TabStrip1_Click); the workspace holds
 * the view shown and decides by it, the grid's caption only names it. The form sees every key before the
 * control that has the focus (F1 help, F3 unit list, F4 thousandths, F8/F9/F10 grid layouts, F12 global
 * recalculation, Esc close) and the key still reaches that control. Closing stores the open unit's totals
 * when a unit view is shown, switches the CAD menu off and hides the thousandths band.
 *
 * Controls keep their designer names as members and object names, so other forms and tests find
 * them; numbers are in twips where the form gives them.
 */
class frm_ins_coeff : public QWidget
{
    Q_OBJECT

public:
    /** @brief The form's name in the form registry. */
    static constexpr const char *FormName = "frm_ins_coeff";
    /** @brief The command key under which the table tools serve "Copia Mil. da": the copy of
     * thousandths shown modeless. */
    static constexpr const char *CopyThousandthsKey = "copia_mil_da";
    /** @brief The automation class of the workspace's own CAD link. */
    static constexpr const char *LocalCadClass = "Ormida";

    explicit frm_ins_coeff(QWidget *parent = nullptr);
    ~frm_ins_coeff() override;

    /**
     * @brief Opens a unit in the workspace (every opener's hand-over): stores the totals of the
     * unit shown when a unit view is shown, takes the unit's key and floor height, sets
     * `sql_unita_corrente`, writes the header, binds the grid to the unit's rooms, sums their
     * stored totals, shows the thousandths band and shows the form.
     */
    void openUnit(const Unit &unit);
    /** @brief The workspace of the program run, created and loaded when need be, showing the unit. */
    static frm_ins_coeff *open(const Unit &unit);

    /**
     * @brief The project's buildings or units changed: the building list shows those that exist;
     * a unit that no longer has its row in `CODIF_PIANI` is given up (the workspace closes, with a
     * message, storing nothing for it); a unit view shows the unit's rooms as they now stand.
     */
    void unitsChanged();
    /** @brief Whether the open unit has its row in `CODIF_PIANI` (true when the archive cannot tell). */
    bool unitExists() const;

    /** @brief Recomputes the open unit's rooms and stores its totals in `CODIF_PIANI`. */
    void TOT_MQ_VOL();
    /** @brief Sums the surface column again into "Tot. Mq." (after one room's surface changed). */
    void somma_mq();

    /** @brief The view switch: builds the view of the selected tab. */
    void TabStrip1_Click();

    // --- The grid's and the hidden text box's handlers -----------------------------------------
    /** @brief A cell entered edit mode: its column is the one the keys go by. */
    void TDBGrid1_ColEdit(int ColIndex);
    /** @brief A typed character: the separator mapping, then Enter's evaluation on a unit view. */
    void TDBGrid1_KeyPress(int &KeyAscii);
    /** @brief A cell edit ended: a cell left holding the empty text holds Null. */
    void TDBGrid1_AfterColEdit(int ColIndex);
    /** @brief A coefficient cell's button: the coefficient picker on that column's table, modal. */
    void TDBGrid1_ButtonClick(int ColIndex);
    /** @brief A new row started: on a unit view the room takes the unit's key from the header. */
    bool TDBGrid1_OnAddNew(platform::DataGridModel::Values &values);
    /** @brief A keystroke of the CAD program in the hidden text box. */
    void txtole_KeyPress(int &KeyAscii);
    /**
     * @brief The workspace's own CAD link ("Gridal"): creates the CAD object "Ormida"; when the link
     * is off it goes on and the CAD window is prepared, shown and handed the hidden text box, when
     * it is on it goes off and the object is released.
     */
    void localCadLink();

    /** @brief The building selector's handling (a pick, or a view choosing its first entry). */
    void Combo1_Click();
    /** @brief The stair selector's handling (a pick, or a view choosing its first stair). */
    void Combo2_Click();

    /**
     * @brief The form's command of a key (its key code). A key pressed on the form reaches the
     * control that has the focus first; its command runs afterwards, once the text of the cell being
     * typed is stored (runKey()).
     */
    void Form_KeyDown(int keyCode);

    /**
     * @brief The hidden buttons (index 0 to 10): each runs the command of the thousandths band's
     * tool or of the workspace's key that does the same, and "Gridal" (3) switches the workspace's
     * own CAD link.
     */
    void Command1_Click(int Index);
    /** @brief "Calc. Mil.": the thousandths calculation, as the F4 key. */
    void Command2_Click();
    /** @brief The band tool (or other command key) a hidden button runs; empty for "Gridal" and
     * "Esci", which are the workspace's own. */
    static QString commandKeyOf(int Index);

    /** @brief The workspace's own CAD object, made by "Gridal"; nullptr until then. It outlives
     * the form, as the link's flag does. */
    static platform::CadAutomation *oggetto_cad_locale();
    /** @brief Whether the workspace's own CAD link is on. */
    static bool cad_locale_attivo();

    // --- State other forms read -----------------------------------------------------------------
    /** @brief The unit open in the workspace, none before the first hand-over. */
    const std::optional<Unit> &unit() const { return m_unit; }
    /** @brief The view shown. */
    WorkspaceView view() const { return m_view; }
    /** @brief Whether the grid shows one of the three views of the unit's rooms. */
    bool isUnitViewShown() const;
    /** @brief The selected tab, 1 to 10. */
    int selectedTab() const;
    /** @brief The resize rules' present result, in twips. */
    QSize tabStripTwips() const { return m_tabStrip; }
    QSize gridTwips() const { return m_grid; }
    int totalsTopTwips() const { return m_totalsTop; }

    /** @brief The user's layout file "Layout_utente" and the factory's "Layout_default". */
    static QString userLayoutFile();
    static QString defaultLayoutFile();

    // --- Controls -------------------------------------------------------------------------------
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    QLabel *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr;
    QTabWidget *TabStrip1 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    platform::DataSource *Data1 = nullptr;
    QLabel *Label13 = nullptr, *Label14 = nullptr, *Label15 = nullptr, *Label16 = nullptr;
    QLabel *Label17 = nullptr, *Label18 = nullptr, *Label19 = nullptr, *Label20 = nullptr;
    QLabel *Label21 = nullptr;
    QLabel *Label22 = nullptr;
    QLabel *Label6 = nullptr, *Label7 = nullptr;
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr;
    QLineEdit *txtole = nullptr;
    std::array<QPushButton *, 11> Command1 {};
    QPushButton *Command2 = nullptr;

    // --- Form state -----------------------------------------------------------------------------
    /** @brief The column of the cell whose editing began last (0 before any). */
    qint16 colonna_corrente = 0;
    /** @brief The expression the CAD program's keystrokes are building. */
    QString espressione_cad;

public slots:
    /** @brief Characters as the CAD program types them into the hidden text box, one key each. */
    void typeIntoTxtole(const QString &characters);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ThousandthsViews;
    friend class UnitViews;

    void buildControls();
    void connectHandlers();
    void Form_Initialize();
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    /** The surfaces view as loading sets it up: columns, caption, lock and the user's layout. */
    void showSurfacesView();
    void bindRooms();
    /** Sums the stored surface, weighted surface and volume of the rows into the total labels. */
    void countTotals();
    void fillBuildingList();
    void placeControls();
    bool radiantColumnShown() const;
    void storeShownUnitTotals();
    /** Recomputes and stores the open unit's totals (the rows and labels are left as they are). */
    std::optional<UnitTotals::Result> storeUnitTotals();

    // Keys.
    /** Whether the form acts on a key: F1, F3, F4, F8, F9, F10, F12 and Esc. */
    static bool isFormKey(int keyCode);
    /** Queues the command of a key the form acts on; one at a time. */
    void queueKey(int keyCode);
    /** A queued key: the cell being typed stored first (refused text stays in edit and the command
     * waits), the command, then the keys that follow go to the grid again. */
    void runKey(int keyCode);
    /** The keys that follow go to the grid (to the form while the grid is hidden). */
    void focusGrid();
    void help();
    void findUnit();
    void thousandths();
    void saveLayout();
    void reloadLayout();
    void factoryLayout();

    std::optional<Unit> m_unit;
    WorkspaceView m_view = WorkspaceView::Surfaces;
    const QEvent *m_keySeen = nullptr;
    /** A key's command is queued or running. */
    bool m_keyQueued = false;
    QSize m_tabStrip;
    QSize m_grid;
    int m_totalsTop = 0;
};

} // namespace zav::workspace
