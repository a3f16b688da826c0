#pragma once

#include <QString>
#include <QVariant>

namespace zav::shell {

/**
 * @brief The start-up password and its on/off flag, kept in the first record of table GEPA of the
 * settings database "vga.drv" in the program folder.
 *
 * The password is field 0, reached by position; the flag is field ATTIVA. Reading and writing
 * throw platform::DbError when the database cannot be opened or written.
 */
class PasswordSettings
{
public:
    /** @brief Reads the first record; with no record both values are Null. */
    static PasswordSettings read();

    /** @brief Stores the password in field 0 of the first record (added when the table has none). */
    static void writePassword(const QString &password);
    /** @brief Stores the on/off flag in the first record (added when the table has none). */
    static void writeAttiva(bool attiva);

    /** @brief The stored password; Null stays apart from the empty text. */
    QVariant password() const { return m_password; }
    /** @brief The raw flag (Null when empty). */
    QVariant attiva() const { return m_attiva; }
    /** @brief Whether the password is asked at start-up: the flag is true (false or empty: not). */
    bool isActive() const;

private:
    QVariant m_password;
    QVariant m_attiva;
};

} // namespace zav::shell
