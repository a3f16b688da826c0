#include "platform/ui/datagrid.h"

#include "platform/ui/datasource.h"
#include "platform/dialogs.h"
#include "platform/vb.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>

#include <algorithm>

namespace zav::platform {

/** The rows of the grid's source, seen through the grid's columns. */
class DataGridModel : public QAbstractTableModel
{
public:
    explicit DataGridModel(DataGrid *grid)
        : QAbstractTableModel(grid)
        , m_grid(grid)
    {
    }

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginInsert(int row) { beginInsertRows(QModelIndex(), row, row); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows(QModelIndex(), row, row); }
    void endRemove() { endRemoveRows(); }
    void rowUpdated(int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        const DataSource *source = m_grid->dataSource();
        return parent.isValid() || !source ? 0 : source->recordCount();
    }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_grid->columnCount();
    }

    /** The source field of a grid column, -1 when the source lacks it. */
    int fieldOf(int column) const
    {
        const DataSource *source = m_grid->dataSource();
        if (!source || column < 0 || column >= m_grid->columnCount())
            return -1;
        return source->fieldIndex(m_grid->column(column).dataField);
    }

    QVariant rawValue(int row, int column) const
    {
        const DataSource *source = m_grid->dataSource();
        const int field = fieldOf(column);
        if (!source || field < 0 || row < 0 || row >= source->recordCount())
            return QVariant();
        return source->value(row, field);
    }

    static QString textOf(const QVariant &value)
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

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return QVariant();
        const QVariant value = rawValue(index.row(), index.column());
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return textOf(value);
        case Qt::CheckStateRole:
            if (value.typeId() == QMetaType::Bool)
                return value.toBool() ? Qt::Checked : Qt::Unchecked;
            return QVariant();
        default:
            return QVariant();
        }
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        DataSource *source = m_grid->dataSource();
        const int field = fieldOf(index.column());
        if (!source || field < 0)
            return false;
        QVariant stored = value;
        if (role == Qt::CheckStateRole)
            stored = value.toInt() == Qt::Checked;
        else if (role != Qt::EditRole)
            return false;
        // Editing the same text again writes nothing.
        if (role == Qt::EditRole && stored.toString() == textOf(rawValue(index.row(), index.column())))
            return false;
        try {
            source->setValue(index.row(), field, stored);
            return true;
        } catch (const DbError &error) {
            dialogs().msgBox(error.message(), MsgButtons::Ok, MsgIcon::Critical, programTitle());
            return false;
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const bool editable = m_grid->allowUpdate() && !m_grid->column(index.column()).locked;
        if (rawValue(index.row(), index.column()).typeId() == QMetaType::Bool) {
            if (editable)
                flags |= Qt::ItemIsUserCheckable;
        } else if (editable) {
            flags |= Qt::ItemIsEditable;
        }
        return flags;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return QAbstractTableModel::headerData(section, orientation, role);
        if (section < 0 || section >= m_grid->columnCount())
            return QVariant();
        const DataGridColumn column = m_grid->column(section);
        return column.caption.isEmpty() ? column.dataField : column.caption;
    }

private:
    DataGrid *m_grid;
};

namespace {

constexpr int kButtonWidth = 18;

/** Draws the button of a cell-button column at the right of the cell and reports its click. */
class CellButtonDelegate : public QStyledItemDelegate
{
public:
    explicit CellButtonDelegate(DataGrid *grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {
    }

    static QRect buttonRect(const QRect &cell)
    {
        return QRect(cell.right() - kButtonWidth + 1, cell.top(), kButtonWidth, cell.height());
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!hasButton(index))
            return;
        QStyleOptionButton button;
        button.rect = buttonRect(option.rect);
        button.text = QStringLiteral("…");
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override
    {
        if (hasButton(index) && event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (buttonRect(option.rect).contains(mouse->position().toPoint())) {
                emit m_grid->buttonClick(index.column());
                return true;
            }
        }
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

private:
    bool hasButton(const QModelIndex &index) const
    {
        return index.isValid() && index.column() < m_grid->columnCount()
            && m_grid->column(index.column()).button;
    }

    DataGrid *m_grid;
};

} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new DataGridModel(this))
{
    setModel(m_model);
    setItemDelegate(new CellButtonDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DataGrid::onCurrentChanged);
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSource(DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_model->beginReset();
    m_source = source;
    m_model->endReset();
    if (source) {
        connect(source, &DataSource::aboutToRefresh, this, [this] { m_model->beginReset(); });
        connect(source, &DataSource::refreshed, this, [this] {
            m_model->endReset();
            applyColumnSettings();
        });
        connect(
            source, &DataSource::rowAboutToBeInserted, this, [this](int row) { m_model->beginInsert(row); });
        connect(source, &DataSource::rowInserted, this, [this] { m_model->endInsert(); });
        connect(
            source, &DataSource::rowAboutToBeRemoved, this, [this](int row) { m_model->beginRemove(row); });
        connect(source, &DataSource::rowRemoved, this, [this] { m_model->endRemove(); });
        connect(source, &DataSource::rowChanged, this, [this](int row) { m_model->rowUpdated(row); });
        connect(source, &DataSource::currentRowChanged, this, &DataGrid::followSource);
        followSource(source->currentRow());
    }
    applyColumnSettings();
}

void DataGrid::setColumns(const QList<DataGridColumn> &columns)
{
    m_model->beginReset();
    m_columns = columns;
    m_model->endReset();
    applyColumnSettings();
    if (m_source)
        followSource(m_source->currentRow());
}

QList<DataGridColumn> DataGrid::columns() const
{
    if (!m_columns.isEmpty() || !m_source)
        return m_columns;
    QList<DataGridColumn> all;
    for (const QString &field : m_source->fieldNames())
        all.append(DataGridColumn { field, field });
    return all;
}

int DataGrid::columnCount() const
{
    if (!m_columns.isEmpty() || !m_source)
        return int(m_columns.size());
    return m_source->fieldCount();
}

DataGridColumn DataGrid::column(int index) const
{
    if (!m_columns.isEmpty())
        return index >= 0 && index < m_columns.size() ? m_columns.at(index) : DataGridColumn {};
    if (m_source && index >= 0 && index < m_source->fieldCount()) {
        const QString field = m_source->fieldNames().at(index);
        return DataGridColumn { field, field };
    }
    return DataGridColumn {};
}

void DataGrid::setColumn(int index, const DataGridColumn &column)
{
    if (m_columns.isEmpty())
        m_columns = columns();
    if (index < 0 || index >= m_columns.size())
        return;
    m_columns[index] = column;
    m_model->headerDataChanged(Qt::Horizontal, index, index);
    applyColumnSettings();
    viewport()->update();
}

int DataGrid::columnByCaption(const QString &caption) const
{
    for (int i = 0; i < columnCount(); ++i) {
        const DataGridColumn c = column(i);
        if ((c.caption.isEmpty() ? c.dataField : c.caption) == caption)
            return i;
    }
    return -1;
}

QVariant DataGrid::columnValue(int column) const
{
    return m_source ? m_model->rawValue(m_source->currentRow(), column) : QVariant();
}

QString DataGrid::columnText(int column) const
{
    return DataGridModel::textOf(columnValue(column));
}

void DataGrid::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit captionChanged(caption);
}

void DataGrid::setAllowUpdate(bool allow)
{
    m_allowUpdate = allow;
    viewport()->update();
}

int DataGrid::row() const
{
    return m_source && !m_source->noCurrentRow() ? m_source->currentRow() : -1;
}

// A layout file holds one JSON object: layout name -> list of columns.
bool DataGrid::saveLayout(const QString &file, const QString &name) const
{
    QJsonObject layouts;
    QFile existing(file);
    if (existing.open(QIODevice::ReadOnly))
        layouts = QJsonDocument::fromJson(existing.readAll()).object();
    existing.close();

    QJsonArray list;
    for (int i = 0; i < columnCount(); ++i) {
        const DataGridColumn c = column(i);
        list.append(QJsonObject { { QStringLiteral("dataField"), c.dataField },
            { QStringLiteral("caption"), c.caption },
            { QStringLiteral("width"), isColumnHidden(i) || c.width >= 0 ? c.width : columnWidth(i) },
            { QStringLiteral("visible"), c.visible }, { QStringLiteral("locked"), c.locked },
            { QStringLiteral("button"), c.button } });
    }
    layouts.insert(name, list);

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(layouts).toJson());
    return out.commit();
}

bool DataGrid::loadLayout(const QString &file, const QString &name)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QJsonValue layout = QJsonDocument::fromJson(in.readAll()).object().value(name);
    if (!layout.isArray())
        return false;
    QList<DataGridColumn> loaded;
    for (const QJsonValue &value : layout.toArray()) {
        const QJsonObject c = value.toObject();
        loaded.append(DataGridColumn { c.value(QStringLiteral("dataField")).toString(),
            c.value(QStringLiteral("caption")).toString(), c.value(QStringLiteral("width")).toInt(-1),
            c.value(QStringLiteral("visible")).toBool(true), c.value(QStringLiteral("locked")).toBool(),
            c.value(QStringLiteral("button")).toBool() });
    }
    setColumns(loaded);
    return true;
}

QList<qint64> DataGrid::selectedBookmarks() const
{
    QList<qint64> bookmarks;
    if (!m_source)
        return bookmarks;
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row()))
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    for (int row : rows)
        bookmarks.append(m_source->rowid(row));
    return bookmarks;
}

void DataGrid::selectBookmark(qint64 rowid)
{
    if (!m_source)
        return;
    const int row = m_source->rowOf(rowid);
    if (row < 0 || m_model->columnCount() == 0)
        return;
    selectionModel()->select(
        QItemSelection(m_model->index(row, 0), m_model->index(row, m_model->columnCount() - 1)),
        QItemSelectionModel::Select);
}

void DataGrid::applyColumnSettings()
{
    for (int i = 0; i < columnCount(); ++i) {
        const DataGridColumn c = column(i);
        setColumnHidden(i, !c.visible);
        if (c.width >= 0)
            setColumnWidth(i, c.width);
    }
}

void DataGrid::followSource(int row)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearCurrentIndex();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        if (column < m_model->columnCount())
            selectionModel()->setCurrentIndex(m_model->index(row, column), QItemSelectionModel::NoUpdate);
    }
    m_syncing = false;
}

void DataGrid::onCurrentChanged(const QModelIndex &current, const QModelIndex &)
{
    if (m_syncing || !m_source || !current.isValid() || current.row() == m_source->currentRow())
        return;
    m_syncing = true;
    try {
        m_source->setCurrentRow(current.row());
    } catch (const DbError &error) {
        dialogs().msgBox(error.message(), MsgButtons::Ok, MsgIcon::Critical, programTitle());
    }
    m_syncing = false;
}

} // namespace zav::platform
