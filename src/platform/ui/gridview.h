#pragma once

#include "platform/ui/datagridmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace zav::platform {

class DataGrid;

/**
 * @brief How a view sets one of a grid's columns: its caption and width (in twips) always; its
 * field, alignment, cell button and lock only when given, else the column keeps what it had.
 *
 * A button given (true) stays on the column until a view takes it away (false): views that do not
 * want it usually just hide its column.
 */
struct GridColumnSetting
{
    int index;
    QString caption;
    int widthTwips;
    std::optional<QString> field {};
    std::optional<DataGridColumn::Alignment> alignment {};
    std::optional<bool> button {};
    std::optional<bool> locked {};
};

/** @brief What the user may do with a grid's rows under a view. */
struct GridPermissions
{
    bool addNew = true;
    bool update = true;
    bool remove = true;
    bool readOnly = false;

    bool operator==(const GridPermissions &) const = default;
};

/**
 * @brief One view of a grid as a table of settings: the grid's caption, the field each column is
 * bound to, the columns shown (in their order), the columns captioned and sized but left hidden,
 * and the grid's permissions.
 *
 * A form keeps one such table per view and lays whichever it enters over the same grid; the
 * form's own controls around the grid stay with the form. Subsystems extend the table with what
 * only they need (by deriving from it).
 */
struct GridView
{
    /** The grid's caption; empty leaves the grid's own. */
    QString caption {};
    /** The field of every column, by index: the grid has exactly these columns under the view.
     * Empty keeps the grid's columns and their fields as they are. */
    QStringList fields {};
    QList<GridColumnSetting> shown {};
    QList<GridColumnSetting> captionedHidden {};
    GridPermissions permissions {};

    /**
     * @brief Columns with the view laid over them: one column per field (missing ones added,
     * bound to and captioned with their field; extra ones dropped), each bound to its field and
     * hidden; then the view's columns set (shown or captioned but hidden), their widths turned from
     * twips into pixels for this widget's screen and their values shown as held (no format).
     * A setting for a column the grid lacks is ignored.
     */
    static QList<DataGridColumn> lay(
        const GridView &view, QList<DataGridColumn> columns, const QWidget *screenOf = nullptr);

    /** @brief One setting laid over a column: caption, width, what else it gives, shown or not. */
    static void layColumn(
        const GridColumnSetting &setting, DataGridColumn &column, bool visible, const QWidget *screenOf = nullptr);

    /** @brief The grid's permissions as a view gives them. */
    static void permit(DataGrid &grid, const GridPermissions &permissions);

    /** @brief Enters a view on a grid: its caption (when it has one), its permissions, its columns
     * laid over the grid's (sized for the grid's screen). */
    static void apply(DataGrid &grid, const GridView &view);
    /** @brief The same with other permissions: a form that narrows the view's for the moment. */
    static void apply(DataGrid &grid, const GridView &view, const GridPermissions &permissions);
};

} // namespace zav::platform
