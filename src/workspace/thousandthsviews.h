#pragma once

#include "platform/db.h"
#include "platform/ui/gridview.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zav::workspace {

class frm_ins_coeff;

/**
 * @brief One of the workspace's thousandths views (tabs 4 to 10) as a table of settings: the grid
 * view (caption, columns, what it lets the user do), where its rows come from, the totals it shows
 * and the selectors it needs. ThousandthsViews builds every view from such a table by one recipe.
 */
struct ThousandthsView : platform::GridView
{
    /** @brief A total under the grid: a grid column summed into a value label (14, 16, 18 or 20),
     * beside its caption label (the label before it). */
    struct Total
    {
        int column;
        int valueLabel;
        QString caption;
    };

    /** @brief Which selectors the view shows. */
    enum class Selectors { None, Building, BuildingAndStair };

    int tab = 0;
    // The grid's caption is the view's name; the user table has none: it is named by its table.
    /** Rows on entry: a table or an ordered query; the user table's name for the user table. */
    platform::TableQuery source;
    QList<Total> totals;
    Selectors selectors = Selectors::None;
    /** The table the selectors query, and its order after a building pick and after a stair pick. */
    QString selectorTable;
    QStringList buildingPickOrder;
    QStringList stairPickOrder;
    /** The user table: rows edited and deleted in place, its name shown above the grid. */
    bool userTable = false;
};

/**
 * @brief The thousandths views of the workspace (general, building, stair, lift, heating, porter's
 * lodge and user table) and the building and stair selectors that choose their rows.
 *
 * Every view is built by the same recipe: the open unit's totals are stored when a unit view is
 * left, the data source takes the view's rows, the grid its caption, permissions and columns, the
 * main window's tools and the workspace's buttons are switched, the selectors and total labels
 * are shown or hidden, and the totals are summed as total text (TotalText). A view with selectors
 * leaves its rows and totals to the selectors' handlers, which it runs by choosing their first
 * entries. Selector values and the user table's name reach the archive only as bound values and
 * as a checked, quoted table name.
 */
class ThousandthsViews
{
public:
    static const ThousandthsView &general();
    static const ThousandthsView &building();
    static const ThousandthsView &stair();
    static const ThousandthsView &lift();
    static const ThousandthsView &heating();
    static const ThousandthsView &porter();
    static const ThousandthsView &userTable();
    /** @brief The view of a tab (4 to 10); nullptr for any other tab. */
    static const ThousandthsView *byTab(int tab);
    /** @brief The fixed view whose grid caption this is (exact comparison); nullptr for any other. */
    static const ThousandthsView *byCaption(const QString &caption);

    /** @brief The stair letters, in order; a stair past the last letter has no letter. */
    static const QString &stairLetters();
    /** @brief The stair selector's entries for a number of stairs: "Nessuna", then one letter per
     * stair ("" past the 21st). */
    static QStringList stairEntries(int stairs);

    /**
     * @brief Builds the view of a tab (4 to 10) in the workspace; false, touching nothing, for any
     * other tab. Runs inside the view switch, after its common start; these views load no layout.
     */
    static bool enter(frm_ins_coeff &form, int tab);

    /** @brief The building selector's handling: the chosen building's stairs into the stair
     * selector, then the building's rows and totals on the building, stair and lift views. */
    static void buildingChosen(frm_ins_coeff &form);
    /** @brief The stair selector's handling: the chosen stair's rows and totals on the stair and
     * lift views. */
    static void stairChosen(frm_ins_coeff &form);

    /** @brief Sums the view's totals over the rows of the workspace's data source into the value
     * labels; every total reads "0" when there is no row. */
    static void total(frm_ins_coeff &form, const ThousandthsView &view);
};

} // namespace zav::workspace
