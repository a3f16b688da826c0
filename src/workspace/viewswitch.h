#pragma once

#include "workspace/workspaceview.h"

#include <QString>
#include <QStringList>

namespace zav::workspace {

class frm_ins_coeff;

/**
 * @brief The workspace's view switch: the frame common to the ten views, and the tables of what each
 * view offers the user (the main window's tools, the workspace's buttons).
 *
 * A tab is built from the ground up whatever view came before: the decimal-separator hint first, then
 * the view itself (UnitViews or ThousandthsViews), then the user's saved layout of a unit view. Every
 * view switches all ten tools and all the buttons (but "Esci"), so nothing of the view before
 * survives in them.
 */
class ViewSwitch
{
public:
    /** @brief The hint under the coefficient view's grid. */
    static const QString &separatorHint();

    /** @brief The ten tools of the thousandths band that the views switch, in the order they are
     * switched. */
    static const QStringList &tools();
    /** @brief The tools a view switches on; the others of tools() go off. */
    static QStringList toolsOn(WorkspaceView view);
    /** @brief Whether a view enables a workspace button: `Command1` indexes 0 to 10 (4, "Esci", is
     * never touched and reads false), 11 for `Command2`. */
    static bool buttonEnabled(WorkspaceView view, int button);

    /** @brief Switches the main window's tools and the workspace's buttons for a view. */
    static void switchToolsAndButtons(frm_ins_coeff &form, WorkspaceView view);

    /**
     * @brief Builds the view of a tab (the tab strip's click): the hint, the view, then the user's
     * layout of a unit view (the volumes view checks its radiant columns again after it). Any other
     * tab number leaves the views alone. Database failures go up to the caller.
     */
    static void run(frm_ins_coeff &form, int tab);
    /** @brief Loads the user's layout of the unit view shown (nothing on other views). */
    static void loadUserLayout(frm_ins_coeff &form);
};

} // namespace zav::workspace
