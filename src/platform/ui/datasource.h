#pragma once

#include "platform/db.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <algorithm>
#include <optional>

class QWidget;

namespace zav::platform {

/**
 * @brief The object that forms bind their grids and boxes to: a database file, a record source
 * (a table, or the rows of a table that a TableQuery names) and the rows read from it.
 *
 * `refresh()` reads every row at once and releases the statement, so no read lock is held while
 * the form is open; every write opens its own connection and closes it. Rows are kept with their
 * rowids and edited through them. One row is current (or none, before the first or after the
 * last); grids follow it and move it.
 *
 * Bound boxes (line edits, check boxes, combo boxes, labels) show the record in hand: the current
 * row, or a new record started with `addNew()`. What is typed into them is pending until it is
 * stored: by `update()`, when the current row changes, or by `storePending()`, which a form calls
 * as it closes. `updateControls()` drops what is pending. An empty box stores Null.
 *
 * Failures of the database are thrown as DbError.
 */
class DataSource : public QObject
{
    Q_OBJECT

public:
    /** @brief What the record in hand is: a stored row as read, a stored row put in editing, or a
     * new record not stored yet. */
    enum class EditMode { None, Edit, AddNew };

    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    // --- Source -------------------------------------------------------------------------------
    const QString &databaseName() const { return m_databaseName; }
    void setDatabaseName(const QString &path) { m_databaseName = path; }
    const TableQuery &recordSource() const { return m_recordSource; }
    /** @brief A whole table, in stored order. */
    void setRecordSource(const QString &table);
    void setRecordSource(const TableQuery &query);

    /**
     * @brief Reads the rows again; the first row becomes current (none when there are no rows).
     * Pending edits are dropped and a new record not stored is abandoned.
     */
    void refresh();

    // --- Rows ---------------------------------------------------------------------------------
    const QStringList &fieldNames() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    /** @brief Position of a field, without regard to case; -1 when missing. */
    int fieldIndex(const QString &name) const;
    int recordCount() const { return int(m_rows.size()); }
    QVariant value(int row, int field) const;
    QVariant value(int row, const QString &field) const;
    /** @brief The fields of a row as held, in field order, for reading many rows without copies
     * (0 <= row < recordCount()). */
    const QVector<QVariant> &rowValues(int row) const { return m_rows.at(row); }
    /**
     * @brief While `refreshed` is emitted: whether the refresh read the same fields and rows
     * (rowids) as were held before it, with this field's values as they were (of the same type
     * and value), so that what was worked out from them still holds. False at any other time.
     */
    bool fieldKept(int field) const;
    qint64 rowid(int row) const;
    /** @brief The row holding this rowid, -1 when none. */
    int rowOf(qint64 rowid) const;

    // --- Current row --------------------------------------------------------------------------
    /** @brief The current row, -1 when none. */
    int currentRow() const { return m_current; }
    /** @brief Whether there is no current row (no rows, or moved before the first or past the last). */
    bool noCurrentRow() const { return m_current < 0 || m_current >= recordCount(); }
    /**
     * @brief Makes another row current (-1 or recordCount() for none). Pending edits of the bound
     * boxes are stored first, as leaving a record does.
     */
    void setCurrentRow(int row);
    void moveFirst() { setCurrentRow(recordCount() > 0 ? 0 : -1); }
    void moveLast() { setCurrentRow(recordCount() - 1); }
    void moveNext() { setCurrentRow(std::min(m_current + 1, recordCount())); }
    void movePrevious() { setCurrentRow(std::max(m_current - 1, -1)); }
    /** @brief A field of the current row; DbError NoCurrentRecord when there is none. */
    QVariant currentValue(const QString &field) const;

    // --- Editing ------------------------------------------------------------------------------
    /**
     * @brief Writes one field of a stored row at once (a grid cell). Text goes into a number field
     * as the number it reads as under the decimal separator in force; empty text is Null.
     * DbError when the text does not suit the field.
     */
    void setValue(int row, int field, const QVariant &value);
    /**
     * @brief Writes several fields of a stored row in one statement (a grid row). Every value is
     * made ready for its field first, so a value that does not suit its field (DbError) leaves the
     * row unwritten.
     */
    void setValues(int row, const QList<std::pair<QString, QVariant>> &values);
    /** @brief Adds a row from field name / value pairs (a grid's new-row line) at the end of the
     * rows; nothing is stored when a value does not suit its field (DbError). Returns its rowid. */
    qint64 insertRow(const QList<std::pair<QString, QVariant>> &values);
    /** @brief Starts a new record: the bound boxes empty, nothing stored yet. */
    void addNew();
    /** @brief Puts the current row in editing. */
    void edit();
    /**
     * @brief Stores the record in hand with what the bound boxes hold: a new record is added at the
     * end of the rows, a row in editing is written. Without a record in hand, stores what is
     * pending in the boxes on the current row.
     */
    void update();
    /**
     * @brief Stores every bound box into the record in hand, changed or not: a new record is added,
     * the current row written. DbError NoCurrentRecord without either.
     */
    void updateRecord();
    /** @brief Drops a new record or an editing without storing. */
    void cancelUpdate();
    /** @brief Deletes the current row; none is current afterwards until a move or refresh. */
    void deleteCurrent();
    /** @brief Shows the record in hand again in the bound boxes, dropping what was typed. */
    void updateControls();
    /** @brief Stores what is pending in the bound boxes (a form closing, a record left). */
    void storePending();
    EditMode editMode() const { return m_mode; }
    /** @brief Whether a bound box holds a change not stored. */
    bool dataChanged() const;

    // --- Bound boxes --------------------------------------------------------------------------
    /** @brief Binds a QLineEdit, QCheckBox, QComboBox or QLabel to a field of the record in hand. */
    void bind(QWidget *control, const QString &field);

signals:
    void aboutToRefresh();
    void refreshed();
    void currentRowChanged(int row);
    /** @brief A stored row's values changed. */
    void rowChanged(int row);
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);

private:
    struct Binding
    {
        QPointer<QWidget> control;
        QString field;
        bool changed = false;
    };

    Database openDatabase() const;
    void store(bool allBound);
    /** @brief A value ready for a field: text read as the field's kind; Null for empty text. */
    QVariant toFieldValue(int field, const QVariant &value) const;
    /** @brief The values that the changed bound boxes hold, as (field, value) pairs. */
    QList<std::pair<QString, QVariant>> boundValues(bool changedOnly) const;
    void fillControls();
    void showInControl(Binding &binding, const QVariant &value);
    static QVariant controlValue(const QWidget *control);
    void markChanged(QWidget *control);
    void appendStoredRow(Database &db, qint64 rowid);

    QString m_databaseName;
    TableQuery m_recordSource;
    QStringList m_fields;
    QStringList m_fieldTypes;
    QVector<QVector<QVariant>> m_rows;
    QVector<qint64> m_rowids;
    /** The fields and rows held before a refresh, kept only while it emits `refreshed`. */
    QStringList m_fieldsBefore;
    QVector<QVector<QVariant>> m_rowsBefore;
    QVector<qint64> m_rowidsBefore;
    bool m_comparing = false;
    /** Whether the fields and rowids read are those held before, once fieldKept() has asked. */
    mutable std::optional<bool> m_sameRows;
    int m_current = -1;
    EditMode m_mode = EditMode::None;
    QList<Binding> m_bindings;
    bool m_filling = false;
};

} // namespace zav::platform
