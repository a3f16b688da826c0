#include "platform/projectrecord.h"

#include "platform/db.h"

#include <QFileInfo>

namespace zav::platform::projectrecord {

QString read(Database &archive)
{
    if (!archive.hasTable(Table))
        return QString();
    const Recordset rows = archive.table(Table);
    return rows.isEmpty() ? QString() : rows.value(0, rows.fieldIndex(Field)).toString();
}

void write(Database &archive, const QString &projectArchive)
{
    const QString owner = QFileInfo(projectArchive).absoluteFilePath();
    Transaction transaction = archive.transaction();
    if (!archive.hasTable(Table))
        archive.createTable(Table, { { Field, FieldType::Memo } });
    archive.clear(Table);
    archive.insert(Table, { { Field, owner } });
    transaction.commit();
}

QString ownerOf(const QString &path)
{
    try {
        Database archive = Database::open(path);
        return read(archive);
    } catch (const DbError &) {
        return QString();
    }
}

} // namespace zav::platform::projectrecord
