#pragma once

#include "platform/ui/datagridmodel.h"
#include "platform/ui/datasource.h"

#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <QTableView>
#include <QVariant>

#include <functional>
#include <memory>

class QLineEdit;
class QPrintPreviewDialog;
class QTextDocument;

namespace zav::platform {

class TextWidths;

/**
 * @brief The editable grid that forms bind to a DataSource: one row per row of the source, the
 * columns chosen by field, with captions, widths, visibility, locks, cell buttons, display formats
 * and alignments. Its model (dataModel()) holds the columns, so that whatever walks the rows as the
 * grid shows them (totals, printing, sorting) reads the same captions, formats and texts.
 *
 * The grid and its source share the current row: moving in the grid moves the source, and a move
 * of the source moves the grid. When the rows are read again or the columns set again, the
 * current cell keeps its column where it shows and can be written, else it takes the first that
 * can: it never stands on a hidden column while another shows. An edited cell is written at once
 * through the source; a cell cleared to nothing stores Null. Text typed into a number field is
 * read with the decimal separator in force, and text that does not read as the field's kind is
 * refused with the runtime's message. A read-only grid refuses every edit. Selection bookmarks
 * are the rowids of the selected rows.
 *
 * Keys: every typed character (Enter, Esc and Backspace included) goes first to the key-press
 * handler, which may replace it before the cell being edited gets it. Enter in a cell being edited
 * stores the cell's text and ends the edit before the handler hears of it, so that the handler
 * reads what was typed. Text the model refuses (after its message, if any) stays in the cell,
 * still in edit, and the handler does not hear that Enter. A cell entering edit mode is told
 * (colEdit) before the key that opened it reaches its editor; an edit that ends with its text
 * stored is told after (afterColEdit). Del on the grid itself deletes the rows selected by their
 * row selectors, when deleting is allowed.
 *
 * Closing: the window that holds the grid (and every widget between them) stores the text of the
 * cell being typed before it closes, by whatever way it is closed (its frame's close box, Esc, a
 * closing button, the program). Text the cell refuses keeps the window open, the cell still in
 * edit, after the refusal's message.
 */
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }

    // --- Columns ------------------------------------------------------------------------------
    /** @brief Sets the columns; with none, the grid shows every field of the source by name. */
    void setColumns(const QList<DataGridColumn> &columns);
    QList<DataGridColumn> columns() const;
    int columnCount() const;
    DataGridColumn column(int index) const;
    void setColumn(int index, const DataGridColumn &column);
    /** @brief The first column with this caption, -1 when none. */
    int columnByCaption(const QString &caption) const;
    /** @brief Value of a column in the current row (Null when no row is current). */
    QVariant columnValue(int column) const;
    /** @brief The text a column shows in the current row (in the column's format). */
    QString columnText(int column) const;
    /** @brief The rows through the columns: captions, formats, texts and values. */
    DataGridModel *dataModel() const { return m_model; }

    // --- Grid ---------------------------------------------------------------------------------
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    /** @brief Whether cells can be edited at all (columns may also be locked one by one). */
    bool allowUpdate() const;
    void setAllowUpdate(bool allow);
    /** @brief Whether the whole grid refuses edits, whatever the columns and updates allow. */
    bool isReadOnly() const;
    void setReadOnly(bool readOnly);
    /** @brief Whether a new-row line follows the last row (see DataGridModel::setAllowAddNew). */
    bool allowAddNew() const;
    void setAllowAddNew(bool allow);
    /** @brief Whether Del deletes the rows selected by their row selectors; not allowed by default. */
    bool allowDelete() const { return m_allowDelete; }
    void setAllowDelete(bool allow) { m_allowDelete = allow; }
    /**
     * @brief Writes a value into a column of the current row at once, as a program writes a cell:
     * Null and empty text store Null. No editing event runs. False (told, for a database failure)
     * when there is no current row, the column's field is missing or the value does not suit it.
     */
    bool setColumnValue(int column, const QVariant &value);
    /**
     * @brief Stores the text of the cell being edited, if any, and ends its edit (a form about to
     * read its rows again, which would drop it). Text the cell refuses stays in it, still in edit,
     * and the answer is false; true when nothing is left in edit.
     */
    bool commitPendingEdit();
    /** @brief Whether a cell is being typed in (its editor open). */
    bool hasPendingEdit() const;
    /**
     * @brief commitPendingEdit() on the grid whose cell holds the keyboard focus, if any: what a
     * command from a menu or a tool button, which take no focus, runs first. True when no grid is
     * being typed in.
     */
    static bool commitFocusedEdit();
    /**
     * @brief commitPendingEdit() on every grid of the program that has a cell being typed: what
     * closing the project or the program runs first. False at the first grid that refuses its text
     * (told, the cell still in edit).
     */
    static bool commitEveryPendingEdit();
    /** @brief Lines of text the column headings hold (captions wrap at blanks); 1 by default. */
    int headingLines() const { return m_headingLines; }
    void setHeadingLines(int lines);
    /** @brief The grid's row: the source's current row, -1 when none. */
    int row() const;

    // --- Layouts ------------------------------------------------------------------------------
    /**
     * @brief Saves the columns (field, caption, width, visibility, lock, button, format, alignment)
     * under a name in a layout file, keeping the file's other layouts; false when the file cannot be written.
     */
    bool saveLayout(const QString &file, const QString &name) const;
    /** @brief Takes the columns of a named layout of a file; false (columns unchanged) when the file
     * or the layout is missing or unreadable. */
    bool loadLayout(const QString &file, const QString &name);

    // --- Keys ---------------------------------------------------------------------------------
    /**
     * @brief Pastes text into a cell's editor as if typed: the key-press handler hears each
     * character and may replace it; a closing line end is dropped, other line breaks and tabs stay
     * as pasted, unheard. The paste key, the editor's menu and the middle button come here.
     */
    void paste(QLineEdit *editor, const QString &text);
    /** @brief Hears a typed character by its code and may replace it (0 is left as it is). */
    using KeyPress = std::function<void(int &keyAscii)>;
    void setKeyPress(KeyPress handler) { m_keyPress = std::move(handler); }
    /**
     * @brief While the key-press handler runs: the column of the cell whose editor the key came
     * from (for Enter, the cell whose edit it has just ended); -1 for a key on the grid itself.
     */
    int keyEditColumn() const { return m_keyEditColumn; }

    // --- Selection bookmarks ------------------------------------------------------------------
    /** @brief Rowids of the selected rows, in the grid's order. */
    QList<qint64> selectedBookmarks() const;
    /** @brief Adds the row with this rowid to the selection. */
    void selectBookmark(qint64 rowid);
    /**
     * @brief Rowids of the selected rows in the order they were selected (clicked on their row
     * selectors, or added with selectBookmark()); a row deselected leaves the list.
     */
    QList<qint64> selectedBookmarksInClickOrder() const;

    // --- Printing -----------------------------------------------------------------------------
    /**
     * @brief The grid on paper: its caption and the print date, then a table of its visible
     * columns, as wide in proportion as on the screen and headed by their captions (repeated on
     * every page), with every row's texts as the grid shows them. Printing it numbers the pages.
     */
    std::unique_ptr<QTextDocument> printDocument() const;
    /** @brief The orientation the grid prints in, kept with the grid (portrait by default). */
    QPageLayout::Orientation printOrientation() const { return m_printOrientation; }
    void setPrintOrientation(QPageLayout::Orientation orientation);
    /**
     * @brief Opens the grid's own print preview, modeless, under a title: on the program's
     * printer, in the grid's orientation. Its print button prints the grid; the orientation chosen
     * in its page set-up is kept with the grid when it closes. The window is deleted when closed.
     */
    QPrintPreviewDialog *printPreview(const QString &title);

    /**
     * @brief Widens these columns to what their caption and values need (values with their cell
     * button; numbers over every row, sign included); never narrows them. For columns whose
     * values were just written.
     */
    void fitColumns(const QList<int> &columns);

signals:
    /** @brief The button of a cell of this column was clicked. */
    void buttonClick(int column);
    void captionChanged(const QString &caption);
    /** @brief The current cell moved (to another row or column); the cell it left, -1 when none. */
    void rowColChange(int lastRow, int lastColumn);
    /** @brief A cell of this column entered edit mode. */
    void colEdit(int column);
    /** @brief An edit of a cell of this column ended with its text stored. */
    void afterColEdit(int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class CellButtonDelegate;

    /** A cell's editor is being made for this cell. */
    void editorStarting(const QModelIndex &index);
    /** A key reaching a cell's editor; true when it was dealt with here (replaced, or Enter). */
    bool editorKey(QWidget *editor, QKeyEvent *event);
    /** Runs the key-press handler on a code from a cell's editor (or -1: the grid); returns the
     * code it leaves. */
    int heardKey(int code, int editColumn = -1);
    /** Deletes the selected rows; false when none is selected. */
    bool deleteSelectedRows();
    void applyColumnSettings();
    /** The width a column's cells need, as the view's own size hint gives it, but measured only on
     * the rows in view, a sample of the rest and the rows whose stored values would show widest. */
    int contentWidth(int column, TextWidths &widths) const;
    /** The width the widest number of a column needs over every row, sign and cell button
     * included; 0 for a column that shows no number. */
    int numberWidth(int column) const;
    /** A number column narrower than its widest number is widened again: a sign is never cut. */
    void keepNumbersWhole(int column, int width);
    void followSource(int row);
    /** The column of the current cell in a row: the preferred one when shown and writable, else the
     * first shown and writable, else the preferred or first shown; never a hidden one while one shows. */
    int cellColumn(int row, int preferred) const;
    void onCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void onSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);

    QPointer<DataSource> m_source;
    DataGridModel *m_model = nullptr;
    QString m_caption;
    bool m_syncing = false;
    int m_headingLines = 1;
    QList<qint64> m_clickOrder;
    /** Widest number of each column, as numberWidth() found it since the rows last changed. */
    mutable QHash<int, int> m_numberWidths;
    /** Those found before the reset under way: a column whose values a refresh kept keeps its own. */
    QHash<int, int> m_numberWidthsBefore;
    bool m_allowDelete = false;
    KeyPress m_keyPress;
    /** The key the grid is handling, and whether it went on to a cell's editor. */
    const QKeyEvent *m_keyInFlight = nullptr;
    bool m_keyForwarded = false;
    /** The column of the editor the key being heard came from, -1 when none. */
    int m_keyEditColumn = -1;
    /** A replaced key being sent to the editor: the handler has already heard it. */
    bool m_replaying = false;
    /** The column of the cell being edited, and whether its text was stored. */
    int m_editColumn = -1;
    bool m_editCommitted = false;
    /** Whether the model refused the text of the latest commit of a cell's editor. */
    bool m_editRefused = false;
    QPageLayout::Orientation m_printOrientation = QPageLayout::Portrait;
    QPointer<QWidget> m_editor;
    /** The current cell's column before the latest reset of the rows or columns, -1 when none. */
    int m_columnBeforeReset = -1;
};

} // namespace zav::platform
