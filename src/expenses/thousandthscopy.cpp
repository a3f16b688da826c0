#include "expenses/thousandthscopy.h"

#include "engine/archive.h"
#include "expenses/fieldselect.h"
#include "platform/vb.h"

#include <QHash>
#include <QVector>

#include <cmath>
#include <limits>
#include <optional>

namespace zav::expenses {

using platform::Database;
using platform::Recordset;
using platform::TableQuery;
namespace vb = platform::vb;

namespace {

/** A unit's identity across the tables: owner, building, stair and unit number. */
struct UnitKey
{
    QString owner;
    QString building;
    QString stair;
    qint32 number = 0;

    bool operator==(const UnitKey &other) const = default;
};

size_t qHash(const UnitKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.owner, key.building, key.stair, key.number);
}

/** Text of a key part: a number as the text of its value ("12"), text as it stands. */
QString keyText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (vb::isNumberValue(value))
        return vb::CStr(value.toDouble());
    return value.toString();
}

/** The source's unit number: a whole number that fits 32 bits, as stored. */
std::optional<qint32> sourceNumber(const QVariant &value)
{
    const std::optional<double> number = vb::CDbl(value);
    if (!number || *number != std::trunc(*number) || std::fabs(*number) > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(*number);
}

/** The target's unit number, converted to a whole 32-bit number first. */
std::optional<qint32> targetNumber(const QVariant &value)
{
    const std::optional<double> number = vb::CDbl(value);
    if (!number)
        return std::nullopt;
    try {
        return qint32(vb::CLng(*number));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

/** The four key fields of a table: owner, building, stair and unit number. */
constexpr int KeyFieldCount = 4;

/** The four key fields of a table, by position. */
struct KeyFields
{
    int owner, building, stair, number;
};

std::optional<UnitKey> keyOf(const Recordset &rows, int row, const KeyFields &fields, bool target)
{
    UnitKey key { keyText(rows.value(row, fields.owner)), keyText(rows.value(row, fields.building)),
        keyText(rows.value(row, fields.stair)), 0 };
    if (key.owner.isEmpty() || key.building.isEmpty() || key.stair.isEmpty())
        return std::nullopt;
    const QVariant number = rows.value(row, fields.number);
    const std::optional<qint32> n = target ? targetNumber(number) : sourceNumber(number);
    if (!n)
        return std::nullopt;
    key.number = *n;
    return key;
}

} // namespace

const QList<ThousandthsCopy::Source> &ThousandthsCopy::sources()
{
    using engine::archive::MIL_PORTIERATO;
    using engine::archive::MIL_RISC;
    using engine::archive::MILLESIMI;
    using engine::archive::TEMPORANEO;
    using engine::archive::TEMPORANEO2;
    static const QList<Source> list = {
        { QLatin1String("copia_mil_glob"), MILLESIMI,
            { { QLatin1String("MILLESIMI"), QLatin1String("millesimi_generali") } } },
        { QLatin1String("copia_mil_pal"), TEMPORANEO,
            { { QLatin1String("MILLESIMI"), QLatin1String("millesimi_palazzina") } } },
        { QLatin1String("copia_mil_scala"), TEMPORANEO2,
            { { QLatin1String("MEDIA"), QLatin1String("millesimi_scala") },
                { QLatin1String("MEDIA_ASC"), QLatin1String("millesimi_ascensore") } } },
        { QLatin1String("copia_mil_risc"), MIL_RISC,
            { { QLatin1String("MILLESIMI"), QLatin1String("millesimi_riscaldamento") } } },
        { QLatin1String("copia_mil_port"), MIL_PORTIERATO,
            { { QLatin1String("MILLESIMI"), QLatin1String("millesimi_portierato") } } },
    };
    return list;
}

const ThousandthsCopy::Source *ThousandthsCopy::source(const QString &operation)
{
    for (const Source &s : sources()) {
        if (s.operation == operation)
            return &s;
    }
    return nullptr;
}

namespace {

/** A copy's source as a map from each unit to its values: the last row of a unit wins. */
QHash<UnitKey, QVariantList> sourceValues(Database &project, const ThousandthsCopy::Source &source)
{
    // Only the fields the copy uses are read: the key, then the values.
    QStringList fields = { QStringLiteral("CONDOMINO"), QStringLiteral("PALAZ"), QStringLiteral("SCALA"),
        QStringLiteral("INTERNO") };
    for (const auto &field : source.fields)
        fields << field.first;
    const Recordset rows = selectFields(project,
        TableQuery { source.table, {},
            { QStringLiteral("PALAZ"), QStringLiteral("SCALA"), QStringLiteral("INTERNO"),
                QStringLiteral("CONDOMINO") } },
        fields);
    const KeyFields key { 1, 2, 3, 4 };
    const int valueCount = int(source.fields.size());
    QHash<UnitKey, QVariantList> values;
    values.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        const std::optional<UnitKey> unit = keyOf(rows, row, key, false);
        if (!unit)
            continue;
        QVariantList v;
        v.reserve(valueCount);
        for (int field = 0; field < valueCount; ++field)
            v << rows.value(row, 1 + KeyFieldCount + field);
        values.insert(*unit, v);
    }
    return values;
}

/** The target's key fields, owner first. */
QStringList targetKeyFields()
{
    return { QStringLiteral("nome_condomino"), QStringLiteral("PAL"), QStringLiteral("SCALA"),
        QStringLiteral("INTERNO") };
}

/** The fields a copy writes into the target. */
QStringList targetFields(const ThousandthsCopy::Source &copy)
{
    QStringList fields;
    for (const auto &field : copy.fields)
        fields << field.second;
    return fields;
}

} // namespace

int ThousandthsCopy::run(
    Database &project, Database &target, const TableQuery &targetRows, const Source &source)
{
    return run(project, target, targetRows, QList<Source> { source },
        [](const platform::DbError &error) { throw error; });
}

int ThousandthsCopy::run(Database &project, Database &target, const TableQuery &targetRows,
    const QList<Source> &sources, const std::function<void(const platform::DbError &)> &failed)
{
    // Each copy is read and its target fields checked in turn, as if it ran alone; the rows are read
    // once, and each is written once with every copy that has its unit.
    QList<Source> copies;
    QList<QHash<UnitKey, QVariantList>> values;
    for (const Source &source : sources) {
        try {
            QHash<UnitKey, QVariantList> read = sourceValues(project, source);
            // The target fields must exist even when there is nothing to copy.
            checkFields(target, targetRows, targetKeyFields() + targetFields(source));
            if (read.isEmpty())
                continue;
            copies << source;
            values << read;
        } catch (const platform::DbError &error) {
            failed(error);
        }
    }
    if (copies.isEmpty())
        return 0;
    const Recordset units = selectFields(target, targetRows, targetKeyFields());
    if (units.isEmpty())
        return 0;

    // A field that a copy does not write for this unit keeps its value.
    QStringList assignments;
    for (const Source &copy : copies) {
        for (const auto &field : copy.fields) {
            const QString name = Database::quoteName(field.second);
            assignments << QStringLiteral("%1 = CASE WHEN ? THEN ? ELSE %1 END").arg(name);
        }
    }
    platform::Statement update
        = target.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                             .arg(Database::quoteName(targetRows.table), assignments.join(u',')));
    const KeyFields targetKey { 1, 2, 3, 4 };
    int written = 0;
    QVariantList bound;
    for (int row = 0; row < units.recordCount(); ++row) {
        const std::optional<UnitKey> key = keyOf(units, row, targetKey, true);
        if (!key)
            continue;
        bound.clear();
        bool found = false;
        for (qsizetype c = 0; c < copies.size(); ++c) {
            const auto it = values.at(c).constFind(*key);
            const bool has = it != values.at(c).constEnd();
            found = found || has;
            for (qsizetype field = 0; field < copies.at(c).fields.size(); ++field)
                bound << has << (has ? it->at(field) : QVariant());
        }
        if (!found)
            continue;
        bound << units.value(row, 0);
        try {
            update.exec(bound);
        } catch (const platform::DbError &error) {
            failed(error);
            return written;
        }
        ++written;
    }
    return written;
}

void ThousandthsCopy::runOn(const QString &projectPath, const QString &targetPath,
    const TableQuery &targetRows, const QString &operation)
{
    const Source *copy = source(operation);
    if (!copy || projectPath.isEmpty() || targetPath.isEmpty())
        return;
    Database target = Database::open(targetPath);
    Database project = Database::open(projectPath);
    platform::Transaction transaction = target.transaction();
    run(project, target, targetRows, *copy);
    transaction.commit();
}

} // namespace zav::expenses
