#include "shell/project/decimalconversion.h"

#include "engine/archive.h"
#include "platform/db.h"

namespace zav::shell {

using platform::Database;
using platform::DbError;

namespace {

QList<int> range(int first, int last, const QList<int> &except = {})
{
    QList<int> positions;
    for (int i = first; i <= last; ++i) {
        if (!except.contains(i))
            positions << i;
    }
    return positions;
}

// Converts one table inside the open transaction; a failure leaves the table as it was.
bool convertTable(Database &db, const DecimalConversion::Table &table, DecimalConversion::Direction direction)
{
    db.exec(QStringLiteral("SAVEPOINT conversione"));
    try {
        const platform::Recordset rs = db.table(table.name);
        for (int position : table.positions) {
            if (position >= rs.fieldCount())
                throw DbError(platform::DbErrorCode::ItemNotFound,
                    QStringLiteral("Campo %1 non trovato in %2").arg(position).arg(table.name));
        }
        for (int row = 0; row < rs.recordCount(); ++row) {
            QList<std::pair<QString, QVariant>> values;
            for (int position : table.positions) {
                const QVariant value = rs.value(row, position);
                // Only text is a number held as text; Null and real numbers stay as they are.
                if (value.isNull() || value.typeId() != QMetaType::QString)
                    continue;
                values.append({ rs.fieldName(position),
                    DecimalConversion::swapSeparator(value.toString(), direction) });
            }
            if (!values.isEmpty())
                db.update(table.name, rs.rowidAt(row), values);
        }
    } catch (const DbError &error) {
        // A table that lacks a field is left as it was and the others go on; a write that fails
        // (a full disk, an archive in use) ends the conversion, which the caller's transaction
        // then rolls back whole. SQLite may have rolled it back already, savepoint and all.
        if (error.code() != platform::DbErrorCode::ItemNotFound)
            throw;
        db.exec(QStringLiteral("ROLLBACK TO conversione"));
        db.exec(QStringLiteral("RELEASE conversione"));
        return false;
    }
    db.exec(QStringLiteral("RELEASE conversione"));
    return true;
}

} // namespace

const QList<DecimalConversion::Table> &DecimalConversion::tables()
{
    static const QList<Table> list = [] {
        QList<Table> all;
        for (const QString &name : engine::archive::coefficientTables())
            all.append({ name, range(1, 7) });
        all.append({ engine::archive::TAB_WINDOW, { 1 } });
        all.append({ engine::archive::ESPRESSIONI, range(3, 21, { 18, 20 }) });
        return all;
    }();
    return list;
}

DecimalConversion::Direction DecimalConversion::towards(QChar separator)
{
    return separator == u',' ? Direction::PointToComma : Direction::CommaToPoint;
}

bool DecimalConversion::holdsOtherSeparator(const QString &path, QChar separator)
{
    const QChar other = separator == u',' ? u'.' : u',';
    Database db = Database::open(path);
    for (const Table &table : tables()) {
        // The rooms are the user's; the tables of coefficients tell how the archive was written.
        if (table.name == engine::archive::ESPRESSIONI || !db.hasTable(table.name))
            continue;
        const platform::Recordset rs = db.table(table.name);
        for (int row = 0; row < rs.recordCount(); ++row) {
            for (int position : table.positions) {
                if (position >= rs.fieldCount())
                    continue;
                const QVariant value = rs.value(row, position);
                if (value.typeId() != QMetaType::QString)
                    continue;
                const QString text = value.toString();
                if (text.contains(other) && !text.contains(separator))
                    return true;
            }
        }
    }
    return false;
}

QString DecimalConversion::swapSeparator(const QString &text, Direction direction)
{
    const QChar from = direction == Direction::CommaToPoint ? u',' : u'.';
    const QChar to = direction == Direction::CommaToPoint ? u'.' : u',';
    QString converted = text;
    converted.replace(from, to);
    return converted;
}

DecimalConversion::Result DecimalConversion::convertArchive(
    const QString &path, Direction direction, const std::function<void(int table)> &afterTable)
{
    Result result;
    Database db = Database::open(path);
    platform::Transaction transaction = db.transaction();
    const QList<Table> &list = tables();
    for (int i = 0; i < list.size(); ++i) {
        if (!convertTable(db, list.at(i), direction))
            result.failedTables << list.at(i).name;
        if (afterTable)
            afterTable(i);
    }
    transaction.commit();
    return result;
}

} // namespace zav::shell
