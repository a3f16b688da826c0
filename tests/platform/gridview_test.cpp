// A grid view's settings laid over a grid's columns, and a view entered on a grid.

#include "platform/ui/gridview.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/twips.h"

#include <gtest/gtest.h>

using namespace zav::platform;
using Align = DataGridColumn::Alignment;

namespace {

// What a grid had before a view: the first column fully dressed by an earlier view.
QList<DataGridColumn> before()
{
    DataGridColumn dressed { QStringLiteral("A"), QStringLiteral("Alfa"), 50 };
    dressed.locked = true;
    dressed.button = true;
    dressed.format = QStringLiteral("##0.00");
    dressed.alignment = Align::Right;
    return { dressed, { QStringLiteral("B"), QStringLiteral("Beta"), 60 },
        { QStringLiteral("C"), QStringLiteral("Gamma"), 70 } };
}

// An inch and half an inch: 1440 and 720 twips on this screen.
int inch()
{
    return Twips::toPixelsX(1440);
}

int halfInch()
{
    return Twips::toPixelsX(720);
}

DataGridColumn column(const char *field, const char *caption, int width, bool visible, bool locked = false,
    bool button = false, const char *format = "", Align alignment = Align::General)
{
    DataGridColumn c { QString::fromLatin1(field), QString::fromLatin1(caption), width, visible, locked, button,
        QString::fromLatin1(format), alignment };
    return c;
}

void expectColumns(const QList<DataGridColumn> &laid, const QList<DataGridColumn> &wanted)
{
    ASSERT_EQ(laid.size(), wanted.size());
    for (qsizetype i = 0; i < laid.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "column " << i);
        EXPECT_EQ(laid.at(i).dataField, wanted.at(i).dataField);
        EXPECT_EQ(laid.at(i).caption, wanted.at(i).caption);
        EXPECT_EQ(laid.at(i).width, wanted.at(i).width);
        EXPECT_EQ(laid.at(i).visible, wanted.at(i).visible);
        EXPECT_EQ(laid.at(i).locked, wanted.at(i).locked);
        EXPECT_EQ(laid.at(i).button, wanted.at(i).button);
        EXPECT_EQ(laid.at(i).format, wanted.at(i).format);
        EXPECT_EQ(laid.at(i).alignment, wanted.at(i).alignment);
    }
}

TEST(GridView, SettingsLaidOverColumns)
{
    const struct
    {
        const char *name;
        GridView view;
        QList<DataGridColumn> wanted;
    } cases[] = {
        { "a view without settings hides every column and changes nothing else",
            {},
            { column("A", "Alfa", 50, false, true, true, "##0.00", Align::Right), column("B", "Beta", 60, false),
                column("C", "Gamma", 70, false) } },
        { "a column given only caption and width keeps its field, lock, button and alignment, "
          "and shows its values as held",
            { .shown = { { 0, QStringLiteral("Nome"), 1440 } } },
            { column("A", "Nome", inch(), true, true, true, "", Align::Right), column("B", "Beta", 60, false),
                column("C", "Gamma", 70, false) } },
        { "what a setting gives replaces what the column had",
            { .shown = { { 0, QStringLiteral("Nome"), 720, QStringLiteral("NOME"), Align::Left, false, false } } },
            { column("NOME", "Nome", halfInch(), true, false, false, "", Align::Left),
                column("B", "Beta", 60, false), column("C", "Gamma", 70, false) } },
        { "shown columns follow the view's list; captioned hidden ones are sized but stay hidden",
            { .shown = { { 2, QStringLiteral("Terza"), 720, {}, Align::Center, true, true },
                  { 1, QStringLiteral("Seconda"), 1440 } },
                .captionedHidden = { { 0, QStringLiteral("Prima"), 720 } } },
            { column("A", "Prima", halfInch(), false, true, true, "", Align::Right),
                column("B", "Seconda", inch(), true), column("C", "Terza", halfInch(), true, true, true, "", Align::Center) } },
        { "the view's fields bind every column; a missing column is added, bound and captioned with "
          "its field",
            { .fields = { QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z"), QStringLiteral("W") },
                .shown = { { 3, QStringLiteral("Quarta"), 1440 } } },
            { column("X", "Alfa", 50, false, true, true, "##0.00", Align::Right), column("Y", "Beta", 60, false),
                column("Z", "Gamma", 70, false), column("W", "Quarta", inch(), true) } },
        { "a setting's own field wins over the view's",
            { .fields = { QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z") },
                .shown = { { 1, QStringLiteral("Seconda"), 720, QStringLiteral("PROPRIO") } } },
            { column("X", "Alfa", 50, false, true, true, "##0.00", Align::Right),
                column("PROPRIO", "Seconda", halfInch(), true), column("Z", "Gamma", 70, false) } },
        { "columns past the view's fields are dropped",
            { .fields = { QStringLiteral("X") }, .shown = { { 0, QStringLiteral("Prima"), 720 } } },
            { column("X", "Prima", halfInch(), true, true, true, "", Align::Right) } },
        { "a setting for a column the grid lacks is ignored",
            { .shown = { { 3, QStringLiteral("Quarta"), 720 }, { -1, QStringLiteral("Nessuna"), 720 },
                  { 1, QStringLiteral("Seconda"), 720 } } },
            { column("A", "Alfa", 50, false, true, true, "##0.00", Align::Right),
                column("B", "Seconda", halfInch(), true), column("C", "Gamma", 70, false) } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        expectColumns(GridView::lay(c.view, before()), c.wanted);
    }
}

TEST(GridView, AButtonGivenStaysUntilAViewTakesItAway)
{
    const GridView coefficients { .shown = { { 1, QStringLiteral("Piano"), 720, {}, {}, true } } };
    const GridView surfaces { .shown = { { 2, QStringLiteral("Mq."), 720 } } };
    const GridView thousandths { .shown = { { 1, QStringLiteral("Millesimi"), 720, {}, {}, false } } };

    QList<DataGridColumn> columns = GridView::lay(coefficients, before());
    EXPECT_TRUE(columns.at(1).button);
    columns = GridView::lay(surfaces, columns);
    EXPECT_TRUE(columns.at(1).button);
    EXPECT_FALSE(columns.at(1).visible);
    columns = GridView::lay(thousandths, columns);
    EXPECT_FALSE(columns.at(1).button);
    EXPECT_TRUE(columns.at(1).visible);
}

TEST(GridView, EnteringAViewSetsCaptionPermissionsAndColumns)
{
    DataGrid grid;
    grid.setCaption(QStringLiteral("Prima"));
    grid.setColumns(before());
    const GridView readOnly { .shown = { { 1, QStringLiteral("Seconda"), 1440 } },
        .permissions = { .addNew = false, .update = false, .remove = false, .readOnly = true } };
    GridView::apply(grid, readOnly);
    EXPECT_EQ(grid.caption(), QStringLiteral("Prima")) << "a view without a caption keeps the grid's";
    EXPECT_TRUE(grid.isReadOnly());
    EXPECT_FALSE(grid.allowUpdate());
    EXPECT_FALSE(grid.allowAddNew());
    EXPECT_FALSE(grid.allowDelete());
    EXPECT_FALSE(grid.column(0).visible);
    EXPECT_TRUE(grid.column(1).visible);
    EXPECT_EQ(grid.column(1).width, Twips::toPixelsX(1440, &grid));

    const GridView editable { .caption = QStringLiteral("Vani"), .shown = { { 0, QStringLiteral("Nome"), 720 } } };
    GridView::apply(grid, editable);
    EXPECT_EQ(grid.caption(), QStringLiteral("Vani"));
    EXPECT_FALSE(grid.isReadOnly());
    EXPECT_TRUE(grid.allowUpdate());
    EXPECT_TRUE(grid.allowAddNew());
    EXPECT_TRUE(grid.allowDelete());

    // A form may narrow the view's permissions for the moment.
    GridView::apply(grid, editable, { .addNew = false, .update = true, .remove = false });
    EXPECT_FALSE(grid.allowAddNew());
    EXPECT_TRUE(grid.allowUpdate());
    EXPECT_FALSE(grid.allowDelete());
}

} // namespace
