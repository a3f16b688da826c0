#include "expenses/thousandthscopy.h"

#include "engine/archive.h"
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

/** The four key fields of a table, by name. */
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

/**
 * The rows a query names, reading only these fields: the rowid at position 0, then the fields in
 * the order given. It fails as reading the whole rows and then looking up the fields and `required`
 * would: a missing table or condition field first, then the first of the fields missing.
 */
Recordset selectFields(
    Database &db, const TableQuery &query, const QStringList &fields, const QStringList &required = {})
{
    QVariantList values;
    const QString whole = Database::selectStatement(query, values);
    const Recordset layout = db.prepare(whole + QStringLiteral(" LIMIT 0")).read(values);
    for (const QString &field : fields + required)
        layout.fieldIndex(field);
    const QLatin1String everyField("SELECT rowid, * ");
    Q_ASSERT(whole.startsWith(everyField));
    QStringList names;
    for (const QString &field : fields)
        names << Database::quoteName(field);
    return db
        .prepare(QStringLiteral("SELECT rowid, ") + names.join(QStringLiteral(", ")) + u' '
            + whole.mid(everyField.size()))
        .read(values);
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

int ThousandthsCopy::run(
    Database &project, Database &target, const TableQuery &targetRows, const Source &source)
{
    // The source, as a map from each unit to its values: the last row of a unit wins. Only the
    // fields the copy uses are read.
    QStringList sourceFields = { QStringLiteral("CONDOMINO"), QStringLiteral("PALAZ"),
        QStringLiteral("SCALA"), QStringLiteral("INTERNO") };
    for (const auto &field : source.fields)
        sourceFields << field.first;
    const Recordset rows = selectFields(project,
        TableQuery { source.table, {},
            { QStringLiteral("PALAZ"), QStringLiteral("SCALA"), QStringLiteral("INTERNO"),
                QStringLiteral("CONDOMINO") } },
        sourceFields);
    const KeyFields sourceKey { 1, 2, 3, 4 };
    const int valueCount = int(source.fields.size());
    QHash<UnitKey, QVariantList> values;
    values.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        const std::optional<UnitKey> key = keyOf(rows, row, sourceKey, false);
        if (!key)
            continue;
        QVariantList v;
        v.reserve(valueCount + 1);
        for (int field = 0; field < valueCount; ++field)
            v << rows.value(row, 5 + field);
        values.insert(*key, v);
    }

    // The target fields must exist even when there is nothing to copy.
    QStringList targetFields;
    QStringList assignments;
    for (const auto &field : source.fields) {
        targetFields << field.second;
        assignments << Database::quoteName(field.second) + QStringLiteral(" = ?");
    }
    const Recordset units = selectFields(target, targetRows,
        { QStringLiteral("nome_condomino"), QStringLiteral("PAL"), QStringLiteral("SCALA"),
            QStringLiteral("INTERNO") },
        targetFields);
    const KeyFields targetKey { 1, 2, 3, 4 };
    if (units.isEmpty() || values.isEmpty())
        return 0;
    platform::Statement update
        = target.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                             .arg(Database::quoteName(targetRows.table), assignments.join(u',')));
    int written = 0;
    for (int row = 0; row < units.recordCount(); ++row) {
        const std::optional<UnitKey> key = keyOf(units, row, targetKey, true);
        if (!key)
            continue;
        const auto found = values.constFind(*key);
        if (found == values.constEnd())
            continue;
        QVariantList bound = *found;
        bound << units.value(row, 0);
        update.exec(bound);
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
