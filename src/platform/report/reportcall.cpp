#include "platform/report/reportcall.h"

#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBoundaryFinder>

namespace zav::platform {

namespace {

const QString TitleAttention = QStringLiteral("!!! Attenzione !!!");
const QString TitleExport = QStringLiteral("Esportazione RTF");

// A message names at most this many files or notes; the rest are counted.
constexpr int ListedLines = 12;

// The start of the note on an export named apart: whose file has the name asked for.
QString otherProjectsFile(const QString &asked, const QString &otherOwner)
{
    return QStringLiteral("Il file %1 è l'esportazione di un altro progetto (%2) e non è stato sostituito: ")
        .arg(asked, QDir::toNativeSeparators(otherOwner));
}

QString writtenText(const QString &name)
{
    return QStringLiteral("Il file è stato chiamato: %1 ed è stato inserito nella directory %2")
        .arg(name, QDir::toNativeSeparators(ReportCall::exportFolder()));
}

} // namespace

QStringList messageLines(const QStringList &lines, int shown, const QString &others)
{
    QStringList first = lines.mid(0, shown);
    if (lines.size() > shown)
        first.append(QStringLiteral("... e %1 %2").arg(others).arg(lines.size() - shown));
    return first;
}

void ExportSummary::add(const QString &writtenName, const QString &asked, const QString &otherOwner)
{
    m_files.append({ writtenName, asked, otherOwner });
}

QString ExportSummary::text() const
{
    if (m_files.isEmpty())
        return QString();
    if (m_files.size() == 1) {
        const File &file = m_files.first();
        const QString apart = ReportCall::namedApartText(file.asked, file.otherOwner);
        return (apart.isEmpty() ? QString() : apart + QStringLiteral("\n\n")) + writtenText(file.written);
    }
    QStringList names;
    QStringList apart;
    for (const File &file : m_files) {
        names.append(file.written);
        if (!file.otherOwner.isEmpty())
            apart.append(otherProjectsFile(file.asked, file.otherOwner)
                + QStringLiteral("questa esportazione si chiama %1.").arg(file.written));
    }
    const QString text = QStringLiteral("Sono stati scritti %1 file nella directory %2:\n- %3")
                             .arg(m_files.size())
                             .arg(QDir::toNativeSeparators(ReportCall::exportFolder()),
                                 messageLines(names, ListedLines).join(QStringLiteral("\n- ")));
    return apart.isEmpty()
        ? text
        : messageLines(apart, ListedLines).join(QStringLiteral("\n")) + QStringLiteral("\n\n") + text;
}

void ExportSummary::tell() const
{
    if (!isEmpty())
        dialogs().msgBox(text(), MsgButtons::Ok, MsgIcon::Information, TitleExport);
}

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
    const QString written
        = result.exportFile.isEmpty() ? report.exportName : QFileInfo(result.exportFile).fileName();
    if (report.summary) {
        report.summary->add(written, report.exportName, result.exportOtherOwner);
        return true;
    }
    if (report.announce || !result.exportOtherOwner.isEmpty()) {
        ExportSummary single;
        single.add(written, report.exportName, result.exportOtherOwner);
        single.tell();
    }
    return true;
}

QString ReportCall::namedApartText(const QString &asked, const ReportResult &result)
{
    return namedApartText(asked, result.exportOtherOwner);
}

QString ReportCall::namedApartText(const QString &asked, const QString &otherOwner)
{
    if (otherOwner.isEmpty())
        return QString();
    return otherProjectsFile(asked, otherOwner) + QStringLiteral("questa esportazione ha un nome a parte.");
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
