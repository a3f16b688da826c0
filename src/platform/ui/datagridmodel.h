#pragma once

#include "platform/ui/datasource.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <utility>

namespace zav::platform {

/** @brief One column of a grid: what it shows and how. */
struct DataGridColumn
{
    /** @brief Where a column's text stands in its cells. General puts numbers right, the rest left. */
    enum class Alignment { General, Left, Center, Right };

    /** Field of the data source the column shows. */
    QString dataField;
    /** Header text; the field's name when empty. */
    QString caption;
    /** Width in pixels; -1 leaves the view's default. */
    int width = -1;
    bool visible = true;
    /** A locked column cannot be edited. */
    bool locked = false;
    /** The column's cells carry a button, whose click the grid reports. */
    bool button = false;
    /**
     * Display format of the cells: a pattern of the runtime's Format ("##0.000", "###0.0##"), the
     * named formats "Currency" and "General Number", or empty to show values as they are held.
     * Numbers held as text are formatted as the numbers they read as; other text shows unchanged.
     * Editing a cell starts from the value as held, not from its formatted text.
     */
    QString format {};
    Alignment alignment = Alignment::General;
    /**
     * Value list of the column: when not empty, a cell is edited by choosing one of these texts
     * (shown and stored as they stand), and any other text put into the cell is refused.
     */
    QStringList valueItems {};

    /** @brief The header text: the caption, or the field's name without one. */
    QString heading() const { return caption.isEmpty() ? dataField : caption; }
};

/**
 * @brief The rows of a DataSource seen through a list of columns: the model of a DataGrid, and of
 * anything else that walks a grid's rows as the grid shows them (totals, printing, sorting).
 *
 * The rows are the source's, which reads all its rows at once and releases its statement, so the
 * model holds no database lock. The header carries each column's caption (DisplayRole), field
 * (FieldRole), format (FormatRole) and fixed alignment (Qt::TextAlignmentRole; none for General).
 * A cell gives its formatted text (DisplayRole), the text an edit starts from (EditRole), the value
 * as held (ValueRole), its alignment and, for a yes/no field, its check state.
 *
 * Editing writes at once through the source; it is refused on a locked or hidden column, when
 * updates are not allowed and on a read-only model: what a hidden column holds (a row's key)
 * comes from the program alone, such as the new-row event's values. A failure of the database is
 * told with a message box. Each write runs the editing events in the order BeforeColUpdate (may
 * cancel), OnAddNew (on the new-row line; may drop the row), BeforeUpdate (may change and add
 * values), the write of all the row's values at once, AfterUpdate: a value that does not suit its
 * field leaves the row unwritten.
 */
class DataGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        /** The value as held, Null included (cells). */
        ValueRole = Qt::UserRole + 1,
        /** The column's data field (header). */
        FieldRole,
        /** The column's display format (header). */
        FormatRole,
    };

    explicit DataGridModel(QObject *parent = nullptr);
    ~DataGridModel() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }

    // --- Columns ------------------------------------------------------------------------------
    /** @brief Sets the columns; with none, the model shows every field of the source by name. */
    void setColumns(const QList<DataGridColumn> &columns);
    /** @brief The columns in force (every field by name when none were set). */
    QList<DataGridColumn> columns() const;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    /** @brief A column; an empty one when out of range. */
    DataGridColumn column(int index) const;
    /** @brief Changes one column (the fields' columns become set columns first). */
    void setColumn(int index, const DataGridColumn &column);

    // --- Permissions --------------------------------------------------------------------------
    /** @brief Whether cells can be edited at all (columns may also be locked one by one). */
    bool allowUpdate() const { return m_allowUpdate; }
    void setAllowUpdate(bool allow);
    /** @brief A read-only model refuses every change, whatever the columns and updates allow. */
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // --- New rows -----------------------------------------------------------------------------
    /**
     * @brief Whether a new-row line follows the last row: a cell edited on it stores a new row with
     * that value (and what the new-row event adds), after which the row is an ordinary row. The
     * stored row takes the line's place (a cell on the line stays on it) and a new line follows.
     */
    bool allowAddNew() const { return m_allowAddNew; }
    void setAllowAddNew(bool allow);
    /** @brief The row index of the new-row line, -1 when there is none. */
    int newRowLine() const;

    // --- Editing events -------------------------------------------------------------------------
    /** Field name / value pairs of a row being written. */
    using Values = QList<std::pair<QString, QVariant>>;
    /** @brief A cell edit is about to be accepted: (column, old value, new text); true cancels it. */
    using BeforeColUpdate
        = std::function<bool(int column, const QVariant &oldValue, const QVariant &newValue)>;
    /** @brief A new row is being started with these values, which the handler may add to; false drops it. */
    using OnAddNew = std::function<bool(Values &values)>;
    /** @brief A row is about to be written (-1: the new row) with these values, which the handler may change.
     */
    using BeforeUpdate = std::function<void(int row, Values &values)>;
    /** @brief A row has been written. */
    using AfterUpdate = std::function<void(int row)>;
    void setBeforeColUpdate(BeforeColUpdate handler) { m_beforeColUpdate = std::move(handler); }
    void setOnAddNew(OnAddNew handler) { m_onAddNew = std::move(handler); }
    void setBeforeUpdate(BeforeUpdate handler) { m_beforeUpdate = std::move(handler); }
    void setAfterUpdate(AfterUpdate handler) { m_afterUpdate = std::move(handler); }

    // --- Cells --------------------------------------------------------------------------------
    /** @brief The value of a cell as held; Null out of range or on a field the source lacks. */
    QVariant value(int row, int column) const;
    /** @brief The text a cell shows: its value in the column's format. */
    QString text(int row, int column) const;
    /** @brief A value written in a column's format (empty format: as held; Null: empty text). */
    static QString formatted(const QVariant &value, const QString &format);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /** @brief The source field of a column, -1 when the source lacks it. */
    int fieldOf(int column) const;

private:
    bool editable(int column) const;

    QPointer<DataSource> m_source;
    QList<DataGridColumn> m_columns;
    /** The source field of each column, found once for a set of columns and fields; empty until asked. */
    mutable QVector<int> m_fields;
    bool m_allowUpdate = true;
    bool m_readOnly = false;
    bool m_allowAddNew = false;
    BeforeColUpdate m_beforeColUpdate;
    OnAddNew m_onAddNew;
    BeforeUpdate m_beforeUpdate;
    AfterUpdate m_afterUpdate;
    /** A row being added where the new-row line stands. */
    bool m_insertingOnNewRowLine = false;
};

} // namespace zav::platform
