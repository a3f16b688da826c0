#include "platform/ui/datasource.h"

#include "platform/vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace zav::platform {

namespace {

enum class Kind { Text, Integer, Real, Boolean, Other };

// The kind of a field from its declared type, by SQLite's own affinity rules (BOOLEAN apart).
Kind kindOf(const QString &declared)
{
    const QString type = declared.toUpper();
    if (type.contains(u"BOOL"))
        return Kind::Boolean;
    if (type.contains(u"INT"))
        return Kind::Integer;
    if (type.contains(u"CHAR") || type.contains(u"CLOB") || type.contains(u"TEXT"))
        return Kind::Text;
    if (type.contains(u"REAL") || type.contains(u"FLOA") || type.contains(u"DOUB")
        || type.contains(u"NUMERIC") || type.contains(u"DECIMAL"))
        return Kind::Real;
    return Kind::Other;
}

/** Text a number field cannot hold: the runtime's message, then what was typed and how to write a number. */
[[noreturn]] void notANumber(const QString &typed)
{
    throw DbError(
        DbErrorCode::Failed, QStringLiteral("Tipo non corrispondente. ") + vb::notANumberMessage(typed));
}

[[noreturn]] void noCurrentRecord()
{
    throw DbError(DbErrorCode::NoCurrentRecord, QStringLiteral("Nessun record corrente."));
}

} // namespace

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
}

DataSource::~DataSource() = default;

void DataSource::setRecordSource(const QString &table)
{
    m_recordSource = TableQuery { table, {}, {} };
}

void DataSource::setRecordSource(const TableQuery &query)
{
    m_recordSource = query;
}

Database DataSource::openDatabase() const
{
    return Database::open(m_databaseName);
}

void DataSource::refresh()
{
    // Everything is read before anything changes, so a failed read leaves the rows as they were.
    Database db = openDatabase();
    const Recordset rs = db.select(m_recordSource);
    QStringList types;
    const Recordset info = db.query(
        QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"), { m_recordSource.table });
    for (const QString &field : rs.fieldNames()) {
        QString type;
        for (int row = 0; row < info.recordCount(); ++row) {
            if (info.value(row, 0).toString().compare(field, Qt::CaseInsensitive) == 0)
                type = info.value(row, 1).toString();
        }
        types << type;
    }
    db.close();

    emit aboutToRefresh();
    m_fieldsBefore = std::exchange(m_fields, rs.fieldNames());
    m_rowsBefore = std::exchange(m_rows, {});
    m_rowidsBefore = std::exchange(m_rowids, {});
    m_fieldTypes = types;
    for (int row = 0; row < rs.recordCount(); ++row) {
        m_rows.append(rs.row(row));
        m_rowids.append(rs.rowidAt(row));
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_mode = EditMode::None;
    m_comparing = true;
    m_sameRows.reset();
    emit refreshed();
    m_comparing = false;
    m_fieldsBefore.clear();
    m_rowsBefore.clear();
    m_rowidsBefore.clear();
    fillControls();
    emit currentRowChanged(m_current);
}

bool DataSource::fieldKept(int field) const
{
    if (!m_comparing || field < 0 || field >= fieldCount())
        return false;
    if (!m_sameRows)
        m_sameRows = m_fieldsBefore == m_fields && m_rowidsBefore == m_rowids;
    if (!*m_sameRows)
        return false;
    const QMetaType real = QMetaType::fromType<double>();
    for (int row = 0; row < recordCount(); ++row) {
        const QVariant &before = m_rowsBefore.at(row).at(field);
        const QVariant &now = m_rows.at(row).at(field);
        if (before.metaType() != now.metaType())
            return false;
        // Numbers bit for bit: 0 and -0 are equal numbers but need not be written alike.
        if (now.metaType() == real) {
            if (std::memcmp(before.constData(), now.constData(), sizeof(double)) != 0)
                return false;
        } else if (before != now) {
            return false;
        }
    }
    return true;
}

int DataSource::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant DataSource::value(int row, int field) const
{
    if (row < 0 || row >= recordCount())
        noCurrentRecord();
    if (field < 0 || field >= fieldCount())
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(field));
    return m_rows.at(row).at(field);
}

QVariant DataSource::value(int row, const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo non trovato: %1").arg(field));
    return value(row, index);
}

qint64 DataSource::rowid(int row) const
{
    if (row < 0 || row >= recordCount())
        noCurrentRecord();
    return m_rowids.at(row);
}

int DataSource::rowOf(qint64 rowid) const
{
    return int(m_rowids.indexOf(rowid));
}

void DataSource::setCurrentRow(int row)
{
    row = std::clamp(row, -1, recordCount());
    if (row == m_current && m_mode == EditMode::None && !dataChanged())
        return;
    // Leaving the record in hand stores what was typed into it, as a data-bound form does.
    storePending();
    m_mode = EditMode::None;
    m_current = row;
    fillControls();
    emit currentRowChanged(m_current);
}

QVariant DataSource::currentValue(const QString &field) const
{
    return value(m_current, field);
}

QVariant DataSource::toFieldValue(int field, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    if (value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    if (text.isEmpty())
        return QVariant();
    const Kind kind
        = field >= 0 && field < m_fieldTypes.size() ? kindOf(m_fieldTypes.at(field)) : Kind::Other;
    switch (kind) {
    case Kind::Text:
    case Kind::Other:
        return text;
    case Kind::Boolean: {
        if (text.compare(u"Vero", Qt::CaseInsensitive) == 0
            || text.compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(u"Falso", Qt::CaseInsensitive) == 0
            || text.compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
        const std::optional<double> number = vb::CDbl(text);
        if (!number)
            throw DbError(DbErrorCode::Failed,
                QStringLiteral(
                    "Tipo non corrispondente. \"%1\" non è un valore ammesso: scrivere Vero, Falso "
                    "o un numero.")
                    .arg(text.trimmed()));
        return *number != 0.0;
    }
    case Kind::Integer: {
        const std::optional<double> number = vb::CDbl(text);
        if (!number)
            notANumber(text);
        try {
            return QVariant(qlonglong(vb::CLng(*number)));
        } catch (const std::overflow_error &) {
            throw DbError(DbErrorCode::Failed, QStringLiteral("Overflow."));
        }
    }
    case Kind::Real: {
        const std::optional<double> number = vb::CDbl(text);
        if (!number || !std::isfinite(*number))
            notANumber(text);
        return *number;
    }
    }
    return text;
}

void DataSource::setValue(int row, int field, const QVariant &value)
{
    const qint64 id = rowid(row);
    if (field < 0 || field >= fieldCount())
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(field));
    const QVariant stored = toFieldValue(field, value);
    Database db = openDatabase();
    db.update(m_recordSource.table, id, { { m_fields.at(field), stored } });
    const Recordset rs
        = db.select(TableQuery { m_recordSource.table, { { QStringLiteral("rowid"), id } }, {} });
    if (!rs.isEmpty())
        m_rows[row] = rs.row(0);
    emit rowChanged(row);
    if (row == m_current && m_mode == EditMode::None && !dataChanged())
        fillControls();
}

void DataSource::setValues(int row, const QList<std::pair<QString, QVariant>> &values)
{
    const qint64 id = rowid(row);
    QList<std::pair<QString, QVariant>> stored;
    for (const auto &[name, value] : values) {
        const int field = fieldIndex(name);
        if (field < 0)
            throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(name));
        stored.append({ m_fields.at(field), toFieldValue(field, value) });
    }
    if (stored.isEmpty())
        return;
    Database db = openDatabase();
    db.update(m_recordSource.table, id, stored);
    const Recordset rs
        = db.select(TableQuery { m_recordSource.table, { { QStringLiteral("rowid"), id } }, {} });
    if (!rs.isEmpty())
        m_rows[row] = rs.row(0);
    emit rowChanged(row);
    if (row == m_current && m_mode == EditMode::None && !dataChanged())
        fillControls();
}

qint64 DataSource::insertRow(const QList<std::pair<QString, QVariant>> &values)
{
    QList<std::pair<QString, QVariant>> stored;
    for (const auto &[name, value] : values) {
        const int field = fieldIndex(name);
        if (field < 0)
            throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(name));
        stored.append({ m_fields.at(field), toFieldValue(field, value) });
    }
    Database db = openDatabase();
    const qint64 id = db.insert(m_recordSource.table, stored);
    appendStoredRow(db, id);
    return id;
}

void DataSource::addNew()
{
    storePending();
    m_mode = EditMode::AddNew;
    fillControls();
}

void DataSource::edit()
{
    if (noCurrentRow())
        noCurrentRecord();
    m_mode = EditMode::Edit;
}

void DataSource::update()
{
    store(false);
}

void DataSource::updateRecord()
{
    if (m_mode != EditMode::AddNew && noCurrentRow())
        noCurrentRecord();
    store(true);
}

void DataSource::store(bool allBound)
{
    if (m_mode == EditMode::AddNew) {
        // A new record takes every bound box, changed or not: what it shows is what it holds.
        const QList<std::pair<QString, QVariant>> values = boundValues(false);
        Database db = openDatabase();
        const qint64 id = db.insert(m_recordSource.table, values);
        appendStoredRow(db, id);
        m_mode = EditMode::None;
        fillControls();
        return;
    }
    if (noCurrentRow()) {
        if (dataChanged())
            noCurrentRecord();
        m_mode = EditMode::None;
        return;
    }
    const QList<std::pair<QString, QVariant>> values = boundValues(!allBound);
    if (!values.isEmpty()) {
        const qint64 id = m_rowids.at(m_current);
        Database db = openDatabase();
        db.update(m_recordSource.table, id, values);
        const Recordset rs
            = db.select(TableQuery { m_recordSource.table, { { QStringLiteral("rowid"), id } }, {} });
        if (!rs.isEmpty())
            m_rows[m_current] = rs.row(0);
        emit rowChanged(m_current);
    }
    m_mode = EditMode::None;
    fillControls();
}

void DataSource::appendStoredRow(Database &db, qint64 rowid)
{
    const Recordset rs
        = db.select(TableQuery { m_recordSource.table, { { QStringLiteral("rowid"), rowid } }, {} });
    if (rs.isEmpty())
        return;
    const int row = recordCount();
    emit rowAboutToBeInserted(row);
    m_rows.append(rs.row(0));
    m_rowids.append(rowid);
    emit rowInserted(row);
}

void DataSource::cancelUpdate()
{
    m_mode = EditMode::None;
    fillControls();
}

void DataSource::deleteCurrent()
{
    if (noCurrentRow())
        noCurrentRecord();
    const int row = m_current;
    {
        Database db = openDatabase();
        db.remove(m_recordSource.table, m_rowids.at(row));
    }
    m_mode = EditMode::None;
    emit rowAboutToBeRemoved(row);
    m_rows.removeAt(row);
    m_rowids.removeAt(row);
    emit rowRemoved(row);
    // The row that followed takes the place of the deleted one.
    m_current = std::min(row, recordCount() - 1);
    fillControls();
    emit currentRowChanged(m_current);
}

void DataSource::updateControls()
{
    fillControls();
}

void DataSource::storePending()
{
    if (dataChanged())
        update();
}

bool DataSource::dataChanged() const
{
    for (const Binding &binding : m_bindings) {
        if (binding.control && binding.changed)
            return true;
    }
    return false;
}

void DataSource::bind(QWidget *control, const QString &field)
{
    if (!control)
        return;
    m_bindings.append(Binding { control, field, false });
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { markChanged(edit); });
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        connect(check, &QCheckBox::toggled, this, [this, check] { markChanged(check); });
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        connect(combo, &QComboBox::currentTextChanged, this, [this, combo] { markChanged(combo); });
    }
    Binding &added = m_bindings.last();
    const bool filling = m_filling;
    m_filling = true;
    const int index = fieldIndex(field);
    const bool shown = m_mode != EditMode::AddNew && !noCurrentRow() && index >= 0;
    showInControl(added, shown ? m_rows.at(m_current).at(index) : QVariant());
    m_filling = filling;
}

void DataSource::markChanged(QWidget *control)
{
    if (m_filling)
        return;
    for (Binding &binding : m_bindings) {
        if (binding.control == control)
            binding.changed = true;
    }
}

void DataSource::fillControls()
{
    m_filling = true;
    for (Binding &binding : m_bindings) {
        if (!binding.control)
            continue;
        const int index = fieldIndex(binding.field);
        const bool shown = m_mode != EditMode::AddNew && !noCurrentRow() && index >= 0;
        showInControl(binding, shown ? m_rows.at(m_current).at(index) : QVariant());
        binding.changed = false;
    }
    m_filling = false;
}

void DataSource::showInControl(Binding &binding, const QVariant &value)
{
    QString text;
    if (value.isValid() && !value.isNull()) {
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            text = vb::CStr(value.toDouble());
            break;
        default:
            text = value.toString();
        }
    }
    QWidget *control = binding.control;
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(text);
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        // A yes/no is compared with true: an empty field counts as false.
        check->setChecked(value.isValid() && !value.isNull() && value.toBool());
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        combo->setCurrentText(text);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
    }
}

QVariant DataSource::controlValue(const QWidget *control)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (const auto *check = qobject_cast<const QCheckBox *>(control))
        return check->isChecked();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    return QVariant();
}

QList<std::pair<QString, QVariant>> DataSource::boundValues(bool changedOnly) const
{
    QList<std::pair<QString, QVariant>> values;
    for (const Binding &binding : m_bindings) {
        if (!binding.control || qobject_cast<const QLabel *>(binding.control.data()))
            continue;
        if (changedOnly && !binding.changed)
            continue;
        const int index = fieldIndex(binding.field);
        if (index < 0)
            throw DbError(
                DbErrorCode::ItemNotFound, QStringLiteral("Campo non trovato: %1").arg(binding.field));
        values.append({ m_fields.at(index), toFieldValue(index, controlValue(binding.control)) });
    }
    return values;
}

} // namespace zav::platform
