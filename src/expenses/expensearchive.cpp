#include "expenses/expensearchive.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "expenses/thousandthscopy.h"
#include "platform/diskspace.h"
#include "platform/leftovers.h"
#include "platform/programfolder.h"
#include "platform/projectrecord.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace zav::expenses {

using platform::Database;
using platform::DbError;
using platform::Recordset;
using platform::TableQuery;
namespace DbErrorCode = platform::DbErrorCode;
namespace vb = platform::vb;

namespace {

// The longest file name the file systems we run on accept, in bytes.
constexpr qsizetype MaxFileNameBytes = 255;

/** A whole number from a stored value (a number, or text read as one), rounded; none otherwise. */
std::optional<qint64> wholeNumber(const QVariant &value)
{
    const std::optional<double> number = vb::CDbl(value);
    if (!number)
        return std::nullopt;
    try {
        return vb::CLng(*number);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

/**
 * Notes the failure of one step of the fill, which goes on with the next step. A failure to write
 * (a full disk, a disk error, an archive read-only or in use) ends the fill: the database has
 * undone the whole transaction, and every step after it would fail as well.
 */
void skip(ExpenseArchive::FillOutcome &outcome, const DbError &error)
{
    qWarning() << "expense archive: step skipped:" << error.message();
    if (error.code() == DbErrorCode::DiskFull || error.code() == DbErrorCode::DiskError
        || error.code() == DbErrorCode::PermissionDenied)
        throw error;
    outcome.failures << engine::databaseFailureText(error).section(u'\n', 0, 0);
}

/** Runs one step of the fill; a failure is passed to skip(). */
void step(ExpenseArchive::FillOutcome &outcome, const std::function<void()> &work)
{
    try {
        work();
    } catch (const DbError &error) {
        skip(outcome, error);
    }
}

/** The archives of "ARCHIVI" named NAME.TSP in whatever case, the upper-cased name first. */
QStringList archivesNamed(const QString &name)
{
    const QString wanted = name.toUpper() + ArchiveExtension;
    const QDir folder(ExpenseArchive::archivesFolder());
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QStringList named;
    if (entries.contains(wanted))
        named << folder.filePath(wanted);
    for (const QString &entry : entries) {
        if (entry != wanted && entry.compare(wanted, Qt::CaseInsensitive) == 0)
            named << folder.filePath(entry);
    }
    return named;
}

/** The template's bytes. DbError DatabaseNotFound without it. */
QByteArray templateContent()
{
    QFile source(platform::ProgramFolder::file(TemplateFile));
    if (!source.open(QIODevice::ReadOnly)) {
        throw DbError(DbErrorCode::DatabaseNotFound,
            QStringLiteral("Modello \"%1\" non trovato nella cartella del programma.").arg(TemplateFile));
    }
    return source.readAll();
}

/** A file that could not be written, said in Italian with the system's reason. */
[[noreturn]] void throwWriteFailure(const QString &path, const QFileDevice &file)
{
    const int code = file.error() == QFileDevice::ResourceError || platform::isDiskFull(path)
        ? DbErrorCode::DiskFull
        : DbErrorCode::PathFileAccess;
    throw DbError(code,
        QStringLiteral("Impossibile scrivere \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), platform::fileFailureText(file)));
}

} // namespace

QStringList ExpenseArchive::tables()
{
    return { TAB_GENERALE, TAB_SPESE1, TAB_SPESE2, TAB_SPESE3, TAB_SPESE4 };
}

QString ExpenseArchive::archivesFolder()
{
    return platform::ProgramFolder::file(QStringLiteral("ARCHIVI"));
}

QString ExpenseArchive::nameProblem(const QString &name)
{
    bool control = false;
    for (const QChar c : name)
        control = control || c.category() == QChar::Other_Control;
    if (control || name.contains(u'/') || name.contains(u'\\') || name.contains(QLatin1String(".."))
        || name.contains(u':')) {
        return QStringLiteral("Nome della tabella non valido: non può contenere \"/\", \"\\\", \"..\", "
                              "\":\" né caratteri di controllo.");
    }
    if ((name.toUpper() + ArchiveExtension).toUtf8().size() > MaxFileNameBytes)
        return QStringLiteral("Nome della tabella troppo lungo.");
    return QString();
}

QString ExpenseArchive::pathFor(const QString &name)
{
    return QDir(archivesFolder()).filePath(name.toUpper() + ArchiveExtension);
}

ExpenseArchive::Ownership ExpenseArchive::ownership(const QString &path, const QString &projectArchive)
{
    Ownership result;
    try {
        Database archive = Database::open(path);
        result.owner = platform::projectrecord::read(archive);
    } catch (const DbError &error) {
        // An archive that cannot be read names no project; opening it will say what is wrong.
        result.inUse = error.code() == DbErrorCode::PermissionDenied
            && error.message().contains(QLatin1String("locked"), Qt::CaseInsensitive);
        return result;
    }
    if (result.owner.isEmpty())
        return result;
    const QString owner = QFileInfo(result.owner).canonicalFilePath();
    if (!owner.isEmpty() && owner == QFileInfo(projectArchive).canonicalFilePath())
        result.claim = Claim::Own;
    else if (!owner.isEmpty())
        result.claim = Claim::Other;
    return result;
}

void ExpenseArchive::setOwner(Database &archive, const QString &projectArchive)
{
    platform::projectrecord::write(archive, projectArchive);
}

ExpenseArchive::Found ExpenseArchive::findForProject(
    const QString &projectName, const QString &projectArchive)
{
    Found found;
    if (projectName.isEmpty())
        return found;
    const QStringList named = archivesNamed(projectName);
    QString free;
    for (const QString &path : named) {
        const Ownership owned = ownership(path, projectArchive);
        if (owned.claim == Claim::Own)
            return { path, Claim::Own, {} };
        if (owned.claim == Claim::Free && free.isEmpty())
            free = path;
        if (owned.claim == Claim::Other && found.otherOwner.isEmpty())
            found.otherOwner = owned.owner;
    }

    // One named apart for this project, when the name was another project's.
    const QDir folder(ExpenseArchive::archivesFolder());
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &entry : entries) {
        const QString path = folder.filePath(entry);
        if (!entry.endsWith(ArchiveExtension, Qt::CaseInsensitive) || named.contains(path))
            continue;
        if (ownership(path, projectArchive).claim == Claim::Own)
            return { path, Claim::Own, {} };
    }
    if (!free.isEmpty())
        return { free, Claim::Free, {} };
    return found;
}

ExpenseArchive::Found ExpenseArchive::targetFor(const QString &name, const QString &projectArchive)
{
    Found target { pathFor(name), Claim::Free, {} };
    for (const QString &path : archivesNamed(name)) {
        const Ownership owned = ownership(path, projectArchive);
        if (owned.inUse)
            throw DbError(DbErrorCode::PermissionDenied, QStringLiteral("database is locked"));
        if (owned.claim == Claim::Other)
            return { QString(), Claim::Other, owned.owner };
        if (target.path == pathFor(name) && !QFileInfo::exists(target.path))
            target = { path, owned.claim, {} };
    }
    return target;
}

void ExpenseArchive::copyTemplate(const QString &path)
{
    const QByteArray content = templateContent();
    // Written beside the target and renamed over it, so that a failure keeps the old file whole.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(content) != content.size() || !target.commit())
        throwWriteFailure(path, target);
}

ExpenseArchive::FillOutcome ExpenseArchive::create(const QString &path, const QString &projectArchive)
{
    // What a stopped run left beside the archive: the archive built aside and its journal.
    platform::removeLeftovers(path, QStringLiteral("\\.nuovo-[A-Za-z0-9]{6}(-journal)?"));
    const QByteArray content = templateContent();

    // The new archive is made whole beside the old one, under a name no form lists.
    QTemporaryFile aside(path + QStringLiteral(".nuovo-XXXXXX"));
    if (!aside.open() || aside.write(content) != content.size() || !aside.flush())
        throwWriteFailure(path, aside);
    // It takes the permissions of the file it replaces, or a new file's.
    aside.setPermissions(QFileInfo::exists(path)
            ? QFile::permissions(path)
            : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    // SQLite's locks are lost when another descriptor of the file closes: ours goes first.
    aside.close();
    const QString built = aside.fileName();

    FillOutcome outcome;
    {
        Database archive = Database::open(built);
        Database project = Database::open(projectArchive);
        outcome = fill(archive, project);
        setOwner(archive, projectArchive);
    }

    // The old archive is replaced only while no one else holds it: the lock taken here keeps
    // others out until the new file has its name.
    std::optional<Database> old;
    if (QFileInfo::exists(path)) {
        try {
            old.emplace(Database::open(path));
            old->query(QStringLiteral("PRAGMA busy_timeout = 0"));
            old->exec(QStringLiteral("BEGIN EXCLUSIVE"));
        } catch (const DbError &error) {
            if (error.message().contains(QLatin1String("locked"), Qt::CaseInsensitive))
                throw;
            // A file that is no archive at all is simply replaced.
            old.reset();
        }
    }
    if (std::rename(QFile::encodeName(built).constData(), QFile::encodeName(path).constData()) != 0) {
        const int systemError = errno;
        throw DbError(DbErrorCode::PathFileAccess,
            QStringLiteral("Impossibile sostituire \"%1\": %2")
                .arg(QDir::toNativeSeparators(path), platform::systemFailureText(systemError)));
    }
    return outcome;
}

TableQuery ExpenseArchive::unitQuery()
{
    return TableQuery { engine::archive::CODIF_PIANI, {},
        { QStringLiteral("NUM_PAL"), QStringLiteral("SCALA"), QStringLiteral("INTERNO"),
            QStringLiteral("PROPRIETARIO") } };
}

int ExpenseArchive::appendUnits(Database &archive, Database &project)
{
    const Recordset units = project.select(unitQuery());
    const int owner = units.fieldIndex(QStringLiteral("PROPRIETARIO"));
    const int building = units.fieldIndex(QStringLiteral("NUM_PAL"));
    const int stair = units.fieldIndex(QStringLiteral("SCALA"));
    const int floor = units.fieldIndex(QStringLiteral("SIGLA"));
    const int number = units.fieldIndex(QStringLiteral("INTERNO"));
    const int description = units.fieldIndex(QStringLiteral("DESCRIZIONE"));
    platform::Statement insert = archive.prepare(
        QStringLiteral("INSERT INTO TAB_GENERALE (nome_condomino, PAL, SCALA, PIANO, INTERNO, DESCRIZIONE) "
                       "VALUES (?, ?, ?, ?, ?, ?)"));
    for (int row = 0; row < units.recordCount(); ++row) {
        // The building goes in as the text of its number ("12"); an empty one stays empty.
        const QVariant buildingNumber = units.value(row, building);
        const std::optional<double> asNumber = vb::CDbl(buildingNumber);
        const QVariant buildingText = asNumber ? QVariant(vb::CStr(*asNumber)) : QVariant();
        insert.exec({ units.value(row, owner), buildingText, units.value(row, stair), units.value(row, floor),
            units.value(row, number), units.value(row, description) });
    }
    return units.recordCount();
}

std::optional<QString> ExpenseArchive::fillBuildingsAndStairs(Database &archive, Database &project)
{
    const Recordset header = project.table(engine::archive::ANA_CONDO);
    if (header.isEmpty())
        return std::nullopt;
    // The number of buildings is field 5 of the header; without it no row is made.
    const std::optional<qint64> count = wholeNumber(header.value(0, 5));
    if (!count)
        return std::nullopt;

    platform::Statement building
        = archive.prepare(QStringLiteral("INSERT INTO TAB_SPESE1 (PALAZZINA) VALUES (?)"));
    const Recordset composition = project.table(engine::archive::COMPOS_PAL);
    if (composition.isEmpty()) {
        for (qint64 b = 1; b <= *count; ++b)
            building.exec({ b });
        return QStringLiteral("Non sono ancora state inserite palazzine");
    }

    // The buildings as composed, by number: each number once, with the stairs of its first row.
    QMap<qint64, QVariant> stairsOf;
    const int numberField = composition.fieldIndex(QStringLiteral("NUM_PAL"));
    const int stairsField = composition.fieldIndex(QStringLiteral("NUM_SCALE"));
    for (int row = 0; row < composition.recordCount(); ++row) {
        const std::optional<double> number = vb::CDbl(composition.value(row, numberField));
        if (!number || *number != vb::Int(*number) || std::abs(*number) > 2.0e9)
            continue;
        if (!stairsOf.contains(qint64(*number)))
            stairsOf.insert(qint64(*number), composition.value(row, stairsField));
    }
    for (auto it = stairsOf.cbegin(); it != stairsOf.cend(); ++it)
        building.exec({ it.key() });

    platform::Statement stair2
        = archive.prepare(QStringLiteral("INSERT INTO TAB_SPESE2 (PALAZZINA, SCALA) VALUES (?, ?)"));
    platform::Statement stair4
        = archive.prepare(QStringLiteral("INSERT INTO TAB_SPESE4 (PALAZZINA, SCALA) VALUES (?, ?)"));
    const QString letters = engine::archive::StairLetters;
    for (auto it = stairsOf.cbegin(); it != stairsOf.cend(); ++it) {
        const std::optional<double> stairs = vb::CDbl(it.value());
        if (!stairs)
            return QStringLiteral("Nessuna scala inserita nella palazzina n°: ") + QString::number(it.key());
        const QString none = engine::archive::NoStair;
        stair2.exec({ it.key(), none });
        stair4.exec({ it.key(), none });
        const qint64 count
            = *stairs < 1.0 ? 0 : std::min<qint64>(vb::CLng(std::min(*stairs, 1000.0)), letters.size());
        for (qint64 k = 0; k < count; ++k) {
            const QString letter(letters.at(k));
            stair2.exec({ it.key(), letter });
            stair4.exec({ it.key(), letter });
        }
    }
    return std::nullopt;
}

ExpenseArchive::FillOutcome ExpenseArchive::fill(Database &archive, Database &project)
{
    FillOutcome outcome;
    platform::Transaction transaction = archive.transaction();
    step(outcome, [&] { outcome.units = appendUnits(archive, project); });
    // The five copies, each a step of its own, write each unit row once.
    step(outcome, [&] {
        ThousandthsCopy::run(project, archive, TableQuery { TAB_GENERALE, {}, {} },
            ThousandthsCopy::sources(), [&](const DbError &error) { skip(outcome, error); });
    });
    step(outcome, [&] { outcome.notice = fillBuildingsAndStairs(archive, project); });
    transaction.commit();
    return outcome;
}

void ExpenseArchive::empty(Database &archive)
{
    platform::Transaction transaction = archive.transaction();
    for (const QString &table : tables())
        archive.clear(table);
    transaction.commit();
}

QStringList ExpenseArchive::missingFields(Database &archive)
{
    static const QList<std::pair<QString, QStringList>> layout {
        { TAB_GENERALE,
            { "nome_condomino", "PAL", "SCALA", "PIANO", "INTERNO", "DESCRIZIONE", "millesimi_generali",
                "millesimi_palazzina", "millesimi_scala", "millesimi_ascensore", "millesimi_riscaldamento",
                "millesimi_portierato", "TAB_A", "TAB_B", "TAB_C", "TAB_D", "TAB_E", "TAB_F", "totale" } },
        { TAB_SPESE1, { "PALAZZINA", "importo" } },
        { TAB_SPESE2, { "PALAZZINA", "SCALA", "importo" } },
        { TAB_SPESE3, { "tabella", "importo" } },
        { TAB_SPESE4, { "PALAZZINA", "SCALA", "importo" } },
    };
    QStringList missing;
    for (const auto &[table, wanted] : layout) {
        if (!archive.hasTable(table))
            continue;
        const QStringList present = archive.fields(table);
        for (const QString &field : wanted) {
            if (!present.contains(field, Qt::CaseInsensitive))
                missing << QStringLiteral("nella tabella %1 manca il campo %2").arg(table, field);
        }
    }
    return missing;
}

QStringList ExpenseArchive::missingTables(Database &archive)
{
    QStringList missing;
    for (const QString &table : tables()) {
        if (!archive.hasTable(table))
            missing << table;
    }
    return missing;
}

} // namespace zav::expenses
