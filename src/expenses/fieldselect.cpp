#include "expenses/fieldselect.h"

namespace zav::expenses {

using platform::Database;
using platform::Recordset;

void checkFields(Database &db, const platform::TableQuery &query, const QStringList &fields)
{
    QVariantList values;
    const QString whole = Database::selectStatement(query, values);
    // The whole rows' statement, stopped before its first row, fails as reading them would and
    // names the fields there are.
    const Recordset layout = db.prepare(whole + QStringLiteral(" LIMIT 0")).read(values);
    for (const QString &field : fields)
        layout.fieldIndex(field);
}

Recordset selectFields(
    Database &db, const platform::TableQuery &query, const QStringList &fields, const QStringList &required)
{
    checkFields(db, query, fields + required);
    QVariantList values;
    const QString whole = Database::selectStatement(query, values);
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

} // namespace zav::expenses
