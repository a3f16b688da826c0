// "Arrotonda" is one transaction: the stair view's three columns, killed at any point of the
// command, are in the archive all as they were or all brought to 1000; a full disk changes nothing
// and says so.
#include "fulldisk.h"
#include "tables/rounding.h"

#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "support/killruns.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using platform::Database;
using platform::DataSource;
using platform::FieldType;
using tables::Decimal;
using tables::Rounding;
using tables::RoundingOutcome;
using tables::RoundingStep;
using End = RoundingOutcome::End;
namespace vb = platform::vb;

constexpr const char *ChildArchive = "ZAV_ROUNDING_CHILD_ARCHIVE";

// The stair view's columns: both halves, then the mean, each with its own label.
const QList<RoundingStep> kStairSteps {
    { QStringLiteral("MILLESIMI"), 16, RoundingStep::Zero::Changed, RoundingStep::Errors::Continue },
    { QStringLiteral("MIL_B"), 18, RoundingStep::Zero::LeftUnchanged, RoundingStep::Errors::Continue },
    { QStringLiteral("MEDIA"), 20, RoundingStep::Zero::Changed, RoundingStep::Errors::Continue },
};

// A stair table of this many rows with these halves and mean in every row.
void makeStairTable(const QString &path, int rows, double first, double second, double mean)
{
    Database db = Database::create(path);
    db.createTable(QStringLiteral("TEMPORANEO2"),
        { { QStringLiteral("CONDOMINO"), FieldType::Text, 50 },
            { QStringLiteral("MILLESIMI"), FieldType::Double, 0 },
            { QStringLiteral("MIL_B"), FieldType::Double, 0 },
            { QStringLiteral("MEDIA"), FieldType::Double, 0 } });
    platform::Transaction transaction = db.transaction();
    platform::Statement insert = db.prepare(QStringLiteral("INSERT INTO TEMPORANEO2 VALUES (?, ?, ?, ?)"));
    for (int row = 0; row < rows; ++row)
        insert.exec({ QStringLiteral("U%1").arg(row), first, second, mean });
    transaction.commit();
}

// Brings the stair table at this path to 1000 as the stair view's "Arrotonda" does.
QList<RoundingOutcome> bringStairTable(const QString &path)
{
    DataSource source;
    source.setDatabaseName(path);
    source.setRecordSource(QStringLiteral("TEMPORANEO2"));
    source.refresh();
    QLabel first;
    QLabel second;
    QLabel mean;
    // Each label starts from no number: its column's own total.
    QList<std::pair<QLabel *, RoundingStep>> steps;
    for (QLabel *label : { &first, &second, &mean })
        steps.append({ label, kStairSteps.at(steps.size()) });
    return Rounding::bringTogether(source, steps, { 1000, 0 });
}

// The smallest and largest value of each column, and the integrity check's answer.
struct State
{
    QList<double> bounds;
    QString integrity;
};

State stateOf(const QString &path)
{
    Database db = Database::open(path);
    State state;
    state.integrity = db.query(QStringLiteral("PRAGMA integrity_check")).value(0, 0).toString();
    const platform::Recordset rs
        = db.query(QStringLiteral("SELECT MIN(MILLESIMI), MAX(MILLESIMI), MIN(MIL_B), MAX(MIL_B), "
                                  "MIN(MEDIA), MAX(MEDIA) FROM TEMPORANEO2"));
    for (int field = 0; field < rs.fieldCount(); ++field)
        state.bounds << rs.value(0, field).toDouble();
    return state;
}

// 10,000 rows of 0.099, 0.098 and 0.101 add up to 990, 980 and 1010: brought to 1000, every row
// holds 0.1 in each column.
const QList<double> kOld { 0.099, 0.099, 0.098, 0.098, 0.101, 0.101 };
const QList<double> kNew { 0.1, 0.1, 0.1, 0.1, 0.1, 0.1 };

// The child run by the kill test: brings the archive its parent names, and says when it starts.
TEST(RoundingChild, BringsTheArchiveItIsGiven)
{
    const QString path = qEnvironmentVariable(ChildArchive);
    if (path.isEmpty())
        GTEST_SKIP() << "run by RoundingKill with an archive to bring to 1000";
    sayCommandStarts();
    const QList<RoundingOutcome> outcomes = bringStairTable(path);
    for (const RoundingOutcome &outcome : outcomes)
        EXPECT_EQ(outcome.end, End::Reached);
}

// 30 runs of the command, each killed at a random point from its start to a little past its end.
TEST(RoundingKill, AKilledCommandLeavesTheColumnsAllOldOrAllNew)
{
    QTemporaryDir dir;
    const QString fixture = dir.filePath(QStringLiteral("fixture.cdb"));
    makeStairTable(fixture, 10000, 0.099, 0.098, 0.101);
    killAtRandomPoints(QStringLiteral("RoundingChild.BringsTheArchiveItIsGiven"), ChildArchive, fixture,
        dir.filePath(QStringLiteral("run.cdb")), [](const QString &path) {
            const QList<double> bounds = stateOf(path).bounds;
            return bounds == kOld ? Left::AsItWas : bounds == kNew ? Left::Done : Left::Neither;
        });
}

// A full disk when the command writes: nothing changes, and the failure says the disk is full.
TEST(RoundingFullDisk, NothingChangesAndTheDiskIsSaidToBeFull)
{
    const vb::DecimalSeparatorScope separator(u',');
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stair.cdb"));
    makeStairTable(path, 3, 333.333, 333.332, 333.334);
    QList<RoundingOutcome> outcomes;
    {
        const FullDiskScope full;
        outcomes = bringStairTable(path);
    }
    ASSERT_EQ(outcomes.size(), 3);
    for (const RoundingOutcome &outcome : outcomes) {
        EXPECT_EQ(outcome.end, End::NotWritten);
        EXPECT_TRUE(outcome.failure.startsWith(QStringLiteral("Il disco è pieno")))
            << outcome.failure.toStdString();
        EXPECT_EQ(outcome.passes, 0);
    }
    // The labels show the totals as they stand: 999,999, 999,996 and 1000,002.
    EXPECT_EQ(outcomes.at(0).total, QStringLiteral("999,999"));
    EXPECT_EQ(outcomes.at(1).total, QStringLiteral("999,996"));
    EXPECT_EQ(outcomes.at(2).total, QStringLiteral("1000,002"));
    const State state = stateOf(path);
    EXPECT_EQ(state.integrity, QStringLiteral("ok"));
    EXPECT_EQ(state.bounds, (QList<double> { 333.333, 333.333, 333.332, 333.332, 333.334, 333.334 }));

    // With room on the disk again the same command brings the three columns.
    for (const RoundingOutcome &outcome : bringStairTable(path))
        EXPECT_EQ(outcome.end, End::Reached);
}

// The stair view's mean cannot reach 1000 (its values have four decimals), while both halves could:
// the command writes nothing, not even the halves, and every column says it ended short.
TEST(RoundingTogether, AColumnThatCannotReachItsTotalLeavesEveryColumnAsItWas)
{
    const vb::DecimalSeparatorScope separator(u'.');
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stair.cdb"));
    makeStairTable(path, 3, 333.333, 333.333, 333.3335);
    const QList<RoundingOutcome> outcomes = bringStairTable(path);
    ASSERT_EQ(outcomes.size(), 3);
    for (const RoundingOutcome &outcome : outcomes)
        EXPECT_EQ(outcome.end, End::NoProgress);
    EXPECT_EQ(outcomes.at(0).total, QStringLiteral("999.999"));
    EXPECT_EQ(outcomes.at(2).total, QStringLiteral("1000.0005"));
    EXPECT_EQ(
        stateOf(path).bounds, (QList<double> { 333.333, 333.333, 333.333, 333.333, 333.3335, 333.3335 }));
}

} // namespace
} // namespace zav::test
