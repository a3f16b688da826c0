#pragma once

#include "platform/ui/gridview.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace zav::terraces {

/**
 * @brief One view of the terrace form's room grid: the grid view (caption, fields, columns shown,
 * permissions) and the controls around the grid it shows or hides. The four views differ only in
 * these tables; the terrace form applies whichever one by the same steps.
 */
struct TerraceView : platform::GridView
{
    /** The tab's position, 0 to 3. */
    int tab = 0;
    // The thousandths view has no caption of its own: it builds one from its rows.
    /** A view of one unit's rooms (else the terrace thousandths). */
    bool rooms = true;
    // The controls around the grid.
    bool unitTotals = true; ///< `Label13` to `Label18`
    bool thousandthsTotal = false; ///< `Label19`, `Label20`
    bool roundButton = false; ///< `Command7` "Arr. Millesimi"
    bool findButton = true; ///< `Command1(2)` "Cerca "
    bool unitHeader = true; ///< `Frame4`
    bool roomCommands = true; ///< "Calcola Totali", "Ricalcola Totali" usable
};

/** @brief The four views of the terrace room grid. */
class TerraceViews
{
public:
    /** @brief Number of the room grid's columns. */
    static constexpr int ColumnCount = 19;
    /** @brief The rooms' fields, one per column. */
    static const QStringList &roomFields();
    static const TerraceView &surfaces();
    static const TerraceView &coefficients();
    static const TerraceView &volumes();
    static const TerraceView &thousandths();
    /** @brief The view of a tab (0 to 3); nullptr for any other. */
    static const TerraceView *byTab(int tab);
    /** @brief The grid's columns with a view laid over them (see platform::GridView::lay). */
    static QList<platform::DataGridColumn> present(
        const TerraceView &view, const QList<platform::DataGridColumn> &before, const QWidget *screenOf);
};

} // namespace zav::terraces
