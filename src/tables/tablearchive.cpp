#include "tables/tablearchive.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "tables/coefficienttables.h"

#include <QFileInfo>

namespace zav::tables {

namespace {

bool knownTable(const QString &table)
{
    return CoefficientTables::byTable(table) || table == QLatin1String(WindowTable::Name);
}

/** Write permission in the file's own bits, and for the user running the program (a root user
 * writes through missing bits, yet a file marked read-only is meant to stay as it is). */
bool writable(const QFileInfo &file)
{
    return file.isWritable() && file.permission(QFileDevice::WriteOwner);
}

} // namespace

QString TableArchive::templatePath()
{
    return platform::ProgramFolder::file(engine::archive::TemplateFile);
}

std::optional<QString> TableArchive::problem(const QString &path, const QString &table, ArchiveKind kind)
{
    const bool isTemplate = kind == ArchiveKind::Template;
    if (!knownTable(table))
        return QStringLiteral("La tabella \"%1\" non è una tabella dei coefficienti.").arg(table);
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile()) {
        return isTemplate ? QStringLiteral("Impossibile trovare l'archivio modello \"%1\" nella cartella del "
                                           "programma: la tabella non può essere aperta.")
                                .arg(engine::archive::TemplateFile)
                          : QStringLiteral("Impossibile trovare l'archivio del progetto:\n%1").arg(path);
    }
    if (!writable(file)) {
        return isTemplate ? QStringLiteral("L'archivio modello \"%1\" è di sola lettura: la tabella non può "
                                           "essere modificata.")
                                .arg(engine::archive::TemplateFile)
                          : QStringLiteral("L'archivio del progetto è di sola lettura: la tabella non può "
                                           "essere modificata.\n%1")
                                .arg(path);
    }
    try {
        platform::Database db = platform::Database::open(path);
        if (!db.hasTable(table))
            return QStringLiteral("La tabella %1 non è presente nell'archivio:\n%2").arg(table, path);
    } catch (const platform::DbError &error) {
        return engine::databaseFailureText(error);
    }
    return std::nullopt;
}

bool TableArchive::check(const QString &path, const QString &table, ArchiveKind kind)
{
    const std::optional<QString> message = problem(path, table, kind);
    if (message)
        report(*message);
    return !message;
}

void TableArchive::report(const QString &message)
{
    platform::dialogs().msgBox(message, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation,
        QStringLiteral("!!! Zav - Attenzione - !!!"));
}

} // namespace zav::tables
