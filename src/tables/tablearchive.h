#pragma once

#include <QString>

#include <optional>

namespace zav::tables {

/** @brief Which archive a table form shows: the template's defaults or the open project's copy. */
enum class ArchiveKind { Template, Project };

/**
 * @brief Where the coefficient and window tables live, and whether an archive can be edited.
 *
 * The table forms edit the archive they show at once, cell by cell, so before a form is pointed at
 * an archive it is checked: the file must be there, writable, and hold the table. A failed check is
 * told in a message and the form keeps what it showed.
 */
namespace TableArchive {

/** @brief The template archive "ARCH_MIL.CLO" of the program folder (found without regard to case). */
QString templatePath();

/**
 * @brief What keeps a table of an archive from being edited, as the message to show; no value when
 * the archive is there, writable and holds the table. A table name outside the program's own list
 * of coefficient and window tables is refused too.
 */
std::optional<QString> problem(const QString &path, const QString &table, ArchiveKind kind);

/** @brief Checks as `problem()` does and shows the message when there is one; true when usable. */
bool check(const QString &path, const QString &table, ArchiveKind kind);

/** @brief Shows a message of the table forms ("!!! Zav - Attenzione - !!!", exclamation icon). */
void report(const QString &message);

} // namespace TableArchive

} // namespace zav::tables
