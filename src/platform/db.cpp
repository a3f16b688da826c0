#include "platform/db.h"
#include "platform/diskspace.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QTime>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace zav::platform {

/**
 * @brief The fields of a result as a Recordset shows them: names, the position of each name, which
 * are yes/no fields. Worked out once per statement and checked against each later run.
 */
class ColumnLayout
{
public:
    ColumnLayout(sqlite3_stmt *statement, int first);
    /** @brief Whether the statement's columns (after a re-prepare, say) are still these. */
    bool fits(sqlite3_stmt *statement, int first) const;

    QStringList fields;
    QHash<QString, int> index; ///< case-folded field name -> first position with that name
    QVector<bool> yesNo;

private:
    QList<QByteArray> m_names; ///< as SQLite gives them, to compare without decoding
    QList<QByteArray> m_declaredTypes;
};

/**
 * @brief A statement kept prepared on a connection for repeated runs, with the shape of the rows it
 * last read. Its Database finalizes it when the connection closes, so none outlives the connection.
 */
class PreparedStatement
{
public:
    explicit PreparedStatement(sqlite3_stmt *handle)
        : m_handle(handle)
    {
    }
    PreparedStatement(const PreparedStatement &) = delete;
    PreparedStatement &operator=(const PreparedStatement &) = delete;
    ~PreparedStatement() { finalize(); }

    sqlite3_stmt *handle() const { return m_handle; }
    void finalize()
    {
        sqlite3_finalize(m_handle);
        m_handle = nullptr;
    }
    std::unique_ptr<ColumnLayout> layout;
    std::vector<std::string> texts; ///< per placeholder, its bound text (UTF-8) or blob of the current run
    std::vector<char> bound; ///< per placeholder, whether run() has its value
    int boundCount = 0;

    /** @brief The values bound one at a time are gone: the next run() needs all of them again. */
    void forgetBound()
    {
        if (boundCount > 0)
            std::fill(bound.begin(), bound.end(), 0);
        boundCount = 0;
    }

private:
    sqlite3_stmt *m_handle;
};

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
    if (text.contains(u"disk is full"))
        return DbErrorCode::DiskFull;
    if (text.contains(u"disk i/o error"))
        return DbErrorCode::DiskError;
    return DbErrorCode::Failed;
}

[[noreturn]] void throwDriverError(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    throw DbError(codeFor(text), text);
}

[[noreturn]] void throwSqliteError(sqlite3 *db)
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    throw DbError(codeFor(text), text);
}

struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Puts a kept statement back to its start and drops its values when a run ends, however it ends:
// no read lock lingers, and no bound text is left pointing at values that are gone.
class ResetOnExit
{
public:
    explicit ResetOnExit(sqlite3_stmt *statement)
        : m_statement(statement)
    {
    }
    ResetOnExit(const ResetOnExit &) = delete;
    ResetOnExit &operator=(const ResetOnExit &) = delete;
    ~ResetOnExit()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }

private:
    sqlite3_stmt *m_statement;
};

// One statement of SQL text, prepared on the connection; more than one is refused.
StatementPtr prepareOn(sqlite3 *db, const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &raw, &tail);
    StatementPtr statement(raw);
    if (rc != SQLITE_OK)
        throwSqliteError(db);
    if (!statement)
        throw DbError(DbErrorCode::Failed, QStringLiteral("Istruzione SQL vuota"));
    if (tail && !QByteArrayView(tail, text.constData() + text.size() - tail).trimmed().isEmpty())
        throw DbError(DbErrorCode::Failed, QStringLiteral("Una sola istruzione SQL alla volta: %1").arg(sql));
    return statement;
}

// UTF-16 to UTF-8 into a buffer kept for the placeholder, so that binding allocates nothing once the
// buffer is large enough. A lone surrogate becomes U+FFFD, as Qt's own encoder writes it.
void encodeUtf8(QStringView text, std::string &out)
{
    out.resize(size_t(text.size()) * 3);
    char *p = out.data();
    const char16_t *u = text.utf16();
    const char16_t *end = u + text.size();
    while (u < end) {
        const char32_t c = *u++;
        if (c < 0x80) {
            *p++ = char(c);
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && u < end && QChar::isLowSurrogate(*u)) {
            const char32_t code = QChar::surrogateToUcs4(char16_t(c), *u++);
            *p++ = char(0xF0 | (code >> 18));
            *p++ = char(0x80 | ((code >> 12) & 0x3F));
            *p++ = char(0x80 | ((code >> 6) & 0x3F));
            *p++ = char(0x80 | (code & 0x3F));
        } else {
            const char32_t code = QChar::isSurrogate(c) ? 0xFFFD : c;
            *p++ = char(0xE0 | (code >> 12));
            *p++ = char(0x80 | ((code >> 6) & 0x3F));
            *p++ = char(0x80 | (code & 0x3F));
        }
    }
    out.resize(size_t(p - out.data()));
}

void bindCopiedText(sqlite3_stmt *statement, int index, const QString &text, int &rc)
{
    if (text.isEmpty())
        rc = sqlite3_bind_text(statement, index, "", 0, SQLITE_STATIC);
    else
        rc = sqlite3_bind_text16(statement, index, text.constData(),
            int(text.size() * qsizetype(sizeof(QChar))), SQLITE_TRANSIENT);
}

// Binds one value. Null stays Null, any text stays text (a default-constructed QString too), a bool
// becomes 0/1, and a number that is not finite is refused; any other kind is bound as its text. Text
// is bound as UTF-8, the archives' own encoding, written into the placeholder's buffer so that SQLite
// stores it as it is; blobs are read from the value in place. The value and the buffer must live
// while the statement runs.
void bindValue(sqlite3_stmt *statement, int index, const QVariant &value, std::string &buffer)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(statement, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::QString:
            encodeUtf8(*static_cast<const QString *>(value.constData()), buffer);
            rc = sqlite3_bind_text(statement, index, buffer.data(), int(buffer.size()), SQLITE_STATIC);
            break;
        case QMetaType::Bool:
            rc = sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
            rc = sqlite3_bind_int(statement, index, value.toInt());
            break;
        case QMetaType::UInt:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(statement, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float: {
            const double number = value.toDouble();
            if (!std::isfinite(number))
                throw DbError(DbErrorCode::Failed,
                    QStringLiteral("Valore numerico non valido: %1").arg(value.toString()));
            if (value.typeId() == QMetaType::Double)
                rc = sqlite3_bind_double(statement, index, number);
            else
                bindCopiedText(statement, index, value.toString(), rc);
            break;
        }
        case QMetaType::QByteArray: {
            const auto *bytes = static_cast<const QByteArray *>(value.constData());
            if (bytes->isNull())
                rc = sqlite3_bind_null(statement, index);
            else
                rc = sqlite3_bind_blob(
                    statement, index, bytes->constData(), int(bytes->size()), SQLITE_STATIC);
            break;
        }
        case QMetaType::QDateTime: {
            const QDateTime moment = value.toDateTime();
            if (moment.isValid())
                bindCopiedText(statement, index, moment.toString(Qt::ISODateWithMs), rc);
            else
                rc = sqlite3_bind_null(statement, index);
            break;
        }
        case QMetaType::QTime: {
            const QTime time = value.toTime();
            if (time.isValid())
                bindCopiedText(statement, index, time.toString(QStringLiteral("hh:mm:ss.zzz")), rc);
            else
                rc = sqlite3_bind_null(statement, index);
            break;
        }
        case QMetaType::QUuid:
            if (value.toUuid().isNull())
                rc = sqlite3_bind_null(statement, index);
            else
                bindCopiedText(statement, index, value.toString(), rc);
            break;
        case QMetaType::QDate:
            if (value.toDate().isValid())
                bindCopiedText(statement, index, value.toString(), rc);
            else
                rc = sqlite3_bind_null(statement, index);
            break;
        default:
            bindCopiedText(statement, index, value.toString(), rc);
            break;
        }
    }
    if (rc != SQLITE_OK)
        throwSqliteError(sqlite3_db_handle(statement));
}

// Binds the values by position, one buffer per placeholder (see bindValue).
void bindAll(sqlite3_stmt *statement, const QVariantList &values, std::vector<std::string> &buffers)
{
    const int expected = sqlite3_bind_parameter_count(statement);
    if (values.size() != expected)
        throw DbError(DbErrorCode::Failed,
            QStringLiteral("Numero di valori errato: %1 invece di %2").arg(values.size()).arg(expected));
    if (buffers.size() < size_t(expected))
        buffers.resize(size_t(expected));
    for (int i = 0; i < expected; ++i)
        bindValue(statement, i + 1, values.at(i), buffers[size_t(i)]);
}

// Runs a bound statement that reads no rows (or whose rows are not wanted); returns rows affected.
int runOnce(sqlite3_stmt *statement)
{
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throwSqliteError(sqlite3_db_handle(statement));
    return sqlite3_changes(sqlite3_db_handle(statement));
}

// Reads the fields of each row as the program sees them: Null as an invalid QVariant, whole numbers
// as qlonglong, other numbers as double, text as QString, blobs as QByteArray; in a yes/no field any
// number as a bool.
//
// A text equal to the one the same field held in the row before shares that row's string instead of
// being decoded and stored again: archives repeat codes, names and numbers held as text down a
// column, and sharing spares most of those copies. Strings are shared implicitly, so the sharing
// cannot be seen by the callers.
class RowReader
{
public:
    RowReader(sqlite3_stmt *statement, int first, const QVector<bool> &yesNo)
        : m_statement(statement)
        , m_first(first)
        , m_yesNo(yesNo)
        , m_lastText(size_t(yesNo.size()))
    {
    }

    QVector<QVariant> row()
    {
        const qsizetype count = m_yesNo.size();
        QVector<QVariant> cells(count);
        QVariant *cell = cells.data();
        for (int i = 0; i < count; ++i)
            cell[i] = field(i);
        return cells;
    }

private:
    struct LastText
    {
        std::string bytes;
        QVariant value; ///< invalid until a text was read
    };

    // The column's value is read through one handle: each sqlite3_column_* call would take and
    // release the connection's lock again, and a connection is only ever used by one thread here.
    QVariant field(int i)
    {
        sqlite3_value *value = sqlite3_column_value(m_statement, i + m_first);
        const bool yesNo = m_yesNo.at(i);
        switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_INTEGER: {
            const qlonglong number = sqlite3_value_int64(value);
            return yesNo ? QVariant(number != 0) : QVariant(number);
        }
        case SQLITE_FLOAT: {
            const double number = sqlite3_value_double(value);
            return yesNo ? QVariant(number != 0.0) : QVariant(number);
        }
        case SQLITE_BLOB: {
            const auto *data = static_cast<const char *>(sqlite3_value_blob(value));
            const QVariant bytes(QByteArray(data, sqlite3_value_bytes(value)));
            return yesNo ? QVariant(bytes.toDouble() != 0.0) : bytes;
        }
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
            const size_t size = text ? size_t(sqlite3_value_bytes(value)) : 0;
            if (!text)
                text = "";
            LastText &last = m_lastText[size_t(i)];
            if (last.value.isValid() && last.bytes.size() == size
                && std::memcmp(last.bytes.data(), text, size) == 0)
                return last.value;
            last.bytes.assign(text, size);
            last.value = QVariant(QString::fromUtf8(text, qsizetype(size)));
            return last.value;
        }
        }
    }

    sqlite3_stmt *m_statement;
    int m_first;
    const QVector<bool> &m_yesNo;
    std::vector<LastText> m_lastText;
};

// A yes/no field is one declared BOOLEAN or BOOL (any case), as the schema writes them.
bool isYesNoType(const char *declared)
{
    return declared && (qstricmp(declared, "boolean") == 0 || qstricmp(declared, "bool") == 0);
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

namespace {
std::function<QString(const DbError &)> &failureWording()
{
    static std::function<QString(const DbError &)> wording;
    return wording;
}
} // namespace

QString failureText(const DbError &error)
{
    return failureWording() ? failureWording()(error) : error.message();
}

QString diskFullText(const QString &unchanged)
{
    return QStringLiteral("Il disco è pieno: %1. Liberare spazio sul disco e riprovare.")
        .arg(unchanged.isEmpty() ? QStringLiteral("le modifiche non possono essere salvate") : unchanged);
}

QString systemFailureText(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        // The failed writes said so leave the file they would replace as it was.
        return diskFullText(QStringLiteral("nessun file è stato cambiato"));
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato: la cartella o il file non sono scrivibili");
    case EROFS:
        return QStringLiteral("il disco è di sola lettura");
    case ENOENT:
        return QStringLiteral("file o cartella inesistente");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura sul disco");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("il file è in uso: riprovare fra poco");
    default:
        return QStringLiteral("errore di sistema n. %1").arg(systemError);
    }
}

QString fileFailureText(const QFileDevice &file)
{
    // Qt gives the system's English text; the system errors a file meets are told by that text.
    const QString text = file.errorString();
    for (const int code : { ENOSPC, EDQUOT, EACCES, EPERM, EROFS, ENOENT, EIO, EBUSY, ETXTBSY }) {
        if (text.contains(QString::fromLocal8Bit(std::strerror(code)), Qt::CaseInsensitive))
            return systemFailureText(code);
    }
    // A copy or a flush that fails says only that it failed: the room left on the disk tells why.
    if (file.error() != QFileDevice::NoError && isDiskFull(file.fileName()))
        return systemFailureText(ENOSPC);
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return systemFailureText(ENOSPC);
    case QFileDevice::WriteError:
        if (text.contains(QLatin1String("not writable"), Qt::CaseInsensitive))
            return QStringLiteral("il file esistente non è scrivibile");
        return QStringLiteral("errore di scrittura del file");
    case QFileDevice::ReadError:
        return QStringLiteral("errore di lettura del file");
    case QFileDevice::OpenError:
        return QStringLiteral("il file non può essere aperto: la cartella o il file non sono accessibili");
    case QFileDevice::RenameError:
    case QFileDevice::RemoveError:
        return QStringLiteral("il file non può essere sostituito");
    default:
        return QStringLiteral("errore del file");
    }
}

void setFailureWording(std::function<QString(const DbError &)> wording)
{
    failureWording() = std::move(wording);
}

// ---------------------------------------------------------------------------------------------
// ColumnLayout

ColumnLayout::ColumnLayout(sqlite3_stmt *statement, int first)
{
    const int count = sqlite3_column_count(statement) - first;
    yesNo.resize(qMax(count, 0));
    for (int i = 0; i < count; ++i) {
        const char *name = sqlite3_column_name(statement, i + first);
        const char *declared = sqlite3_column_decltype(statement, i + first);
        m_names << QByteArray(name);
        m_declaredTypes << QByteArray(declared);
        // Double quotes are dropped from names, as an expression's text may carry them.
        fields << QString::fromUtf8(name).remove(u'"');
        yesNo[i] = isYesNoType(declared);
    }
    // The first position wins when a name repeats (a join naming one field twice).
    for (int i = count - 1; i >= 0; --i)
        index.insert(fields.at(i).toCaseFolded(), i);
}

bool ColumnLayout::fits(sqlite3_stmt *statement, int first) const
{
    if (sqlite3_column_count(statement) - first != m_names.size())
        return false;
    for (int i = 0; i < m_names.size(); ++i) {
        if (qstrcmp(m_names.at(i), sqlite3_column_name(statement, i + first)) != 0
            || qstrcmp(m_declaredTypes.at(i), sqlite3_column_decltype(statement, i + first)) != 0)
            return false;
    }
    return true;
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

// Every row is read before the caller releases the statement, so that no read lock outlives the call.
Recordset Recordset::readAll(
    sqlite3_stmt *statement, bool withRowid, const QString &table, std::unique_ptr<ColumnLayout> *kept)
{
    Recordset rs;
    rs.m_table = table;
    const int first = withRowid ? 1 : 0;
    // A statement is compiled again when the schema changed under it, at its first step: its columns
    // are known for sure only after that step.
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throwSqliteError(sqlite3_db_handle(statement));
    std::unique_ptr<ColumnLayout> own;
    std::unique_ptr<ColumnLayout> &layout = kept ? *kept : own;
    if (!layout || !layout->fits(statement, first))
        layout = std::make_unique<ColumnLayout>(statement, first);
    const ColumnLayout &columns = *layout;
    rs.m_fields = columns.fields;
    rs.m_index = columns.index;

    RowReader reader(statement, first, columns.yesNo);
    while (rc == SQLITE_ROW) {
        rs.m_rows.append(reader.row());
        if (withRowid)
            rs.m_rowids.append(sqlite3_column_int64(statement, 0));
        rc = sqlite3_step(statement);
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(sqlite3_db_handle(statement));
    return rs;
}

// ---------------------------------------------------------------------------------------------
// FieldView and RowView

QVariant FieldView::toVariant() const
{
    switch (storage) {
    case StorageClass::Null:
        return QVariant();
    case StorageClass::Integer:
        return QVariant(qlonglong(integer));
    case StorageClass::Real:
        return QVariant(real);
    case StorageClass::Text:
        return QVariant(QString::fromUtf8(bytes));
    case StorageClass::Blob:
        return QVariant(bytes.toByteArray());
    }
    return QVariant();
}

int RowView::fieldCount() const
{
    return sqlite3_column_count(m_statement);
}

FieldView RowView::field(int position) const
{
    if (position < 0 || position >= sqlite3_column_count(m_statement))
        throw DbError(DbErrorCode::ItemNotFound, QStringLiteral("Campo %1 non trovato").arg(position));
    // Read through one value handle, as RowReader does.
    sqlite3_value *value = sqlite3_column_value(m_statement, position);
    FieldView field;
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER:
        field.storage = StorageClass::Integer;
        field.integer = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        field.storage = StorageClass::Real;
        field.real = sqlite3_value_double(value);
        break;
    case SQLITE_BLOB:
        field.storage = StorageClass::Blob;
        field.bytes = QByteArrayView(
            static_cast<const char *>(sqlite3_value_blob(value)), sqlite3_value_bytes(value));
        break;
    default: {
        field.storage = StorageClass::Text;
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        field.bytes = text ? QByteArrayView(text, sqlite3_value_bytes(value)) : QByteArrayView("", 0);
        break;
    }
    }
    return field;
}

namespace {

// A field as SQLite holds it, appended to `out`: its storage class, then its value.
void appendStored(const FieldView &field, std::string &out)
{
    out.push_back(char(field.storage));
    switch (field.storage) {
    case StorageClass::Null:
        return;
    case StorageClass::Integer:
        out.append(reinterpret_cast<const char *>(&field.integer), sizeof field.integer);
        return;
    case StorageClass::Real:
        out.append(reinterpret_cast<const char *>(&field.real), sizeof field.real);
        return;
    case StorageClass::Text:
    case StorageClass::Blob:
        break;
    }
    const qsizetype size = field.bytes.size();
    out.append(reinterpret_cast<const char *>(&size), sizeof size);
    out.append(field.bytes.data(), std::size_t(size));
}

} // namespace

bool RepeatedFields::sameAsBefore(const RowView &row)
{
    m_fields.clear();
    for (int i = 0; i < m_count; ++i)
        appendStored(row.field(i), m_fields);
    if (m_seen && m_fields == m_last)
        return true;
    std::swap(m_fields, m_last);
    m_seen = true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Statement

sqlite3_stmt *Statement::runnable()
{
    m_ran = false;
    sqlite3_stmt *statement = m_prepared ? m_prepared->handle() : nullptr;
    if (!statement)
        throw DbError(DbErrorCode::Failed, QStringLiteral("Database chiuso"));
    return statement;
}

// The values are checked against the statement's placeholders on every run, so that a run with too
// few values can never reuse values bound by an earlier one.
int Statement::exec(const QVariantList &values)
{
    sqlite3_stmt *statement = runnable();
    const ResetOnExit reset(statement);
    m_prepared->forgetBound();
    bindAll(statement, values, m_prepared->texts);
    const int affected = runOnce(statement);
    m_ran = true;
    return affected;
}

Recordset Statement::read(const QVariantList &values)
{
    sqlite3_stmt *statement = runnable();
    const ResetOnExit reset(statement);
    m_prepared->forgetBound();
    bindAll(statement, values, m_prepared->texts);
    return Recordset::readAll(statement, false, QString(), &m_prepared->layout);
}

void Statement::forEach(const QVariantList &values, const std::function<void(const RowView &)> &visit)
{
    sqlite3_stmt *statement = runnable();
    const ResetOnExit reset(statement);
    m_prepared->forgetBound();
    bindAll(statement, values, m_prepared->texts);
    const RowView row(statement);
    int rc = sqlite3_step(statement);
    while (rc == SQLITE_ROW) {
        visit(row);
        rc = sqlite3_step(statement);
    }
    if (rc != SQLITE_DONE)
        throwSqliteError(sqlite3_db_handle(statement));
    m_ran = true;
}

sqlite3_stmt *Statement::bindable(int position)
{
    sqlite3_stmt *statement = m_prepared ? m_prepared->handle() : nullptr;
    if (!statement)
        throw DbError(DbErrorCode::Failed, QStringLiteral("Database chiuso"));
    const int count = sqlite3_bind_parameter_count(statement);
    if (position < 1 || position > count)
        throw DbError(DbErrorCode::Failed, QStringLiteral("Nessun valore %1 da assegnare").arg(position));
    PreparedStatement &prepared = *m_prepared;
    if (prepared.bound.size() < size_t(count)) {
        prepared.bound.resize(size_t(count), 0);
        prepared.texts.resize(size_t(count));
    }
    return statement;
}

namespace {

// Records that a placeholder has its value for the next run.
void markBound(PreparedStatement &prepared, int position, int rc)
{
    if (rc != SQLITE_OK)
        throwSqliteError(sqlite3_db_handle(prepared.handle()));
    char &bound = prepared.bound[size_t(position - 1)];
    if (!bound) {
        bound = 1;
        ++prepared.boundCount;
    }
}

} // namespace

void Statement::bindNull(int position)
{
    sqlite3_stmt *statement = bindable(position);
    markBound(*m_prepared, position, sqlite3_bind_null(statement, position));
}

void Statement::bindInteger(int position, qint64 value)
{
    sqlite3_stmt *statement = bindable(position);
    markBound(*m_prepared, position, sqlite3_bind_int64(statement, position, value));
}

void Statement::bindReal(int position, double value)
{
    sqlite3_stmt *statement = bindable(position);
    if (!std::isfinite(value))
        throw DbError(DbErrorCode::Failed, QStringLiteral("Valore numerico non valido: %1").arg(value));
    markBound(*m_prepared, position, sqlite3_bind_double(statement, position, value));
}

void Statement::bindText(int position, QStringView text)
{
    sqlite3_stmt *statement = bindable(position);
    std::string &buffer = m_prepared->texts[size_t(position - 1)];
    encodeUtf8(text, buffer);
    markBound(*m_prepared, position,
        sqlite3_bind_text(statement, position, buffer.data(), int(buffer.size()), SQLITE_STATIC));
}

void Statement::bindUtf8(int position, QByteArrayView text)
{
    sqlite3_stmt *statement = bindable(position);
    std::string &buffer = m_prepared->texts[size_t(position - 1)];
    buffer.assign(text.data(), size_t(text.size()));
    markBound(*m_prepared, position,
        sqlite3_bind_text(statement, position, buffer.data(), int(buffer.size()), SQLITE_STATIC));
}

void Statement::bind(int position, const FieldView &value)
{
    switch (value.storage) {
    case StorageClass::Null:
        bindNull(position);
        return;
    case StorageClass::Integer:
        bindInteger(position, value.integer);
        return;
    case StorageClass::Real:
        bindReal(position, value.real);
        return;
    case StorageClass::Text:
        bindUtf8(position, value.bytes);
        return;
    case StorageClass::Blob: {
        sqlite3_stmt *statement = bindable(position);
        std::string &buffer = m_prepared->texts[size_t(position - 1)];
        buffer.assign(value.bytes.data(), size_t(value.bytes.size()));
        markBound(*m_prepared, position,
            sqlite3_bind_blob(statement, position, buffer.data(), int(buffer.size()), SQLITE_STATIC));
        return;
    }
    }
}

int Statement::run()
{
    sqlite3_stmt *statement = runnable();
    const ResetOnExit reset(statement);
    PreparedStatement &prepared = *m_prepared;
    const int expected = sqlite3_bind_parameter_count(statement);
    const bool complete = prepared.boundCount == expected;
    prepared.forgetBound();
    if (!complete)
        throw DbError(DbErrorCode::Failed,
            QStringLiteral("Valori mancanti: %1 su %2").arg(expected - prepared.boundCount).arg(expected));
    const int affected = runOnce(statement);
    m_ran = true;
    return affected;
}

qint64 Statement::lastInsertId() const
{
    if (!m_ran || !m_prepared || !m_prepared->handle())
        return 0;
    return sqlite3_last_insert_rowid(sqlite3_db_handle(m_prepared->handle()));
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
    db.takeHandle();
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
        db.takeHandle();
        // Writing the header makes the new file a database of its own, recognised by any reader.
        db.exec(QStringLiteral("PRAGMA user_version = 1"));
        db.exec(QStringLiteral("PRAGMA user_version = 0"));
    }
    return open(path);
}

// The driver opened the connection; statements run directly on its SQLite handle.
void Database::takeHandle()
{
    const QVariant handle = m_db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
    if (!m_handle)
        throw DbError(DbErrorCode::Failed, QStringLiteral("Connessione SQLite non disponibile"));
}

Database::Database(Database &&other) noexcept
    : m_path(std::move(other.m_path))
    , m_connection(std::move(other.m_connection))
    , m_db(other.m_db)
    , m_handle(std::exchange(other.m_handle, nullptr))
    , m_statements(std::move(other.m_statements))
{
    other.m_connection.clear();
    other.m_db = QSqlDatabase();
    other.m_statements.clear();
}

Database &Database::operator=(Database &&other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_connection = std::move(other.m_connection);
        m_db = other.m_db;
        m_handle = std::exchange(other.m_handle, nullptr);
        m_statements = std::move(other.m_statements);
        other.m_connection.clear();
        other.m_db = QSqlDatabase();
        other.m_statements.clear();
    }
    return *this;
}

Database::~Database()
{
    close();
}

void Database::close()
{
    // A statement still prepared would keep the connection from closing (and its file open).
    for (const std::weak_ptr<PreparedStatement> &kept : m_statements) {
        if (const std::shared_ptr<PreparedStatement> statement = kept.lock())
            statement->finalize();
    }
    m_statements.clear();
    m_handle = nullptr;
    if (m_connection.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

sqlite3 *Database::connection() const
{
    if (m_connection.isEmpty() || !m_handle || !m_db.isOpen())
        throw DbError(DbErrorCode::Failed, QStringLiteral("Database chiuso"));
    return m_handle;
}

int Database::exec(const QString &sql, const QVariantList &values)
{
    std::vector<std::string> text;
    const StatementPtr statement = prepareOn(connection(), sql);
    bindAll(statement.get(), values, text);
    return runOnce(statement.get());
}

Recordset Database::query(const QString &sql, const QVariantList &values)
{
    std::vector<std::string> text;
    const StatementPtr statement = prepareOn(connection(), sql);
    bindAll(statement.get(), values, text);
    return Recordset::readAll(statement.get(), false, QString());
}

Recordset Database::table(const QString &name)
{
    return select(TableQuery { name, {}, {} });
}

Recordset Database::select(const TableQuery &tableQuery)
{
    QVariantList values;
    const QString sql = selectStatement(tableQuery, values);
    std::vector<std::string> text;
    const StatementPtr statement = prepareOn(connection(), sql);
    bindAll(statement.get(), values, text);
    return Recordset::readAll(statement.get(), true, tableQuery.table);
}

QString Database::selectStatement(const TableQuery &tableQuery, QVariantList &values)
{
    QString sql = QStringLiteral("SELECT rowid, * FROM ") + quoteName(tableQuery.table);
    values.clear();
    QStringList conditions;
    for (const Condition &condition : tableQuery.where) {
        conditions << quoteName(condition.field)
                + (condition.exactCase ? QStringLiteral(" IS ? COLLATE BINARY") : QStringLiteral(" IS ?"));
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
    return sql;
}

Statement Database::prepare(const QString &sql)
{
    auto statement = std::make_shared<PreparedStatement>(prepareOn(connection(), sql).release());
    // Statements gone since the last call are forgotten, so the list does not grow with use.
    std::erase_if(m_statements, [](const std::weak_ptr<PreparedStatement> &kept) { return kept.expired(); });
    m_statements.push_back(statement);
    return Statement(std::move(statement));
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
    std::vector<std::string> text;
    const StatementPtr statement = prepareOn(connection(), sql);
    bindAll(statement.get(), bound, text);
    runOnce(statement.get());
    return sqlite3_last_insert_rowid(m_handle);
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

void Database::copyTo(const QString &target)
{
    sqlite3 *source = connection();
    bool copied = false;
    {
        Database copy = create(target);
        const auto removeUnlessCopied = qScopeGuard([&] {
            if (!copied) {
                copy.close();
                QFile::remove(target);
            }
        });
        // The copy is scratch until the caller keeps it: written without a journal or syncs, which
        // took most of a backup's time.
        copy.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
        copy.exec(QStringLiteral("PRAGMA synchronous = OFF"));
        // The read transaction: its first read takes the shared lock (waiting for a writer as long
        // as any statement does) and rolls back a journal a stopped writer left.
        exec(QStringLiteral("BEGIN"));
        const auto endRead
            = qScopeGuard([&] { sqlite3_exec(source, "ROLLBACK", nullptr, nullptr, nullptr); });
        query(QStringLiteral("SELECT count(*) FROM sqlite_master"));

        sqlite3_backup *backup = sqlite3_backup_init(copy.connection(), "main", source, "main");
        if (!backup)
            throwSqliteError(copy.connection());
        const int stepped = sqlite3_backup_step(backup, -1);
        const int finished = sqlite3_backup_finish(backup);
        if (stepped != SQLITE_DONE || finished != SQLITE_OK) {
            // The backup leaves its failure (a full disk, a damaged source) on the copy's connection.
            const int code = stepped != SQLITE_DONE ? stepped : finished;
            const QString text = sqlite3_errcode(copy.connection()) != SQLITE_OK
                ? QString::fromUtf8(sqlite3_errmsg(copy.connection()))
                : QString::fromUtf8(sqlite3_errstr(code));
            throw DbError(codeFor(text), text);
        }
        const Recordset check = copy.query(QStringLiteral("PRAGMA integrity_check"));
        const QString verdict = check.isEmpty() ? QString() : check.value(0, 0).toString();
        if (verdict != QLatin1String("ok"))
            throw DbError(DbErrorCode::Failed,
                QStringLiteral("database disk image is malformed: %1").arg(verdict.left(200)));
        copied = true;
    }
}

void Database::setPageCacheLimit(int kibibytes)
{
    // A negative cache size is a limit in KiB rather than a number of pages.
    exec(QStringLiteral("PRAGMA cache_size = -%1").arg(qMax(kibibytes, 1)));
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
