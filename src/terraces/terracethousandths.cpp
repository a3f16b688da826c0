#include "terraces/terracethousandths.h"

#include "engine/archive.h"
#include "platform/db.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"
#include "terraces/terraceunit.h"

#include <QHash>

#include <charconv>
#include <cmath>
#include <iterator>
#include <vector>

namespace zav::terraces::TerraceThousandths {

namespace vb = platform::vb;
using platform::Database;
using platform::Recordset;

namespace {

// A number compared bare, as the room query compares a building or a unit number, appended to `key`;
// false for none.
bool appendNumber(const platform::FieldView &field, QByteArray &key)
{
    // Whole numbers stored as such, as units are, are written here; the rest as the archive reads them.
    if (field.storage == platform::StorageClass::Integer && field.integer > -1000000000000000
        && field.integer < 1000000000000000) {
        char digits[24];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), field.integer);
        key.append(digits, written.ptr - digits);
        return true;
    }
    const QVariant number = terracearchive::numberKey(field.toVariant());
    if (number.typeId() == QMetaType::QString)
        return false;
    key += number.typeId() == QMetaType::LongLong ? QByteArray::number(number.toLongLong())
                                                  : QByteArray::number(number.toDouble(), 'g', 17);
    return true;
}

// A text compared as the archive compares it, appended to `key`: letters A to Z without regard to
// case; Null as the empty text.
void appendFolded(const platform::FieldView &field, QByteArray &key)
{
    if (field.storage == platform::StorageClass::Null)
        return;
    const QByteArray other = field.storage == platform::StorageClass::Text
        ? QByteArray()
        : field.toVariant().toString().toUtf8();
    const QByteArrayView text = field.storage == platform::StorageClass::Text ? field.bytes : other;
    const qsizetype start = key.size();
    key.append(text);
    for (char *c = key.data() + start, *end = key.data() + key.size(); c < end; ++c)
        if (*c >= 'A' && *c <= 'Z')
            *c = char(*c + ('a' - 'A'));
}

// The key of owner, building, stair and unit number, into `key`; false when no room query could match
// it. A room's Null owner or stair equals no quoted text; a unit's Null ones are quoted as the empty
// text.
bool unitKey(const platform::RowView &row, const int (&fields)[4], bool textsAsQuoted, QByteArray &key)
{
    const platform::FieldView owner = row.field(fields[0]);
    const platform::FieldView stair = row.field(fields[2]);
    if ((owner.isNull() || stair.isNull()) && !textsAsQuoted)
        return false;
    const char separator = 0x1F;
    key.clear();
    appendFolded(owner, key);
    key += separator;
    if (!appendNumber(row.field(fields[1]), key))
        return false;
    key += separator;
    appendFolded(stair, key);
    key += separator;
    return appendNumber(row.field(fields[3]), key);
}

std::optional<double> numberIn(const platform::FieldView &value)
{
    switch (value.storage) {
    case platform::StorageClass::Null:
        return std::nullopt;
    case platform::StorageClass::Integer:
        return double(value.integer);
    case platform::StorageClass::Real:
        return value.real;
    case platform::StorageClass::Text:
    case platform::StorageClass::Blob:
        break;
    }
    return vb::CDblUtf8(value.bytes);
}

struct UnitRooms
{
    double volume = 0.0;
    double weighted = 0.0;
    bool incorrect = false;
};

struct Share
{
    QVariantList row; // the row written, its thousandths set when they are brought to 1000
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

    // Only the fields used are read, each row once, in place.
    Database db = Database::open(terraceArchive);
    outcome.byVolume = !byWeightedSurface;

    // The table's totals over all its rooms, and each unit's sums.
    double totalVolume = 0.0;
    double totalWeighted = 0.0;
    QHash<QByteArray, UnitRooms> byUnit;
    QByteArray key;
    // Rooms of a unit mostly follow one another: a room whose key fields are those of the room before
    // is that room's unit's, without forming its key again. The unit is held by pointer only until the
    // next insertion, which happens only for another key.
    platform::RepeatedFields sameUnit(4);
    UnitRooms *lastUnit = nullptr;
    // The table's rooms in stored order.
    const QString rooms = terracearchive::roomsOfTableSource(db, code);
    db.prepare(QStringLiteral("SELECT NOME_CONDOMINO, PALAZ, SCALA, INTERNO, SUP_CONVENZIONALE, VOLUME, "
                              "H_PIANO, DESCRIZ_VANO FROM %1 ORDER BY rowid")
                   .arg(rooms))
        .forEach({ code }, [&](const platform::RowView &room) {
            ++outcome.rooms;
            const std::optional<double> weighted = numberIn(room.field(4));
            const std::optional<double> volume = numberIn(room.field(5));
            totalWeighted += weighted.value_or(0.0);
            totalVolume += volume.value_or(0.0);
            // A room without a height has no volume: on the volume base it counts nothing.
            if (outcome.byVolume && weighted.value_or(0.0) != 0.0 && volume.value_or(0.0) == 0.0
                && numberIn(room.field(6)).value_or(0.0) == 0.0)
                outcome.roomsWithoutHeight << QStringLiteral("%1 Pal. %2 Scala %3 Int. %4: %5")
                                                  .arg(TerraceUnit::text(room.field(0).toVariant()),
                                                      TerraceUnit::text(room.field(1).toVariant()),
                                                      TerraceUnit::text(room.field(2).toVariant()),
                                                      TerraceUnit::text(room.field(3).toVariant()),
                                                      TerraceUnit::text(room.field(7).toVariant()));
            if (!sameUnit.sameAsBefore(room))
                lastUnit = unitKey(room, { 0, 1, 2, 3 }, false, key) ? &byUnit[key] : nullptr;
            if (!lastUnit)
                return;
            if (!weighted)
                lastUnit->incorrect = true;
            lastUnit->weighted += weighted.value_or(0.0);
            lastUnit->volume += volume.value_or(0.0);
        });
    const double total = byWeightedSurface ? totalWeighted : totalVolume;
    outcome.total = total;

    static const vb::FormatPattern shareFormat(QStringLiteral("####0.0##"));
    std::vector<Share> shares;
    qint64 running = 0;
    if (total != 0.0) {
        project
            .prepare(QStringLiteral(
                "SELECT PROPRIETARIO, NUM_PAL, SCALA, SIGLA, INTERNO FROM CODIF_PIANI ORDER BY rowid"))
            .forEach({}, [&](const platform::RowView &row) {
                if (!unitKey(row, { 0, 1, 2, 4 }, true, key))
                    return;
                const auto found = byUnit.constFind(key);
                if (found == byUnit.constEnd())
                    return;
                const QVariant owner = row.field(0).toVariant();
                const QVariant building = row.field(1).toVariant();
                const QVariant stair = row.field(2).toVariant();
                const QVariant number = row.field(4).toVariant();
                if (found->incorrect) {
                    outcome.incorrectUnits << QStringLiteral("I Mq. del condomino ")
                            + TerraceUnit::text(owner) + QStringLiteral(" Pal. ")
                            + TerraceUnit::text(building) + QStringLiteral("Scala ")
                            + TerraceUnit::text(stair) + QStringLiteral(" risultano non corretti o vuoti");
                    return;
                }
                if (found->volume == 0.0 && found->weighted == 0.0)
                    return;
                const double sum = byWeightedSurface ? found->weighted : found->volume;
                const vb::Formatted share = shareFormat.format(1000.0 * sum / total);
                if (!share.number)
                    return;
                const qint64 thousandths = std::llround(*share.number * 1000.0);
                running += thousandths;
                if (thousandths == 0)
                    return;
                shares.push_back({ { owner, building, stair, row.field(3).toVariant(), sum, {}, code, number,
                                       description },
                    thousandths });
            });
    }
    project.close();

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
    for (Share &share : shares) {
        share.row[5] = double(share.thousandths) / 1000.0;
        insert.exec(share.row);
        ++outcome.rows;
    }
    transaction.commit();
    return outcome;
}

} // namespace zav::terraces::TerraceThousandths
