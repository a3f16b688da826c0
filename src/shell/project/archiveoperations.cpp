#include "shell/project/archiveoperations.h"

#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "shell/project/backup.h"
#include "shell/project/projectfiles.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace zav::shell::archiveoperations {

namespace {

using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using projectfiles::FileOutcome;

const QString TitleAttenzione = QStringLiteral("!!! Attenzione !!!");
const QString TitleZavAttenzione = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString TitleInformazioni = QStringLiteral("!!! Zav - Informazioni - !!!");
const QString TitleCopia = QStringLiteral("!!! Zav - Copia archivio - !!!");
const QString TitleDuplica = QStringLiteral("!!! Zav - Duplica archivio - !!!");
const QString TitleUpdate = QStringLiteral("Update Archivio");
const QString TitleCartella = QStringLiteral("Scelta cartella nuovo progetto");

const QString PathNotFoundText = QStringLiteral("Impossibile trovare il percorso, o nessun file selezionato");

void reportPathNotFound()
{
    dialogs().msgBox(PathNotFoundText, MsgButtons::Ok, MsgIcon::Information, TitleZavAttenzione);
}

void reportInUse()
{
    dialogs().msgBox(QStringLiteral("Il progetto è attualmente in uso. Chiudere il progetto e ripetere "
                                    "l'operazione"),
        MsgButtons::Ok, MsgIcon::Information, TitleInformazioni);
}

void reportBadName(const QString &name)
{
    dialogs().msgBox(QStringLiteral("\"%1\" non è un nome di progetto valido: il nome non può contenere "
                                    "\"/\" o \"\\\" e non può essere \".\" o \"..\".")
                         .arg(name),
        MsgButtons::Ok, MsgIcon::Critical, TitleZavAttenzione);
}

// The message of a file step that failed.
void reportFileFailure(FileOutcome outcome, const QString &path)
{
    switch (outcome) {
    case FileOutcome::Done:
        return;
    case FileOutcome::PermissionDenied:
        dialogs().msgBox(
            QStringLiteral("File già esistente."), MsgButtons::Ok, MsgIcon::Critical, TitleAttenzione);
        return;
    case FileOutcome::PathNotFound:
        reportPathNotFound();
        return;
    case FileOutcome::SourceMissing:
        dialogs().msgBox(QStringLiteral("File non trovato: %1").arg(path), MsgButtons::Ok, MsgIcon::Critical,
            TitleZavAttenzione);
        return;
    case FileOutcome::Failed:
        dialogs().msgBox(QStringLiteral("Impossibile scrivere il file: %1").arg(path), MsgButtons::Ok,
            MsgIcon::Critical, TitleZavAttenzione);
        return;
    }
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

} // namespace

void setOpenProject(const QString &archive, const QString &name, const QString &terraces)
{
    engine::VAR_GBL.progetto_corrente = archive;
    engine::VAR_GBL.nome_progetto = name;
    engine::VAR_GBL.archivio_terrazze = terraces;
}

std::optional<CreatedProject> createProject(const QString &shownFolder, const QString &typedName)
{
    if (!projectfiles::isPlainFileName(typedName)) {
        reportBadName(typedName);
        return std::nullopt;
    }

    QString folder = shownFolder;
    if (dialogs().msgBox(QStringLiteral("Vuoi utilizzare la cartella di default?"), MsgButtons::YesNo,
            MsgIcon::Information, TitleCartella)
        == MsgResult::Yes) {
        projectfiles::ensureDefaultFolder();
        folder = projectfiles::defaultFolder();
    }

    const QString name = typedName.toUpper();
    const CreatedProject made { projectfiles::joinPath(folder, name + QStringLiteral(".CDB")),
        projectfiles::joinPath(folder, name + QStringLiteral(".RTF")),
        projectfiles::joinPath(folder, name + QStringLiteral(".TER")) };

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
               MsgButtons::YesNo, MsgIcon::Critical, TitleAttenzione)
            != MsgResult::Yes)
        return std::nullopt;

    using platform::ProgramFolder;
    QString failed;
    const FileOutcome outcome = projectfiles::copyAll(
        {
            { ProgramFolder::file(projectfiles::ArchiveTemplate), made.archive },
            { ProgramFolder::file(projectfiles::ReportTemplate), made.report },
            { ProgramFolder::file(projectfiles::TerraceTemplate), made.terraces },
        },
        existing, &failed);
    if (outcome != FileOutcome::Done) {
        reportFileFailure(outcome, failed);
        return std::nullopt;
    }

    setOpenProject(made.archive, projectfiles::baseName(typedName).toUpper(), made.terraces);
    return made;
}

bool openProject(const QString &folder, const QString &fileName)
{
    const QString archive = projectfiles::joinPath(folder, fileName);
    const UpgradeOutcome upgraded = upgradeArchive(archive);
    if (!upgraded.isArchive()) {
        dialogs().msgBox(
            QStringLiteral("Il file selezionato non è un archivio di progetto leggibile:\n%1").arg(archive),
            MsgButtons::Ok, MsgIcon::Critical, TitleZavAttenzione);
        return false;
    }
    if (!upgraded.succeeded()) {
        dialogs().msgBox(QStringLiteral("Impossibile aggiornare l'archivio:\n%1").arg(archive),
            MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
    }

    projectfiles::rememberFolder(folder);
    const QString name = projectfiles::baseName(fileName);

    // The terrace archive beside the project, in whatever case; made from the template when missing.
    QString terraces;
    const QStringList found = projectfiles::filesIgnoringCase(folder, name + QStringLiteral(".TER"));
    if (!found.isEmpty()) {
        terraces = found.first();
    } else {
        projectfiles::ensureDefaultFolder();
        const QString target = projectfiles::joinPath(folder, (name + QStringLiteral(".TER")).toUpper());
        QString failed;
        const FileOutcome outcome = projectfiles::copyAll(
            { { platform::ProgramFolder::file(projectfiles::TerraceTemplate), target } }, {}, &failed);
        if (outcome == FileOutcome::Done)
            terraces = target;
        else
            reportFileFailure(outcome, failed);
    }

    setOpenProject(archive, name, terraces);
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
            MsgButtons::Ok, MsgIcon::Information, TitleInformazioni);
        return false;
    }

    // Companions: the files named after the archive's name less its last extension.
    const QString stem = projectfiles::stem(fileName);
    const QStringList reports = projectfiles::filesIgnoringCase(folder, stem + QStringLiteral(".RTF"));
    const QStringList others = projectfiles::filesIgnoringCase(folder, stem + QStringLiteral(".LDB"))
        + projectfiles::filesIgnoringCase(folder, stem + QStringLiteral(".TER"));

    QString question = QStringLiteral("Sei sicuro di voler eliminare il progetto: ") + archive;
    if (!others.isEmpty())
        question
            += QStringLiteral("\nVerranno eliminati anche: ") + fileNames(others).join(QStringLiteral(", "));
    if (dialogs().msgBox(question, MsgButtons::YesNo, MsgIcon::Information, TitleInformazioni)
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
    const bool withReport
        = dialogs().msgBox(reportQuestion, MsgButtons::YesNo, MsgIcon::Information, TitleInformazioni)
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
    if (!projectfiles::isPlainFileName(*answer)) {
        reportBadName(*answer);
        return std::nullopt;
    }

    const QString targetName = *answer + QStringLiteral(".cdb");
    const QStringList existing = projectfiles::filesIgnoringCase(folder, targetName);
    for (const QString &path : existing) {
        if (isOpenProjectFile(path)) {
            reportInUse();
            return std::nullopt;
        }
    }
    if (!existing.isEmpty()) {
        dialogs().msgBox(
            QStringLiteral("File già esistente."), MsgButtons::Ok, MsgIcon::Critical, TitleAttenzione);
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
    if (outcome.succeeded()) {
        dialogs().msgBox(
            QStringLiteral("Archivio Aggiornato"), MsgButtons::Ok, MsgIcon::Information, TitleUpdate);
    } else if (outcome.status == UpgradeOutcome::Status::NotUpgraded) {
        dialogs().msgBox(QStringLiteral("Impossibile aggiornare l'archivio:\n%1").arg(archive),
            MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
    } else {
        dialogs().msgBox(
            QStringLiteral("Il file selezionato non è un archivio di progetto leggibile:\n%1").arg(archive),
            MsgButtons::Ok, MsgIcon::Critical, TitleUpdate);
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
        dialogs().msgBox(QStringLiteral("Copia dell'archivio eseguita:\n%1").arg(outcome.zipPath),
            MsgButtons::Ok, MsgIcon::Information, TitleCopia);
    } else {
        dialogs().msgBox(
            QStringLiteral("Copia dell'archivio non riuscita:\n%1\n%2").arg(outcome.zipPath, outcome.error),
            MsgButtons::Ok, MsgIcon::Critical, TitleCopia);
    }
    return outcome.succeeded;
}

} // namespace zav::shell::archiveoperations
