#pragma once

#include "platform/ui/datagridmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace zav::terraces {

/**
 * @brief One view of the terrace form's room grid as a table of settings: the grid's caption and
 * permissions, the columns it shows (field, caption, width in twips, alignment, cell button), and
 * the controls around the grid it shows or hides. The four views differ only in these tables; the
 * terrace form applies whichever one by the same steps.
 */
struct TerraceView
{
    struct Column
    {
        int index;
        QString caption;
        int widthTwips;
        platform::DataGridColumn::Alignment alignment;
        bool button = false;
    };

    /** The tab's position, 0 to 3. */
    int tab = 0;
    /** The grid's caption; the thousandths view builds its own from its rows. */
    QString caption;
    /** A view of one unit's rooms (else the terrace thousandths). */
    bool rooms = true;
    /** The data fields of the first columns; the others keep the rooms' own. */
    QStringList fields;
    /** The columns shown; every other column is hidden. */
    QList<Column> shown;
    /** Whether rows can be added, changed and deleted. */
    bool editable = true;
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
    /**
     * @brief The grid's columns as a view lays them out over the columns it had: every column
     * bound to the view's field (or the room's), shown or hidden, captioned, sized (twips turned to
     * pixels for this widget's screen) and aligned as the view says. A cell button once given
     * stays: the views that do not want it hide its column.
     */
    static QList<platform::DataGridColumn> present(
        const TerraceView &view, const QList<platform::DataGridColumn> &before, const QWidget *screenOf);
};

} // namespace zav::terraces
