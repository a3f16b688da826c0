#include "printing/tableprints.h"

#include "platform/dialogs.h"
#include "platform/report/reportcall.h"

#include <QtDebug>

namespace zav::printing {

using platform::ReportCall;

namespace {

platform::ReportControl previewing()
{
    platform::ReportControl control;
    control.previewTitle = QStringLiteral("Zav - Anteprima di stampa -");
    return control;
}

} // namespace

const QList<TablePrints::CoefficientReport> &TablePrints::coefficientReports()
{
    static const QList<CoefficientReport> reports = {
        { QStringLiteral("Tabella Piano"), QStringLiteral("TAB_COEF"), QStringLiteral("COEFF.GST"), 10 },
        { QStringLiteral("Tabella Orientamento"), QStringLiteral("TAB_COEF2"), QStringLiteral("COEFF2.GST"),
            11 },
        { QStringLiteral("Tabella Esposizione"), QStringLiteral("TAB_COEF3"), QStringLiteral("COEFF3.GST"),
            12 },
        { QStringLiteral("Tabella Luminosità"), QStringLiteral("TAB_COEF4"), QStringLiteral("COEFF4.GST"),
            13 },
        { QStringLiteral("Tabella Utilizzazione"), QStringLiteral("TAB_COEF5"), QStringLiteral("COEFF5.GST"),
            14 },
        { QStringLiteral("Tabella Globale"), QStringLiteral("TAB_COEF6"), QStringLiteral("COEFF6.GST"), 15 },
        { QStringLiteral("Tabella Destinazione"), QStringLiteral("TAB_COEF7"), QStringLiteral("COEFF7.GST"),
            16 },
        { QStringLiteral("Tabella Utente 1"), QStringLiteral("TAB_COEF8"), QStringLiteral("COEFF8.GST"), 17 },
    };
    return reports;
}

std::optional<TablePrints::CoefficientReport> TablePrints::coefficientReport(const QString &title)
{
    for (const CoefficientReport &report : coefficientReports()) {
        if (report.title == title)
            return report;
    }
    return std::nullopt;
}

platform::ReportControl &TablePrints::coefficientControl()
{
    static platform::ReportControl control = previewing();
    return control;
}

platform::ReportControl &TablePrints::windowControl()
{
    static platform::ReportControl control = previewing();
    return control;
}

bool TablePrints::coefficientTable(const QString &title, const QString &archive)
{
    const std::optional<CoefficientReport> report = coefficientReport(title);
    if (!report) {
        qWarning() << "no report for the coefficient table" << title;
        return false;
    }
    platform::ReportControl &control = coefficientControl();
    control.clearDataFiles();
    control.DataFiles.at(report->slot) = archive;
    control.ReportFileName = ReportCall::definitionPath(report->fileName);
    const platform::ReportResult result = control.setAction(1);
    if (!result.ok) {
        platform::dialogs().msgBox(QStringLiteral("Stampa non eseguita: %1.").arg(result.message),
            platform::MsgButtons::Ok, platform::MsgIcon::Critical, QStringLiteral("!!! Attenzione !!!"));
        return false;
    }
    return true;
}

void TablePrints::windowTable(const QString &archive)
{
    platform::ReportControl &control = windowControl();
    control.DataFiles.at(WindowSlot) = archive;
    control.ReportFileName = ReportCall::definitionPath(WindowFileName);
    const platform::ReportResult result = control.setAction(1);
    if (!result.ok)
        qWarning() << "the window table was not printed:" << result.message;
}

} // namespace zav::printing
