#include "platform/ui/gridview.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/twips.h"

namespace zav::platform {

void GridView::layColumn(
    const GridColumnSetting &setting, DataGridColumn &column, bool visible, const QWidget *screenOf)
{
    column.visible = visible;
    column.caption = setting.caption;
    column.width = Twips::toPixelsX(setting.widthTwips, screenOf);
    column.format.clear();
    if (setting.field)
        column.dataField = *setting.field;
    if (setting.alignment)
        column.alignment = *setting.alignment;
    if (setting.button)
        column.button = *setting.button;
    if (setting.locked)
        column.locked = *setting.locked;
}

QList<DataGridColumn> GridView::lay(const GridView &view, QList<DataGridColumn> columns, const QWidget *screenOf)
{
    if (!view.fields.isEmpty()) {
        const qsizetype had = columns.size();
        columns.resize(view.fields.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QString &field = view.fields.at(i);
            if (i >= had)
                columns[i].caption = field;
            columns[i].dataField = field;
        }
    }
    for (DataGridColumn &column : columns)
        column.visible = false;
    const auto set = [&](const QList<GridColumnSetting> &settings, bool visible) {
        for (const GridColumnSetting &setting : settings) {
            if (setting.index >= 0 && setting.index < columns.size())
                layColumn(setting, columns[setting.index], visible, screenOf);
        }
    };
    set(view.shown, true);
    set(view.captionedHidden, false);
    return columns;
}

void GridView::permit(DataGrid &grid, const GridPermissions &permissions)
{
    grid.setReadOnly(permissions.readOnly);
    grid.setAllowUpdate(permissions.update);
    grid.setAllowAddNew(permissions.addNew);
    grid.setAllowDelete(permissions.remove);
}

void GridView::apply(DataGrid &grid, const GridView &view)
{
    apply(grid, view, view.permissions);
}

void GridView::apply(DataGrid &grid, const GridView &view, const GridPermissions &permissions)
{
    if (!view.caption.isEmpty())
        grid.setCaption(view.caption);
    permit(grid, permissions);
    grid.setColumns(lay(view, grid.columns(), &grid));
}

} // namespace zav::platform
