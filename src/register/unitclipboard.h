#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace zav::platform {
class Database;
}

namespace zav::register_ {

/** @brief One unit row held by the clipboard: the register's texts and the three heights. */
struct ClipboardEntry
{
    QString floorCode;
    QString interno;
    QString owner;
    QString description;
    std::optional<double> groundHeight; ///< none when the cell was empty
    std::optional<double> floorHeight;
    std::optional<double> liftHeight;
};

/**
 * @brief The clipboard of unit rows: rows selected in the unit register are copied into it and
 * pasted as new units into the building and stair chosen in the register at the time of the paste.
 *
 * It holds at most 101 rows and lives for the whole run. `VAR_GBL.appunti_pieni` tells whether it
 * holds rows not pasted yet, `VAR_GBL.appunti_ultima_riga` the index of the last row of the latest
 * copy. Its two commands are the items "Copia" and "Incolla" of the main window's pop-up menu.
 */
class UnitClipboard
{
public:
    static constexpr int Size = 101;
    using Entries = std::array<ClipboardEntry, Size>;

    /** @brief The clipboard's entries (`appunti_unita`); later copies overwrite them. */
    static Entries &appunti_unita();

    /**
     * @brief Holds these rows, in this order, from the first entry on; rows beyond the 101st are not
     * held. Returns how many rows are held.
     */
    static int copy(const QList<ClipboardEntry> &rows);

    /**
     * @brief Appends the rows of the latest copy to `CODIF_PIANI` as units of this building and stair.
     * The new rows get no floor position. DbError on failure; the caller owns the transaction and
     * marks the clipboard emptied once it has committed.
     */
    static void paste(platform::Database &db, qint64 building, const QString &stair);
};

/** @brief "Copia": copies the rows selected in the unit register's grid, in the order they were selected. */
void copia_Click();
/**
 * @brief "Incolla": pastes the held rows into the register's chosen building and stair, then reads
 * the register's list again.
 */
void incolla_Click();

} // namespace zav::register_
