#include "printing/documents.h"

#include "platform/programfolder.h"
#include "platform/system.h"

#include <QFileInfo>
#include <QtDebug>

namespace zav::printing {

namespace {

Documents::Services &installed()
{
    static Documents::Services services;
    return services;
}

const QString MissingEditor
    = QStringLiteral("Errore 35: WordPad.exe non trovato. Puoi effettuare la modifica e la stampa del file ");

} // namespace

void Documents::setServices(Services services)
{
    installed() = std::move(services);
}

QString Documents::calculationReport(const QString &archive)
{
    if (archive.isEmpty())
        return {};
    // The project's name is the archive's name up to its last dot: a dot in a folder's name or
    // in a long path takes nothing away from it.
    const QFileInfo info(archive);
    return platform::findCaseInsensitive(info.path(), info.completeBaseName() + QStringLiteral(".RTF"));
}

QString Documents::referenceDocument(const QString &name)
{
    return platform::ProgramFolder::file(name);
}

QString Documents::circular()
{
    return platform::ProgramFolder::file(QStringLiteral("CIRCxMILLESIMI.pdf"));
}

Documents::Outcome Documents::openInEditor(const QString &document)
{
    const std::optional<QString> recorded
        = installed().editorProgram ? installed().editorProgram() : std::nullopt;
    if (!recorded)
        return Outcome::NoEditor;
    if (recorded->trimmed().isEmpty())
        return Outcome::Failed;
    const QString program = platform::system().findProgram(*recorded);
    if (program.isEmpty())
        return Outcome::NoEditor;
    if (!platform::system().startProgram(program, { document })) {
        qWarning() << "the word processor" << program << "did not start on" << document;
        return Outcome::Failed;
    }
    return Outcome::Started;
}

bool Documents::openAssociated(const QString &document)
{
    return installed().openAssociated && installed().openAssociated(document);
}

QString Documents::missingEditorForReport(const QString &projectName)
{
    return MissingEditor + projectName
        + QStringLiteral(".REL con un altro Word Processor settando il percorso nel Menù Utility di Zav.");
}

QString Documents::missingEditorForDocument(const QString &projectName)
{
    return MissingEditor + projectName + QStringLiteral(".REL con un altro Word Processor");
}

} // namespace zav::printing
