#include "shell/project/archiveoperations.h"
#include "engine/messagetitles.h"

#include "engine/archivelayout.h"
#include "engine/databasefailure.h"
#include "engine/var_gbl.h"
#include "expenses/expensesforms.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ownedfiles.h"
#include "platform/programfolder.h"
#include "platform/projectrecord.h"
#include "platform/steps.h"
#include "platform/vb.h"
#include "shell/project/backup.h"
#include "shell/project/decimalconversion.h"
#include "shell/project/projectfiles.h"
#include "shell/project/projectlayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zav::shell::archiveoperations {

namespace {

using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using projectfiles::FileOutcome;
using projectfiles::ProjectFile;

const QString TitleCopia = QStringLiteral("!!! Zav - Copia archivio - !!!");
const QString TitleDuplica = QStringLiteral("!!! Zav - Duplica archivio - !!!");
const QString TitleUpdate = QStringLiteral("Update Archivio");
const QString TitleCartella = QStringLiteral("Scelta cartella nuovo progetto");

const QString PathNotFoundText = QStringLiteral("Impossibile trovare il percorso, o nessun file selezionato");

void reportPathNotFound()
{
    dialogs().msgBox(
        PathNotFoundText, MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavWarning);
}

void reportInUse()
{
    dialogs().msgBox(QStringLiteral("Il progetto è attualmente in uso. Chiudere il progetto e ripetere "
                                    "l'operazione"),
        MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavInformation);
}

// A typed project name that cannot be used is refused with its reason; true when it can be.
bool acceptName(const QString &name)
{
    const std::optional<QString> problem = projectfiles::projectNameProblem(name);
    if (problem)
        dialogs().msgBox(*problem, MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
    return !problem;
}

void reportNotWritable(const QString &folder, const QString &consequence)
{
    dialogs().msgBox(
        QStringLiteral("Impossibile scrivere nella cartella \"%1\": la cartella non è scrivibile. "
                       "%2")
            .arg(QDir::toNativeSeparators(folder), consequence),
        MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

// The message of a file step that failed.
void reportFileFailure(FileOutcome outcome, const QString &path)
{
    switch (outcome) {
    case FileOutcome::Done:
        return;
    case FileOutcome::PermissionDenied:
        dialogs().msgBox(QStringLiteral("Impossibile scrivere il file \"%1\": la cartella o il file non sono "
                                        "scrivibili.")
                             .arg(path),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return;
    case FileOutcome::PathNotFound:
        reportPathNotFound();
        return;
    case FileOutcome::SourceMissing:
        dialogs().msgBox(QStringLiteral("File non trovato: %1").arg(path), MsgButtons::Ok, MsgIcon::Critical,
            engine::MessageTitle::ZavWarning);
        return;
    case FileOutcome::DiskFull:
        // Every file is written aside first: none of those there before has changed.
        dialogs().msgBox(QStringLiteral("Impossibile scrivere il file \"%1\". %2")
                             .arg(QDir::toNativeSeparators(path),
                                 platform::diskFullText(QStringLiteral("nessun file è stato cambiato"))),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return;
    case FileOutcome::Failed:
        dialogs().msgBox(QStringLiteral("Impossibile scrivere il file: %1").arg(path), MsgButtons::Ok,
            MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return;
    }
}

// The fields an upgrade could not add, one line each, with the reason in Italian.
QString upgradeFailures(const UpgradeOutcome &outcome)
{
    QStringList lines;
    for (const UpgradeOutcome::Failure &failure : outcome.failures)
        lines << QStringLiteral("- campo %1 della tabella %2: %3")
                     .arg(failure.field, failure.table,
                         engine::databaseFailureText(failure.error).section(u'\n', 0, 0));
    if (!outcome.failures.isEmpty())
        lines << engine::databaseFailureText(outcome.failures.first().error).section(u'\n', 1);
    return lines.join(u'\n');
}

// The archive's departures from the format, one line each; empty when it has the format's form.
QString layoutProblems(const QString &archive)
{
    try {
        platform::Database db = platform::Database::open(archive);
        const QList<engine::archivelayout::Problem> problems
            = engine::archivelayout::check(db, projectlayout::format());
        if (problems.isEmpty())
            return QString();
        return QStringLiteral("- ") + engine::archivelayout::describe(problems).join(QStringLiteral("\n- "));
    } catch (const platform::DbError &error) {
        return engine::databaseFailureText(error);
    }
}

void reportTwin(const QString &folder, const QString &fileName, const QString &consequence)
{
    dialogs().msgBox(
        QStringLiteral("Nella cartella \"%1\" c'è un altro progetto con il nome di \"%2\" (%3): i due "
                       "progetti si contenderebbero l'archivio delle terrazze e la relazione. Rinominare "
                       "uno dei due archivi. %4")
            .arg(QDir::toNativeSeparators(folder), fileName,
                projectfiles::namesakes(folder, fileName).join(QStringLiteral(", ")), consequence),
        MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

bool isOpenProjectFile(const QString &path)
{
    const engine::VarGbl &state = engine::VAR_GBL;
    if (!state.progetto_corrente)
        return false;
    return projectfiles::isSameFile(path, *state.progetto_corrente)
        || (!state.archivio_terrazze.isEmpty() && projectfiles::isSameFile(path, state.archivio_terrazze));
}

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

QString separatorName(QChar separator)
{
    return separator == u',' ? QStringLiteral("virgola") : QStringLiteral("punto");
}

/**
 * The archive template in the system's decimal separator: the template itself, or a copy of it in
 * `scratch` with its coefficients converted. False, said, when the copy cannot be made; a template
 * that cannot be read is left to the copy of the project, which says so.
 */
bool templateInSystemSeparator(QString &archive, const QTemporaryDir &scratch)
{
    const QChar separator = platform::vb::decimalSeparator();
    try {
        if (!QFileInfo(archive).isFile() || !DecimalConversion::holdsOtherSeparator(archive, separator))
            return true;
    } catch (const platform::DbError &) {
        return true;
    }
    const QString copy = scratch.filePath(QFileInfo(archive).fileName());
    QString problem;
    if (!scratch.isValid() || !QFile::copy(archive, copy)
        || !QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner)) {
        problem = QStringLiteral("impossibile copiare l'archivio principale in una cartella temporanea.");
    } else {
        try {
            const DecimalConversion::Result result
                = DecimalConversion::convertArchive(copy, DecimalConversion::towards(separator));
            if (!result.complete())
                problem = QStringLiteral("tabelle non convertite: ")
                    + result.failedTables.join(QStringLiteral(", "));
        } catch (const platform::DbError &error) {
            problem = engine::databaseFailureText(error);
        }
    }
    if (!problem.isEmpty()) {
        dialogs().msgBox(
            QStringLiteral(
                "Impossibile scrivere i numeri del nuovo progetto con il separatore decimale del "
                "sistema (%1): %2\nIl progetto non è stato creato. Convertire l'archivio principale "
                "con \"Conversione Dati\" e ripetere.")
                .arg(separatorName(separator), problem),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return false;
    }
    archive = copy;
    return true;
}

/**
 * A project whose coefficient tables hold the other decimal separator reads its coefficients
 * wrong: says so and offers to convert it. The project opens either way.
 */
void offerConversion(const QString &archive)
{
    const QChar separator = platform::vb::decimalSeparator();
    bool other = false;
    platform::tryStep([&] { other = DecimalConversion::holdsOtherSeparator(archive, separator); });
    if (!other)
        return;
    const QChar held = separator == u',' ? u'.' : u',';
    const QString question
        = QStringLiteral("I coefficienti di questo progetto sono scritti con il separatore decimale \"%1\" "
                         "(%2), ma il sistema usa \"%3\" (%4): così non sono letti come sono scritti "
                         "(%5 non vale %6).\nConvertire ora i numeri del progetto al separatore \"%3\"?\n"
                         "Con No il progetto si apre com'è; si potrà convertire in seguito con "
                         "\"Conversione Dati\".")
              .arg(QString(held), separatorName(held), QString(separator), separatorName(separator),
                  QStringLiteral("0") + held + QStringLiteral("84"),
                  QStringLiteral("0") + separator + QStringLiteral("84"));
    if (dialogs().msgBox(question, MsgButtons::YesNo, MsgIcon::Question, engine::MessageTitle::ZavWarning)
        != MsgResult::Yes)
        return;
    QString problem;
    try {
        const DecimalConversion::Result result
            = DecimalConversion::convertArchive(archive, DecimalConversion::towards(separator));
        if (!result.complete())
            problem
                = QStringLiteral("tabelle non convertite: ") + result.failedTables.join(QStringLiteral(", "));
    } catch (const platform::DbError &error) {
        problem = engine::databaseFailureText(error);
    }
    if (!problem.isEmpty()) {
        dialogs().msgBox(
            QStringLiteral("Conversione non riuscita: %1\nIl progetto si apre com'è: ripetere la "
                           "conversione con \"Conversione Dati\".")
                .arg(problem),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
    }
}

void recordTerraceOwner(const QString &terraces, const QString &archive)
{
    platform::tryStep([&] {
        platform::Database db = platform::Database::open(terraces);
        platform::projectrecord::write(db, archive);
    });
}

// The terrace archive beside a project is used only when it is this project's: one that records
// no project, or a project that is gone, is taken over; another project's is refused by name.
bool claimTerraces(const QString &terraces, const QString &archive, const QString &notOpened)
{
    using platform::OwnedFiles;
    const OwnedFiles::Claim claim = OwnedFiles(&platform::projectrecord::ownerOf).claim(terraces, archive);
    if (claim == OwnedFiles::Claim::Own)
        return true;
    if (claim == OwnedFiles::Claim::Other) {
        dialogs().msgBox(
            QStringLiteral("L'archivio delle terrazze \"%1\" è del progetto \"%2\" e non viene usato per "
                           "questo progetto. %3\nSpostare o rinominare il file \"%1\": all'apertura il "
                           "progetto ne creerà uno nuovo.")
                .arg(QDir::toNativeSeparators(terraces),
                    QDir::toNativeSeparators(platform::projectrecord::ownerOf(terraces)), notOpened),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return false;
    }
    // Taken over when it can be written; one that cannot (damaged, read-only) is told by the terrace
    // window when used, and taken over at a later opening.
    recordTerraceOwner(terraces, archive);
    return true;
}

} // namespace

void setOpenProject(
    const QString &archive, const QString &name, const QString &terraces, const QString &report)
{
    engine::VAR_GBL.progetto_corrente = archive;
    engine::VAR_GBL.nome_progetto = name;
    engine::VAR_GBL.archivio_terrazze = terraces;
    engine::VAR_GBL.calculationReport = report;
    // An expense form left open on the previous project loads afresh for this one.
    platform::tryStep([] { expenses::projectOpened(); });
}

std::optional<CreatedProject> createProject(const QString &shownFolder, const QString &typedName)
{
    if (!acceptName(typedName))
        return std::nullopt;

    QString folder = shownFolder;
    if (dialogs().msgBox(QStringLiteral("Vuoi utilizzare la cartella di default?"), MsgButtons::YesNo,
            MsgIcon::Information, TitleCartella)
        == MsgResult::Yes) {
        folder = projectfiles::defaultFolder();
        if (!projectfiles::ensureDefaultFolder()) {
            dialogs().msgBox(
                QStringLiteral("Impossibile creare la cartella \"%1\": la cartella del programma non è "
                               "scrivibile, o vi si trova un file con quel nome. Il progetto non è "
                               "stato creato.")
                    .arg(QDir::toNativeSeparators(folder)),
                MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
            return std::nullopt;
        }
    }
    if (!QFileInfo(folder).isDir()) {
        reportPathNotFound();
        return std::nullopt;
    }
    if (!projectfiles::isWritableFolder(folder)) {
        reportNotWritable(folder, QStringLiteral("Il progetto non è stato creato."));
        return std::nullopt;
    }

    const QString name = typedName.toUpper();
    const CreatedProject made { projectfiles::joinPath(
                                    folder, projectfiles::projectFileName(name, ProjectFile::Archive)),
        projectfiles::joinPath(folder, projectfiles::projectFileName(name, ProjectFile::Report)),
        projectfiles::joinPath(folder, projectfiles::projectFileName(name, ProjectFile::Terraces)) };

    // The files of that name already in the target folder, in whatever case.
    QStringList existing;
    for (const QString &path : { made.archive, made.report, made.terraces })
        existing << projectfiles::filesIgnoringCase(folder, QFileInfo(path).fileName());
    for (const QString &path : existing) {
        if (isOpenProjectFile(path)) {
            reportInUse();
            return std::nullopt;
        }
    }
    if (!existing.isEmpty()
        && dialogs().msgBox(QStringLiteral("Il file è già esistente. Si vuole eliminarlo ?"),
               MsgButtons::YesNo, MsgIcon::Critical, engine::MessageTitle::Warning,
               platform::MsgDefault::Second)
            != MsgResult::Yes)
        return std::nullopt;

    using platform::ProgramFolder;
    // The templates hold their numbers with the comma; a new project is written in the system's
    // separator, converted aside before it is copied.
    QTemporaryDir scratch;
    QString archiveTemplate = ProgramFolder::file(projectfiles::ArchiveTemplate);
    if (!templateInSystemSeparator(archiveTemplate, scratch))
        return std::nullopt;
    QString failed;
    const FileOutcome outcome = projectfiles::copyAll(
        {
            { archiveTemplate, made.archive },
            { ProgramFolder::file(projectfiles::ReportTemplate), made.report },
            { ProgramFolder::file(projectfiles::TerraceTemplate), made.terraces },
        },
        existing, &failed);
    if (outcome != FileOutcome::Done) {
        reportFileFailure(outcome, failed);
        return std::nullopt;
    }

    // The new terrace archive records its project; left unrecorded, the first opening takes it over.
    recordTerraceOwner(made.terraces, made.archive);
    setOpenProject(made.archive, projectfiles::projectName(QFileInfo(made.archive).fileName()), made.terraces,
        made.report);
    return made;
}

bool openProject(const QString &folder, const QString &fileName)
{
    const QString archive = projectfiles::joinPath(folder, fileName);
    const QString notOpened = QStringLiteral("Il progetto non è stato aperto.");

    // A project archive, not another file or another program's database.
    try {
        platform::Database db = platform::Database::open(archive);
        if (!engine::archivelayout::hasAnyFormatTable(db, projectlayout::format())) {
            dialogs().msgBox(QStringLiteral("Il file \"%1\" non è un archivio di progetto di Zav. %2")
                                 .arg(QDir::toNativeSeparators(archive), notOpened),
                MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
            return false;
        }
    } catch (const platform::DbError &error) {
        dialogs().msgBox(
            QStringLiteral("Impossibile aprire \"%1\". %2\n%3")
                .arg(QDir::toNativeSeparators(archive), notOpened, engine::databaseFailureText(error)),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return false;
    }

    // The project is worked in place, and its terrace archive lives beside it.
    if (!projectfiles::isWritableFolder(folder)) {
        reportNotWritable(folder, notOpened);
        return false;
    }
    if (!projectfiles::isWritableFile(archive)) {
        dialogs().msgBox(
            QStringLiteral("L'archivio \"%1\" è di sola lettura: le modifiche non potrebbero essere "
                           "salvate. %2")
                .arg(QDir::toNativeSeparators(archive), notOpened),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return false;
    }

    // Two archives of one name (differing in the case of the extension only) would share every
    // companion file: neither can be worked until one of them is renamed.
    if (projectfiles::hasTwin(folder, fileName)) {
        reportTwin(folder, fileName, notOpened);
        return false;
    }

    // Brought up to the current format, then checked against it.
    const UpgradeOutcome upgraded = upgradeArchive(archive);
    const QString problems = layoutProblems(archive);
    if (!problems.isEmpty()) {
        QString text
            = QStringLiteral("L'archivio \"%1\" non ha la forma di un archivio di progetto di Zav:\n%2\n%3")
                  .arg(QDir::toNativeSeparators(archive), problems, notOpened);
        if (!upgraded.failures.isEmpty())
            text += QStringLiteral("\nL'aggiornamento dell'archivio non è riuscito:\n")
                + upgradeFailures(upgraded);
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return false;
    }

    // The project's own terrace archive beside it; made from the template when missing.
    const QString name = projectfiles::projectName(fileName);
    const QString terraces = projectfiles::companionPath(folder, fileName, ProjectFile::Terraces);
    if (!QFileInfo(terraces).isFile()) {
        QString failed;
        const FileOutcome outcome = projectfiles::copyAll(
            { { platform::ProgramFolder::file(projectfiles::TerraceTemplate), terraces } }, {}, &failed);
        if (outcome != FileOutcome::Done) {
            reportFileFailure(outcome, failed);
            dialogs().msgBox(
                QStringLiteral("Manca l'archivio delle terrazze del progetto e non è stato possibile "
                               "crearlo. %1")
                    .arg(notOpened),
                MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
            return false;
        }
    }
    if (!claimTerraces(terraces, archive, notOpened))
        return false;
    // Its own calculation report, never a namesake's; where none is there, the name it is made under.
    const QString report = projectfiles::companionPath(folder, fileName, ProjectFile::Report);

    offerConversion(archive);
    if (!projectfiles::rememberFolder(folder))
        qWarning("The project folder could not be remembered in zav.cfg");
    setOpenProject(archive, name, terraces, report);
    return true;
}

bool deleteProject(const QString &folder, const QString &fileName)
{
    const QString archive = projectfiles::joinPath(folder, fileName);
    if (fileName.isEmpty() || !QFileInfo(archive).isFile()) {
        reportPathNotFound();
        return false;
    }
    if (engine::VAR_GBL.progetto_corrente
        && projectfiles::isSameFile(archive, *engine::VAR_GBL.progetto_corrente)) {
        dialogs().msgBox(
            QStringLiteral("Il progetto che si vuole eliminare è attualmento in uso. Chiudere il "
                           "progetto e ripetere l'operazione"),
            MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavInformation);
        return false;
    }

    // Companions: the files named after the project that are its own, never the open project's.
    const auto ownCompanions = [&](ProjectFile kind) {
        QStringList own;
        for (const QString &path : projectfiles::companionFiles(folder, fileName, kind)) {
            if (!isOpenProjectFile(path))
                own << path;
        }
        return own;
    };
    const QStringList reports = ownCompanions(ProjectFile::Report);
    const QStringList others = ownCompanions(ProjectFile::Lock) + ownCompanions(ProjectFile::Terraces);

    QString question = QStringLiteral("Sei sicuro di voler eliminare il progetto: ") + archive;
    if (!others.isEmpty())
        question
            += QStringLiteral("\nVerranno eliminati anche: ") + fileNames(others).join(QStringLiteral(", "));
    if (dialogs().msgBox(question, MsgButtons::YesNo, MsgIcon::Information,
            engine::MessageTitle::ZavInformation, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return false;

    const FileOutcome removed = projectfiles::removeFile(archive);
    if (removed != FileOutcome::Done) {
        reportFileFailure(removed, archive);
        return false;
    }

    QString reportQuestion = QStringLiteral("Elimino anche la Relazione del progetto ?");
    if (!reports.isEmpty())
        reportQuestion += u'\n' + fileNames(reports).join(QStringLiteral(", "));
    const bool withReport = dialogs().msgBox(reportQuestion, MsgButtons::YesNo, MsgIcon::Information,
                                engine::MessageTitle::ZavInformation, platform::MsgDefault::Second)
        == MsgResult::Yes;

    QStringList companions = others;
    if (withReport)
        companions = reports + companions;
    for (const QString &path : companions) {
        const FileOutcome outcome = projectfiles::removeFile(path);
        if (outcome != FileOutcome::Done && outcome != FileOutcome::SourceMissing)
            reportFileFailure(outcome, path);
    }
    return true;
}

std::optional<QString> duplicateArchive(const QString &folder, const QString &fileName)
{
    const QString source = projectfiles::joinPath(folder, fileName);
    if (fileName.isEmpty() || !QFileInfo(source).isFile()) {
        reportPathNotFound();
        return std::nullopt;
    }
    const std::optional<QString> answer = dialogs().inputBox(
        QStringLiteral("Inserire il nome del nuovo progetto"), TitleDuplica, QStringLiteral("Nome File"));
    if (!answer || answer->isEmpty())
        return std::nullopt;
    if (!acceptName(*answer))
        return std::nullopt;
    if (!projectfiles::isWritableFolder(folder)) {
        reportNotWritable(folder, QStringLiteral("L'archivio non è stato duplicato."));
        return std::nullopt;
    }

    // The copy keeps the name as typed; its extension is written in lower case.
    const QString targetName = *answer + projectfiles::extension(ProjectFile::Archive).toLower();
    const QStringList existing = projectfiles::filesIgnoringCase(folder, targetName);
    for (const QString &path : existing) {
        if (isOpenProjectFile(path)) {
            reportInUse();
            return std::nullopt;
        }
    }
    if (!existing.isEmpty()) {
        dialogs().msgBox(QStringLiteral("File già esistente."), MsgButtons::Ok, MsgIcon::Critical,
            engine::MessageTitle::Warning);
        return std::nullopt;
    }

    const QString target = projectfiles::joinPath(folder, targetName);
    QString failed;
    const FileOutcome outcome = projectfiles::copyAll({ { source, target } }, {}, &failed);
    if (outcome != FileOutcome::Done) {
        reportFileFailure(outcome, failed);
        return std::nullopt;
    }
    return target;
}

UpgradeOutcome upgrade(const QString &archive, bool silent)
{
    const UpgradeOutcome outcome = upgradeArchive(archive);
    if (silent)
        return outcome;
    const QString shown = QDir::toNativeSeparators(archive);
    switch (outcome.status) {
    case UpgradeOutcome::Status::Upgraded: {
        const QString problems = layoutProblems(archive);
        if (problems.isEmpty())
            dialogs().msgBox(
                QStringLiteral("Archivio Aggiornato"), MsgButtons::Ok, MsgIcon::Information, TitleUpdate);
        else
            dialogs().msgBox(
                QStringLiteral("L'archivio \"%1\" è aggiornato ma non ha la forma di un archivio di "
                               "progetto di Zav:\n%2")
                    .arg(shown, problems),
                MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
        break;
    }
    case UpgradeOutcome::Status::NotUpgraded:
        dialogs().msgBox(QStringLiteral("Impossibile aggiornare l'archivio \"%1\":\n%2")
                             .arg(shown,
                                 outcome.failures.isEmpty() ? engine::databaseFailureText(outcome.error)
                                                            : upgradeFailures(outcome)),
            MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
        break;
    case UpgradeOutcome::Status::NotAnArchive:
        dialogs().msgBox(
            QStringLiteral("Il file \"%1\" non è un archivio di progetto di Zav: manca la tabella ANA_CONDO.")
                .arg(shown),
            MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
        break;
    case UpgradeOutcome::Status::Unreadable:
        dialogs().msgBox(QStringLiteral("Il file \"%1\" non è un archivio di progetto leggibile.\n%2")
                             .arg(shown, engine::databaseFailureText(outcome.error)),
            MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
        break;
    }
    return outcome;
}

bool backup(const QString &folder, const QString &fileName)
{
    const QString archive = projectfiles::joinPath(folder, fileName);
    if (fileName.isEmpty() || !QFileInfo(archive).isFile()) {
        reportPathNotFound();
        return false;
    }
    if (dialogs().msgBox(QStringLiteral("Inserire un dischetto da 1.44 Mb formattato e premere Ok "),
            MsgButtons::OkCancel, MsgIcon::Information, TitleCopia)
        != MsgResult::Ok)
        return false;
    // Let the box leave the screen before the work starts.
    QCoreApplication::processEvents();

    const BackupOutcome outcome = backupArchive(archive, floppyFolder());
    if (outcome.succeeded) {
        QString text = QStringLiteral("Copia dell'archivio eseguita:\n%1")
                           .arg(QDir::toNativeSeparators(outcome.zipPath));
        // The user looks for the zip of the project's name: say why this one has another.
        if (!outcome.passedOverZip.isEmpty()) {
            text += QStringLiteral("\n\nIl file %1 è la copia di sicurezza di un altro progetto (%2) e non è "
                                   "stato sostituito: questa copia si chiama %3.")
                        .arg(QDir::toNativeSeparators(outcome.passedOverZip),
                            QDir::toNativeSeparators(outcome.otherProject),
                            QFileInfo(outcome.zipPath).fileName());
        }
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, TitleCopia);
    } else {
        dialogs().msgBox(
            QStringLiteral("Copia dell'archivio non riuscita:\n%1\n%2").arg(outcome.zipPath, outcome.error),
            MsgButtons::Ok, MsgIcon::Critical, TitleCopia);
    }
    return outcome.succeeded;
}

} // namespace zav::shell::archiveoperations
