#pragma once

#include <QLatin1String>
#include <QString>

namespace zav::platform {
class Database;
}

/**
 * @brief The record by which a project's companion archive (its terrace or expense archive) names
 * the project archive it belongs to: one row of the table `PROGETTO`, field `ARCHIVIO`, holding
 * the project archive's absolute path. An archive made before archives recorded their project has
 * no such table.
 */
namespace zav::platform::projectrecord {

inline constexpr QLatin1String Table("PROGETTO");
inline constexpr QLatin1String Field("ARCHIVIO");

/** @brief The project archive the archive records, or empty text when it records none. DbError. */
QString read(Database &archive);
/**
 * @brief Records `projectArchive` as the archive's project, in place of any earlier record, in one
 * transaction (the table is made when missing). DbError.
 */
void write(Database &archive, const QString &projectArchive);
/**
 * @brief The project archive recorded by the archive file at `path`, or empty text when it records
 * none or cannot be read (an owner reader for OwnedFiles).
 */
QString ownerOf(const QString &path);

} // namespace zav::platform::projectrecord
