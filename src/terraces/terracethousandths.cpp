#include "terraces/terracethousandths.h"

#include "engine/archive.h"
#include "platform/db.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"
#include "terraces/terraceunit.h"

#include <QHash>

#include <cmath>
#include <vector>

namespace zav::terraces::TerraceThousandths {

namespace vb = platform::vb;
using platform::Database;
using platform::Recordset;

namespace {

// A number compared bare, as the room query compares a building or a unit number; empty: none.
QString numberPart(const QVariant &value)
{
    const QVariant key = terracearchive::numberKey(value);
    if (key.typeId() == QMetaType::QString)
        return {};
    return key.typeId() == QMetaType::LongLong ? QString::number(key.toLongLong())
                                               : QString::number(key.toDouble(), 'g', 17);
}

// A text compared as the archive compares it: letters A to Z without regard to case.
QString foldedText(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return folded;
}

// The key of owner, building, stair and unit number; empty when no room query could match it.
// A room's Null owner or stair equals no quoted text; a unit's Null ones are quoted as the empty text.
QString unitKey(const QVariant &owner, const QVariant &building, const QVariant &stair,
    const QVariant &interno, bool textsAsQuoted)
{
    const QString b = numberPart(building);
    const QString n = numberPart(interno);
    if (b.isEmpty() || n.isEmpty())
        return {};
    if ((owner.isNull() || stair.isNull()) && !textsAsQuoted)
        return {};
    const QChar separator(0x1F);
    return foldedText(owner.isNull() ? QString() : owner.toString()) + separator + b + separator
        + foldedText(stair.isNull() ? QString() : stair.toString()) + separator + n;
}

std::optional<double> numberIn(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (vb::isNumberValue(value))
        return value.toDouble();
    return vb::CDbl(value.toString());
}

struct UnitRooms
{
    double volume = 0.0;
    double weighted = 0.0;
    bool incorrect = false;
};

struct Share
{
    QVariantList fields; // the row but for its thousandths
    qint64 thousandths = 0;
};

} // namespace

Outcome calculate(const QString &terraceArchive, const QString &projectArchive, const QString &code,
    const QString &description)
{
    Outcome outcome;
    Database project = Database::open(projectArchive);
    const Recordset options = project.table(engine::archive::ANA_CONDO);
    const bool byWeightedSurface = options.recordCount() > 0 && options.fieldCount() > 6
        && options.value(0, 6).isValid() && options.value(0, 6).toBool();
    const Recordset units = project.table(engine::archive::CODIF_PIANI);
    project.close();

    Database db = Database::open(terraceArchive);
    const Recordset rooms
        = db.select({ terracearchive::SUP_COEFF_VOL, { { QStringLiteral("CODICE"), code } }, {} });
    const int ownerField = rooms.fieldIndex(QStringLiteral("NOME_CONDOMINO"));
    const int palaz = rooms.fieldIndex(QStringLiteral("PALAZ"));
    const int scala = rooms.fieldIndex(QStringLiteral("SCALA"));
    const int interno = rooms.fieldIndex(QStringLiteral("INTERNO"));
    const int weightedField = rooms.fieldIndex(QStringLiteral("SUP_CONVENZIONALE"));
    const int volumeField = rooms.fieldIndex(QStringLiteral("VOLUME"));
    const int heightField = rooms.fieldIndex(QStringLiteral("H_PIANO"));
    const int roomName = rooms.fieldIndex(QStringLiteral("DESCRIZ_VANO"));
    outcome.rooms = rooms.recordCount();
    outcome.byVolume = !byWeightedSurface;

    // The table's totals over all its rooms, and each unit's sums.
    double totalVolume = 0.0;
    double totalWeighted = 0.0;
    QHash<QString, UnitRooms> byUnit;
    for (int row = 0; row < rooms.recordCount(); ++row) {
        const std::optional<double> weighted = numberIn(rooms.value(row, weightedField));
        const std::optional<double> volume = numberIn(rooms.value(row, volumeField));
        totalWeighted += weighted.value_or(0.0);
        totalVolume += volume.value_or(0.0);
        // A room without a height has no volume: on the volume base it counts nothing.
        if (outcome.byVolume && weighted.value_or(0.0) != 0.0 && volume.value_or(0.0) == 0.0
            && numberIn(rooms.value(row, heightField)).value_or(0.0) == 0.0)
            outcome.roomsWithoutHeight << QStringLiteral("%1 Pal. %2 Scala %3 Int. %4: %5")
                                              .arg(TerraceUnit::text(rooms.value(row, ownerField)),
                                                  TerraceUnit::text(rooms.value(row, palaz)),
                                                  TerraceUnit::text(rooms.value(row, scala)),
                                                  TerraceUnit::text(rooms.value(row, interno)),
                                                  TerraceUnit::text(rooms.value(row, roomName)));
        const QString key = unitKey(rooms.value(row, ownerField), rooms.value(row, palaz),
            rooms.value(row, scala), rooms.value(row, interno), false);
        if (key.isEmpty())
            continue;
        UnitRooms &unit = byUnit[key];
        if (!weighted)
            unit.incorrect = true;
        unit.weighted += weighted.value_or(0.0);
        unit.volume += volume.value_or(0.0);
    }
    const double total = byWeightedSurface ? totalWeighted : totalVolume;
    outcome.total = total;

    static const vb::FormatPattern shareFormat(QStringLiteral("####0.0##"));
    const int owner = units.fieldIndex(QStringLiteral("PROPRIETARIO"));
    const int building = units.fieldIndex(QStringLiteral("NUM_PAL"));
    const int stair = units.fieldIndex(QStringLiteral("SCALA"));
    const int floor = units.fieldIndex(QStringLiteral("SIGLA"));
    const int number = units.fieldIndex(QStringLiteral("INTERNO"));
    std::vector<Share> shares;
    qint64 running = 0;
    for (int row = 0; row < units.recordCount() && total != 0.0; ++row) {
        const QString key = unitKey(units.value(row, owner), units.value(row, building),
            units.value(row, stair), units.value(row, number), true);
        const auto found = byUnit.constFind(key);
        if (key.isEmpty() || found == byUnit.constEnd())
            continue;
        if (found->incorrect) {
            outcome.incorrectUnits << QStringLiteral("I Mq. del condomino ")
                    + TerraceUnit::text(units.value(row, owner)) + QStringLiteral(" Pal. ")
                    + TerraceUnit::text(units.value(row, building)) + QStringLiteral("Scala ")
                    + TerraceUnit::text(units.value(row, stair))
                    + QStringLiteral(" risultano non corretti o vuoti");
            continue;
        }
        if (found->volume == 0.0 && found->weighted == 0.0)
            continue;
        const double sum = byWeightedSurface ? found->weighted : found->volume;
        const vb::Formatted share = shareFormat.format(1000.0 * sum / total);
        if (!share.number)
            continue;
        const qint64 thousandths = std::llround(*share.number * 1000.0);
        running += thousandths;
        if (thousandths == 0)
            continue;
        shares.push_back({ { units.value(row, owner), units.value(row, building), units.value(row, stair),
                               units.value(row, floor), sum },
            thousandths });
        shares.back().fields << code << units.value(row, number) << description;
    }

    // Brought to 1000 from the first row written, each row at most once.
    const qint64 missing = 1000000 - running;
    const qint64 step = missing > 0 ? 1 : -1;
    for (qint64 i = 0; i < std::llabs(missing) && i < qint64(shares.size()) && running != 0; ++i)
        shares[std::size_t(i)].thousandths += step;

    platform::Transaction transaction = db.transaction();
    db.clear(terracearchive::MILLESIMI);
    platform::Statement insert
        = db.prepare(QStringLiteral("INSERT INTO MILLESIMI (NOME_CONDOMINO, PALAZ, SCALA, PIANO, MQ, "
                                    "MILLESIMI, CODICE, INTERNO, DESCRIZIONE) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Share &share : shares) {
        QVariantList values = share.fields.mid(0, 5);
        values << double(share.thousandths) / 1000.0;
        values << share.fields.mid(5);
        insert.exec(values);
        ++outcome.rows;
    }
    transaction.commit();
    return outcome;
}

} // namespace zav::terraces::TerraceThousandths
