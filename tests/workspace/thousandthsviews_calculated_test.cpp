// The general, stair, heating and porter's lodge views on one archive that the thousandths
// calculation fills, under both decimal separators: shares that are not whole numbers, so that the
// totals' text shows the separator, and floor codes whose text order differs from their position.

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "workspace/thousandthsviews.h"
#include "workspacefixture.h"

#include <QComboBox>
#include <QLabel>

#include <optional>

#include <gtest/gtest.h>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::test::num;
using zav::workspace::frm_ins_coeff;
using zav::workspace::ThousandthsViews;
namespace vb = zav::platform::vb;

namespace {

// One heated building with one stair, the porter's lodge flag set and heating by volume. Volumes
// (and heated volumes) 300, 200 and 100 on floors "1", "2" and "10" (positions 1, 2 and 10), stored
// in the order 2, 10, 1. Every table shares by volume over 600: Int(v * 1000 / 600 * 1000) / 1000
// gives 500, 333.333 and 166.666, which add up to 999.999.
class CalculatedViews : public zav::test::WorkspaceTest, public ::testing::WithParamInterface<QChar>
{
protected:
    void SetUp() override
    {
        separator.emplace(GetParam());
        WorkspaceTest::SetUp();
        project.header(true, false, false, 1);
        Database db = Database::open(project.path());
        db.exec(QStringLiteral("UPDATE ANA_CONDO SET PORTIERATO = 1"));
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 1 },
                { QStringLiteral("ASCENSORE"), false }, { QStringLiteral("RISCALDAMENTO"), true } });
        unit(db, "due", "2", 2, 200);
        unit(db, "dieci", "10", 3, 100);
        unit(db, "uno", "1", 1, 300);
        VAR_GBL.calcolo_millesimi();
        boxes.clear();
    }

    void TearDown() override
    {
        WorkspaceTest::TearDown();
        separator.reset();
    }

    static void unit(Database &db, const char *owner, const char *floor, int interno, double volume)
    {
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("SIGLA"), QString::fromLatin1(floor) },
                { QStringLiteral("PROPRIETARIO"), QString::fromLatin1(owner) },
                { QStringLiteral("HPIANO"), 3.0 }, { QStringLiteral("HTERRA"), 3.0 },
                { QStringLiteral("HASCENSORE"), 0.0 }, { QStringLiteral("TOT_SUP"), 1 },
                { QStringLiteral("TOT_VOL"), volume }, { QStringLiteral("TOT_VOL_RISC"), volume },
                { QStringLiteral("INTERNO"), interno },
                { QStringLiteral("RIGA"), QString::fromLatin1(floor).toInt() } });
    }

    frm_ins_coeff *form()
    {
        if (!m_form)
            m_form = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
        return m_form;
    }

    QStringList owners()
    {
        QStringList values;
        for (int r = 0; r < form()->Data1->recordCount(); ++r)
            values << form()->Data1->value(r, QStringLiteral("CONDOMINO")).toString();
        return values;
    }

    std::optional<vb::DecimalSeparatorScope> separator;

private:
    frm_ins_coeff *m_form = nullptr;
};

TEST_P(CalculatedViews, EachViewShowsItsRowsInItsOwnOrderAndTotalsInTheSeparatorInForce)
{
    const struct
    {
        int tab;
        const char *caption;
        QStringList order;
    } cases[] = {
        // By position: 1, 2, 10.
        { 4, "Millesimi Globali", { "uno", "due", "dieci" } },
        // By floor code as text: "1", "10", "2".
        { 8, "Millesimi Riscaldamento", { "uno", "dieci", "due" } },
        { 9, "Millesimi Portierato", { "uno", "dieci", "due" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        ASSERT_TRUE(ThousandthsViews::enter(*form(), c.tab));
        EXPECT_EQ(form()->TDBGrid1->caption(), QString::fromLatin1(c.caption));
        EXPECT_EQ(owners(), c.order);
        EXPECT_EQ(form()->Label19->text(), QStringLiteral("Tot. Mil.:"));
        EXPECT_EQ(form()->Label20->text(), num("999.999"));
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_P(CalculatedViews, StairViewTotalsItsFirstHalfInTheSeparatorInForce)
{
    ASSERT_TRUE(ThousandthsViews::enter(*form(), 6));
    EXPECT_EQ(form()->Combo2->currentText(), QStringLiteral("A"));
    EXPECT_EQ(owners().size(), 3);
    EXPECT_EQ(form()->Label15->text(), QStringLiteral("Tot. 1a Metà:"));
    EXPECT_EQ(form()->Label16->text(), num("999.999"));
}

// Twenty-two stairs in the composition: the stair list names the first twenty-one with their
// letters (no J, K, W, X or Y) and leaves the twenty-second without a letter.
class ManyStairs : public zav::test::WorkspaceTest
{
};

TEST_F(ManyStairs, TheStairListHasAnEmptyEntryPastTheTwentyFirstStair)
{
    project.header(true, false, false, 1);
    Database::open(project.path())
        .insert(QStringLiteral("COMPOS_PAL"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 22 },
                { QStringLiteral("ASCENSORE"), false } });
    auto *form = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    ASSERT_TRUE(ThousandthsViews::enter(*form, 6));
    QStringList items;
    for (int i = 0; i < form->Combo2->count(); ++i)
        items << form->Combo2->itemText(i);
    const QStringList expected = { "Nessuna", "A", "B", "C", "D", "E", "F", "G", "H", "I", "L", "M", "N", "O",
        "P", "Q", "R", "S", "T", "U", "V", "Z", "" };
    EXPECT_EQ(items, expected);
    EXPECT_EQ(form->Combo2->currentText(), QStringLiteral("A"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Separators, CalculatedViews, ::testing::Values(QChar(u','), QChar(u'.')));

} // namespace
