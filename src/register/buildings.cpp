#include "register/buildings.h"

#include "engine/archive.h"
#include "platform/db.h"

#include <QRegularExpression>

namespace zav::register_ {

using engine::archive::ANA_CONDO;
using engine::archive::buildingNumbers;
using engine::archive::COMPOS_PAL;
using engine::archive::ESPRESSIONI;
using platform::Database;
using platform::Recordset;

namespace {

const QString CountField = QStringLiteral("NUM_PAL");
const QString HalfField = QStringLiteral("RISC_50");

/** @brief Whether the header record holds a count at all: the buildings were created once. */
bool countStored(const Recordset &header)
{
    const QVariant value = header.value(0, header.fieldIndex(CountField));
    return value.isValid() && !value.isNull() && !value.toString().trimmed().isEmpty();
}

bool isTrue(const Recordset &rows, const QString &field)
{
    return rows.hasField(field) && rows.value(0, rows.fieldIndex(field)).toBool();
}

void storeCount(Database &db, const Recordset &header, int count)
{
    db.update(ANA_CONDO, header.rowidAt(0), { { CountField, count } });
}

/** @brief A room's building as its text reads: the number it holds, blanks around it allowed. */
std::optional<double> roomBuilding(const QVariant &value)
{
    bool ok = false;
    const double number
        = value.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace

std::optional<int> wholeNumber(const QString &answer)
{
    static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{0,8}$"));
    const QString text = answer.trimmed();
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    return text.toInt();
}

HeaderState readHeader(const QString &archive)
{
    Database db = Database::open(archive);
    const Recordset header = db.table(ANA_CONDO);
    HeaderState state;
    state.lacksHalfField = !header.hasField(HalfField);
    if (header.isEmpty())
        return state;
    state.exists = true;
    // The count is what exists: a stored number that no longer matches the buildings says nothing.
    const qsizetype buildings = buildingNumbers(db).size();
    if (countStored(header) || buildings > 0)
        state.count = int(buildings);
    state.criterion.volume = isTrue(header, QStringLiteral("RISC_VOL"));
    state.criterion.radiant = isTrue(header, QStringLiteral("RISC_RAD"));
    state.criterion.half = isTrue(header, HalfField);
    return state;
}

bool storeCriterion(const QString &archive, const HeatingCriterion &criterion)
{
    Database db = Database::open(archive);
    const Recordset header = db.table(ANA_CONDO);
    const bool hasHalf = header.hasField(HalfField);
    if (header.isEmpty())
        return hasHalf;
    QList<std::pair<QString, QVariant>> values = { { QStringLiteral("RISC_VOL"), criterion.volume },
        { QStringLiteral("RISC_RAD"), criterion.radiant } };
    if (hasHalf)
        values.append({ HalfField, criterion.half });
    db.update(ANA_CONDO, header.rowidAt(0), values);
    return hasHalf;
}

BuildingsResult createBuildings(const QString &archive, std::optional<int> n)
{
    Database db = Database::open(archive);
    const Recordset header = db.table(ANA_CONDO);
    if (header.isEmpty())
        return { BuildingsOutcome::NoHeader };
    // The buildings that exist decide, not a count that may no longer match them.
    if (!buildingNumbers(db).isEmpty())
        return { BuildingsOutcome::AlreadyCreated };
    if (!n || *n < 1)
        return { BuildingsOutcome::NotANumber };
    if (*n > MaxBuildings)
        return { BuildingsOutcome::TooMany };
    platform::Transaction transaction = db.transaction();
    for (int number = 1; number <= *n; ++number)
        db.insert(COMPOS_PAL, { { CountField, number } });
    storeCount(db, header, *n);
    transaction.commit();
    return { BuildingsOutcome::Done, *n };
}

BuildingsResult addBuildings(const QString &archive, int n)
{
    Database db = Database::open(archive);
    const Recordset header = db.table(ANA_CONDO);
    if (header.isEmpty())
        return { BuildingsOutcome::NoHeader };
    QList<int> present = buildingNumbers(db);
    const int before = int(present.size());
    if (n > MaxBuildings - before)
        return { BuildingsOutcome::TooMany };
    // The gaps that deletions left, up to the number of buildings there are; then after the highest.
    QList<int> added;
    for (int number = 1; number <= before && int(added.size()) < n; ++number) {
        if (!present.contains(number))
            added.append(number);
    }
    int highest = present.isEmpty() ? 0 : present.constLast();
    while (int(added.size()) < n)
        added.append(++highest);
    if (highest > MaxBuildings)
        return { BuildingsOutcome::NumberTooHigh };

    platform::Transaction transaction = db.transaction();
    for (int number : added)
        db.insert(COMPOS_PAL, { { CountField, number } });
    storeCount(db, header, before + n);
    transaction.commit();
    return { BuildingsOutcome::Done, before + n };
}

BuildingsResult deleteBuilding(const QString &archive, int number)
{
    Database db = Database::open(archive);
    const Recordset header = db.table(ANA_CONDO);
    if (header.isEmpty())
        return { BuildingsOutcome::NoHeader };
    const QList<int> present = buildingNumbers(db);
    if (!present.contains(number))
        return { BuildingsOutcome::NoSuchBuilding };

    platform::Transaction transaction = db.transaction();
    db.exec(QStringLiteral("DELETE FROM CODIF_PIANI WHERE NUM_PAL = ?"), { number });
    const Recordset rooms = db.query(QStringLiteral("SELECT rowid, PALAZ FROM ESPRESSIONI"));
    for (int row = 0; row < rooms.recordCount(); ++row) {
        const std::optional<double> building = roomBuilding(rooms.value(row, 1));
        if (building && *building == number)
            db.remove(ESPRESSIONI, rooms.value(row, 0).toLongLong());
    }
    db.exec(QStringLiteral("DELETE FROM COMPOS_PAL WHERE NUM_PAL = ?"), { number });
    const int count = int(buildingNumbers(db).size());
    storeCount(db, header, count);
    transaction.commit();
    return { BuildingsOutcome::Done, count };
}

} // namespace zav::register_
