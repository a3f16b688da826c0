#pragma once

#include <QString>
#include <QStringList>

namespace zav::shell {

/** @brief What the upgrade of one archive did. */
struct UpgradeOutcome
{
    enum class Status {
        Upgraded, ///< the archive has every field now (including when it had them all before)
        Unreadable, ///< the file is missing or is not a database
        NotAnArchive, ///< the file is a database but not a project archive (no ANA_CONDO)
        NotUpgraded, ///< a field could not be added (the others were, unless nothing could be written)
    };

    /** @brief A field that could not be added, and the database's reason. */
    struct Failure
    {
        QString table;
        QString field;
        QString error;
    };

    Status status = Status::Unreadable;
    /** @brief "TABLE.FIELD" of each field added, in the order added. */
    QStringList added;
    /** @brief The fields that could not be added. */
    QList<Failure> failures;
    /** @brief Why it failed (empty when upgraded). */
    QString error;

    bool succeeded() const { return status == Status::Upgraded; }
};

/**
 * @brief Brings a project archive made from an older template up to the current fields.
 *
 * Appends at the end of their tables, when missing: `NOTE` (long text) then `RISC_50` (yes/no) to
 * `ANA_CONDO`, and `RIGA` (double) to `TEMPORANEO`, `TEMPORANEO2`, `MIL_RISC`, `MIL_PORTIERATO`,
 * `MILLESIMI` and `TEMP_VARIE`, in this order. A field already there (in any case) is left alone
 * and a table that is missing gets nothing. A field that cannot be added is skipped and the
 * others still are; the outcome then says so. The fields are one transaction, so nothing is
 * added when it cannot be committed. Then adds the indexes of the format that the archive lacks
 * (projectlayout::indexes()), silently: one that cannot be made is skipped and said nowhere. Shows
 * no message.
 */
UpgradeOutcome upgradeArchive(const QString &path);

} // namespace zav::shell
