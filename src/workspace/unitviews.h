#pragma once

#include "platform/ui/datagrid.h"
#include "platform/ui/gridview.h"
#include "workspace/workspaceview.h"

#include <QList>
#include <QString>

class QWidget;

namespace zav::workspace {

class frm_ins_coeff;

/**
 * @brief One of the three views of a unit's rooms in the workspace grid: a grid view over the
 * grid's 23 columns (which show, with which caption and width, which are locked and which carry a
 * cell button), the name under which its layout is kept in the layout files, and its tab.
 *
 * A view is known by the grid's caption alone. The columns are those of the form's design, bound
 * to the fields of `ESPRESSIONI` and captioned with their field names; a view only changes what
 * it lists.
 */
struct UnitView : platform::GridView
{
    QString layoutName; ///< e.g. "espressioni"
    WorkspaceView view = WorkspaceView::Surfaces;
};

class UnitViews
{
public:
    /** @brief Number of the grid's columns. */
    static constexpr int ColumnCount = 23;

    static const UnitView &surfaces();
    static const UnitView &coefficients();
    static const UnitView &volumes();
    /** @brief The three unit views, in the order of their tabs. */
    static QList<const UnitView *> all();
    /** @brief The unit view a grid caption names; nullptr for any other caption. */
    static const UnitView *byCaption(const QString &caption);
    /** @brief Whether a grid caption is one of the three unit views'. */
    static bool isUnitView(const QString &caption) { return byCaption(caption) != nullptr; }
    /** @brief The unit view of a tab (1 to 3); nullptr for any other tab. */
    static const UnitView *byTab(int tab);

    /** @brief The field each of the 23 columns is bound to, by column index. */
    static const QStringList &fields();
    /** @brief The 23 columns as designed: bound to their fields, captioned with their names, shown. */
    static QList<platform::DataGridColumn> designedColumns();
    /** @brief Columns with a view laid over them (see platform::GridView::lay). */
    static QList<platform::DataGridColumn> present(
        const UnitView &view, QList<platform::DataGridColumn> columns, const QWidget *screenOf = nullptr);

    /** @brief Writes the three views as named layouts into a layout file (the factory file). */
    static bool writeDefaultLayouts(const QString &file);

    /**
     * @brief Builds the unit view of a tab (1 to 3) in the workspace; false, touching nothing, for
     * any other tab. Runs inside the view switch, after its hint: the unit's rooms, the frame, the
     * grid's permissions, caption and columns, the tools, buttons and total labels, and at last the
     * unit's totals recomputed and stored. The user's layout is the switch's to load.
     */
    static bool enter(frm_ins_coeff &form, int tab);

    /**
     * @brief Whether the project's heating criterion uses the radiant surface: field 11 (by radiant
     * surface) or field 16 (half heated volume, half radiant surface) of the project options
     * record is true. An archive without the record or the field counts as not using it.
     */
    static bool radiantColumnsApply(const QString &archive);
    /** @brief The radiant columns of the volumes view (18 and 19): captioned, sized and shown when
     * they apply, hidden otherwise. */
    static void showRadiantColumns(platform::DataGrid &grid, bool apply);
};

} // namespace zav::workspace
