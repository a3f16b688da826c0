#pragma once

namespace zav::workspace {

/**
 * @brief The view the workspace shows, numbered as its tab: the three views of the open unit's
 * rooms, the six thousandths views and the user table.
 *
 * The workspace holds it and decides by it; the grid's caption only shows it (and, on the user
 * table, names the table), so a user table whose name reads like a unit view's caption is still
 * the user table.
 */
enum class WorkspaceView {
    Surfaces = 1, ///< "Calcolo Superfici"
    Coefficients, ///< "Coefficienti"
    Volumes, ///< "Calcolo Volumi"
    General, ///< "Millesimi Globali"
    Building, ///< "Millesimi Palazzina"
    Stair, ///< "Millesimi Scala"
    Lift, ///< "Millesimi Ascensore"
    Heating, ///< "Millesimi Riscaldamento"
    Porter, ///< "Millesimi Portierato"
    UserTable, ///< the selected user table
};

/** @brief Whether a view shows the open unit's rooms. */
constexpr bool isUnitView(WorkspaceView view)
{
    return view == WorkspaceView::Surfaces || view == WorkspaceView::Coefficients
        || view == WorkspaceView::Volumes;
}

/** @brief The view of a tab (1 to 10); none for any other number. */
constexpr bool isViewTab(int tab)
{
    return tab >= int(WorkspaceView::Surfaces) && tab <= int(WorkspaceView::UserTable);
}

} // namespace zav::workspace
