#pragma once

#include "platform/ui/datagrid.h"

#include <QList>
#include <QString>

class QWidget;

namespace zav::workspace {

/**
 * @brief The three views of a unit's rooms in the workspace grid and how each presents the grid's
 * 23 columns: which columns show, with which caption and width (in twips), which are locked and
 * which carry a cell button.
 *
 * A view is known by the grid's caption alone; each has the name under which its layout is kept
 * in the layout files. The columns are those of the form's design, bound to the fields of
 * `ESPRESSIONI` and captioned with their field names; a view only changes what it lists.
 */
struct UnitView
{
    struct Column
    {
        int index;
        QString caption;
        int widthTwips;
    };

    QString caption; ///< the grid's caption, e.g. "Calcolo Superfici"
    QString layoutName; ///< e.g. "espressioni"
    QList<Column> shown; ///< the columns shown, in their order
    QList<Column> captionedHidden; ///< columns captioned (and sized) but left hidden
    QList<int> locked;
    QList<int> buttons;
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

    /** @brief The field each of the 23 columns is bound to, by column index. */
    static const QStringList &fields();
    /** @brief The 23 columns as designed: bound to their fields, captioned with their names, shown. */
    static QList<platform::DataGridColumn> designedColumns();
    /**
     * @brief Columns with a view's presentation applied over them: every column hidden but the
     * view's, with its captions, widths (twips turned into pixels for this widget's screen),
     * locks and buttons; the first columns bound to their fields again, the description
     * left-aligned.
     */
    static QList<platform::DataGridColumn> present(
        const UnitView &view, QList<platform::DataGridColumn> columns, const QWidget *screenOf = nullptr);

    /** @brief Writes the three views as named layouts into a layout file (the factory file). */
    static bool writeDefaultLayouts(const QString &file);
};

} // namespace zav::workspace
