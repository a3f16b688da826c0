#pragma once

#include "platform/ui/datagridmodel.h"
#include "workspace/workspaceview.h"

#include <QString>

namespace zav::platform {
class DataGrid;
}

namespace zav::workspace {

class frm_ins_coeff;

/**
 * @brief What the workspace grid does with the keys, cells and new rows of a unit's rooms, and with
 * the keystrokes of the CAD program: the operations behind the grid's and the hidden text box's
 * handlers of `frm_ins_coeff`.
 *
 * Cells are addressed by the grid's column numbers of the unit views (2 the surface expression, 3
 * the surface, 9 the light coefficient, 18 and 19 the radiant expression and surface, 20 and 21 the
 * window entry and area). Every cell written is stored at once, as the grid stores an edit. Each
 * operation skips a failing step and goes on; the only messages are the evaluator's own, "Divisione
 * per zero." for a value that is not a finite number, and "Superficie del vano mancante".
 */
class RoomGrid
{
public:
    /** @brief The grid columns these operations work on. */
    enum Column {
        Espressione = 2,
        Mq = 3,
        Coef1 = 6,
        Coef4 = 9,
        Coef8 = 13,
        EspresRad = 18,
        TotEspresRad = 19,
        SupFinestra = 20,
        MqFinestra = 21,
    };

    /**
     * @brief The character a typed one becomes in the column whose editing began last: in the
     * surface and window area columns (3, 21) "." becomes "," when the decimal separator is the
     * comma; in the expression columns (2, 18, 20) "," always becomes "."; in the coefficient view's
     * columns 6 to 14 either separator becomes the one in force. Any other character, column or
     * view leaves it as typed.
     */
    static int mappedSeparator(int keyAscii, int column, WorkspaceView view, bool puntoDecimale);

    /**
     * @brief Whether a text typed into a cell of a unit view is refused: in a coefficient cell (6 to
     * 13) and in the window area (21), a text that is not a number, told with the form a number is
     * written in. An empty text (the cell cleared) is taken.
     */
    static bool refusesTyped(const frm_ins_coeff &form, int column, const QString &typed);

    /** @brief What the evaluation of an expression cell came to. */
    enum class Evaluation {
        Skipped, ///< the expression is empty or blank: nothing evaluated, the target kept
        Written, ///< the value written into the target as "###0.0##"
        Failed, ///< no value: the evaluator said why and the target is kept, or the value was not
                ///< finite, said here, and the target emptied
    };
    /** @brief Evaluates the expression of a cell of the current row into another cell of it. */
    static Evaluation evaluateInto(platform::DataGrid &grid, int source, int target);

    /**
     * @brief Enter on a unit view, by the column whose editing began last: the surface from its
     * expression (2) then "Tot. Mq." again; a surface just typed (3, Enter ending that cell's edit)
     * becomes the expression, with "." as its decimal mark, then "Tot. Mq." again; the window
     * steps (20); all on the surfaces view. On
     * the volumes view, the radiant surface from its expression (18). Anything else: nothing.
     */
    static void enter(frm_ins_coeff &form, int column);

    /**
     * @brief The window steps of Enter on a window entry: the entry upper-cased; the codes "C" and
     * "0", "A" and "00" empty the window area and give the light coefficient of band "7" or "8";
     * any other entry is the window area's expression, whose ratio to the room's surface picks the
     * band of the light coefficient from the window table of the open project. A room without a
     * surface is told "Superficie del vano mancante".
     */
    static void windowSteps(platform::DataGrid &grid);

    /**
     * @brief The values a room started on a unit view's new-row line receives from the header: owner,
     * building, stair, the heated flag "S", floor code and unit number (only when it reads as a
     * number). A value the user typed into the row is kept.
     */
    static void newRoomDefaults(platform::DataGridModel::Values &values, const frm_ins_coeff &form);

    /**
     * @brief One keystroke of the CAD program: on the surfaces view "|" moves to the next room and
     * any other character but "=" is appended to the current room's expression ("," as "."); after
     * every keystroke the workspace's own CAD object, when it holds one, brings its window forward;
     * "=" on a unit view evaluates the current room's expression into its surface.
     */
    static void cadKeystroke(frm_ins_coeff &form, int keyAscii);

    /**
     * @brief While a unit view is shown, reading the rooms again keeps the room that was current
     * (where it still exists) in place of going back to the first: what is typed next goes on into
     * that room. Rows of another table (a view of thousandths left) are not taken for rooms.
     */
    static void keepCurrentRoom(frm_ins_coeff &form);

    /** @brief The text of a cell of the current row as the archive holds it; Null as "". */
    static QString cellText(const platform::DataGrid &grid, int column);
};

} // namespace zav::workspace
