// The workspace's view switch: every tab in turn on one project, then back to the surfaces view,
// with what each view shows, offers and stores; the unit views' columns and the user's layouts.
// Totals are worked by hand beside the fixture.

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/twips.h"
#include "workspacefixture.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::DataGridColumn;
using zav::platform::Twips;
using zav::test::Fields;
using zav::test::num;
using zav::test::strings;
using zav::workspace::frm_ins_coeff;
using zav::workspace::WorkspaceCommands;
using zav::workspace::WorkspaceView;
namespace vb = zav::platform::vb;

namespace {

const QString kOwner = QStringLiteral("Rossi");
const QString kTable = QStringLiteral("TABELLA_A");

/**
 * One building with stair A and one unit, Rossi (1/A floor 1 number 1, height 3), heating by heated
 * volume. Its rooms: 4*5 with a floor coefficient 0.9 and heated (surface 20, weighted 18, volume
 * 54, heated volume 60), and 2*2.5 (surface 5, weighted 5, volume 15). So the unit's totals are
 * 25, 23, 69 and 0, and its stored ones 23, 69, 60, 0. The thousandths tables hold rows written
 * by hand; the user table TABELLA_A is selected.
 */
class ViewSwitchTest : public zav::test::WorkspaceTest
{
protected:
    void SetUp() override
    {
        separator.emplace(u',');
        WorkspaceTest::SetUp();
        project.header(true, false, false, 1);
        unit = project.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("1"), 1, 3.0);
        project.room(kOwner, 1, QStringLiteral("A"), 1,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Soggiorno") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("4*5") },
                { QStringLiteral("COEF1"), num("0.9") },
                { QStringLiteral("OPT_RISC"), QStringLiteral("S") } });
        project.room(kOwner, 1, QStringLiteral("A"), 1,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Bagno") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("2*2.5") } });

        Database db = Database::open(project.path());
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 },
                { QStringLiteral("ASCENSORE"), true } });
        const auto share = [&db](const char *table, const char *owner, const Fields &values) {
            Fields row { { QStringLiteral("CONDOMINO"), QString::fromLatin1(owner) },
                { QStringLiteral("PALAZ"), QStringLiteral("1") },
                { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PIANO"), QStringLiteral("1") } };
            db.insert(QString::fromLatin1(table), row + values);
        };
        share("MILLESIMI", "Rossi", { { QStringLiteral("MILLESIMI"), 600 } });
        share("MILLESIMI", "Verdi", { { QStringLiteral("MILLESIMI"), 400 } });
        share("TEMPORANEO", "Rossi", { { QStringLiteral("MILLESIMI"), 700 } });
        share("TEMPORANEO", "Verdi", { { QStringLiteral("MILLESIMI"), 300 } });
        share("TEMPORANEO2", "Rossi",
            { { QStringLiteral("MILLESIMI"), 250 }, { QStringLiteral("MIL_B"), 600 },
                { QStringLiteral("MEDIA"), 425 }, { QStringLiteral("ASCENSORE"), 100 },
                { QStringLiteral("MEDIA_ASC"), 175 } });
        share("TEMPORANEO2", "Verdi",
            { { QStringLiteral("MILLESIMI"), 250 }, { QStringLiteral("MIL_B"), 400 },
                { QStringLiteral("MEDIA"), 325 }, { QStringLiteral("ASCENSORE"), 200 },
                { QStringLiteral("MEDIA_ASC"), 225 } });
        share(
            "MIL_RISC", "Rossi", { { QStringLiteral("VOLUME"), 60 }, { QStringLiteral("MILLESIMI"), 1000 } });
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                           "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                           "RIGA DOUBLE)")
                .arg(kTable));
        db.insert(
            kTable, { { QStringLiteral("CONDOMINO"), kOwner }, { QStringLiteral("MILLESIMI"), 123.5 } });
        db.insert(kTable,
            { { QStringLiteral("CONDOMINO"), QStringLiteral("Verdi") },
                { QStringLiteral("MILLESIMI"), 876.5 } });
        db.close();

        WorkspaceCommands::ins_coeff();
        form = loadedWorkspace();
        ASSERT_NE(form, nullptr);
        VAR_GBL.tabella_selezionata = kTable;
    }

    void TearDown() override
    {
        WorkspaceTest::TearDown();
        separator.reset();
    }

    void clearStoredTotals()
    {
        Database::open(project.path())
            .update(QStringLiteral("CODIF_PIANI"), unit,
                { { QStringLiteral("TOT_SUP"), QVariant() }, { QStringLiteral("TOT_VOL"), QVariant() },
                    { QStringLiteral("TOT_VOL_RISC"), QVariant() },
                    { QStringLiteral("TOT_RAD_RISC"), QVariant() } });
    }

    void select(int tab) { form->TabStrip1->setCurrentIndex(tab - 1); }

    QStringList visibleColumns() const
    {
        QStringList captions;
        for (int i = 0; i < form->TDBGrid1->columnCount(); ++i) {
            if (!form->TDBGrid1->isColumnHidden(i))
                captions << form->TDBGrid1->column(i).caption;
        }
        return captions;
    }

    /** The four total pairs: "caption value" for each pair shown, "-" for a hidden one. */
    QStringList totals() const
    {
        const std::pair<QLabel *, QLabel *> pairs[]
            = { { form->Label13, form->Label14 }, { form->Label15, form->Label16 },
                  { form->Label17, form->Label18 }, { form->Label19, form->Label20 } };
        QStringList texts;
        for (const auto &[caption, value] : pairs)
            texts << (caption->isHidden() && value->isHidden() ? QStringLiteral("-")
                                                               : caption->text() + u' ' + value->text());
        return texts;
    }

    QStringList toolsOn() const
    {
        QStringList on;
        for (const char *key : { "tArrotonda", "tCalcTab", "tCopiaMil", "tAzzera", "tSelTab", "tTrova",
                 "tRicalcola", "tCopia", "tCalcolaMil", "tEliminariga" }) {
            if (main->bar->isToolEnabled(QString::fromLatin1(key)))
                on << QString::fromLatin1(key);
        }
        return on;
    }

    /** The buttons enabled: Command1 indexes, then "C2" for Command2. */
    QStringList buttonsEnabled() const
    {
        QStringList enabled;
        for (int i = 0; i < 11; ++i) {
            if (form->Command1[size_t(i)]->isEnabled() && i != 4)
                enabled << QString::number(i);
        }
        if (form->Command2->isEnabled())
            enabled << QStringLiteral("C2");
        return enabled;
    }

    std::optional<vb::DecimalSeparatorScope> separator;
    qint64 unit = 0;
    frm_ins_coeff *form = nullptr;
};

const QStringList kUnitTotals
    = strings({ "Tot. Mq.: 25", "Tot. Sup. Conv.: 23,0", "Tot. Volume: 69", "Tot. Sup. Rad.: 0" });
const QStringList kUnitTools = strings({ "tTrova", "tRicalcola", "tCopia", "tCalcolaMil" });
const QStringList kKeys = strings({ "Condomino", "Pal.", "Scala", "Piano", "Int." });

TEST_F(ViewSwitchTest, EveryTabInTurnThenBackToTheSurfaces)
{
    struct Case
    {
        int tab;
        WorkspaceView view;
        const char *table; ///< the table the rows come from
        const char *caption;
        QStringList columns;
        QStringList tools;
        QStringList buttons;
        QStringList totals;
        bool stores; ///< the unit's totals stored by the switch
        bool adds, deletes, edits;
        bool frame, tableName, building, stair;
    };
    const Case cases[] = {
        { 2, WorkspaceView::Coefficients, "ESPRESSIONI", "Coefficienti",
            strings({ "Descrizione", "Mq.", "Piano", "Orient.", "Espos.", "Lumin.", "Utiliz.", "Glob.",
                "Dest.", "Libero", "Sup.Conv." }),
            kUnitTools, strings({ "0", "1", "3", "5", "C2" }), kUnitTotals, true, true, true, true, true,
            false, false, false },
        { 3, WorkspaceView::Volumes, "ESPRESSIONI", "Calcolo Volumi",
            strings({ "Descrizione", "Mq.", "Risc. S/N", "Sup.Conv.", "H_piano", "Volume" }), kUnitTools,
            strings({ "0", "1", "3", "5", "C2" }), kUnitTotals, true, true, true, true, true, false, false,
            false },
        { 4, WorkspaceView::General, "MILLESIMI", "Millesimi Globali",
            kKeys + strings({ "Mq. / Mc. (virtuali)", "Millesimi" }),
            strings({ "tArrotonda", "tCalcolaMil" }), strings({ "6", "C2" }),
            strings({ "-", "-", "-", "Tot. Mil.: 1000" }), true, false, false, false, false, false, false,
            false },
        { 5, WorkspaceView::Building, "TEMPORANEO", "Millesimi Palazzina",
            kKeys + strings({ "Mq. / Mc. (virtuali)", "Millesimi" }),
            strings({ "tArrotonda", "tCalcolaMil" }), strings({ "6", "C2" }),
            strings({ "-", "-", "-", "Tot. Mil.: 1000" }), false, false, false, false, false, false, true,
            false },
        { 6, WorkspaceView::Stair, "TEMPORANEO2", "Millesimi Scala",
            kKeys + strings({ "1a Metà", "2a Metà", "Media" }), strings({ "tArrotonda", "tCalcolaMil" }),
            strings({ "6", "C2" }),
            strings({ "-", "Tot. 1a Metà: 500", "Tot. 2a Metà: 1000", "Tot. Mil.: 750" }), false, false,
            false, false, false, false, true, true },
        { 7, WorkspaceView::Lift, "TEMPORANEO2", "Millesimi Ascensore",
            kKeys + strings({ "1a Metà", "2a Metà", "Media" }), strings({ "tArrotonda", "tCalcolaMil" }),
            strings({ "6", "C2" }),
            strings({ "-", "Tot. 1a Metà: 500", "Tot. 2a Metà: 300", "Tot. Mil.: 400" }), false, false, false,
            false, false, false, true, true },
        { 8, WorkspaceView::Heating, "MIL_RISC", "Millesimi Riscaldamento",
            kKeys + strings({ "Vol./Sup.Rad.", "Millesimi" }), strings({ "tArrotonda", "tCalcolaMil" }),
            strings({ "6", "C2" }), strings({ "-", "-", "-", "Tot. Mil.: 1000" }), false, false, false, false,
            false, false, false, false },
        // The porter's lodge table is empty: its view ends early, with nothing to total.
        { 9, WorkspaceView::Porter, "MIL_PORTIERATO", "Millesimi Portierato",
            kKeys + strings({ "Mq. / Mc. (virtuali)", "Millesimi" }),
            strings({ "tArrotonda", "tCalcolaMil" }), strings({ "6", "C2" }),
            strings({ "-", "-", "-", "Tot. Mil.: 0" }), false, false, false, false, false, false, false,
            false },
        { 10, WorkspaceView::UserTable, "TABELLA_A", "TABELLA_A",
            kKeys + strings({ "Mq. / Mc. (virtuali)", "Input", "Millesimi" }),
            strings({ "tArrotonda", "tCalcTab", "tCopiaMil", "tAzzera", "tSelTab" }),
            strings({ "6", "7", "8", "9", "10" }), strings({ "-", "-", "-", "Tot. Mil.: 1000" }), false,
            false, true, true, false, true, false, false },
        { 1, WorkspaceView::Surfaces, "ESPRESSIONI", "Calcolo Superfici",
            strings({ "Descrizione", "Espressione", "Mq.", "Dim. Infisso", "Mq. Infisso" }),
            kUnitTools + strings({ "tEliminariga" }), strings({ "0", "1", "2", "3", "5", "C2" }), kUnitTotals,
            true, true, true, true, true, false, false, false },
    };
    EXPECT_EQ(form->view(), WorkspaceView::Surfaces);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tab);
        clearStoredTotals();
        select(c.tab);
        EXPECT_EQ(form->selectedTab(), c.tab);
        EXPECT_EQ(form->view(), c.view);
        EXPECT_EQ(form->isUnitViewShown(), c.tab <= 3);
        EXPECT_EQ(form->Data1->recordSource().table, QString::fromLatin1(c.table));
        EXPECT_EQ(form->TDBGrid1->caption(), QString::fromUtf8(c.caption));
        EXPECT_FALSE(form->TDBGrid1->isHidden());
        EXPECT_EQ(visibleColumns(), c.columns);
        EXPECT_EQ(toolsOn(), c.tools);
        EXPECT_EQ(buttonsEnabled(), c.buttons);
        EXPECT_EQ(totals(), c.totals);
        EXPECT_EQ(form->TDBGrid1->allowAddNew(), c.adds);
        EXPECT_EQ(form->TDBGrid1->allowDelete(), c.deletes);
        EXPECT_EQ(form->TDBGrid1->allowUpdate(), c.edits);
        EXPECT_EQ(!form->Frame1->isHidden(), c.frame);
        EXPECT_EQ(!form->Label21->isHidden(), c.tableName);
        EXPECT_EQ(!form->Combo1->isHidden(), c.building);
        EXPECT_EQ(!form->Label6->isHidden(), c.building);
        EXPECT_EQ(!form->Combo2->isHidden(), c.stair);
        // The hint belongs to the coefficient view alone.
        EXPECT_EQ(!form->Label22->isHidden(), c.tab == 2);
        EXPECT_EQ(form->Label22->text(),
            c.tab == 2 ? QStringLiteral(
                "Inserire il separatore decimale come da Impostazioni Internazionali di Windows")
                       : QString());
        const QVariantList stored = project.totals(unit);
        EXPECT_EQ(stored, c.stores ? QVariantList({ 23.0, 69.0, 60.0, 0.0 }) : QVariantList(4));
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// The unit views' own column properties: widths in twips, locks, cell buttons, the description left
// aligned whatever the thousandths view before it did, and every room column bound again.
TEST_F(ViewSwitchTest, UnitViewsSetTheirWidthsLocksButtonsAndBindings)
{
    select(6);
    select(2);
    const auto width = [this](int column) { return form->TDBGrid1->column(column).width; };
    EXPECT_EQ(width(1), Twips::toPixelsX(2000, form->TDBGrid1));
    EXPECT_EQ(width(3), Twips::toPixelsX(700, form->TDBGrid1));
    EXPECT_EQ(width(9), Twips::toPixelsX(670, form->TDBGrid1));
    EXPECT_EQ(width(14), Twips::toPixelsX(900, form->TDBGrid1));
    EXPECT_TRUE(form->TDBGrid1->column(3).locked);
    for (int column = 6; column <= 13; ++column)
        EXPECT_TRUE(form->TDBGrid1->column(column).button) << column;
    EXPECT_FALSE(form->TDBGrid1->column(14).button);
    EXPECT_EQ(form->TDBGrid1->column(1).alignment, DataGridColumn::Alignment::Left);
    const QStringList fields = strings({ "NOME_CONDOMINO", "DESCRIZIONE", "ESPRESSIONE", "MQ", "OPT_RISC",
        "PALAZ", "COEF1", "COEF2", "COEF3", "COEF4", "COEF5" });
    for (int column = 0; column < fields.size(); ++column)
        EXPECT_EQ(form->TDBGrid1->column(column).dataField, fields.at(column)) << column;
    EXPECT_EQ(form->TDBGrid1->columnText(1), QStringLiteral("Soggiorno"));
    EXPECT_EQ(form->TDBGrid1->columnText(6), num("0.9"));

    select(3);
    EXPECT_EQ(width(4), Twips::toPixelsX(540, form->TDBGrid1));
    EXPECT_EQ(width(16), Twips::toPixelsX(734, form->TDBGrid1));
    // The surface stays locked on the volumes view too, as loading left it.
    EXPECT_TRUE(form->TDBGrid1->column(3).locked);
    // The radiant columns are captioned though hidden.
    EXPECT_EQ(form->TDBGrid1->column(18).caption, QStringLiteral("Sup. Radiante"));
    EXPECT_TRUE(form->TDBGrid1->isColumnHidden(18));
}

// The radiant columns follow the heating criterion, whatever the user's layout of the volumes view
// says; the rest of that layout is applied on entering the view, and a thousandths view ignores it.
TEST_F(ViewSwitchTest, VolumesViewLoadsTheUsersLayoutAndThenChecksTheRadiantColumns)
{
    select(3);
    form->TDBGrid1->setColumnWidth(1, 211);
    QList<DataGridColumn> columns = form->TDBGrid1->columns();
    columns[18].visible = true;
    columns[19].visible = true;
    columns[1].width = 211;
    form->TDBGrid1->setColumns(columns);
    ASSERT_TRUE(form->TDBGrid1->saveLayout(frm_ins_coeff::userLayoutFile(), QStringLiteral("volumi")));

    struct Case
    {
        bool riscVol, riscRad, risc50;
        bool radiant;
    };
    const Case cases[] = {
        { true, false, false, false },
        { false, false, false, false },
        { false, true, false, true },
        { false, false, true, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1%2%3").arg(c.riscVol).arg(c.riscRad).arg(c.risc50).toStdString());
        Database::open(project.path())
            .exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_VOL = ?, RISC_RAD = ?, RISC_50 = ?"),
                { c.riscVol, c.riscRad, c.risc50 });
        select(4);
        EXPECT_EQ(form->TDBGrid1->column(1).width, Twips::toPixelsX(500, form->TDBGrid1));
        select(3);
        EXPECT_EQ(form->TDBGrid1->columnWidth(1), 211);
        EXPECT_EQ(form->TDBGrid1->isColumnHidden(18), !c.radiant);
        EXPECT_EQ(form->TDBGrid1->isColumnHidden(19), !c.radiant);
        if (c.radiant) {
            EXPECT_EQ(form->TDBGrid1->column(18).caption, QStringLiteral("Sup. Radiante"));
            EXPECT_EQ(form->TDBGrid1->column(19).width, Twips::toPixelsX(1019, form->TDBGrid1));
        }
        // The radiant total stays under the grid either way.
        EXPECT_FALSE(form->Label19->isHidden());
    }
}

// A user table is a user table whatever its name: one named like a unit view neither stores the
// unit's totals nor takes the unit views' keys.
TEST_F(ViewSwitchTest, AUserTableNamedLikeAUnitViewIsNoUnitView)
{
    const QString name = QStringLiteral("Calcolo Superfici");
    Database::open(project.path()).exec(QStringLiteral("ALTER TABLE [%1] RENAME TO [%2]").arg(kTable, name));
    VAR_GBL.tabella_selezionata = name;
    select(10);
    EXPECT_EQ(form->TDBGrid1->caption(), name);
    EXPECT_EQ(form->view(), WorkspaceView::UserTable);
    EXPECT_FALSE(form->isUnitViewShown());
    clearStoredTotals();
    select(4);
    EXPECT_EQ(project.totals(unit), QVariantList(4));
}

// The unit list finds units for the views of a unit's rooms: F3 elsewhere does nothing, and a unit
// handed over while a thousandths view is shown leaves that view's rows where the table tools work.
TEST_F(ViewSwitchTest, F3ActsOnUnitViewsOnlyAndAHandOverKeepsAThousandthsViewsRows)
{
    int shownLists = 0;
    zav::platform::FormRegistry::setFactory(QStringLiteral("frm_elenco"), [&shownLists] {
        ++shownLists;
        auto *list = new QWidget;
        (new QPushButton(QStringLiteral("Copia"), list))->setObjectName(QStringLiteral("Command1"));
        return list;
    });
    select(4);
    form->Form_KeyDown(Qt::Key_F3);
    EXPECT_EQ(shownLists, 0);

    const zav::workspace::Unit verdi { { QStringLiteral("Verdi"), QStringLiteral("1"), QStringLiteral("A"),
                                           QStringLiteral("1"), QStringLiteral("2") },
        3.0 };
    frm_ins_coeff::open(verdi);
    EXPECT_EQ(form->Data1->recordSource().table, QStringLiteral("MILLESIMI"));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("1000"));
    EXPECT_EQ(form->Label8->text(), QStringLiteral("Verdi"));
    // Verdi's rooms (none) show on the next unit view.
    select(1);
    EXPECT_EQ(form->Data1->recordCount(), 0);
    form->Form_KeyDown(Qt::Key_F3);
    EXPECT_EQ(shownLists, 1);
    zav::platform::FormRegistry::unload(QStringLiteral("frm_elenco"));
    zav::platform::FormRegistry::setFactory(QStringLiteral("frm_elenco"), {});
}

} // namespace
