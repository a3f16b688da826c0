// The four views of the terrace room grid, entered from each other, and what a room view does
// when no terrace unit is loaded.

#include "platform/ui/datagrid.h"
#include "platform/ui/twips.h"
#include "terracesfixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>

using zav::engine::VAR_GBL;
using zav::platform::DataGridColumn;
using zav::platform::Twips;
using zav::terraces::frm_terrazze;
using Align = DataGridColumn::Alignment;

namespace {

struct Shown
{
    int index;
    const char *caption;
    int twips;
    Align alignment;
};

struct ViewCase
{
    const char *grid; // caption; empty: the thousandths view's own
    QList<Shown> columns;
    QList<int> buttons; // columns with a cell button among those shown
    bool roomView;
};

const ViewCase &expected(int tab)
{
    static const ViewCase views[] = {
        { "Calcolo Superfici",
            { { 5, "Descrizione", 2700, Align::Left }, { 6, "Espressione", 2700, Align::Left },
                { 7, "Mq.", 880, Align::Right } },
            {}, true },
        { "Coefficienti",
            { { 5, "Descrizione", 2000, Align::Left }, { 7, "Mq.", 700, Align::Right },
                { 8, "Piano", 620, Align::Center }, { 9, "Orient.", 620, Align::Center },
                { 10, "Espos.", 620, Align::Center }, { 11, "Lumin.", 670, Align::Center },
                { 12, "Utiliz.", 620, Align::Center }, { 13, "Glob.", 599, Align::Center },
                { 14, "Dest.", 599, Align::Center }, { 15, "Libero", 599, Align::Center },
                { 16, "Sup.Conv.", 810, Align::Right } },
            { 8, 9, 10, 11, 12, 13, 14, 15 }, true },
        { "Calcolo Volume Convenzionale",
            { { 5, "Descrizione", 3000, Align::Left }, { 16, "Sup.Conv.", 1000, Align::Right },
                { 17, "H_piano", 810, Align::Right }, { 18, "Volume", 989, Align::Right } },
            {}, true },
        { "",
            { { 0, "Condomino", 2300, Align::General }, { 1, "Pal.", 500, Align::Center },
                { 2, "Scala", 800, Align::Center }, { 3, "Piano", 500, Align::Center },
                { 4, "Int.", 500, Align::Center }, { 5, "Mq/Mc", 1000, Align::Right },
                { 6, "Millesimi", 1000, Align::Right } },
            {}, false },
    };
    return views[tab];
}

class TerraceViews : public zav::test::TerracesTest
{
protected:
    frm_terrazze *showRossi()
    {
        buildings(1, { 1 });
        table("T1", "Terrazzi");
        terraceRoom("T1", "Rossi", 1, "A", 5, "Terrazzo");
        insert(terraces, QStringLiteral("MILLESIMI"),
            { { "NOME_CONDOMINO", "Rossi" }, { "PALAZ", 1 }, { "SCALA", "A" }, { "PIANO", "2" },
                { "MQ", 10.0 }, { "MILLESIMI", 1000.0 }, { "CODICE", "T1" }, { "INTERNO", 5 },
                { "DESCRIZIONE", "Terrazzi" } });
        frm_terrazze *form = openForm();
        form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        form->showTerraceUnit(
            { QStringLiteral("T1"), { "Rossi", qlonglong(1), "A", "2", qlonglong(5) } }, true);
        return form;
    }

    static void choose(frm_terrazze *form, int tab)
    {
        if (form->TabStrip1->currentIndex() == tab)
            form->TabStrip1_Click();
        else
            form->TabStrip1->setCurrentIndex(tab);
    }
};

TEST_F(TerraceViews, EachViewLooksTheSameWhicheverViewCameBefore)
{
    frm_terrazze *form = showRossi();
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            SCOPED_TRACE(testing::Message() << "from tab " << from << " to tab " << to);
            choose(form, from);
            choose(form, to);
            const ViewCase &view = expected(to);
            EXPECT_EQ(form->TDBGrid1->caption(),
                view.roomView ? QString::fromUtf8(view.grid)
                              : QStringLiteral("Millesimi Tabella: T1 - Terrazzi"));
            ASSERT_EQ(form->TDBGrid1->columnCount(), 19);
            QList<int> visible;
            for (int i = 0; i < 19; ++i)
                if (form->TDBGrid1->column(i).visible)
                    visible << i;
            QList<int> wanted;
            for (const Shown &shown : view.columns) {
                wanted << shown.index;
                const DataGridColumn column = form->TDBGrid1->column(shown.index);
                EXPECT_EQ(column.caption, QString::fromUtf8(shown.caption)) << shown.index;
                EXPECT_EQ(column.width, Twips::toPixelsX(shown.twips, form)) << shown.index;
                if (shown.alignment != Align::General) {
                    EXPECT_EQ(column.alignment, shown.alignment) << shown.index;
                }
                EXPECT_EQ(column.button, view.buttons.contains(shown.index)) << shown.index;
            }
            EXPECT_EQ(visible, wanted);
            // Room views bind the rooms' fields, the thousandths view its own.
            EXPECT_EQ(form->TDBGrid1->column(0).dataField, view.roomView ? "CODICE" : "NOME_CONDOMINO");
            EXPECT_EQ(form->TDBGrid1->column(6).dataField, view.roomView ? "ESPRESSIONE" : "MILLESIMI");
            EXPECT_EQ(form->TDBGrid1->column(11).dataField, QStringLiteral("COEFF_LUMIN"));
            EXPECT_EQ(form->TDBGrid1->isReadOnly(), !view.roomView);
            EXPECT_EQ(form->TDBGrid1->allowAddNew(), view.roomView);
            EXPECT_FALSE(form->TDBGrid1->isHidden());
            for (QLabel *label :
                { form->Label13, form->Label14, form->Label15, form->Label16, form->Label17, form->Label18 })
                EXPECT_EQ(label->isHidden(), !view.roomView) << label->objectName().toStdString();
            EXPECT_EQ(form->Label19->isHidden(), view.roomView);
            EXPECT_EQ(form->Label20->isHidden(), view.roomView);
            EXPECT_EQ(form->Command7->isHidden(), view.roomView);
            EXPECT_EQ(form->Command1[2]->isHidden(), !view.roomView);
            EXPECT_EQ(form->Frame4->isHidden(), !view.roomView);
            // The room commands are not offered on the thousandths.
            EXPECT_EQ(form->Command1[3]->isEnabled(), view.roomView);
            EXPECT_EQ(form->Command1[11]->isEnabled(), view.roomView);
            EXPECT_EQ(form->Data1->recordSource().table, view.roomView ? "SUP_COEFF_VOL" : "MILLESIMI");
        }
    }
}

TEST_F(TerraceViews, TheCoefficientButtonsStayWhenTheirColumnsAreHidden)
{
    frm_terrazze *form = showRossi();
    for (int tab : { 1, 0, 3, 2 }) {
        SCOPED_TRACE(tab);
        choose(form, tab);
        for (int column = 8; column <= 15; ++column) {
            EXPECT_TRUE(form->TDBGrid1->column(column).button) << column;
            EXPECT_EQ(form->TDBGrid1->column(column).visible, tab == 1) << column;
        }
    }
}

TEST_F(TerraceViews, ARoomViewRecomputesTheUnitAgainWithTheSameResult)
{
    frm_terrazze *form = showRossi();
    {
        zav::platform::Database db = zav::platform::Database::open(terraces);
        db.exec(QStringLiteral("UPDATE SUP_COEFF_VOL SET ESPRESSIONE = '2*3', H_PIANO = '2'"));
    }
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        choose(form, 2);
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("VOLUME")),
            QStringList { "12,0" });
        EXPECT_EQ(form->Label14->text(), QStringLiteral("6"));
        EXPECT_EQ(form->Label18->text(), QStringLiteral("12"));
    }
    // Closing the unit list runs the view again.
    form->Label18->setText(QStringLiteral("?"));
    form->Command1[10]->click();
    EXPECT_EQ(form->Label18->text(), QStringLiteral("12"));
}

TEST_F(TerraceViews, ARoomViewWithoutATableKeepsTheGridHiddenButRecomputesTheUnit)
{
    frm_terrazze *form = showRossi();
    form->Label1->clear();
    {
        zav::platform::Database db = zav::platform::Database::open(terraces);
        db.exec(QStringLiteral("UPDATE SUP_COEFF_VOL SET ESPRESSIONE = '4'"));
    }
    choose(form, 0);
    EXPECT_TRUE(form->TDBGrid1->isHidden());
    EXPECT_FALSE(form->Frame4->isHidden());
    EXPECT_EQ(form->Label14->text(), QStringLiteral("4"));
    choose(form, 3);
    EXPECT_FALSE(form->TDBGrid1->isHidden()) << "the thousandths show all the same";
}

TEST_F(TerraceViews, ARoomViewNeverComputesRowsThatAreNotATerraceUnitsRooms)
{
    const struct
    {
        const char *name;
        std::optional<zav::platform::TableQuery> query;
    } cases[] = {
        { "no unit opened yet", std::nullopt },
        { "the workspace's query of its unit",
            zav::platform::TableQuery { QStringLiteral("ESPRESSIONI"),
                { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Rossi") } }, {} } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        frm_terrazze *form = showRossi();
        choose(form, 3);
        VAR_GBL.sql_unita_corrente = c.query;
        boxes.clear();
        for (int tab : { 0, 1, 2 }) {
            choose(form, tab);
            EXPECT_EQ(form->Data1->recordSource().table, QStringLiteral("SUP_COEFF_VOL"));
            EXPECT_EQ(form->Data1->recordCount(), 0);
            EXPECT_EQ(form->Label14->text(), QStringLiteral("0"));
        }
        // Nothing was written into the thousandths nor the rooms, nothing said.
        EXPECT_EQ(column(terraces, QStringLiteral("MILLESIMI"), QStringLiteral("MILLESIMI")),
            QStringList { "1000" });
        EXPECT_EQ(
            column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("MQ")), QStringList { "" });
        EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.messages().join(u'|').toStdString();
        // A room view then adds no row.
        auto *model = form->TDBGrid1->dataModel();
        if (model->newRowLine() >= 0)
            model->setData(model->index(model->newRowLine(), 5), QStringLiteral("Nuovo"));
        EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 1);
    }
}

} // namespace
