#include "printing/printarchive.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "platform/db.h"
#include "platform/vb.h"

#include <stdexcept>

namespace zav::printing {

using platform::Database;
using platform::DbError;
using platform::Recordset;

namespace {

bool isEmptyValue(const QVariant &value)
{
    return value.isNull() || !value.isValid() || value.toString().trimmed().isEmpty();
}

/** A value read as a whole number, the way a count is read: its leading number, halves to even. */
int wholeNumber(const QVariant &value)
{
    if (isEmptyValue(value))
        return 0;
    try {
        const double number
            = platform::vb::isNumberValue(value) ? value.toDouble() : platform::vb::Val(value.toString());
        return platform::vb::CInt(number);
    } catch (const std::exception &) {
        return 0;
    }
}

} // namespace

std::optional<QStringList> PrintArchive::buildings(const QString &archive)
{
    Database db = Database::open(archive);
    if (db.table(engine::archive::ANA_CONDO).isEmpty())
        return std::nullopt;
    // The buildings that exist: after a deletion their numbers have a gap that a count would hide.
    QStringList numbers;
    for (int number : engine::archive::buildingNumbers(db))
        numbers.append(QString::number(number));
    return numbers;
}

PrintArchive::Stairs PrintArchive::stairs(const QString &archive, const QString &building)
{
    Database db = Database::open(archive);
    const Recordset buildings = db.table(engine::archive::COMPOS_PAL);
    Stairs result;
    if (buildings.isEmpty())
        return result;
    const std::optional<double> wanted = platform::vb::CDbl(building);
    for (int row = 0; row < buildings.recordCount(); ++row) {
        const std::optional<double> number = platform::vb::CDbl(buildings.value(row, 2));
        if (!wanted || !number || *number != *wanted)
            continue;
        const QVariant count = buildings.value(row, 3);
        if (isEmptyValue(count)) {
            result.found = Stairs::Found::NoStairs;
            return result;
        }
        result.found = Stairs::Found::Stairs;
        result.entries.append(engine::archive::NoStair);
        const QString letters = engine::archive::StairLetters;
        for (int k = 1; k <= wholeNumber(count); ++k)
            result.entries.append(letters.mid(k - 1, 1));
        return result;
    }
    result.found = Stairs::Found::NoSuchBuilding;
    return result;
}

PrintArchive::Buffer PrintArchive::fillBuffer(const QString &archive, const QString &table)
{
    Buffer result;
    try {
        Database db = Database::open(archive);
        platform::Transaction transaction = db.transaction();
        db.clear(engine::archive::TEMP_VARIE);

        Recordset source;
        try {
            source = db.table(table);
        } catch (const DbError &) {
            // A table dropped since it was chosen reads as an empty one.
        }
        if (source.isEmpty()) {
            transaction.commit();
            result.outcome = Buffer::Outcome::EmptyTable;
            return result;
        }

        const QStringList fields = db.fields(engine::archive::TEMP_VARIE);
        if (fields.size() < 10 || source.fieldCount() < 9)
            throw DbError(platform::DbErrorCode::ItemNotFound,
                QStringLiteral("la tabella %1 o TEMP_VARIE non ha i campi attesi").arg(table));
        QStringList names;
        for (int i = 0; i < 10; ++i)
            names.append(Database::quoteName(fields.at(i)));
        platform::Statement insert
            = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?,?,?,?,?,?,?,?,?,?)")
                             .arg(Database::quoteName(engine::archive::TEMP_VARIE), names.join(u',')));
        for (int row = 0; row < source.recordCount(); ++row) {
            insert.exec({ source.value(row, 0), source.value(row, 1), source.value(row, 2),
                source.value(row, 3), source.value(row, 4), source.value(row, 5), table, QVariant(),
                source.value(row, 8), source.value(row, 7) });
        }
        transaction.commit();
        result.outcome = Buffer::Outcome::Filled;
        result.rows = source.recordCount();
    } catch (const DbError &error) {
        result.outcome = Buffer::Outcome::Failed;
        result.message = engine::databaseFailureText(error);
    }
    return result;
}

} // namespace zav::printing
