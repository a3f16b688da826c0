#pragma once

#include "platform/db.h"

#include <QList>
#include <QString>

namespace zav::platform {
class DataSource;
}

namespace zav::shell {

/**
 * @brief The walk of "Verifica DB": finds the rows of the units or rooms table that lack part of
 * the unit key (building, stair, unit number) and offers to delete each one.
 *
 * Rows are walked in stored order. For each row the three key fields are tested in order; an empty
 * field (Null or the empty text; 0 is a value) asks its question, and on Yes the row is deleted
 * and the walk steps back onto the row before it, so the remaining tests of the row look at that
 * one (none when the deleted row was the first). A kept row is asked about again only when a
 * deletion right after it steps back onto it. A step that fails is skipped.
 */
class ArchiveChecks
{
public:
    /** @brief A key field and the question asked when it is empty. */
    struct Key
    {
        QString field;
        QString question;
    };

    /** @brief A table that the walk checks, with its key fields in the order they are tested. */
    struct Table
    {
        QString name;
        QList<Key> keys;
    };

    /** @brief `CODIF_PIANI`: `NUM_PAL`, `SCALA`, `INTERNO`. */
    static const Table &units();
    /** @brief `ESPRESSIONI`: `PALAZ`, `SCALA`, `INTERNO`. */
    static const Table &rooms();

    /** @brief Title of the walk's questions. */
    static QString questionTitle();

    /**
     * @brief Walks the rows of the table that `rows` names (the whole table when it names none) in
     * the archive at this path, asking through the program's Dialogs; returns how many rows were
     * deleted. Throws DbError when the rows cannot be read.
     */
    static int verify(const QString &archive, const Table &table, const platform::TableQuery &rows = {});

    /**
     * @brief "Verifica DB" of a window bound to the table: the walk on the source's archive, the
     * source re-read, and "Rigenerazione Completata". A table that cannot be read is reported instead.
     */
    static void verifyDataSource(platform::DataSource &source, const Table &table);

    /**
     * @brief "Elimina Riga": after its question, deletes the source's current row and re-reads the
     * source. A failure is reported.
     */
    static void deleteCurrentRow(platform::DataSource &source);
};

} // namespace zav::shell
