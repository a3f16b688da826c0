#include "tables/usertables.h"

#include "engine/archive.h"

namespace zav::tables {

using platform::Database;
using platform::FieldDef;
using platform::FieldType;

namespace {

const QString kNameField = QStringLiteral("NOME_TABELLA");

} // namespace

const QList<FieldDef> &UserTables::fields()
{
    static const QList<FieldDef> list {
        { QStringLiteral("CONDOMINO"), FieldType::Text, 150 },
        { QStringLiteral("PALAZ"), FieldType::Text, 3 },
        { QStringLiteral("SCALA"), FieldType::Text, 10 },
        { QStringLiteral("MQ"), FieldType::Double },
        { QStringLiteral("MILLESIMI"), FieldType::Double },
        { QStringLiteral("PIANO"), FieldType::Text, 3 },
        { QStringLiteral("NOME_CONDO"), FieldType::Text, 50 },
        { QStringLiteral("INPUT"), FieldType::Double },
        { QStringLiteral("INTERNO"), FieldType::Integer },
        { QStringLiteral("RIGA"), FieldType::Double },
    };
    return list;
}

const QStringList &UserTables::archiveTables()
{
    namespace archive = engine::archive;
    static const QStringList names = [] {
        QStringList list;
        for (const QLatin1String name :
            { archive::ANA_CONDO, archive::COMPOS_PAL, archive::CODIF_PIANI, archive::ESPRESSIONI,
                archive::MILLESIMI, archive::MIL_PORTIERATO, archive::TEMPORANEO, archive::TEMPORANEO2,
                archive::MIL_RISC, archive::NEW_TAB, archive::TEMP_VARIE, archive::TAB_WINDOW })
            list << QString(name);
        list << archive::coefficientTables();
        return list;
    }();
    return names;
}

QString UserTables::nameOf(const QString &typed)
{
    return typed.trimmed().toUpper();
}

std::optional<UserTables::Refusal> UserTables::refusal(Database &db, const QString &name)
{
    if (name.trimmed().isEmpty())
        return Refusal::Empty;
    if (name.size() > MaxNameLength || !Database::isValidName(name))
        return Refusal::Invalid;
    // The database keeps its own tables under this prefix.
    if (name.startsWith(QStringLiteral("SQLITE_"), Qt::CaseInsensitive)
        || archiveTables().contains(name, Qt::CaseInsensitive) || db.hasTable(name))
        return Refusal::Exists;
    return std::nullopt;
}

std::optional<UserTables::Refusal> UserTables::create(const QString &archive, const QString &name)
{
    Database db = Database::open(archive);
    if (const std::optional<Refusal> refused = refusal(db, name))
        return refused;
    platform::Transaction transaction = db.transaction();
    try {
        db.createTable(name, fields());
    } catch (const platform::DbError &error) {
        if (error.code() == platform::DbErrorCode::TableExists)
            return Refusal::Exists;
        throw;
    }
    db.insert(QString(engine::archive::NEW_TAB), { { kNameField, name } });
    transaction.commit();
    return std::nullopt;
}

UserTables::Dropped UserTables::drop(const QString &archive, const QString &name, qint64 listRow)
{
    Database db = Database::open(archive);
    // A name that cannot be a table name never reaches SQL; its list row goes, there being no table.
    const bool present = Database::isValidName(name) && db.hasTable(name);
    // Only a table of the user's: the list could name one of the archive's own tables.
    if (present && archiveTables().contains(name, Qt::CaseInsensitive))
        throw platform::DbError(platform::DbErrorCode::Failed,
            QStringLiteral("La tabella %1 è una tabella dell'archivio e non può essere eliminata.")
                .arg(name));
    platform::Transaction transaction = db.transaction();
    if (present)
        db.dropTable(name);
    db.remove(QString(engine::archive::NEW_TAB), listRow);
    transaction.commit();
    return present ? Dropped::Table : Dropped::ListRowOnly;
}

bool UserTables::isListedTable(Database &db, const QString &name)
{
    if (!Database::isValidName(name) || archiveTables().contains(name, Qt::CaseInsensitive)
        || !db.hasTable(name))
        return false;
    const platform::Recordset listed
        = db.select({ QString(engine::archive::NEW_TAB), { { kNameField, name } }, {} });
    return !listed.isEmpty();
}

} // namespace zav::tables
