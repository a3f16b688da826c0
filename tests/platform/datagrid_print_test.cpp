// The grid's own print: the document it prints and its preview window.

#include "platform/db.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

class DataGridPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = dir.filePath(QStringLiteral("SPESE.TSP"));
        Database db = Database::create(path);
        db.createTable(QStringLiteral("TAB_GENERALE"),
            { { QStringLiteral("nome_condomino") }, { QStringLiteral("ID"), FieldType::Integer },
                { QStringLiteral("totale"), FieldType::Double } });
        db.insert(QStringLiteral("TAB_GENERALE"),
            { { QStringLiteral("nome_condomino"), QStringLiteral("Niccolò <Sr> & figli") },
                { QStringLiteral("totale"), 1234.5 } });
        db.insert(QStringLiteral("TAB_GENERALE"),
            { { QStringLiteral("nome_condomino"), QStringLiteral("Rossi") } });
        source.setDatabaseName(path);
        source.setRecordSource(QStringLiteral("TAB_GENERALE"));
        grid.setDataSource(&source);
        DataGridColumn total { QStringLiteral("totale"), QStringLiteral("TOTALE"), 90 };
        total.format = QStringLiteral("#,##0.00");
        grid.setColumns({ { QStringLiteral("nome_condomino"), QStringLiteral("Nome Condomino"), 150 },
            { QStringLiteral("ID"), QStringLiteral("Id"), -1, false }, total });
        grid.setCaption(QStringLiteral("Tabella Ripartizione Spese"));
        source.refresh();
    }

    void TearDown() override
    {
        for (auto *preview : grid.findChildren<QPrintPreviewDialog *>())
            delete preview;
    }

    /** The texts of the document's table, row by row. */
    static QList<QStringList> cells(QTextDocument &document)
    {
        QTextTable *table = nullptr;
        for (QTextFrame *frame : document.rootFrame()->childFrames()) {
            if ((table = qobject_cast<QTextTable *>(frame)))
                break;
        }
        if (!table)
            return {};
        QList<QStringList> rows;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList row;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                // Cells do not wrap: their blanks are kept as non-breaking ones.
                row.append(cursor.selectedText().replace(QChar::Nbsp, u' '));
            }
            rows.append(row);
        }
        return rows;
    }

    QTemporaryDir dir;
    DataSource source;
    DataGrid grid;
    vb::DecimalSeparatorScope comma { u',' };
};

} // namespace

TEST_F(DataGridPrintTest, TheDocumentHoldsTheVisibleColumnsAsTheGridShowsThem)
{
    grid.setAllowAddNew(true); // the new-row line is not printed
    const std::unique_ptr<QTextDocument> document = grid.printDocument();
    EXPECT_TRUE(document->toPlainText().startsWith(QStringLiteral("Tabella Ripartizione Spese")));
    // Text taken literally, numbers in the column's format, the hidden column left out.
    EXPECT_EQ(cells(*document),
        (QList<QStringList> { { "Nome Condomino", "TOTALE" },
            { QStringLiteral("Niccolò <Sr> & figli"), "1.234,50" }, { "Rossi", "" } }));
    QTextTable *table = qobject_cast<QTextTable *>(document->rootFrame()->childFrames().value(0));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->format().headerRowCount(), 1);
    // The columns share the page as on the screen: 150 and 90 pixels of 240.
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths.at(0).rawValue(), 62.5);
    EXPECT_DOUBLE_EQ(widths.at(1).rawValue(), 37.5);
}

TEST_F(DataGridPrintTest, ThePreviewIsModelessTitledAndKeepsItsOrientationWithTheGrid)
{
    grid.setPrintOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog *preview = grid.printPreview(QStringLiteral("Z.A.V. (Anteprima di Stampa)"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Z.A.V. (Anteprima di Stampa)"));
    EXPECT_EQ(preview->printer()->pageLayout().orientation(), QPageLayout::Landscape);
    auto *widget = preview->findChild<QPrintPreviewWidget *>();
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->pageCount(), 1);

    // A page set-up made in the preview stays with the grid for the next one.
    preview->printer()->setPageOrientation(QPageLayout::Portrait);
    preview->close();
    EXPECT_EQ(grid.printOrientation(), QPageLayout::Portrait);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(grid.findChildren<QPrintPreviewDialog *>().isEmpty());
}
