#include "tables/usertablecopy.h"

#include "engine/archive.h"
#include "tables/usertables.h"

namespace zav::tables {

using platform::Condition;
using platform::Database;
using platform::TableQuery;

namespace {

// The fields a copy fills, each from the source's field of the same name.
const QStringList &copiedFields()
{
    static const QStringList fields { QStringLiteral("CONDOMINO"), QStringLiteral("PALAZ"),
        QStringLiteral("SCALA"), QStringLiteral("MQ"), QStringLiteral("MILLESIMI"), QStringLiteral("PIANO"),
        QStringLiteral("INTERNO") };
    return fields;
}

const QStringList kByBuildingAndStair { QStringLiteral("PALAZ"), QStringLiteral("SCALA") };

} // namespace

TableQuery UserTableCopy::sourceRows(Source source, const QString &building, const QString &stair)
{
    switch (source) {
    case Source::General:
        return { QString(engine::archive::MILLESIMI), {}, {} };
    case Source::Building:
        return { QString(engine::archive::TEMPORANEO), { Condition { QStringLiteral("PALAZ"), building } },
            kByBuildingAndStair };
    case Source::Stair:
        return { QString(engine::archive::TEMPORANEO2),
            { Condition { QStringLiteral("PALAZ"), building }, Condition { QStringLiteral("SCALA"), stair } },
            kByBuildingAndStair };
    }
    return {};
}

QString UserTableCopy::emptySourceMessage(Source source)
{
    switch (source) {
    case Source::General:
        return QStringLiteral("Impossibile copiare. La tabella millesimi globali risulta vuota");
    case Source::Building:
        return QStringLiteral("Impossibile copiare. La tabella millesimi palazzina risulta vuota");
    case Source::Stair:
        return QStringLiteral("Impossibile copiare. La tabella millesimi scala risulta vuota");
    }
    return {};
}

UserTableCopy::Outcome UserTableCopy::copy(const QString &archive, Source source, const QString &building,
    const QString &stair, const QString &target)
{
    Database db = Database::open(archive);
    if (!UserTables::isListedTable(db, target))
        return { End::NoTarget, 0 };
    const platform::Recordset rows = db.select(sourceRows(source, building, stair));
    if (rows.isEmpty())
        return { End::EmptySource, 0 };

    QList<int> positions;
    for (const QString &field : copiedFields())
        positions.append(rows.fieldIndex(field));
    const QStringList quoted = [] {
        QStringList names;
        for (const QString &field : copiedFields())
            names << Database::quoteName(field);
        return names;
    }();
    platform::Transaction transaction = db.transaction();
    platform::Statement append
        = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(Database::quoteName(target), quoted.join(QStringLiteral(", ")),
                             QStringList(quoted.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
    for (int row = 0; row < rows.recordCount(); ++row) {
        QVariantList values;
        for (int position : positions)
            values.append(rows.value(row, position));
        append.exec(values);
    }
    transaction.commit();
    return { End::Copied, int(rows.recordCount()) };
}

} // namespace zav::tables
