// The terrace thousandths: the calculation, the table shown and "Arr. Millesimi". Every expected
// value is worked out by hand.

#include "platform/ui/datagrid.h"
#include "terraces/terracethousandths.h"
#include "terracesfixture.h"
#include "workspace/totaltext.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>

using zav::engine::VAR_GBL;
using zav::platform::MsgIcon;
using zav::terraces::frm_terrazze;
namespace vb = zav::platform::vb;

namespace {

QString local(const char *text)
{
    return QString::fromLatin1(text).replace(u'.', vb::decimalSeparator());
}

class TerraceThousandths : public zav::test::TerracesTest
{
protected:
    /** The project's options: shares by weighted surface (true) or by volume. */
    void base(bool weighted)
    {
        insert(project, QStringLiteral("ANA_CONDO"), { { "NOME", "Condominio" }, { "NUM_PAL", 1 } });
        zav::platform::Database db = zav::platform::Database::open(project);
        const QString field = db.fields(QStringLiteral("ANA_CONDO")).at(6);
        db.exec(QStringLiteral("UPDATE ANA_CONDO SET %1 = ?").arg(zav::platform::Database::quoteName(field)),
            { weighted });
    }

    /** A room of a unit in table T1 with its weighted surface and volume, point-written ("" is empty). */
    void room(const QString &owner, int building, const QString &stair, const QVariant &interno,
        const char *weighted, const char *volume)
    {
        const auto text = [](const char *value) {
            return QString::fromLatin1(value).isEmpty() ? QVariant() : QVariant(local(value));
        };
        terraceRoom("T1", owner, building, stair, interno, "vano", {}, text(weighted), text(volume));
    }

    /** Calculates table T1 through its button and gives the thousandths written, in stored order. */
    QStringList calculate()
    {
        frm_terrazze *form = openForm();
        form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        form->Command1[4]->click();
        QStringList shares;
        zav::platform::Database db = zav::platform::Database::open(terraces);
        const zav::platform::Recordset rs = db.table(QStringLiteral("MILLESIMI"));
        for (int row = 0; row < rs.recordCount(); ++row)
            shares << rs.value(row, rs.fieldIndex(QStringLiteral("NOME_CONDOMINO"))).toString() + u'='
                    + zav::workspace::TotalText::of(
                        rs.value(row, rs.fieldIndex(QStringLiteral("MILLESIMI"))).toDouble());
        return shares;
    }
};

TEST_F(TerraceThousandths, SharesAreRoundedAndBroughtTo1000InTheOrderWritten)
{
    const struct
    {
        const char *name;
        bool weighted;
        std::function<void()> fill;
        QStringList shares; // owner=share, in the order written, point-written
    } cases[] = {
        { "three equal surfaces: one step, on the first row", true,
            [this] {
                for (int i = 1; i <= 3; ++i) {
                    unit(QStringLiteral("U%1").arg(i), 1, "A", "1", i);
                    room(QStringLiteral("U%1").arg(i), 1, "A", i, "10", "1");
                }
            },
            { "U1=333.334", "U2=333.333", "U3=333.333" } },
        { "by volume, a total of 1000.002 takes 0.001 off the first two rows", false,
            [this] {
                for (int i = 1; i <= 6; ++i) {
                    unit(QStringLiteral("U%1").arg(i), 1, "A", "1", i);
                    room(QStringLiteral("U%1").arg(i), 1, "A", i, "99", "1");
                }
            },
            // 1000/6 = 166.6666… → 166.667, six of them 1000.002.
            { "U1=166.666", "U2=166.666", "U3=166.667", "U4=166.667", "U5=166.667", "U6=166.667" } },
        { "a share of 0.0004 gives no row, one of 0.0005 gives 0.001", true,
            [this] {
                unit("Piccolo", 1, "A", "1", 1);
                room("Piccolo", 1, "A", 1, "4", "");
                unit("Medio", 1, "A", "1", 2);
                room("Medio", 1, "A", 2, "5", "");
                unit("Grande", 1, "A", "1", 3);
                room("Grande", 1, "A", 3, "9999991", "");
            },
            // total 10000000: 0.0004, 0.0005 → 0.001, 999.9991 → 999.999; 1000.000, no step.
            { "Medio=0.001", "Grande=999.999" } },
        { "a unit without rooms gets no row; a room of no unit counts in the total", true,
            [this] {
                unit("Senza", 1, "A", "1", 9);
                unit("Con", 1, "A", "1", 1);
                room("Con", 1, "A", 1, "3", "");
                room("Altro", 2, "B", 4, "1", ""); // no such unit
            },
            // 750, then one step adds 0.001: the gap of 250 stays.
            { "Con=750.001" } },
        { "a room's unit is matched without regard to the case of its owner and stair", true,
            [this] {
                unit("Primo", 1, "A", "1", 1);
                room("PRIMO", 1, "a", 1, "1", "");
                unit("Secondo", 1, "A", "1", 2);
                room("Secondo", 1, "A", 2, "1", "");
            },
            { "Primo=500", "Secondo=500" } },
        { "a unit number with decimals matches the same number; letters beyond A to Z keep their case", true,
            [this] {
                unit(QStringLiteral("Àlvaro"), 1, "A", "1", 7.5);
                room(QStringLiteral("ÀLVARO"), 1, "A", 7.5, "1", "");
                room(QStringLiteral("àlvaro"), 1, "A", 7.5, "1", ""); // another owner, of no unit
                room(QStringLiteral("Àlvaro"), 1, "A", 7.25, "1", ""); // another unit
            },
            // 1 of 3: 333.333, then one step on the only row.
            { "Àlvaro=333.334" } },
        { "a first room of weight 0 does not lose the unit's later rooms", true,
            [this] {
                unit("Primo", 1, "A", "1", 1);
                room("Primo", 1, "A", 1, "0", "0");
                room("Primo", 1, "A", 1, "3", "");
                unit("Secondo", 1, "A", "1", 2);
                room("Secondo", 1, "A", 2, "1", "");
            },
            { "Primo=750", "Secondo=250" } },
        { "a unit without a unit number gets no row", true,
            [this] {
                unit("Senza", 1, "A", "1", QVariant());
                room("Senza", 1, "A", QVariant(), "1", "");
                unit("Con", 1, "A", "1", 2);
                room("Con", 1, "A", 2, "1", "");
            },
            { "Con=500.001" } },
        { "a zero total writes nothing", false,
            [this] {
                unit("Uno", 1, "A", "1", 1);
                room("Uno", 1, "A", 1, "5", "0");
            },
            {} },
    };
    for (const QChar separator : { u',', u'.' }) {
        const vb::DecimalSeparatorScope scope(separator);
        for (const auto &c : cases) {
            SCOPED_TRACE(
                testing::Message() << c.name << " under '" << QString(separator).toStdString() << "'");
            TearDown();
            SetUp();
            const vb::DecimalSeparatorScope again(separator);
            base(c.weighted);
            c.fill();
            QStringList expected;
            for (const QString &share : c.shares)
                expected << local(share.toLatin1());
            EXPECT_EQ(calculate(), expected);
        }
    }
}

TEST_F(TerraceThousandths, AUnitWithAnEmptyWeightedSurfaceIsNamedAndGetsNoRow)
{
    base(false);
    unit("D'Amico", 2, "B", "1", 1);
    room("D'Amico", 2, "B", 1, "4", "10");
    room("D'Amico", 2, "B", 1, "", "10");
    unit("Verdi", 2, "B", "1", 2);
    room("Verdi", 2, "B", 2, "4", "10");
    // By volume: 10 of 30 is 333.333, and the one step the single row can take.
    EXPECT_EQ(calculate(), QStringList { "Verdi=333,334" });
    ASSERT_GE(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("I Mq. del condomino D'Amico Pal. 2Scala B risultano non corretti o vuoti"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Calcolo terminato"));
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Calcolo Millesimi Terrazze !!!"));
}

// On the volume base a room with an empty height has no volume and counts 0: "Calcola Millesimi"
// names such rooms; and a calculation that writes no row says so and why, rather than nothing.
TEST_F(TerraceThousandths, RoomsWithoutHeightAndACalculationWithoutRowsAreSaid)
{
    const auto heightRoom = [this](const QString &owner, int interno, const char *description,
                                const char *weighted, const QVariant &height, const char *volume) {
        insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
            { { "CODICE", "T1" }, { "NOME_CONDOMINO", owner }, { "PALAZ", 1 }, { "SCALA", "A" },
                { "INTERNO", interno }, { "DESCRIZ_VANO", description },
                { "SUP_CONVENZIONALE", local(weighted) }, { "H_PIANO", height },
                { "VOLUME", QString::fromLatin1(volume).isEmpty() ? QVariant() : QVariant(local(volume)) } });
    };
    const QString noRowHead = QStringLiteral("Nessun millesimo calcolato: ");
    const struct
    {
        const char *name;
        bool weighted;
        std::function<void()> fill;
        QStringList shares;
        QStringList named; // rooms the messages name as counting nothing
        QString noRows; // how the message of a calculation without rows begins; empty: rows written
    } cases[] = {
        { "one of two units has no height: it is named, the other takes 1000", false,
            [&] {
                unit("Rossi", 1, "A", "1", 1);
                heightRoom("Rossi", 1, "Terrazzo", "12.5", local("2.7"), "33.75");
                unit("Bianchi", 1, "A", "1", 2);
                heightRoom("Bianchi", 2, "Lastrico", "8", QVariant(), "");
                heightRoom("Bianchi", 2, "Balcone", "3", local("0"), "0");
            },
            { "Rossi=1000" },
            { "Bianchi Pal. 1 Scala A Int. 2: Lastrico", "Bianchi Pal. 1 Scala A Int. 2: Balcone" }, {} },
        { "no room has a height: nothing written, the rooms named", false,
            [&] {
                unit("Rossi", 1, "A", "1", 1);
                heightRoom("Rossi", 1, "Terrazzo", "12.5", QVariant(), "");
            },
            {}, { "Rossi Pal. 1 Scala A Int. 1: Terrazzo" }, QStringLiteral("il calcolo è sul volume") },
        { "on the weighted surface a missing height counts for nothing", true,
            [&] {
                unit("Rossi", 1, "A", "1", 1);
                heightRoom("Rossi", 1, "Terrazzo", "12.5", QVariant(), "");
            },
            { "Rossi=1000" }, {}, {} },
        { "a table without rooms", false, [&] { unit("Rossi", 1, "A", "1", 1); }, {}, {},
            QStringLiteral("la tabella non ha vani") },
        { "weighted surfaces all 0", true,
            [&] {
                unit("Rossi", 1, "A", "1", 1);
                heightRoom("Rossi", 1, "Terrazzo", "0", local("3"), "0");
            },
            {}, {}, QStringLiteral("la superficie convenzionale dei vani della tabella è 0") },
        { "rooms of no unit of the project", true,
            [&] {
                unit("Rossi", 1, "A", "1", 1);
                heightRoom("Verdi", 7, "Terrazzo", "10", local("3"), "30");
            },
            {}, {}, QStringLiteral("nessuna unità del progetto ha vani validi") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        boxes.clear();
        base(c.weighted);
        c.fill();
        QStringList expected;
        for (const QString &share : c.shares)
            expected << local(share.toLatin1());
        EXPECT_EQ(calculate(), expected);

        const QStringList messages = boxes.messages();
        if (c.noRows.isEmpty()) {
            // The rooms without height, if any, in one message; then the calculation's end.
            ASSERT_EQ(messages.size(), c.named.isEmpty() ? 1 : 2) << messages.join(u'|').toStdString();
            EXPECT_EQ(messages.last(), QStringLiteral("Calcolo terminato"));
        } else {
            ASSERT_EQ(messages.size(), 1) << messages.join(u'|').toStdString();
            EXPECT_TRUE(messages.first().startsWith(noRowHead + c.noRows)) << messages.first().toStdString();
        }
        for (const QString &room : c.named) {
            EXPECT_TRUE(messages.first().contains(QStringLiteral("\n- ") + room)) << room.toStdString();
            EXPECT_TRUE(messages.first().contains(QStringLiteral("altezza")))
                << messages.first().toStdString();
        }
        if (c.named.isEmpty()) {
            EXPECT_FALSE(messages.first().contains(QStringLiteral("altezza")));
        }
    }
}

// Two owners who share a building, stair and unit number are two units: each takes its own rooms.
TEST_F(TerraceThousandths, TwoOwnersOfOneBuildingStairAndNumberTakeOnlyTheirOwnRooms)
{
    base(true);
    unit("Bianchi Anna Maria", 1, "B", "2", 7);
    unit("Bianchi Anna Luisa", 1, "B", "2", 7);
    unit("Verdi", 1, "B", "3", 8);
    room("Bianchi Anna Maria", 1, "B", 7, "20", "");
    room("Bianchi Anna Maria", 1, "B", 7, "10", "");
    room("Bianchi Anna Luisa", 1, "B", 7, "10", "");
    room("Verdi", 1, "B", 8, "60", "");
    // 30, 10 and 60 of 100: 300, 100 and 600, already 1000.
    EXPECT_EQ(calculate(), (QStringList { "Bianchi Anna Maria=300", "Bianchi Anna Luisa=100", "Verdi=600" }));
}

// The table's rooms are the same whether they are a few of the archive's or most of them (they are
// read in one of two ways): those of other tables count nothing, a code in other letter case counts,
// and the shares come in the order of the units.
TEST_F(TerraceThousandths, OnlyTheTablesOwnRoomsCountHoweverManyTheOtherTablesHold)
{
    for (const int others : { 0, 1, 12 }) {
        SCOPED_TRACE(testing::Message() << others << " rooms of another table");
        TearDown();
        SetUp();
        base(true);
        for (int i = 1; i <= 3; ++i)
            unit(QStringLiteral("U%1").arg(i), 1, "A", "1", i);
        for (int i = 0; i < others; ++i)
            terraceRoom("T2", QStringLiteral("U%1").arg(1 + i % 3), 1, "A", 1 + i % 3, "altro", {}, 100, 100);
        room("U2", 1, "A", 2, "2", "");
        terraceRoom("t1", "U1", 1, "A", 1, "vano", {}, 1, {});
        room("U3", 1, "A", 3, "1", "");
        // 1, 2 and 1 of 4: 250, 500 and 250.
        EXPECT_EQ(calculate(), (QStringList { "U1=250", "U2=500", "U3=250" }));
    }
}

TEST_F(TerraceThousandths, TheTableShowsReadOnlyWithItsCaptionColumnsAndTotal)
{
    base(true);
    unit("Rossi", 1, "A", "1", 1);
    room("Rossi", 1, "A", 1, "1", "");
    unit("Bianchi", 1, "A", "1", 2);
    room("Bianchi", 1, "A", 2, "2", "");
    calculate();
    frm_terrazze *form = openForm();
    EXPECT_EQ(form->TabStrip1->currentIndex(), 3);
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Millesimi Tabella: T1 - Terrazzi"));
    EXPECT_TRUE(form->TDBGrid1->isReadOnly());
    EXPECT_FALSE(form->TDBGrid1->isHidden());
    EXPECT_TRUE(form->Frame4->isHidden());
    EXPECT_FALSE(form->Command7->isHidden());
    EXPECT_TRUE(form->Command1[2]->isHidden());
    // 333.333 and 666.667: 1000 without a step.
    EXPECT_EQ(form->Label20->text(), QStringLiteral("1000"));
    EXPECT_EQ(column(*form->Data1, QStringLiteral("NOME_CONDOMINO")), (QStringList { "Rossi", "Bianchi" }));
}

TEST_F(TerraceThousandths, TheTableBeforeAnyCalculationShowsNoRowsAndAZeroTotal)
{
    frm_terrazze *form = openForm();
    form->TabStrip1->setCurrentIndex(3);
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Millesimi Tabella: "));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("0"));
    EXPECT_FALSE(form->TDBGrid1->isHidden());
    // "Arr. Millesimi" on no rows does nothing.
    form->Command7->click();
    EXPECT_EQ(form->Label20->text(), QStringLiteral("0"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(TerraceThousandths, ArrMillesimiRestartsAtTheFirstRowShownAndEndsAt1000)
{
    const struct
    {
        const char *name;
        QList<std::pair<int, const char *>> rows; // unit number and thousandths, point-written
        QStringList expected; // by unit number 1, 2, 3 ..., in the order shown
        QString total;
    } cases[] = {
        { "400, 300, 300.003 lose 0.001 each", { { 1, "400" }, { 2, "300" }, { 3, "300.003" } },
            { "399.999", "299.999", "300.002" }, "1000" },
        { "already 1000: nothing changes", { { 1, "400" }, { 2, "600" } }, { "400", "600" }, "1000" },
        // 999.995 on two rows: three passes (+2, +2, +1), the first rows first each time.
        { "several passes", { { 2, "499.997" }, { 1, "499.998" } }, { "500.001", "499.999" }, "1000" },
    };
    for (const QChar separator : { u',', u'.' }) {
        const vb::DecimalSeparatorScope scope(separator);
        for (const auto &c : cases) {
            SCOPED_TRACE(
                testing::Message() << c.name << " under '" << QString(separator).toStdString() << "'");
            TearDown();
            SetUp();
            const vb::DecimalSeparatorScope again(separator);
            for (const auto &[interno, share] : c.rows)
                insert(terraces, QStringLiteral("MILLESIMI"),
                    { { "NOME_CONDOMINO", "x" }, { "PALAZ", 1 }, { "SCALA", "A" }, { "PIANO", "1" },
                        { "MILLESIMI", QString::fromLatin1(share).toDouble() }, { "CODICE", "T1" },
                        { "INTERNO", interno } });
            frm_terrazze *form = openForm();
            form->TabStrip1->setCurrentIndex(3);
            form->Command7->click();
            QStringList shown;
            for (int row = 0; row < form->Data1->recordCount(); ++row)
                shown << zav::workspace::TotalText::of(
                    form->Data1->value(row, QStringLiteral("MILLESIMI")).toDouble());
            QStringList expected;
            for (const QString &value : c.expected)
                expected << local(value.toLatin1());
            EXPECT_EQ(shown, expected);
            EXPECT_EQ(form->Label20->text(), c.total);
            EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.messages().join(u'|').toStdString();
        }
    }
}

TEST_F(TerraceThousandths, ArrMillesimiThatCannotReach1000SaysSoAndEnds)
{
    // 0.0004 more than 1000: no whole thousandth to move.
    insert(terraces, QStringLiteral("MILLESIMI"),
        { { "NOME_CONDOMINO", "x" }, { "PALAZ", 1 }, { "MILLESIMI", 1000.0004 }, { "INTERNO", 1 } });
    frm_terrazze *form = openForm();
    form->TabStrip1->setCurrentIndex(3);
    form->Command7->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(
        boxes.shown().first().text.startsWith(QStringLiteral("Impossibile arrivare a un totale di 1000")));
}

} // namespace
