#include "platform/report/reportcall.h"

#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBoundaryFinder>

namespace zav::platform {

namespace {

const QString TitleAttention = QStringLiteral("!!! Attenzione !!!");

} // namespace

void ReportCall::destinationStep(
    ReportControl &control, bool video, bool printer, bool file, int exportType, QString &exportFlag)
{
    control.clearDataFiles();
    if (video) {
        control.Destination = ReportDestination::Window;
        exportFlag = ExportOff;
    }
    control.clearDataFiles();
    if (printer) {
        dialogs().msgBox(QStringLiteral("Accendi la Stampante e premi 'Ok' quando pronto"), MsgButtons::Ok,
            MsgIcon::Exclamation, QStringLiteral("Zav -Stampa Millesimi-"));
        control.Destination = ReportDestination::Printer;
        exportFlag = ExportOff;
    }
    control.clearDataFiles();
    if (file) {
        control.Destination = ReportDestination::File;
        control.PrintFileType = exportType;
        exportFlag = ExportOn;
    }
}

bool ReportCall::reportStep(ReportControl &control, const QString &exportFlag, const Report &report)
{
    const bool exporting = exportFlag == ExportOn;
    if (exporting)
        control.PrintFileName = QDir(exportFolder()).filePath(report.exportName);
    for (int slot : report.dataSlots)
        control.DataFiles.at(slot) = report.database;
    for (int i = 0; i < report.sortFields.size() && i < ReportProperties::SortFieldCount; ++i)
        control.SortFields.at(i) = report.sortFields.at(i);
    control.SelectionFormula = report.formula;
    control.ReportFileName = definitionPath(report.fileName);

    const ReportResult result = control.setAction(1);
    if (!result.ok) {
        const QString text = control.Destination == ReportDestination::File
            ? QStringLiteral("Il file %1 non è stato creato: %2.").arg(report.exportName, result.message)
            : QStringLiteral("Stampa non eseguita: %1.").arg(result.message);
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, TitleAttention);
        return false;
    }
    if (!exporting || control.Destination != ReportDestination::File)
        return true;
    // An export named apart is always told: the user looks for the name asked for.
    const QString apart = namedApartText(report.exportName, result);
    if (report.announce || !apart.isEmpty()) {
        const QString written
            = result.exportFile.isEmpty() ? report.exportName : QFileInfo(result.exportFile).fileName();
        QString text = QStringLiteral("Il file è stato chiamato: %1 ed è stato inserito nella directory %2")
                           .arg(written, QDir::toNativeSeparators(exportFolder()));
        if (!apart.isEmpty())
            text = apart + QStringLiteral("\n\n") + text;
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Esportazione RTF"));
    }
    return true;
}

QString ReportCall::namedApartText(const QString &asked, const ReportResult &result)
{
    if (result.exportOtherOwner.isEmpty())
        return QString();
    return QStringLiteral("Il file %1 è l'esportazione di un altro progetto (%2) e non è stato sostituito: "
                          "questa esportazione ha un nome a parte.")
        .arg(asked, QDir::toNativeSeparators(result.exportOtherOwner));
}

QString ReportCall::exportFolder()
{
    return ProgramFolder::file(QStringLiteral("ARCHIVI"));
}

QString ReportCall::definitionPath(const QString &fileName)
{
    return findCaseInsensitive(ProgramFolder::file(QStringLiteral("STAMPE")), fileName);
}

QString ReportCall::exportPrefix(const QString &projectName)
{
    constexpr int Characters = 3;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, projectName);
    qsizetype end = 0;
    for (int i = 0; i < Characters && end >= 0 && end < projectName.size(); ++i) {
        graphemes.setPosition(end);
        end = graphemes.toNextBoundary();
    }
    return safeFileName(projectName.left(end < 0 ? projectName.size() : end));
}

QString ReportCall::safeFileName(const QString &text)
{
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    QString result = text;
    for (QChar &c : result) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || unsafe.contains(c))
            c = u'_';
    }
    return result;
}

} // namespace zav::platform
