#include "platform/db.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QUrl>

#include <atomic>
#include <cmath>

namespace zav::platform {

namespace {

const QString kDriver = QStringLiteral("QSQLITE");

// How long a statement waits for another connection's lock before it fails as "database is locked".
constexpr int kBusyTimeoutMs = 5000;

QString newConnectionName()
{
    static std::atomic<quint64> serial { 0 };
    return QStringLiteral("zav-db-%1").arg(++serial);
}

// Sorts a driver failure into the codes the callers branch on. SQLite's messages are fixed English
// texts, so their wording is a reliable key.
int codeFor(const QString &driverText)
{
    const QString text = driverText.toLower();
    if (text.contains(u"no such table") || text.contains(u"no such column")
        || text.contains(u"has no column named"))
        return DbErrorCode::ItemNotFound;
    if (text.contains(u"duplicate column name"))
        return DbErrorCode::FieldExists;
    if (text.contains(u"table") && text.contains(u"already exists"))
        return DbErrorCode::TableExists;
    if (text.contains(u"database is locked") || text.contains(u"readonly database"))
        return DbErrorCode::PermissionDenied;
    return DbErrorCode::Failed;
}

[[noreturn]] void throwDriverError(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    throw DbError(codeFor(text), text);
}

// A value ready for binding: Null stays Null, any text stays text (a default-constructed QString
// would otherwise be bound as Null), a bool becomes 0/1, and a number that is not finite is refused.
QVariant bindable(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QString:
        if (value.toString().isNull())
            return QVariant(QString(QLatin1StringView("")));
        return value;
    case QMetaType::Bool:
        return QVariant(value.toBool() ? 1 : 0);
    case QMetaType::Double:
    case QMetaType::Float:
        if (!std::isfinite(value.toDouble()))
            throw DbError(
                DbErrorCode::Failed, QStringLiteral("Valore numerico non valido: %1").arg(value.toString()));
        return value;
    default:
        return value;
    }
}

void bindAll(QSqlQuery &query, const QVariantList &values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), bindable(values.at(i)));
}

void run(QSqlQuery &query)
{
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        throwDriverError(error);
    }
}

[[noreturn]] void throwNoRow(const QString &table, qint64 rowid)
{
    throw DbError(
        DbErrorCode::NoCurrentRecord, QStringLiteral("Nessuna riga %1 in %2").arg(rowid).arg(table));
}

QString sqlType(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Text:
        if (field.size > 0)
            return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(field.size);
        return QStringLiteral("TEXT COLLATE NOCASE");
    case FieldType::Memo:
        return QStringLiteral("TEXT COLLATE NOCASE");
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Boolean:
        // A row added without it, or a row that was there before the field was appended, reads false.
        return QStringLiteral("BOOLEAN DEFAULT 0");
    }
    return QStringLiteral("TEXT COLLATE NOCASE");
}

QString fieldDefinition(const FieldDef &field)
{
    return Database::quoteName(field.name) + u' ' + sqlType(field);
}

// "FIELD" or "FIELD DESC" (or "FIELD ASC") of a TableQuery's order, as SQL.
QString orderTerm(const QString &term)
{
    QString name = term.trimmed();
    QString direction;
    for (const QString &suffix : { QStringLiteral(" DESC"), QStringLiteral(" ASC") }) {
        if (name.endsWith(suffix, Qt::CaseInsensitive)) {
            direction = suffix;
            name = name.left(name.size() - suffix.size()).trimmed();
            break;
        }
    }
    return Database::quoteName(name) + direction;
}

} // namespace

DbError::DbError(int code, const QString &message)
    : std::runtime_error(message.toStdString())
    , m_code(code)
{
}

// ---------------------------------------------------------------------------------------------
// Recordset

QString Recordset::fieldName(int position) const
{
    if (position < 0 || position >= m_fields.size())
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(position));
    return m_fields.at(position);
}

int Recordset::fieldIndex(const QString &name) const
{
    const auto it = m_index.constFind(name.toCaseFolded());
    if (it == m_index.constEnd())
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo non trovato: %1").arg(name));
    return it.value();
}

bool Recordset::hasField(const QString &name) const
{
    return m_index.contains(name.toCaseFolded());
}

QVariant Recordset::value(int position) const
{
    return value(int(m_current), position);
}

QVariant Recordset::value(const QString &name) const
{
    return value(int(m_current), fieldIndex(name));
}

qint64 Recordset::rowid() const
{
    return rowidAt(int(m_current));
}

QVariant Recordset::value(int row, int position) const
{
    if (row < 0 || row >= m_rows.size())
        throw DbError(DbErrorCode::NoCurrentRecord, QStringLiteral("Nessun record corrente"));
    if (position < 0 || position >= m_fields.size())
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(position));
    return m_rows.at(row).at(position);
}

qint64 Recordset::rowidAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        throw DbError(DbErrorCode::NoCurrentRecord, QStringLiteral("Nessun record corrente"));
    return m_rowids.isEmpty() ? -1 : m_rowids.at(row);
}

// Every row is read and the statement released at once, so that no read lock outlives the call.
Recordset Recordset::readAll(QSqlQuery &query, bool withRowid, const QString &table)
{
    Recordset rs;
    rs.m_table = table;
    const QSqlRecord record = query.record();
    const int first = withRowid ? 1 : 0;
    const int count = record.count() - first;
    QVector<bool> yesNo(count);
    for (int i = 0; i < count; ++i) {
        const QSqlField field = record.field(i + first);
        rs.m_fields << field.name();
        yesNo[i] = field.metaType().id() == QMetaType::Bool;
    }
    // The first position wins when a name repeats (a join naming one field twice).
    for (int i = count - 1; i >= 0; --i)
        rs.m_index.insert(rs.m_fields.at(i).toCaseFolded(), i);

    while (query.next()) {
        QVector<QVariant> row;
        row.reserve(count);
        for (int i = 0; i < count; ++i) {
            QVariant value = query.value(i + first);
            if (value.isNull())
                value = QVariant();
            else if (yesNo.at(i) && value.typeId() != QMetaType::QString)
                value = QVariant(value.toDouble() != 0.0);
            row.append(std::move(value));
        }
        rs.m_rows.append(std::move(row));
        if (withRowid)
            rs.m_rowids.append(query.value(0).toLongLong());
    }
    const QSqlError error = query.lastError();
    query.finish();
    if (error.isValid())
        throwDriverError(error);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// Statement

// The driver keeps the values bound by the previous run and checks only how many there are, so a run
// with too few values would silently reuse the earlier ones: the count is checked here.
void Statement::bindAndRun(const QVariantList &values)
{
    if (m_parameterCount >= 0 && values.size() != m_parameterCount)
        throw DbError(DbErrorCode::Failed,
            QStringLiteral("Numero di valori errato: %1 invece di %2")
                .arg(values.size())
                .arg(m_parameterCount));
    bindAll(m_query, values);
    run(m_query);
    m_parameterCount = int(values.size());
}

int Statement::exec(const QVariantList &values)
{
    bindAndRun(values);
    return m_query.numRowsAffected();
}

Recordset Statement::read(const QVariantList &values)
{
    bindAndRun(values);
    return Recordset::readAll(m_query, false, QString());
}

qint64 Statement::lastInsertId() const
{
    return m_query.lastInsertId().toLongLong();
}

// ---------------------------------------------------------------------------------------------
// Database

Database Database::open(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw DbError(DbErrorCode::DatabaseNotFound, QStringLiteral("Database non trovato: %1").arg(path));
    if (!info.isFile())
        throw DbError(DbErrorCode::PathFileAccess, QStringLiteral("Non è un file: %1").arg(path));

    Database db;
    db.m_path = path;
    db.m_connection = newConnectionName();
    db.m_db = QSqlDatabase::addDatabase(kDriver, db.m_connection);
    if (!db.m_db.isValid())
        throw DbError(DbErrorCode::Failed, QStringLiteral("Driver %1 non disponibile").arg(kDriver));
    // The driver would create a missing file; opening through a URI with mode=rw forbids it, so a
    // file removed after the check above is still not recreated.
    db.m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    db.m_db.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded)
        + QStringLiteral("?mode=rw"));
    if (!db.m_db.open()) {
        const QSqlError error = db.m_db.lastError();
        if (!QFileInfo::exists(path))
            throw DbError(DbErrorCode::DatabaseNotFound, error.databaseText());
        if (!info.isReadable())
            throw DbError(DbErrorCode::PermissionDenied, error.databaseText());
        throwDriverError(error);
    }
    // SQLite reads the file lazily; read its schema now so that a file that is not a database fails
    // here rather than at its first use.
    db.query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    return db;
}

Database Database::create(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty())
        throw DbError(DbErrorCode::PathNotFound, QStringLiteral("Percorso non valido"));
    if (info.exists())
        throw DbError(DbErrorCode::Failed, QStringLiteral("Il file esiste già: %1").arg(path));
    if (!info.absoluteDir().exists())
        throw DbError(DbErrorCode::PathNotFound, QStringLiteral("Percorso non trovato: %1").arg(path));

    {
        Database db;
        db.m_path = path;
        db.m_connection = newConnectionName();
        db.m_db = QSqlDatabase::addDatabase(kDriver, db.m_connection);
        if (!db.m_db.isValid())
            throw DbError(DbErrorCode::Failed, QStringLiteral("Driver %1 non disponibile").arg(kDriver));
        db.m_db.setDatabaseName(info.absoluteFilePath());
        if (!db.m_db.open())
            throwDriverError(db.m_db.lastError());
        // Writing the header makes the new file a database of its own, recognised by any reader.
        db.exec(QStringLiteral("PRAGMA user_version = 1"));
        db.exec(QStringLiteral("PRAGMA user_version = 0"));
    }
    return open(path);
}

Database::Database(Database &&other) noexcept
    : m_path(std::move(other.m_path))
    , m_connection(std::move(other.m_connection))
    , m_db(other.m_db)
{
    other.m_connection.clear();
    other.m_db = QSqlDatabase();
}

Database &Database::operator=(Database &&other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_connection = std::move(other.m_connection);
        m_db = other.m_db;
        other.m_connection.clear();
        other.m_db = QSqlDatabase();
    }
    return *this;
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (m_connection.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

void Database::ensureOpen() const
{
    if (m_connection.isEmpty() || !m_db.isOpen())
        throw DbError(DbErrorCode::Failed, QStringLiteral("Database chiuso"));
}

QSqlQuery Database::prepared(const QString &sql)
{
    ensureOpen();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!query.prepare(sql))
        throwDriverError(query.lastError());
    return query;
}

int Database::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = prepared(sql);
    bindAll(query, values);
    run(query);
    const int affected = query.numRowsAffected();
    query.finish();
    return affected;
}

Recordset Database::query(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = prepared(sql);
    bindAll(query, values);
    run(query);
    return Recordset::readAll(query, false, QString());
}

Recordset Database::table(const QString &name)
{
    return select(TableQuery { name, {}, {} });
}

Recordset Database::select(const TableQuery &tableQuery)
{
    QString sql = QStringLiteral("SELECT rowid, * FROM ") + quoteName(tableQuery.table);
    QVariantList values;
    QStringList conditions;
    for (const Condition &condition : tableQuery.where) {
        conditions << quoteName(condition.field) + QStringLiteral(" IS ?");
        values << condition.value;
    }
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    QStringList order;
    for (const QString &term : tableQuery.orderBy)
        order << orderTerm(term);
    // Stored order breaks ties, so rows equal on the fields named keep their table order.
    order << QStringLiteral("rowid");
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));

    QSqlQuery query = prepared(sql);
    bindAll(query, values);
    run(query);
    return Recordset::readAll(query, true, tableQuery.table);
}

Statement Database::prepare(const QString &sql)
{
    return Statement(prepared(sql));
}

qint64 Database::insert(const QString &table, const QList<std::pair<QString, QVariant>> &values)
{
    QString sql = QStringLiteral("INSERT INTO ") + quoteName(table);
    QVariantList bound;
    if (values.isEmpty()) {
        sql += QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList names;
        QStringList marks;
        for (const auto &[name, value] : values) {
            names << quoteName(name);
            marks << QStringLiteral("?");
            bound << value;
        }
        sql += QStringLiteral(" (") + names.join(u',') + QStringLiteral(") VALUES (") + marks.join(u',')
            + u')';
    }
    QSqlQuery query = prepared(sql);
    bindAll(query, bound);
    run(query);
    const qint64 rowid = query.lastInsertId().toLongLong();
    query.finish();
    return rowid;
}

void Database::update(const QString &table, qint64 rowid, const QList<std::pair<QString, QVariant>> &values)
{
    if (values.isEmpty()) {
        if (query(QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(quoteName(table)), { rowid })
                .isEmpty())
            throwNoRow(table, rowid);
        return;
    }
    QStringList sets;
    QVariantList bound;
    for (const auto &[name, value] : values) {
        sets << quoteName(name) + QStringLiteral(" = ?");
        bound << value;
    }
    bound << rowid;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                            .arg(quoteName(table), sets.join(QStringLiteral(", ")));
    if (exec(sql, bound) == 0)
        throwNoRow(table, rowid);
}

void Database::remove(const QString &table, qint64 rowid)
{
    if (exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteName(table)), { rowid }) == 0)
        throwNoRow(table, rowid);
}

void Database::clear(const QString &table)
{
    exec(QStringLiteral("DELETE FROM %1").arg(quoteName(table)));
}

QStringList Database::tables()
{
    const Recordset rs = query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                              "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                              "ORDER BY name COLLATE NOCASE"));
    QStringList names;
    for (int row = 0; row < rs.recordCount(); ++row)
        names << rs.value(row, 0).toString();
    return names;
}

bool Database::hasTable(const QString &name)
{
    return !query(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
        { name })
                .isEmpty();
}

QStringList Database::fields(const QString &table)
{
    quoteName(table);
    const Recordset rs
        = query(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), { table });
    if (rs.isEmpty())
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Tabella non trovata: %1").arg(table));
    QStringList names;
    for (int row = 0; row < rs.recordCount(); ++row)
        names << rs.value(row, 0).toString();
    return names;
}

void Database::createTable(const QString &name, const QList<FieldDef> &fields)
{
    const QString quoted = quoteName(name);
    if (hasTable(name))
        throw DbError(DbErrorCode::TableExists, QStringLiteral("Tabella già esistente: %1").arg(name));
    if (fields.isEmpty())
        throw DbError(DbErrorCode::Failed, QStringLiteral("Tabella senza campi: %1").arg(name));
    QStringList definitions;
    for (const FieldDef &field : fields)
        definitions << fieldDefinition(field);
    exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted, definitions.join(QStringLiteral(", "))));
}

void Database::appendField(const QString &table, const FieldDef &field)
{
    const QString quoted = quoteName(table);
    const QString definition = fieldDefinition(field);
    if (fields(table).contains(field.name, Qt::CaseInsensitive))
        throw DbError(DbErrorCode::FieldExists, QStringLiteral("Campo già esistente: %1").arg(field.name));
    exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted, definition));
}

void Database::dropTable(const QString &name)
{
    exec(QStringLiteral("DROP TABLE %1").arg(quoteName(name)));
}

Transaction Database::transaction()
{
    return Transaction(*this);
}

bool Database::isValidName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    for (const QChar c : name) {
        if (!(c.isLetter() || c.isDigit() || c == u' ' || c == u'_'))
            return false;
    }
    return true;
}

QString Database::quoteName(const QString &name)
{
    if (!isValidName(name))
        throw DbError(DbErrorCode::InvalidName, QStringLiteral("Nome non valido: %1").arg(name));
    // Square brackets, not double quotes: SQLite reads a double-quoted name that matches no field
    // as a text literal, which would turn a misspelt field into a silent constant.
    return u'[' + name + u']';
}

// ---------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Database &db)
    : m_db(&db)
{
    db.ensureOpen();
    if (!db.handle().transaction()) {
        m_db = nullptr;
        throwDriverError(db.handle().lastError());
    }
}

Transaction::Transaction(Transaction &&other) noexcept
    : m_db(other.m_db)
{
    other.m_db = nullptr;
}

Transaction::~Transaction()
{
    if (m_db)
        m_db->handle().rollback();
}

void Transaction::commit()
{
    if (!m_db)
        throw DbError(DbErrorCode::Failed, QStringLiteral("Nessuna transazione attiva"));
    if (!m_db->handle().commit())
        throwDriverError(m_db->handle().lastError());
    m_db = nullptr;
}

void Transaction::rollback()
{
    if (!m_db)
        return;
    Database *db = m_db;
    m_db = nullptr;
    if (!db->handle().rollback())
        throwDriverError(db->handle().lastError());
}

} // namespace zav::platform
