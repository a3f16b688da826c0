#include "platform/ui/datagrid.h"

#include "platform/charadvances.h"
#include "platform/dialogs.h"
#include "platform/ui/datasource.h"
#include "platform/ui/printersettings.h"
#include "platform/ui/valuelistbox.h"
#include "platform/vb.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSet>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTextTable>

#include <QHash>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace zav::platform {

namespace {

constexpr int kButtonWidth = 18;

// The alignments as a layout file names them, in the order of DataGridColumn::Alignment.
const QStringList alignmentNames { QStringLiteral("general"), QStringLiteral("left"),
    QStringLiteral("center"), QStringLiteral("right") };

} // namespace

/**
 * Draws the button of a cell-button column at the right of the cell and reports its click; makes
 * the cells' editors and lets the grid hear their keys first.
 */
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
        if (!hasButton(index)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // The value keeps clear of the button, so that the button does not hide its last digits.
        QStyleOptionViewItem text(option);
        text.rect.setRight(buttonRect(option.rect).left() - 1);
        QStyledItemDelegate::paint(painter, text, index);
        QStyleOptionButton button;
        button.rect = buttonRect(option.rect);
        button.text = QStringLiteral("…");
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (hasButton(index))
            size.rwidth() += kButtonWidth;
        return size;
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

    // A column with a value list is edited by choosing from it.
    QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_grid->editorStarting(index);
        const QStringList items = valueItems(index);
        QWidget *editor = nullptr;
        if (items.isEmpty()) {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
        } else {
            auto *combo = new ValueListBox(parent);
            combo->setObjectName(QStringLiteral("valueList"));
            combo->addItem(QString());
            combo->addItems(items);
            editor = combo;
        }
        m_grid->m_editor = editor;
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentIndex(std::max(combo->findText(index.data(Qt::EditRole).toString()), 0));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    // Tells the grid whether the model refused the text: it writes nothing for the text the cell
    // already holds, which is no refusal.
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        QVariant typed;
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            typed = combo->currentText();
        } else {
            const QMetaProperty property = editor->metaObject()->userProperty();
            if (!property.isValid()) {
                QStyledItemDelegate::setModelData(editor, model, index);
                return;
            }
            typed = property.read(editor);
        }
        const QString held = index.data(Qt::EditRole).toString();
        m_grid->m_editRefused = !model->setData(index, typed, Qt::EditRole) && typed.toString() != held;
    }

    // The view installs the delegate on each editor it makes: the grid hears the editor's keys here
    // before the delegate's own handling (which stores the text only later, on Enter).
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (editor && event->type() == QEvent::KeyPress
            && m_grid->editorKey(editor, static_cast<QKeyEvent *>(event)))
            return true;
        if (auto *line = qobject_cast<QLineEdit *>(object); line && pasteEvent(line, event))
            return true;
        return QStyledItemDelegate::eventFilter(object, event);
    }

public:
    /** The paste entry of a line editor's standard menu, known by the editor's own caption for it. */
    static QAction *pasteAction(const QMenu &menu)
    {
        const QString caption = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction *action : menu.actions()) {
            if (action->text().section(u'\t', 0, 0) == caption)
                return action;
        }
        return nullptr;
    }

private:
    // The paste of the editor's menu and the middle button's paste of the selection go through the
    // grid, as its paste key does.
    bool pasteEvent(QLineEdit *line, QEvent *event)
    {
        if (event->type() == QEvent::ContextMenu) {
            std::unique_ptr<QMenu> menu(line->createStandardContextMenu());
            if (QAction *paste = pasteAction(*menu)) {
                paste->disconnect();
                QObject::connect(paste, &QAction::triggered, line,
                    [this, line] { m_grid->paste(line, QGuiApplication::clipboard()->text()); });
            }
            menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
        const bool middle = event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
        if (middle && QGuiApplication::clipboard()->supportsSelection() && !line->isReadOnly()) {
            m_grid->paste(line, QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        return false;
    }

    QStringList valueItems(const QModelIndex &index) const
    {
        return index.isValid() && index.column() < m_grid->columnCount()
            ? m_grid->column(index.column()).valueItems
            : QStringList();
    }

    bool hasButton(const QModelIndex &index) const
    {
        return index.isValid() && index.column() < m_grid->columnCount()
            && m_grid->column(index.column()).button;
    }

    DataGrid *m_grid;
};

namespace {

bool isEnter(int code)
{
    return code == '\r';
}

// The key of a character that replaces a typed one (the separators, mostly).
int keyOf(int code)
{
    if (code == ',')
        return Qt::Key_Comma;
    if (code == '.')
        return Qt::Key_Period;
    if (code >= 'a' && code <= 'z')
        return Qt::Key_A + (code - 'a');
    return code < 0x80 ? code : Qt::Key_unknown;
}

QString htmlAlignment(const QVariant &alignment)
{
    const Qt::Alignment align = Qt::Alignment(alignment.toInt());
    if (align & Qt::AlignRight)
        return QStringLiteral(" align=\"right\"");
    if (align & Qt::AlignHCenter)
        return QStringLiteral(" align=\"center\"");
    return QString();
}

} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new DataGridModel(this))
{
    setModel(m_model);
    // A new set of rows or columns takes the columns' widths and visibility again.
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumnSettings);
    setItemDelegate(new CellButtonDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DataGrid::onCurrentChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DataGrid::onSelectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_clickOrder.clear(); });
    // A reset (rows read again, columns set again) forgets the current cell: its column is kept.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (currentIndex().isValid())
            m_columnBeforeReset = currentIndex().column();
    });
    // Numbers are never cut: a number column stays as wide as its widest number, sign included.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
        [this] { m_numberWidthsBefore = std::exchange(m_numberWidths, {}); });
    // The widths were put aside as the reset began; those that applyColumnSettings has measured since
    // are of the new rows.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < columnCount(); ++c)
            keepNumbersWhole(c, columnWidth(c));
        m_numberWidthsBefore.clear();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { m_numberWidths.clear(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
        [this](int column, int, int width) { keepNumbersWhole(column, width); });
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSource(DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_model->setDataSource(source);
    if (source) {
        connect(source, &DataSource::currentRowChanged, this, &DataGrid::followSource);
        followSource(source->currentRow());
    }
    applyColumnSettings();
}

void DataGrid::setColumns(const QList<DataGridColumn> &columns)
{
    m_model->setColumns(columns);
    if (m_source)
        followSource(m_source->currentRow());
}

QList<DataGridColumn> DataGrid::columns() const
{
    return m_model->columns();
}

int DataGrid::columnCount() const
{
    return m_model->columnCount();
}

DataGridColumn DataGrid::column(int index) const
{
    return m_model->column(index);
}

void DataGrid::setColumn(int index, const DataGridColumn &column)
{
    m_model->setColumn(index, column);
    applyColumnSettings();
    viewport()->update();
}

int DataGrid::columnByCaption(const QString &caption) const
{
    for (int i = 0; i < columnCount(); ++i) {
        const DataGridColumn c = column(i);
        if (c.heading() == caption)
            return i;
    }
    return -1;
}

QVariant DataGrid::columnValue(int column) const
{
    return m_source ? m_model->value(m_source->currentRow(), column) : QVariant();
}

QString DataGrid::columnText(int column) const
{
    return m_source ? m_model->text(m_source->currentRow(), column) : QString();
}

void DataGrid::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit captionChanged(caption);
}

bool DataGrid::allowUpdate() const
{
    return m_model->allowUpdate();
}

void DataGrid::setAllowUpdate(bool allow)
{
    m_model->setAllowUpdate(allow);
    viewport()->update();
}

bool DataGrid::isReadOnly() const
{
    return m_model->isReadOnly();
}

void DataGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
    viewport()->update();
}

bool DataGrid::allowAddNew() const
{
    return m_model->allowAddNew();
}

void DataGrid::setAllowAddNew(bool allow)
{
    m_model->setAllowAddNew(allow);
}

void DataGrid::setHeadingLines(int lines)
{
    m_headingLines = std::max(lines, 1);
    horizontalHeader()->setDefaultAlignment(m_headingLines > 1
            ? Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap)
            : Qt::Alignment(Qt::AlignCenter));
    horizontalHeader()->setMinimumHeight(m_headingLines * fontMetrics().lineSpacing() + 8);
}

int DataGrid::row() const
{
    return m_source && !m_source->noCurrentRow() ? m_source->currentRow() : -1;
}

bool DataGrid::setColumnValue(int column, const QVariant &value)
{
    if (!m_source || m_source->noCurrentRow() || column < 0 || column >= columnCount())
        return false;
    const int field = m_source->fieldIndex(this->column(column).dataField);
    if (field < 0)
        return false;
    try {
        m_source->setValue(m_source->currentRow(), field, value);
        return true;
    } catch (const DbError &error) {
        dialogs().msgBox(failureText(error), MsgButtons::Ok, MsgIcon::Critical, programTitle());
        return false;
    }
}

// --- Keys and edits ------------------------------------------------------------------------------

int DataGrid::heardKey(int code, int editColumn)
{
    if (!m_keyPress)
        return code;
    int heard = code;
    m_keyEditColumn = editColumn;
    m_keyPress(heard);
    m_keyEditColumn = -1;
    return heard;
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && m_allowDelete && !isReadOnly() && state() != EditingState
        && deleteSelectedRows())
        return;
    // The paste key on a cell not being edited opens its editor with the pasted text in place of the
    // cell's, as a typed character does.
    if (event->matches(QKeySequence::Paste) && state() != EditingState && currentIndex().isValid()
        && edit(currentIndex(), EditKeyPressed, event)) {
        if (auto *line = qobject_cast<QLineEdit *>(m_editor.data())) {
            line->clear();
            paste(line, QGuiApplication::clipboard()->text());
        }
        return;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        QTableView::keyPressEvent(event);
        return;
    }
    // A character that opens a cell's editor goes on to it, where the handler hears it; one that
    // opens none is heard here, after the grid has done with it (there is no text to replace).
    m_keyInFlight = event;
    m_keyForwarded = false;
    QTableView::keyPressEvent(event);
    m_keyInFlight = nullptr;
    if (!m_keyForwarded)
        heardKey(text.at(0).unicode());
}

bool DataGrid::editorKey(QWidget *editor, QKeyEvent *event)
{
    if (auto *line = qobject_cast<QLineEdit *>(editor); line && event->matches(QKeySequence::Paste)) {
        if (event == m_keyInFlight)
            m_keyForwarded = true;
        paste(line, QGuiApplication::clipboard()->text());
        return true;
    }
    const QString text = event->text();
    if (m_replaying || text.isEmpty())
        return false;
    if (event == m_keyInFlight)
        m_keyForwarded = true;
    const int code = text.at(0).unicode();
    const int column = m_editColumn;
    if (isEnter(code)) {
        // The text typed is stored and the edit ends before the handler reads the cells. Text the
        // cell refuses stays in it, still in edit, for the user to put right or give up with Esc.
        commitData(editor);
        if (m_editRefused && state() == EditingState && editor->isVisible()) {
            editor->setFocus();
            return true;
        }
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        heardKey(code, column);
        return true;
    }
    const int heard = heardKey(code, column);
    if (heard == code || heard <= 0)
        return false;
    QKeyEvent replaced(QEvent::KeyPress, keyOf(heard), event->modifiers(), QString(QChar(heard)));
    m_replaying = true;
    QCoreApplication::sendEvent(editor, &replaced);
    m_replaying = false;
    return true;
}

void DataGrid::paste(QLineEdit *editor, const QString &pasted)
{
    if (editor->isReadOnly())
        return;
    // Pasted text is read as typed text: the key-press handler hears each character and may replace
    // it (the decimal separator a column expects). The line end that closes a copied cell goes; a
    // tab or line break between copied cells stays, unheard, for the cell's checks to refuse (never
    // joining two cells' digits into another number). Enter is not heard: pasting evaluates nothing.
    QString text = pasted;
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    QString heard;
    heard.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        if (c.unicode() < 0x20) {
            heard.append(c);
            continue;
        }
        const int code = heardKey(c.unicode(), m_editColumn);
        heard.append(code > 0 && code != c.unicode() ? QChar(code) : c);
    }
    editor->insert(heard);
}

bool DataGrid::hasPendingEdit() const
{
    return m_editor && state() == EditingState;
}

bool DataGrid::commitPendingEdit()
{
    if (!hasPendingEdit())
        return true;
    QWidget *editor = m_editor;
    commitData(editor);
    // Text the cell refuses stays in it, still in edit, as on Enter.
    if (m_editRefused && editor->isVisible()) {
        editor->setFocus();
        return false;
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool DataGrid::commitFocusedEdit()
{
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (auto *grid = qobject_cast<DataGrid *>(widget))
            return grid->commitPendingEdit();
        if (widget->isWindow())
            break;
    }
    return true;
}

bool DataGrid::commitEveryPendingEdit()
{
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        auto *grid = qobject_cast<DataGrid *>(widget);
        if (grid && !grid->commitPendingEdit())
            return false;
    }
    return true;
}

void DataGrid::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    // Every widget up to the window hears of its closing here first: the form, and the frame an
    // MDI area gives it, whichever is closed.
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        ancestor->installEventFilter(this);
        if (ancestor->isWindow())
            break;
    }
}

void DataGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    // The widths of the numbers were measured in the font and style that were.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_numberWidths.clear();
        m_numberWidthsBefore.clear();
    }
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isAncestorOf(this) && !commitPendingEdit()) {
        event->ignore();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void DataGrid::editorStarting(const QModelIndex &index)
{
    m_editColumn = index.column();
    m_editCommitted = false;
    emit colEdit(index.column());
}

void DataGrid::commitData(QWidget *editor)
{
    m_editRefused = false;
    QTableView::commitData(editor);
    if (!m_editRefused)
        m_editCommitted = true;
}

void DataGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab and Shift+Tab store the text before moving on, as Enter does: text the cell refused stays
    // in it, still in edit, rather than being lost on the way to the next cell.
    const bool moving
        = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    if (moving && m_editRefused && state() == EditingState && editor && editor->isVisible()) {
        editor->setFocus();
        return;
    }
    const int column = m_editColumn;
    const bool committed = m_editCommitted;
    m_editColumn = -1;
    m_editCommitted = false;
    m_editor = nullptr;
    QTableView::closeEditor(editor, hint);
    if (column >= 0 && committed)
        emit afterColEdit(column);
}

bool DataGrid::deleteSelectedRows()
{
    if (!m_source)
        return false;
    const QList<qint64> rows = selectedBookmarks();
    for (qint64 rowid : rows) {
        try {
            m_source->setCurrentRow(m_source->rowOf(rowid));
            if (!m_source->noCurrentRow())
                m_source->deleteCurrent();
        } catch (const DbError &error) {
            dialogs().msgBox(failureText(error), MsgButtons::Ok, MsgIcon::Critical, programTitle());
            return true;
        }
    }
    return !rows.isEmpty();
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
            { QStringLiteral("button"), c.button }, { QStringLiteral("format"), c.format },
            { QStringLiteral("alignment"), alignmentNames.at(int(c.alignment)) } });
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
        // Layouts written before formats and alignments were kept load with the defaults.
        const auto alignment = alignmentNames.indexOf(c.value(QStringLiteral("alignment")).toString());
        loaded.append(DataGridColumn { c.value(QStringLiteral("dataField")).toString(),
            c.value(QStringLiteral("caption")).toString(), c.value(QStringLiteral("width")).toInt(-1),
            c.value(QStringLiteral("visible")).toBool(true), c.value(QStringLiteral("locked")).toBool(),
            c.value(QStringLiteral("button")).toBool(), c.value(QStringLiteral("format")).toString(),
            alignment < 0 ? DataGridColumn::Alignment::General : DataGridColumn::Alignment(alignment) });
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
        if (!rows.contains(index.row()) && index.row() < m_source->recordCount())
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

QList<qint64> DataGrid::selectedBookmarksInClickOrder() const
{
    return m_clickOrder;
}

void DataGrid::onSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (!m_source)
        return;
    for (const QModelIndex &index : deselected.indexes()) {
        if (index.row() >= m_source->recordCount() || selectionModel()->rowIntersectsSelection(index.row()))
            continue;
        m_clickOrder.removeAll(m_source->rowid(index.row()));
    }
    for (const QModelIndex &index : selected.indexes()) {
        if (index.row() >= m_source->recordCount())
            continue;
        const qint64 id = m_source->rowid(index.row());
        if (!m_clickOrder.contains(id))
            m_clickOrder.append(id);
    }
}

/** The widths of a grid's texts, estimated from their characters' advances. */
class TextWidths : public CharAdvances<QFontMetrics>
{
public:
    explicit TextWidths(const QFont &font)
        : CharAdvances<QFontMetrics>(QFontMetrics(font))
    {
    }
};

void DataGrid::applyColumnSettings()
{
    TextWidths widths(font());
    for (int i = 0; i < columnCount(); ++i) {
        const DataGridColumn c = column(i);
        setColumnHidden(i, !c.visible);
        if (c.width >= 0) {
            // Never narrower than its caption or its values (with their cell button) need.
            const int needed = std::max(horizontalHeader()->sectionSizeHint(i), contentWidth(i, widths));
            setColumnWidth(i, std::max(c.width, needed));
        }
    }
}

int DataGrid::contentWidth(int column, TextWidths &widths) const
{
    // Laying out every row's text would make each new set of rows wait on the number of rows.
    constexpr int rowsAtLeast = 32;
    constexpr int sampled = 64;
    constexpr int measured = 4;
    const int rows = m_model->rowCount();
    const int gridLine = showGrid() ? 1 : 0;
    if (rows == 0)
        return gridLine;

    std::vector<int> candidates;
    const int top = std::max(0, rowAt(0));
    const int inView = std::max(rowsAtLeast, viewport()->height() / std::max(1, rowHeight(top)) + 1);
    for (int row = top; row < std::min(rows, top + inView); ++row)
        candidates.push_back(row);
    if (rows > inView) {
        for (int k = 0; k < sampled; ++k)
            candidates.push_back(int(qint64(rows - 1) * k / (sampled - 1)));
    }
    // The stored values that show widest: the longest texts (whole, and before a decimal
    // separator, for numbers held as text), the largest and the smallest numbers.
    const DataSource *source = m_model->dataSource();
    const int field = m_model->fieldOf(column);
    if (source && field >= 0) {
        const QChar separator = vb::decimalSeparator();
        int longest = -1, longestWhole = -1, largest = -1, smallest = -1;
        qsizetype longestSize = -1, longestWholeSize = -1;
        double max = 0, min = 0;
        for (int row = 0; row < source->recordCount(); ++row) {
            const QVariant &value = source->rowValues(row).at(field);
            if (value.typeId() == QMetaType::QString) {
                const QString text = value.toString();
                if (text.size() > longestSize) {
                    longestSize = text.size();
                    longest = row;
                }
                const qsizetype whole = text.indexOf(separator);
                if (whole > longestWholeSize) {
                    longestWholeSize = whole;
                    longestWhole = row;
                }
            } else if (vb::isNumberValue(value)) {
                const double number = value.toDouble();
                if (largest < 0 || number > max) {
                    max = number;
                    largest = row;
                }
                if (smallest < 0 || number < min) {
                    min = number;
                    smallest = row;
                }
            }
        }
        for (const int row : { longest, longestWhole, largest, smallest }) {
            if (row >= 0)
                candidates.push_back(row);
        }
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    // The few widest by estimate are laid out as the view lays out a cell.
    std::vector<std::pair<int, int>> estimated; // estimate, row
    estimated.reserve(candidates.size());
    for (const int row : candidates)
        estimated.emplace_back(widths.estimate(m_model->text(row, column)), row);
    const auto last = estimated.begin() + std::min<std::ptrdiff_t>(measured, std::ssize(estimated));
    std::partial_sort(estimated.begin(), last, estimated.end(), [](const auto &a, const auto &b) {
        return a.first > b.first || (a.first == b.first && a.second < b.second);
    });
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int hint = 0;
    for (auto it = estimated.begin(); it != last; ++it) {
        const QModelIndex index = m_model->index(it->second, column);
        hint = std::max(hint, itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return hint + gridLine;
}

void DataGrid::followSource(int row)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearCurrentIndex();
    } else {
        const int column
            = cellColumn(row, currentIndex().isValid() ? currentIndex().column() : m_columnBeforeReset);
        if (column < m_model->columnCount())
            selectionModel()->setCurrentIndex(m_model->index(row, column), QItemSelectionModel::NoUpdate);
    }
    m_syncing = false;
}

int DataGrid::cellColumn(int row, int preferred) const
{
    // Never a hidden column: what is typed next goes into the cell that is current.
    const int count = m_model->columnCount();
    const auto shown = [this](int c) { return m_model->column(c).visible; };
    const auto writable = [this, row](int c) {
        return bool(m_model->flags(m_model->index(row, c)) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable));
    };
    const bool kept = preferred >= 0 && preferred < count && shown(preferred);
    if (kept && writable(preferred))
        return preferred;
    for (int c = 0; c < count; ++c) {
        if (shown(c) && writable(c))
            return c;
    }
    if (kept)
        return preferred;
    for (int c = 0; c < count; ++c) {
        if (shown(c))
            return c;
    }
    return std::max(preferred, 0);
}

void DataGrid::onCurrentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (current.isValid())
        emit rowColChange(
            previous.isValid() ? previous.row() : -1, previous.isValid() ? previous.column() : -1);
    if (m_syncing || !m_source || !current.isValid() || current.row() == m_source->currentRow())
        return;
    m_syncing = true;
    try {
        m_source->setCurrentRow(current.row());
    } catch (const DbError &error) {
        dialogs().msgBox(failureText(error), MsgButtons::Ok, MsgIcon::Critical, programTitle());
    }
    m_syncing = false;
}

// --- Printing -------------------------------------------------------------------------------

std::unique_ptr<QTextDocument> DataGrid::printDocument() const
{
    QList<int> shown;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (m_model->column(c).visible && !isColumnHidden(c))
            shown.append(c);
    }
    const int rows = m_model->rowCount() - (m_model->newRowLine() >= 0 ? 1 : 0);

    QString html;
    html.reserve(256 + rows * shown.size() * 40);
    html += QStringLiteral("<p style=\"font-size:11pt; font-weight:bold\">") + m_caption.toHtmlEscaped()
        + QStringLiteral("</p><p style=\"font-size:7pt\">Stampato il ")
        + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral("</p>");
    html += QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\" "
        "style=\"border-collapse:collapse; font-size:7pt; white-space:nowrap\"><thead><tr>");
    for (int c : shown) {
        html += QStringLiteral("<th bgcolor=\"#e1e1e1\">") + m_model->column(c).heading().toHtmlEscaped()
            + QStringLiteral("</th>");
    }
    html += QStringLiteral("</tr></thead><tbody>");
    for (int r = 0; r < rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c : shown) {
            const QModelIndex index = m_model->index(r, c);
            html += QStringLiteral("<td") + htmlAlignment(index.data(Qt::TextAlignmentRole)) + u'>'
                + index.data(Qt::DisplayRole).toString().toHtmlEscaped() + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</tbody></table>");

    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7);
    document->setDefaultFont(font);
    document->setHtml(html);

    // The columns share the page as they share the grid on the screen.
    const auto frames = document->rootFrame()->childFrames();
    auto *table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
    double total = 0;
    for (int c : shown)
        total += std::max(1, columnWidth(c));
    if (table && total > 0) {
        QList<QTextLength> widths;
        for (int c : shown)
            widths.append(
                QTextLength(QTextLength::PercentageLength, 100.0 * std::max(1, columnWidth(c)) / total));
        QTextTableFormat format = table->format();
        format.setColumnWidthConstraints(widths);
        format.setHeaderRowCount(1);
        table->setFormat(format);
    }
    return document;
}

void DataGrid::setPrintOrientation(QPageLayout::Orientation orientation)
{
    m_printOrientation = orientation;
}

QPrintPreviewDialog *DataGrid::printPreview(const QString &title)
{
    // The preview owns its printer, set up before it lays out the pages.
    auto *preview = new QPrintPreviewDialog(this);
    QPrinter *printer = preview->printer();
    PrinterSettings::program().applyTo(*printer);
    printer->setPageOrientation(m_printOrientation);
    preview->setObjectName(QStringLiteral("GridPrintPreview"));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(title);
    preview->setModal(false);
    preview->resize(900, 700);
    connect(preview, &QPrintPreviewDialog::paintRequested, this,
        [this](QPrinter *target) { printDocument()->print(target); });
    connect(preview, &QDialog::finished, this,
        [this, printer] { m_printOrientation = printer->pageLayout().orientation(); });
    preview->show();
    return preview;
}

void DataGrid::fitColumns(const QList<int> &columns)
{
    for (const int c : columns) {
        if (c < 0 || c >= columnCount() || isColumnHidden(c))
            continue;
        const int needed
            = std::max({ horizontalHeader()->sectionSizeHint(c), sizeHintForColumn(c), numberWidth(c) });
        if (columnWidth(c) < needed)
            setColumnWidth(c, needed);
    }
}

int DataGrid::numberWidth(int column) const
{
    if (const auto known = m_numberWidths.constFind(column); known != m_numberWidths.constEnd())
        return *known;
    const DataSource *source = m_model->dataSource();
    const int field = m_model->fieldOf(column);
    // Rows read again as they were need not be measured again.
    if (const auto before = m_numberWidthsBefore.constFind(column);
        before != m_numberWidthsBefore.constEnd() && source && source->fieldKept(field)) {
        m_numberWidths.insert(column, *before);
        return *before;
    }
    // The longest texts first, by characters; only those are measured, each once, and no more than a
    // few of them: numbers of as many characters differ in width by little, and a column of thousands
    // of rows would otherwise be laid out text by text at every refresh.
    constexpr qsizetype MostMeasured = 64;
    QSet<QString> longest;
    qsizetype longestSize = -1;
    // The cells' values and texts as the model gives them, read from the source directly.
    const QString format = this->column(column).format;
    const int rows = source && field >= 0 ? source->recordCount() : 0;
    for (int row = 0; row < rows; ++row) {
        const QVariant &value = source->rowValues(row).at(field);
        if (!vb::isNumberValue(value))
            continue;
        const QString text = DataGridModel::formatted(value, format);
        if (text.size() > longestSize) {
            longest = { text };
            longestSize = text.size();
        } else if (text.size() == longestSize && longest.size() < MostMeasured) {
            longest.insert(text);
        }
    }
    int width = 0;
    if (!longest.isEmpty()) {
        const QFontMetrics metrics(font());
        for (const QString &text : longest)
            width = std::max(width, metrics.horizontalAdvance(text));
        // The cell's text margins, and the frame and margins of its editor, on both sides.
        const QStyle *look = style();
        width += 2
                * (look->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this)
                    + look->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + 2)
            + 1;
        if (column < columnCount() && this->column(column).button)
            width += kButtonWidth;
    }
    m_numberWidths.insert(column, width);
    return width;
}

void DataGrid::keepNumbersWhole(int column, int width)
{
    if (width <= 0 || isColumnHidden(column))
        return;
    const int least = numberWidth(column);
    if (width < least)
        setColumnWidth(column, least);
}

} // namespace zav::platform
