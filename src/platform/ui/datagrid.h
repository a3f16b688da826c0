#pragma once

#include "platform/ui/datagridmodel.h"
#include "platform/ui/datasource.h"

#include <QList>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <QTableView>
#include <QVariant>

#include <memory>

class QPrintPreviewDialog;
class QTextDocument;

namespace zav::platform {

/**
 * @brief The editable grid that forms bind to a DataSource: one row per row of the source, the
 * columns chosen by field, with captions, widths, visibility, locks, cell buttons, display formats
 * and alignments. Its model (dataModel()) holds the columns, so that whatever walks the rows as the
 * grid shows them (totals, printing, sorting) reads the same captions, formats and texts.
 *
 * The grid and its source share the current row: moving in the grid moves the source, and a move
 * of the source moves the grid. An edited cell is written at once through the source; a cell
 * cleared to nothing stores Null. Text typed into a number field is read with the decimal
 * separator in force, and text that does not read as the field's kind is refused with the
 * runtime's message. A read-only grid refuses every edit. Selection bookmarks are the rowids of
 * the selected rows.
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

signals:
    /** @brief The button of a cell of this column was clicked. */
    void buttonClick(int column);
    void captionChanged(const QString &caption);
    /** @brief The current cell moved (to another row or column); the cell it left, -1 when none. */
    void rowColChange(int lastRow, int lastColumn);

private:
    void applyColumnSettings();
    void followSource(int row);
    void onCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void onSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);

    QPointer<DataSource> m_source;
    DataGridModel *m_model = nullptr;
    QString m_caption;
    bool m_syncing = false;
    int m_headingLines = 1;
    QList<qint64> m_clickOrder;
    QPageLayout::Orientation m_printOrientation = QPageLayout::Portrait;
};

} // namespace zav::platform
