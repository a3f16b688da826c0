// "Crea Tabella" is one transaction: a failure while adding the units or while copying their
// thousandths leaves the summary table as it was, and says so.

#include "expenses/frm_rip_spese.h"
#include "expensesfixture.h"
#include "platform/ui/datasource.h"

namespace zav::test {
namespace {

using expenses::frm_rip_spese;
using platform::Database;
using platform::MsgIcon;

class SummaryFailureTest : public ExpensesTest
{
protected:
    void TearDown() override
    {
        platform::FormRegistry::unload(expenses::SummaryFormName);
        ExpensesTest::TearDown();
    }

    QString summaryPath() const { return folder.file(QStringLiteral("RIP_SPESE.MDB")); }

    /** Project and owner of every row of the summary table, in stored order. */
    QStringList rows() const
    {
        const platform::Recordset rs = Database::open(summaryPath())
                                           .query(QStringLiteral("SELECT COD_CONDOMINIO, nome_condomino, "
                                                                 "millesimi_generali FROM TAB_GENERALE"));
        QStringList list;
        for (int r = 0; r < rs.recordCount(); ++r)
            list << rs.value(r, 0).toString() + u' ' + rs.value(r, 1).toString() + u' '
                    + rs.value(r, 2).toString();
        return list;
    }
};

TEST_F(SummaryFailureTest, CreaTabellaThatFailsPartWayLeavesTheTableAsItWas)
{
    const struct
    {
        const char *name;
        const char *trigger;
    } cases[] = {
        // Units are added by building, stair, unit number and owner: Rossi, then Bianchi.
        { "the second unit cannot be added",
            "CREATE TRIGGER refuse BEFORE INSERT ON TAB_GENERALE WHEN NEW.nome_condomino = 'Bianchi' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END" },
        // Every unit is added, then the stair thousandths cannot be written.
        { "the stair thousandths cannot be copied",
            "CREATE TRIGGER refuse BEFORE UPDATE ON TAB_GENERALE WHEN NEW.millesimi_scala IS NOT NULL "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END" },
    };
    fillProject();
    {
        Database d = Database::open(summaryPath());
        d.insert(QStringLiteral("TAB_GENERALE"),
            { { QStringLiteral("COD_CONDOMINIO"), QStringLiteral("ALTRO") },
                { QStringLiteral("nome_condomino"), QStringLiteral("Gialli") },
                { QStringLiteral("millesimi_generali"), 1000.0 } });
    }
    const QStringList before = { QStringLiteral("ALTRO Gialli 1000") };
    ASSERT_EQ(rows(), before);

    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Database::open(summaryPath()).exec(QString::fromLatin1(c.trigger));
        auto *f = platform::FormRegistry::form<frm_rip_spese>(expenses::SummaryFormName);
        boxes.clear();
        f->Command1_Click();

        EXPECT_EQ(rows(), before);
        EXPECT_EQ(f->Data1->recordCount(), 0);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_TRUE(boxes.shown().at(0).text.startsWith(QStringLiteral("Tabella non creata")))
            << boxes.shown().at(0).text.toStdString();
        EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);

        platform::FormRegistry::unload(expenses::SummaryFormName);
        Database::open(summaryPath()).exec(QStringLiteral("DROP TRIGGER refuse"));
    }

    // Without the triggers the same command adds the four units.
    platform::FormRegistry::form<frm_rip_spese>(expenses::SummaryFormName)->Command1_Click();
    EXPECT_EQ(rows().size(), 5);
}

} // namespace
} // namespace zav::test
