#include "tables/columninuse.h"

#include "platform/db.h"
#include "tables/coefficienttables.h"

#include <stdexcept>

namespace zav::tables {

QString ColumnInUse::caption(const QVariant &tabUtil)
{
    const QString value = tabUtil.isNull() ? QString() : tabUtil.toString();
    return QStringLiteral("Tabella utilizzata: ") + (value.isEmpty() ? QStringLiteral("Nessuna") : value);
}

void ColumnInUse::mark(const QString &archive, const QString &table, const QString &columnCaption)
{
    if (!CoefficientTables::byTable(table))
        throw std::invalid_argument("not a coefficient table");
    const QString field = CoefficientTables::columns().at(CoefficientTables::ColumnInUseField).field;
    platform::Database db = platform::Database::open(archive);
    platform::Transaction transaction = db.transaction();
    db.exec(QStringLiteral("UPDATE %1 SET %2 = ?")
                .arg(platform::Database::quoteName(table), platform::Database::quoteName(field)),
        { columnCaption });
    transaction.commit();
}

} // namespace zav::tables
