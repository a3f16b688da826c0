#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace zav::tables {

/**
 * @brief One of the eight coefficient tables: where it lives in the archive, the title its form
 * shows, the room coefficient it feeds and the commands and grid columns that open it.
 */
struct CoefficientTable
{
    /** 1 to 8: the table of the room coefficient COEFn. */
    int number = 0;
    /** Table name in the archive ("TAB_COEF", "TAB_COEF2" ... "TAB_COEF8"). */
    QString table;
    /** Title shown above the grid ("Tabella Piano" ...). */
    QString title;
    /** The room field the table feeds ("COEF1" ...). */
    QString coefficient;
    /** The main window's menu command and its toolbar twin ("coef1" and "tPiano" ...). */
    QString menuKey;
    QString toolKey;
    /** The room grid columns whose cell buttons open the table as a picker. */
    int workspaceColumn = -1;
    int terraceColumn = -1;
};

/** @brief A column of a table form's grid: the field it shows and its header. */
struct TableColumn
{
    QString field;
    QString caption;
    /** Whether the column holds a number (kept as text in the archive). */
    bool number = false;
};

/**
 * @brief The program's own list of the coefficient tables and of the window table: every table and
 * field name the table forms use comes from here, never from what a user typed.
 */
namespace CoefficientTables {

/** @brief The eight tables, in the order of their coefficients. */
const QList<CoefficientTable> &all();
/** @brief The table of coefficient n (1 to 8). */
std::optional<CoefficientTable> byNumber(int number);
/** @brief The table of this archive name, compared exactly. */
std::optional<CoefficientTable> byTable(const QString &table);
/** @brief The table that a menu or toolbar command opens. */
std::optional<CoefficientTable> byCommand(const QString &key);
/** @brief The table that a cell button of the unit workspace's room grid opens (columns 6 to 13). */
std::optional<CoefficientTable> byWorkspaceColumn(int column);
/** @brief The table that a cell button of the terrace room grid opens (columns 8 to 15). */
std::optional<CoefficientTable> byTerraceColumn(int column);

/** @brief The columns of every coefficient table, in field order: "Descrizione", "Tab. A" to
 * "Tab. G" (the seven alternative values) and "TAB_UTIL" (the caption of the column in use). */
const QList<TableColumn> &columns();
/** @brief Position of the field that holds the caption of the column in use. */
inline constexpr int ColumnInUseField = 8;

} // namespace CoefficientTables

/** @brief The window table `TAB_WINDOW`: the light coefficient of each window band. */
namespace WindowTable {

inline constexpr const char *Name = "TAB_WINDOW";
/** @brief Its columns in field order: the band's description, its coefficient, its code. */
const QList<TableColumn> &columns();

} // namespace WindowTable

} // namespace zav::tables
