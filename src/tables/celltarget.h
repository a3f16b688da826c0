#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

namespace zav::platform {
class DataGrid;
}

namespace zav::tables {

/**
 * @brief The room grid that the coefficient picker writes into: the grid whose coefficient cell
 * button opened the picker, seen through the little the transfer needs of it.
 *
 * The unit workspace's room grid and the terrace form's room grid stand behind it (through
 * GridCellTarget); tests put doubles behind it.
 */
class CellTarget
{
public:
    virtual ~CellTarget() = default;

    /** @brief The grid's current column: the coefficient column whose button opened the picker;
     * -1 when none. */
    virtual int currentColumn() const = 0;
    /** @brief Whether a row is current (false before the first row and past the last one). */
    virtual bool hasCurrentRow() const = 0;
    /** @brief Makes the first row current (none when the grid has no rows). */
    virtual void moveFirst() = 0;
    /** @brief Makes the next row current (none past the last). */
    virtual void moveNext() = 0;
    /** @brief Writes a text into a column of the current row as if it were typed there; the grid
     * stores the row in its own table. False when the grid refused it. */
    virtual bool setCell(int column, const QString &text) = 0;
    /** @brief Widens the columns whose values the writes changed, so that they show whole. */
    virtual void fitWrittenColumns() { }
};

/** @brief A CellTarget on a platform DataGrid: moves its data source and writes through its model. */
class GridCellTarget : public CellTarget
{
public:
    explicit GridCellTarget(platform::DataGrid *grid);

    int currentColumn() const override;
    bool hasCurrentRow() const override;
    void moveFirst() override;
    void moveNext() override;
    bool setCell(int column, const QString &text) override;
    void fitWrittenColumns() override;

private:
    QPointer<platform::DataGrid> m_grid;
    /** The columns whose shown text a write changed (the coefficient's, and what the row computes from it).
     */
    QList<int> m_changed;
};

/**
 * @brief The transfer of the coefficient picker and how it finds the grid it writes into.
 */
namespace CoefficientTransfer {

/** @brief The caption of the transfer button that names the unit workspace's room grid; any other
 * caption (the terrace form writes "Trasf.") names the terrace form's room grid. */
inline constexpr const char *WorkspaceCaption = "Trasferisci";
/** @brief The caption the terrace form writes on the transfer button. */
inline constexpr const char *TerraceCaption = "Trasf.";

/**
 * @brief The grid a transfer writes into, chosen by the transfer button's caption: exactly
 * "Trasferisci" is the room grid `TDBGrid1` of the loaded form `frm_ins_coeff`, any other caption the
 * room grid `TDBGrid1` of the loaded form `frm_terrazze`. Null when that form is not loaded.
 */
std::unique_ptr<CellTarget> targetFor(const QString &transferCaption);

/**
 * @brief Writes a value into the target's current column: into the current row, or, with
 * `everyRow`, into every row from the first (the grid ends past its last row), then widens the
 * columns the writes changed. Returns the number of rows written; nothing is written when the
 * target has no current column.
 */
int transfer(CellTarget &target, const QString &value, bool everyRow);

} // namespace CoefficientTransfer

} // namespace zav::tables
