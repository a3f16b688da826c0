#include "expenses/expensearchive.h"

#include "engine/archive.h"
#include "expenses/thousandthscopy.h"
#include "platform/programfolder.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QtDebug>

#include <algorithm>
#include <cmath>
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

/** Runs one step of the fill; a failure is noted and the fill goes on with the next step. */
void step(ExpenseArchive::FillOutcome &outcome, const std::function<void()> &work)
{
    try {
        work();
    } catch (const DbError &error) {
        qWarning() << "expense archive: step skipped:" << error.message();
        outcome.failures << error.message();
    }
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

QString ExpenseArchive::findForProject(const QString &projectName)
{
    if (projectName.isEmpty())
        return QString();
    const QString wanted = projectName.toUpper() + ArchiveExtension;
    const QDir folder(archivesFolder());
    if (QFileInfo(folder.filePath(wanted)).isFile())
        return folder.filePath(wanted);
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return QString();
}

void ExpenseArchive::copyTemplate(const QString &path)
{
    const QString templatePath = platform::ProgramFolder::file(TemplateFile);
    QFile source(templatePath);
    if (!source.open(QIODevice::ReadOnly)) {
        throw DbError(DbErrorCode::DatabaseNotFound,
            QStringLiteral("Modello \"%1\" non trovato nella cartella del programma.").arg(TemplateFile));
    }
    const QByteArray content = source.readAll();
    // Written beside the target and renamed over it, so that a failure keeps the old file whole.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(content) != content.size() || !target.commit()) {
        throw DbError(DbErrorCode::PathFileAccess,
            QStringLiteral("Impossibile scrivere \"%1\": %2")
                .arg(QDir::toNativeSeparators(path), target.errorString()));
    }
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
    for (const ThousandthsCopy::Source &source : ThousandthsCopy::sources())
        step(outcome, [&] {
            ThousandthsCopy::run(project, archive, TableQuery { TAB_GENERALE, {}, {} }, source);
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
