#include "shell/project/archivechecks.h"

#include "platform/db.h"
#include "support/scripteddialogs.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using platform::Database;
using platform::MsgResult;
using shell::ArchiveChecks;

// A unit row of the walk: building, stair and unit number; "-" stands for Null.
struct Unit
{
    const char *building;
    const char *stair;
    int interno; // -1 for Null
};

struct WalkCase
{
    const char *name;
    QList<Unit> units;
    QList<MsgResult> answers;
    /** The questions asked, by key: B building, S stair, I unit number. */
    QString asked;
    /** The unit numbers of the rows left, in stored order. */
    QList<int> left;
};

void PrintTo(const WalkCase &c, std::ostream *os)
{
    *os << c.name;
}

QVariant cell(const char *text)
{
    if (QByteArray(text) == "-")
        return QVariant();
    return QString::fromUtf8(text);
}

class ArchiveChecksWalk : public ::testing::TestWithParam<WalkCase>
{
};

TEST_P(ArchiveChecksWalk, AsksAboutEmptyKeysAndDeletesOnYes)
{
    const WalkCase &c = GetParam();
    TempProgramFolder folder;
    const QString path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB"));
    {
        Database db = Database::open(path);
        for (const Unit &u : c.units)
            db.insert(QStringLiteral("CODIF_PIANI"),
                { { QStringLiteral("NUM_PAL"), cell(u.building) }, { QStringLiteral("SCALA"), cell(u.stair) },
                    { QStringLiteral("INTERNO"), u.interno < 0 ? QVariant() : QVariant(u.interno) },
                    { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") } });
    }
    platform::ScriptedDialogs boxes;
    for (MsgResult answer : c.answers)
        boxes.answer(answer);

    const int deleted = ArchiveChecks::verify(path, ArchiveChecks::units());

    QString asked;
    for (const auto &shown : boxes.shown()) {
        EXPECT_EQ(shown.title, QStringLiteral("Rigenerazione indici"));
        EXPECT_EQ(shown.icon, platform::MsgIcon::Critical);
        EXPECT_EQ(shown.buttons, platform::MsgButtons::YesNo);
        if (shown.text.contains(QStringLiteral("la Palazzina risulta nulla")))
            asked += u'B';
        else if (shown.text.contains(QStringLiteral("la Scala risulta nulla")))
            asked += u'S';
        else if (shown.text.contains(QStringLiteral("l'Interno risulta nullo")))
            asked += u'I';
    }
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(boxes.pendingAnswers(), 0);

    Database db = Database::open(path);
    const platform::Recordset rs = db.table(QStringLiteral("CODIF_PIANI"));
    QList<int> left;
    for (int row = 0; row < rs.recordCount(); ++row)
        left << rs.value(row, rs.fieldIndex(QStringLiteral("INTERNO"))).toInt();
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(deleted, c.units.size() - left.size());
}

const MsgResult Yes = MsgResult::Yes;
const MsgResult No = MsgResult::No;

INSTANTIATE_TEST_SUITE_P(Cases, ArchiveChecksWalk,
    ::testing::Values(WalkCase { "NoEmptyKeys", { { "1", "A", 1 }, { "2", "B", 2 } }, {}, "", { 1, 2 } },
        // A unit number of 0 is a value, not an empty key.
        WalkCase { "ZeroIsAValue", { { "1", "A", 0 } }, {}, "", { 0 } },
        // Building and stair empty: on Yes the row goes and its stair is not asked about ...
        WalkCase { "DeletedRowIsNotAskedAgain", { { "1", "A", 1 }, { "-", "-", 2 }, { "1", "A", 3 } },
            { Yes }, "B", { 1, 3 } },
        // ... on No the stair question follows for the same row.
        WalkCase { "KeptRowGetsItsNextQuestion", { { "1", "A", 1 }, { "-", "-", 2 }, { "1", "A", 3 } },
            { No, No }, "BS", { 1, 2, 3 } },
        // The empty text counts as empty; deleting the first row goes on with the one after it.
        WalkCase { "FirstRowDeleted", { { "", "A", 1 }, { "1", "", 2 }, { "1", "A", 3 } }, { Yes, No }, "BS",
            { 2, 3 } },
        WalkCase {
            "AllEmptyFirstRowDeleted", { { "-", "-", -1 }, { "1", "A", -1 } }, { Yes, Yes }, "BI", {} },
        // A deletion right after a kept row steps back onto it, which is then asked about again.
        WalkCase { "KeptRowAskedAgain", { { "1", "-", 1 }, { "-", "A", 2 }, { "1", "A", 3 } },
            { No, Yes, No }, "SBS", { 1, 3 } },
        WalkCase { "KeptRowDeletedOnSecondAsking", { { "1", "-", 1 }, { "-", "A", 2 }, { "1", "A", 3 } },
            { No, Yes, Yes }, "SBS", { 3 } }),
    [](const ::testing::TestParamInfo<WalkCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace zav::test
