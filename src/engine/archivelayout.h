#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zav::platform {
class Database;
}

/**
 * @brief The layout of an archive format (its tables, each with its fields in their positions) and
 * the check of an archive against it, with the departures said in Italian. The project archive and
 * the terrace archive are both checked this way, each against its own format.
 */
namespace zav::engine::archivelayout {

/** @brief A table of a format with its fields in order. */
struct Table
{
    QString name;
    QStringList fields;
};

/** @brief The tables and fields of a schema script ("CREATE TABLE" statements; the rest is skipped). */
QList<Table> tablesOfScript(const QString &script);

/** @brief The "CREATE INDEX" statements of a schema script, each as written (without its ";"). */
QStringList indexesOfScript(const QString &script);

/** @brief One way an archive departs from a format. */
struct Problem
{
    enum class Kind {
        MissingTable, ///< the table is not there
        MissingField, ///< the table lacks the field
        MisplacedField, ///< the field is there, at another position than the format's
    };
    Kind kind;
    QString table;
    QString field; ///< empty for a missing table
    int position = -1; ///< the field's position in the format (0 = first)

    bool operator==(const Problem &other) const = default;
};

/**
 * @brief Compares an archive with a format: every table must be there with the format's fields
 * at the format's positions (names compared without regard to case). Fields after the format's
 * last one and tables of its own (user tables) are allowed. Failures of the database throw DbError.
 */
QList<Problem> check(platform::Database &db, const QList<Table> &format);

/** @brief Whether an archive has any table of the format at all (false: another program's file). */
bool hasAnyFormatTable(platform::Database &db, const QList<Table> &format);

/** @brief The problems said in Italian, one line each ("manca la tabella X", ...); at most `limit`. */
QStringList describe(const QList<Problem> &problems, int limit = 12);

} // namespace zav::engine::archivelayout
