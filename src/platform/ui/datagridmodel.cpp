#include "platform/ui/datagridmodel.h"

#include "platform/dialogs.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"

namespace zav::platform {

namespace {

// The text of a value as held: numbers in the runtime's form, yes/no as no text (a check box
// shows it), anything else as it stands.
QString heldText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return vb::CStr(value.toDouble());
    case QMetaType::Bool:
        return QString();
    default:
        return value.toString();
    }
}

Qt::Alignment qtAlignment(DataGridColumn::Alignment alignment)
{
    switch (alignment) {
    case DataGridColumn::Alignment::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case DataGridColumn::Alignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case DataGridColumn::Alignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case DataGridColumn::Alignment::General:
        break;
    }
    return {};
}

} // namespace

DataGridModel::DataGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

DataGridModel::~DataGridModel() = default;

void DataGridModel::setDataSource(DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    beginResetModel();
    m_source = source;
    m_fields.clear();
    endResetModel();
    if (!source)
        return;
    connect(source, &DataSource::aboutToRefresh, this, [this] { beginResetModel(); });
    connect(source, &DataSource::refreshed, this, [this] {
        m_fields.clear();
        endResetModel();
    });
    // A row added at the end while the new-row line is shown takes the line's place, and a fresh
    // new-row line follows it: a cell on the line stays on the row it now holds, so what is typed
    // next goes on into that row (the source's current row is that row already).
    connect(source, &DataSource::rowAboutToBeInserted, this, [this](int row) {
        m_insertingOnNewRowLine = row == newRowLine();
        const int inserted = m_insertingOnNewRowLine ? row + 1 : row;
        beginInsertRows(QModelIndex(), inserted, inserted);
    });
    connect(source, &DataSource::rowInserted, this, [this](int row) {
        endInsertRows();
        if (!m_insertingOnNewRowLine)
            return;
        m_insertingOnNewRowLine = false;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row + 1);
    });
    connect(source, &DataSource::rowAboutToBeRemoved, this,
        [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(source, &DataSource::rowRemoved, this, [this] { endRemoveRows(); });
    connect(source, &DataSource::rowChanged, this,
        [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
}

void DataGridModel::setColumns(const QList<DataGridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_fields.clear();
    endResetModel();
}

QList<DataGridColumn> DataGridModel::columns() const
{
    if (!m_columns.isEmpty() || !m_source)
        return m_columns;
    QList<DataGridColumn> all;
    for (const QString &field : m_source->fieldNames())
        all.append(DataGridColumn { field, field });
    return all;
}

int DataGridModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    if (!m_columns.isEmpty() || !m_source)
        return int(m_columns.size());
    return m_source->fieldCount();
}

DataGridColumn DataGridModel::column(int index) const
{
    if (!m_columns.isEmpty())
        return index >= 0 && index < m_columns.size() ? m_columns.at(index) : DataGridColumn {};
    if (m_source && index >= 0 && index < m_source->fieldCount()) {
        const QString field = m_source->fieldNames().at(index);
        return DataGridColumn { field, field };
    }
    return DataGridColumn {};
}

void DataGridModel::setColumn(int index, const DataGridColumn &column)
{
    if (m_columns.isEmpty())
        m_columns = columns();
    if (index < 0 || index >= m_columns.size())
        return;
    m_columns[index] = column;
    m_fields.clear();
    emit headerDataChanged(Qt::Horizontal, index, index);
    if (rowCount() > 0)
        emit dataChanged(this->index(0, index), this->index(rowCount() - 1, index));
}

void DataGridModel::setAllowUpdate(bool allow)
{
    m_allowUpdate = allow;
}

void DataGridModel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

int DataGridModel::fieldOf(int column) const
{
    if (!m_source || column < 0 || column >= columnCount())
        return -1;
    // Every cell asks: the fields are looked up by name once for the columns and fields in hand.
    if (m_fields.size() != columnCount()) {
        m_fields.resize(columnCount());
        for (int c = 0; c < columnCount(); ++c)
            m_fields[c] = m_source->fieldIndex(this->column(c).dataField);
    }
    return m_fields.at(column);
}

bool DataGridModel::editable(int column) const
{
    // A hidden column (a row's key, kept by the program) is never written from the grid.
    const DataGridColumn c = this->column(column);
    return !m_readOnly && m_allowUpdate && !c.locked && c.visible;
}

void DataGridModel::setAllowAddNew(bool allow)
{
    if (allow == m_allowAddNew)
        return;
    beginResetModel();
    m_allowAddNew = allow;
    endResetModel();
}

int DataGridModel::newRowLine() const
{
    if (!m_allowAddNew || m_readOnly || !m_source || m_source->recordSource().table.isEmpty())
        return -1;
    return m_source->recordCount();
}

QVariant DataGridModel::value(int row, int column) const
{
    const int field = fieldOf(column);
    if (field < 0 || row < 0 || row >= m_source->recordCount())
        return QVariant();
    return m_source->value(row, field);
}

QString DataGridModel::formatted(const QVariant &value, const QString &format)
{
    if (format.isEmpty() || value.typeId() == QMetaType::Bool)
        return heldText(value);
    if (format.compare(u"General Number", Qt::CaseInsensitive) == 0) {
        // The number as the runtime writes it, without grouping; text that is no number stays.
        const std::optional<double> number = vb::CDbl(value);
        return number ? vb::CStr(*number) : heldText(value);
    }
    return vb::Format(value, format);
}

QString DataGridModel::text(int row, int column) const
{
    return formatted(value(row, column), this->column(column).format);
}

int DataGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_source)
        return 0;
    return m_source->recordCount() + (newRowLine() >= 0 ? 1 : 0);
}

QVariant DataGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const QVariant held = value(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return formatted(held, column(index.column()).format);
    case Qt::EditRole:
        return heldText(held);
    case ValueRole:
        return held;
    case Qt::TextAlignmentRole: {
        const Qt::Alignment fixed = qtAlignment(column(index.column()).alignment);
        if (fixed)
            return int(fixed);
        return int((vb::isNumberValue(held) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::CheckStateRole:
        if (held.typeId() == QMetaType::Bool)
            return held.toBool() ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    default:
        return QVariant();
    }
}

bool DataGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int field = fieldOf(index.column());
    if (!m_source || field < 0)
        return false;
    const Qt::ItemFlags allowed = flags(index);
    QVariant stored = value;
    if (role == Qt::CheckStateRole) {
        if (!(allowed & Qt::ItemIsUserCheckable))
            return false;
        stored = value.toInt() == Qt::Checked;
    } else if (role == Qt::EditRole) {
        if (!(allowed & Qt::ItemIsEditable))
            return false;
        // Editing the same text again writes nothing.
        if (stored.toString() == heldText(this->value(index.row(), index.column())))
            return false;
        const QStringList &items = column(index.column()).valueItems;
        const QString text = stored.toString();
        if (!items.isEmpty() && !text.isEmpty() && !items.contains(text)) {
            dialogs().msgBox(QStringLiteral("Il valore \"%1\" non è tra quelli dell'elenco.").arg(text),
                MsgButtons::Ok, MsgIcon::Critical, programTitle());
            return false;
        }
    } else {
        return false;
    }
    if (m_beforeColUpdate
        && m_beforeColUpdate(index.column(), this->value(index.row(), index.column()), stored))
        return false;

    const bool adding = index.row() == newRowLine();
    Values values { { m_source->fieldNames().at(field), stored } };
    try {
        if (adding) {
            if (m_onAddNew && !m_onAddNew(values))
                return false;
            if (m_beforeUpdate)
                m_beforeUpdate(-1, values);
            m_source->insertRow(values);
            if (m_afterUpdate)
                m_afterUpdate(m_source->recordCount() - 1);
        } else {
            if (m_beforeUpdate)
                m_beforeUpdate(index.row(), values);
            m_source->setValues(index.row(), values);
            if (m_afterUpdate)
                m_afterUpdate(index.row());
        }
        return true;
    } catch (const DbError &error) {
        dialogs().msgBox(failureText(error), MsgButtons::Ok, MsgIcon::Critical, programTitle());
        return false;
    }
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!editable(index.column()))
        return flags;
    if (value(index.row(), index.column()).typeId() == QMetaType::Bool)
        return flags | Qt::ItemIsUserCheckable;
    return flags | Qt::ItemIsEditable;
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) {
        // The new-row line is marked in its row selector.
        if (role == Qt::DisplayRole && section >= 0 && section == newRowLine())
            return QStringLiteral("*");
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section < 0 || section >= columnCount())
        return QVariant();
    const DataGridColumn c = column(section);
    switch (role) {
    case Qt::DisplayRole:
        return c.heading();
    case FieldRole:
        return c.dataField;
    case FormatRole:
        return c.format;
    case Qt::TextAlignmentRole: {
        const Qt::Alignment fixed = qtAlignment(c.alignment);
        return fixed ? QVariant(int(fixed)) : QVariant();
    }
    default:
        return QVariant();
    }
}

} // namespace zav::platform
