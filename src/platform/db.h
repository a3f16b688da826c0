#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

/**
 * @brief The archive layer: SQLite files opened through Qt SQL and worked through SQLite's own
 * interface on the same connection, in the shape the program expects of a database (recordsets read
 * by field position or name, rows edited by rowid, tables and fields listed, created and appended,
 * errors carrying the codes the callers branch on).
 */
namespace zav::platform {

/** @brief Error codes the callers branch on. */
namespace DbErrorCode {
inline constexpr int PermissionDenied = 70; ///< file in use or write-protected
inline constexpr int PathFileAccess = 75; ///< path/file access error
inline constexpr int PathNotFound = 76;
inline constexpr int NoCurrentRecord = 3021; ///< no row at the cursor, or no row with that rowid
inline constexpr int DatabaseNotFound = 3024; ///< no file at the path given
inline constexpr int InvalidName = 3125; ///< a table or field name with characters not allowed
inline constexpr int ItemNotFound = 3265; ///< no such table or field
inline constexpr int FieldExists = 3191;
inline constexpr int TableExists = 3010;
inline constexpr int DiskFull = 3026; ///< no space left on the disk
inline constexpr int DiskError = 3043; ///< the disk could not be read or written
inline constexpr int Failed = 3000; ///< any other failure of the database
} // namespace DbErrorCode

/** @brief A failed database or file operation, with its code. */
class DbError : public std::runtime_error
{
public:
    DbError(int code, const QString &message);
    int code() const { return m_code; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    int m_code;
};

/**
 * @brief The text a window shows the user for a database failure: the wording the program has
 * installed with setFailureWording(), or the database's own text while none is installed.
 */
QString failureText(const DbError &error);
/** @brief Installs the wording of database failures for the user; an empty function removes it. */
void setFailureWording(std::function<QString(const DbError &)> wording);

/**
 * @brief What every message says when the disk is full: that it is full, what was left as it was
 * (`unchanged`: "nessun dato è stato modificato", "la copia precedente non è stata modificata" ...;
 * by default that the changes cannot be saved) and what to do.
 */
QString diskFullText(const QString &unchanged = QString());

/** @brief A system error (an errno value) said in Italian for the user, with what to do. */
QString systemFailureText(int systemError);
/**
 * @brief Why a file could not be opened, read or written, said in Italian ("spazio esaurito sul
 * disco ...", "il file esistente non è scrivibile" ...) in place of the library's English text.
 */
QString fileFailureText(const QFileDevice &file);

class PreparedStatement;
class ColumnLayout;

/** @brief Kinds of field the archives use. */
enum class FieldType { Text, Memo, Integer, Double, Boolean };

/** @brief A field to create or append: name, kind, and the length of a text field (0 = free). */
struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;
};

/**
 * @brief One equality condition of a TableQuery (field = bound value).
 *
 * A Null value (an invalid or null QVariant) matches the rows whose field is Null, unlike SQL's "=":
 * the comparison is SQLite's "IS", which otherwise behaves as "=" (text without regard to case in
 * text fields).
 */
struct Condition
{
    QString field;
    QVariant value;
    /** Texts compared with regard to case ("condo1" is not "CONDO1"), whatever the field's collation. */
    bool exactCase = false;

    bool operator==(const Condition &other) const = default;
};

/**
 * @brief A query kept as structure, never as SQL text: the rows of one table that match every
 * condition, in the order of the fields named (stored order when none). User values stay values.
 */
struct TableQuery
{
    QString table;
    QList<Condition> where;
    QStringList orderBy; ///< field names, each optionally followed by " DESC" (or " ASC")

    bool operator==(const TableQuery &other) const = default;
};

/**
 * @brief Rows read in full from a query; the statement is released at once.
 *
 * Fields are reached by position or by name (without regard to case); Null stays apart from "":
 * a Null field reads as an invalid QVariant, an empty text as an empty QString. Yes/no fields read
 * as bool (any non-zero number is true). When read from a table (Database::table, Database::select)
 * each row also carries its rowid, through which it can be edited or deleted; the rowid is not one
 * of the fields.
 */
class Recordset
{
public:
    Recordset() = default;

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int position) const;
    const QStringList &fieldNames() const { return m_fields; }
    /** @brief Position of a field; DbError ItemNotFound when missing. */
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const;

    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    /** @brief The table the rows came from (empty for free SQL). */
    const QString &tableName() const { return m_table; }

    // Cursor, as the callers walk a recordset.
    bool eof() const { return m_current >= m_rows.size(); }
    bool bof() const { return m_current < 0 || m_rows.isEmpty(); }
    void moveFirst() { m_current = 0; }
    void moveNext() { ++m_current; }
    void movePrevious() { --m_current; }
    void moveLast() { m_current = m_rows.size() - 1; }
    int position() const { return int(m_current); }

    /**
     * @brief Field of the current row; DbError ItemNotFound when the field is missing,
     * NoCurrentRecord when the cursor is on no row.
     */
    QVariant value(int position) const;
    QVariant value(const QString &name) const;
    /** @brief Rowid of the current row (-1 when not read from a table). */
    qint64 rowid() const;

    // Direct access by row index.
    QVariant value(int row, int position) const;
    qint64 rowidAt(int row) const;
    const QVector<QVariant> &row(int row) const { return m_rows.at(row); }

private:
    friend class Database;
    friend class Statement;
    /**
     * @brief Steps a bound statement through every row (first column = rowid if asked); the caller
     * resets or finalizes it. A layout kept from an earlier run is reused while it still fits, and
     * kept for the next one.
     */
    static Recordset readAll(sqlite3_stmt *statement, bool withRowid, const QString &table,
        std::unique_ptr<ColumnLayout> *kept = nullptr);
    QString m_table;
    QStringList m_fields;
    QVector<QVector<QVariant>> m_rows;
    QVector<qint64> m_rowids;
    QHash<QString, int> m_index; ///< case-folded field name -> first position with that name
    qsizetype m_current = 0;
};

/** @brief How SQLite holds a value. */
enum class StorageClass { Null, Integer, Real, Text, Blob };

/**
 * @brief A value as SQLite holds it, seen in place without boxing it in a QVariant: its storage
 * class and its content. The bytes (text in UTF-8, or a blob) are a view: they stay valid only as
 * long as what they view.
 */
struct FieldView
{
    StorageClass storage = StorageClass::Null;
    qint64 integer = 0; ///< an Integer's value
    double real = 0.0; ///< a Real's value
    QByteArrayView bytes; ///< a Text's UTF-8 bytes or a Blob's bytes

    bool isNull() const { return storage == StorageClass::Null; }
    /** @brief The value as a Recordset reads it (yes/no fields aside): Null, qlonglong, double, QString
     * or QByteArray. */
    QVariant toVariant() const;
};

/**
 * @brief The current row of a statement that Statement::forEach steps through: its fields read in
 * place. It and the views it hands out are valid only during the call that receives the row.
 */
class RowView
{
public:
    int fieldCount() const;
    /** @brief A field by position (from 0); DbError ItemNotFound when there is none. */
    FieldView field(int position) const;

private:
    friend class Statement;
    explicit RowView(sqlite3_stmt *statement)
        : m_statement(statement)
    {
    }
    sqlite3_stmt *m_statement;
};

/**
 * @brief Tells, row after row of a statement, whether a row's first fields hold the same values
 * stored the same way as those of the row before it: rows of one unit mostly follow one another, and
 * what was worked out from one row's fields holds for the next.
 */
class RepeatedFields
{
public:
    explicit RepeatedFields(int count)
        : m_count(count)
    {
    }
    /** @brief Whether the row's first fields are those of the row passed before; false for the first. */
    bool sameAsBefore(const RowView &row);

private:
    int m_count;
    bool m_seen = false;
    std::string m_fields;
    std::string m_last;
};

/**
 * @brief A prepared statement for repeated use inside one connection (bulk work). It is meant to
 * live no longer than its Database; once that closes, a run fails (DbError Failed). Every run must
 * give exactly one value per placeholder (DbError Failed otherwise), so that no run reuses values
 * of an earlier one.
 */
class Statement
{
public:
    /** @brief Runs with these bound values (positional '?'); returns rows affected. */
    int exec(const QVariantList &values);
    /** @brief Runs a prepared SELECT and reads all its rows. */
    Recordset read(const QVariantList &values);
    /**
     * @brief Runs a prepared SELECT with these bound values and hands its rows to `visit` one at a
     * time, in order, without gathering them (bulk reading). The statement is released after the
     * last row, or when `visit` throws.
     */
    void forEach(const QVariantList &values, const std::function<void(const RowView &)> &visit);
    qint64 lastInsertId() const;

    // Binding one value at a time, for bulk writes without building a list of values: each call
    // gives one placeholder (counted from 1) its value for the next run(), as exec() would bind it.
    // Text and blobs are copied.
    void bindNull(int position);
    void bindInteger(int position, qint64 value);
    /** @brief A number that is not finite is refused (DbError Failed), as exec() refuses it. */
    void bindReal(int position, double value);
    void bindText(int position, QStringView text);
    /** @brief Text already in UTF-8. */
    void bindUtf8(int position, QByteArrayView text);
    void bind(int position, const FieldView &value);
    /**
     * @brief Runs with the values bound one at a time since the last run; returns rows affected.
     * DbError Failed unless every placeholder got a value, so that no run reuses values of an
     * earlier one. Every run, even one that fails, forgets the values bound for it.
     */
    int run();

private:
    friend class Database;
    explicit Statement(std::shared_ptr<PreparedStatement> prepared)
        : m_prepared(std::move(prepared))
    {
    }
    /** @brief The statement ready for a run; DbError Failed when its connection has closed. */
    sqlite3_stmt *runnable();
    /** @brief The statement ready for one bound value; DbError Failed for a placeholder it lacks. */
    sqlite3_stmt *bindable(int position);
    std::shared_ptr<PreparedStatement> m_prepared; ///< finalized by its Database when that closes
    bool m_ran = false; ///< the last run succeeded
};

class Transaction;

/**
 * @brief One connection to one database file, closed when the object goes.
 *
 * Opening never creates a file: a missing file is DbError DatabaseNotFound. Failures throw DbError:
 * a missing table or field is ItemNotFound, an existing table TableExists, an existing field
 * FieldExists, a database locked by another connection or write-protected PermissionDenied, anything
 * else Failed with the driver's text.
 *
 * Values are bound, never pasted into SQL. Null is an invalid or null QVariant; any QString, even a
 * default-constructed one, is text ("" stays ""); a bool is stored as 0/1; a number that is not finite
 * is refused (Failed). Table and field names are checked (letters, digits, blank, underscore) and
 * quoted; any other name is DbError InvalidName.
 */
class Database
{
public:
    /** @brief Opens an existing file. */
    static Database open(const QString &path);
    /** @brief Creates a new empty database file (fails when the file exists). */
    static Database create(const QString &path);

    Database(Database &&other) noexcept;
    Database &operator=(Database &&other) noexcept;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;
    ~Database();

    const QString &path() const { return m_path; }
    void close();

    /** @brief Free SQL (one statement) with bound values (positional '?'); returns rows affected. */
    int exec(const QString &sql, const QVariantList &values = {});
    /** @brief Free SQL SELECT with bound values; rows carry no rowid. */
    Recordset query(const QString &sql, const QVariantList &values = {});
    /** @brief Every row of a table in stored order, with rowids. */
    Recordset table(const QString &name);
    /** @brief The rows a TableQuery names, with rowids (rowid order after the fields named). */
    Recordset select(const TableQuery &query);
    /** @brief The SQL that select() runs for a query, with the values it binds put in `values`. */
    static QString selectStatement(const TableQuery &query, QVariantList &values);
    /** @brief A statement prepared once for repeated use. */
    Statement prepare(const QString &sql);

    /** @brief Adds a row from field name/value pairs (unnamed fields stay Null); returns its rowid. */
    qint64 insert(const QString &table, const QList<std::pair<QString, QVariant>> &values);
    /** @brief Writes fields of the row with this rowid (DbError NoCurrentRecord when there is none). */
    void update(const QString &table, qint64 rowid, const QList<std::pair<QString, QVariant>> &values);
    /** @brief Deletes the row with this rowid (DbError NoCurrentRecord when there is none). */
    void remove(const QString &table, qint64 rowid);
    /** @brief Deletes every row of a table. */
    void clear(const QString &table);

    /** @brief The tables of the database, by name without regard to case. */
    QStringList tables();
    /** @brief Whether a table of this name exists, without regard to case. */
    bool hasTable(const QString &name);
    /** @brief Field names of a table in their order; DbError ItemNotFound when missing. */
    QStringList fields(const QString &table);
    /**
     * @brief Creates a table with its fields in this order (DbError TableExists when present).
     * Text and memo fields compare without regard to case; a yes/no field starts as false.
     */
    void createTable(const QString &name, const QList<FieldDef> &fields);
    /** @brief Appends a field at the end of a table (DbError FieldExists when present). */
    void appendField(const QString &table, const FieldDef &field);
    /** @brief Drops a table (DbError ItemNotFound when missing). */
    void dropTable(const QString &name);

    /** @brief Starts a transaction that rolls back unless committed. */
    Transaction transaction();

    /**
     * @brief Copies the database as last committed into the new file `target` through SQLite's
     * online backup, taken in one read transaction: another connection's uncommitted pages never
     * reach the copy, and a journal left by a writer that was stopped is rolled back first. The copy
     * is then checked (`PRAGMA integrity_check`). DbError when the archive is in use beyond the
     * usual wait (PermissionDenied), when the copy cannot be written (DiskFull on a full disk) or
     * when it is not whole (Failed, "malformed"); `target` is then removed. The copy is written
     * without syncing it to the disk: a caller that keeps it, rather than reading it at once, syncs it.
     */
    void copyTo(const QString &target);

    /**
     * @brief The most memory the connection keeps the database's pages in (2 MiB unless set).
     * Bulk work that changes more pages than fit writes them out before its commit, syncing the
     * journal each time; a cache that holds them all writes each page once, at the commit. Pages
     * take memory only as they are read.
     */
    void setPageCacheLimit(int kibibytes);
    /** @brief The page cache of bulk work: the pages of a project of tens of thousands of units. */
    static constexpr int BulkPageCacheKiB = 64 * 1024;

    /** @brief Quotes a table or field name for SQL text; DbError InvalidName when not allowed. */
    static QString quoteName(const QString &name);
    /** @brief Whether a table or field name is allowed: letters, digits, blanks and underscores. */
    static bool isValidName(const QString &name);

private:
    friend class Transaction;
    Database() = default;
    QSqlDatabase &handle() { return m_db; }
    /** @brief The connection's SQLite handle; DbError Failed when closed. */
    sqlite3 *connection() const;
    void ensureOpen() const { connection(); }
    void takeHandle();
    QString m_path;
    QString m_connection;
    QSqlDatabase m_db;
    sqlite3 *m_handle = nullptr; ///< owned by the driver, which opens and closes it
    std::vector<std::weak_ptr<PreparedStatement>> m_statements; ///< finalized before the connection closes
};

/**
 * @brief RAII transaction: rolls back on destruction unless committed. A failed commit throws and
 * leaves the transaction to be rolled back. It must not outlive (nor see moved) its Database.
 */
class Transaction
{
public:
    explicit Transaction(Database &db);
    Transaction(Transaction &&other) noexcept;
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    ~Transaction();

    void commit();
    void rollback();
    bool active() const { return m_db != nullptr; }

private:
    Database *m_db;
};

} // namespace zav::platform
