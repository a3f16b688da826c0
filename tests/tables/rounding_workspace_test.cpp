// "Arrotonda" from the thousandths band on the workspace's views: the command reaches the view
// shown and brings its columns, with their labels, to 1000.
#include "fulldisk.h"
#include "tables/rounding.h"

#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/thousandthsviews.h"
#include "workspace/workspacefixture.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using platform::CommandRegistry;
using platform::Database;
using platform::FormRegistry;
using workspace::frm_ins_coeff;
using workspace::ThousandthsViews;
namespace vb = platform::vb;

class ArrotondaTest : public WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        tables::Rounding::registerCommands();
    }

    // The workspace made once the archive holds its rows (it lists the buildings when made).
    void show(int tab)
    {
        form = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
        form->TabStrip1->blockSignals(true);
        form->TabStrip1->setCurrentIndex(tab - 1);
        form->TabStrip1->blockSignals(false);
        ASSERT_TRUE(ThousandthsViews::enter(*form, tab));
    }

    QList<double> column(const char *field)
    {
        QList<double> values;
        for (int r = 0; r < form->Data1->recordCount(); ++r)
            values << form->Data1->value(r, QString::fromLatin1(field)).toDouble();
        return values;
    }

    /** Three units of 333,33 in the general table: 999,99 in all. */
    void threeGeneralRows()
    {
        Database db = Database::open(project.path());
        for (int n = 1; n <= 3; ++n) {
            db.insert(QStringLiteral("MILLESIMI"),
                { { QStringLiteral("CONDOMINO"), QStringLiteral("U%1").arg(n) },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("PIANO"), QString::number(n) }, { QStringLiteral("RIGA"), n },
                    { QStringLiteral("MILLESIMI"), 333.33 } });
        }
    }

    /** Four units of building 1, stair A (with a lift) in the stair and lift table: the first half,
     * and the second half and mean in the fields named. */
    void fourUnits(std::pair<const char *, const char *> fields, const QVariantList &first,
        const QVariantList &second, const QVariantList &mean)
    {
        project.header(true, false, false, 1);
        Database db = Database::open(project.path());
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 },
                { QStringLiteral("ASCENSORE"), true } });
        for (int n = 0; n < 4; ++n) {
            db.insert(QStringLiteral("TEMPORANEO2"),
                { { QStringLiteral("CONDOMINO"), QStringLiteral("U%1").arg(n) },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("PIANO"), QString::number(n + 1) }, { QStringLiteral("INTERNO"), n + 1 },
                    { QStringLiteral("MILLESIMI"), first.at(n) },
                    { QString::fromLatin1(fields.first), second.at(n) },
                    { QString::fromLatin1(fields.second), mean.at(n) } });
        }
    }

    frm_ins_coeff *form = nullptr;
};

TEST_F(ArrotondaTest, TheBandToolBringsTheGeneralViewToAThousand)
{
    const vb::DecimalSeparatorScope separator(u',');
    threeGeneralRows();
    show(4);
    EXPECT_EQ(form->Label20->text(), QStringLiteral("999,99"));
    CommandRegistry::handler(QStringLiteral("tArrotonda"))();
    EXPECT_EQ(column("MILLESIMI"), (QList<double> { 333.334, 333.333, 333.333 }));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("1000"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// The stair view: both halves first, each to 1000 on its own label, then the mean.
TEST_F(ArrotondaTest, TheStairViewBringsBothHalvesThenTheMean)
{
    const vb::DecimalSeparatorScope separator(u'.');
    fourUnits({ "MIL_B", "MEDIA" }, { 250.0, 250.0, 250.0, 249.998 }, { 250.0, 250.0, 250.0, 249.997 },
        { 250.0, 250.0, 250.0, 250.001 });
    show(6);
    form->Combo2->setCurrentText(QStringLiteral("A"));
    form->Combo2_Click();
    ASSERT_EQ(form->Data1->recordCount(), 4);
    CommandRegistry::handler(QStringLiteral("arrotonda"))();
    EXPECT_EQ(column("MILLESIMI"), (QList<double> { 250.001, 250.001, 250, 249.998 }));
    EXPECT_EQ(column("MIL_B"), (QList<double> { 250.001, 250.001, 250.001, 249.997 }));
    EXPECT_EQ(column("MEDIA"), (QList<double> { 249.999, 250, 250, 250.001 }));
    EXPECT_EQ(form->Label16->text(), QStringLiteral("1000"));
    EXPECT_EQ(form->Label18->text(), QStringLiteral("1000"));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("1000"));
}

// A full disk when "Arrotonda" writes: the view keeps its values and the message says the disk is
// full and what to do.
TEST_F(ArrotondaTest, AFullDiskChangesNothingAndSaysSo)
{
    const vb::DecimalSeparatorScope separator(u',');
    threeGeneralRows();
    show(4);
    {
        const FullDiskScope full;
        CommandRegistry::handler(QStringLiteral("tArrotonda"))();
    }
    EXPECT_EQ(column("MILLESIMI"), (QList<double> { 333.33, 333.33, 333.33 }));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("999,99"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(
        QStringLiteral("Arrotondamento non salvato: nessun valore è stato cambiato.\nIl disco è pieno: le "
                       "modifiche non possono essere salvate. Liberare spazio sul disco e riprovare.")))
        << boxes.shown().at(0).text.toStdString();
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Arrotondamento !!!"));
}

// A view that cannot reach its total ends and says so.
TEST_F(ArrotondaTest, AnEmptyViewSaysTheTotalCannotBeReached)
{
    show(9);
    CommandRegistry::handler(QStringLiteral("tArrotonda"))();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Arrotondamento !!!"));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("0"));
}

// The lift view stopped by an empty value of its mean: nothing changes, and the message quotes the
// total of the mean (250 + 250 + 208,333 = 708,333), not that of the first half (999,999).
TEST_F(ArrotondaTest, TheLiftViewStoppedByItsMeanQuotesTheMeansTotal)
{
    const vb::DecimalSeparatorScope separator(u',');
    fourUnits({ "ASCENSORE", "MEDIA_ASC" }, { 250.0, 250.0, 250.0, 249.999 }, { 250.0, 250.0, 250.0, 250.0 },
        { 250.0, 250.0, 208.333, QVariant() });
    show(7);
    form->Combo2->setCurrentText(QStringLiteral("A"));
    form->Combo2_Click();
    ASSERT_EQ(form->Data1->recordCount(), 4);
    ASSERT_EQ(form->Label20->text(), QStringLiteral("708,333"));
    CommandRegistry::handler(QStringLiteral("tArrotonda"))();
    EXPECT_EQ(column("MILLESIMI"), (QList<double> { 250, 250, 250, 249.999 }));
    EXPECT_EQ(column("MEDIA_ASC"), (QList<double> { 250, 250, 208.333, 0 }));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.contains(QStringLiteral("il totale resta 708,333:")))
        << boxes.shown().at(0).text.toStdString();
}

} // namespace
} // namespace zav::test
