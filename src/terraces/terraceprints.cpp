#include "terraces/terraceprints.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/report/exportfiles.h"
#include "platform/report/reportcall.h"
#include "platform/report/selectionformula.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"
#include "terraces/terraceoperations.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QSet>

#include <cmath>
#include <stdexcept>

namespace zav::terraces {

using engine::VAR_GBL;
using platform::dialogs;
using platform::FormulaBuilder;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::ReportCall;

namespace {

const QString ThousandthsTable = QStringLiteral("MILLESIMI_TER");
const QString RoomsTable = QStringLiteral("SUP_COEFF_VOL");

// A message of a "Tutti" run names at most this many units or files; the rest are counted.
constexpr int ListedFailures = 10;

/** A building or unit number as the formula writes it bare: "1", "2.5"; empty when it is none. */
QString bareNumber(const QVariant &value)
{
    return terracearchive::numberKey(value).toString();
}

} // namespace

TerracePrints::TerracePrints()
{
    CrystalReport1.previewTitle = PreviewTitle;
}

void TerracePrints::azzera_datafiles()
{
    CrystalReport1.clearDataFiles();
}

void TerracePrints::Command2_Click(
    const TerracePrintChoice &choice, const QString &code, platform::DataSource &units)
{
    ReportCall::destinationStep(CrystalReport1, choice.video, choice.printer, choice.file,
        platform::RtfFileTypeTerraces, esporta_rtf);
    CrystalReport1.ExportOwner = VAR_GBL.progetto_corrente.value_or(QString());
    azzera_datafiles();
    // Without a table the reports would select on an empty code and print nothing of use.
    if ((choice.thousandths || choice.rooms) && code.isEmpty()) {
        dialogs().msgBox(QStringLiteral("Nessuna Tabella terrazze selezionata."), MsgButtons::Ok,
            MsgIcon::Information, engine::MessageTitle::ZavWarning);
        return;
    }
    // The files written, one or those of a "Tutti" run with the thousandths printed along, are told
    // in one message at the end.
    platform::ExportSummary exported;
    {
        const QScopedValueRollback<platform::ExportSummary *> during(m_exported, &exported);
        if (choice.thousandths)
            STAMPA_MIL_TER(code);
        if (choice.rooms && !choice.all)
            STAMPA_SUP_TER(code, units);
        if (choice.rooms && choice.all)
            STAMPA_SUP_TER_TUTTI(code, units);
    }
    exported.tell();
}

void TerracePrints::STAMPA_MIL_TER(const QString &code)
{
    ReportCall::Report step;
    step.exportName = thousandthsFileName(VAR_GBL.nome_progetto);
    step.dataSlots = { TerraceSlot };
    step.database = VAR_GBL.archivio_terrazze;
    step.sortFields = { QStringLiteral("+{MILLESIMI_TER.PALAZ}"), QStringLiteral("+{MILLESIMI_TER.SCALA}"),
        QStringLiteral("+{MILLESIMI_TER.INTERNO}") };
    step.formula = thousandthsFormula(code);
    step.fileName = ThousandthsDefinition;
    step.summary = m_exported;
    ReportCall::reportStep(CrystalReport1, esporta_rtf, step);
}

void TerracePrints::STAMPA_SUP_TER(const QString &code, const platform::DataSource &units)
{
    if (units.noCurrentRow()) {
        dialogs().msgBox(QStringLiteral("Nessun condomino scelto nell'elenco dei condomini: sceglierne uno "
                                        "per stampare la sua tabella delle superfici."),
            MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavWarning);
        return;
    }
    const TerraceUnit unit = TerraceUnit::fromListRow(units, units.currentRow());
    // The rooms' report has no sort of its own: those left by the thousandths name another table.
    CrystalReport1.SortFields = {};
    ReportCall::Report step;
    step.exportName = unitFileName(VAR_GBL.nome_progetto, unit);
    step.dataSlots = { TerraceSlot };
    step.database = VAR_GBL.archivio_terrazze;
    step.formula = roomsFormula(code, unit);
    step.fileName = RoomsDefinition;
    step.summary = m_exported;
    ReportCall::reportStep(CrystalReport1, esporta_rtf, step);
}

void TerracePrints::STAMPA_SUP_TER_TUTTI(const QString &code, platform::DataSource &units)
{
    try {
        units.refresh();
    } catch (const platform::DbError &error) {
        engine::reportDatabaseError(error);
        return;
    }
    const bool exporting = esporta_rtf == ReportCall::ExportOn;
    // The files written join those of the "Stampa" running; on its own the run tells them itself.
    platform::ExportSummary ownSummary;
    platform::ExportSummary &exported = m_exported ? *m_exported : ownSummary;
    // The names this run has written, case-folded: none of them is written again.
    QSet<QString> written;
    QStringList failures;
    int runs = 0;
    // The units' reports share one reading of the definition and of the archive, and their files
    // reach the disk together at the end.
    platform::ReportBatch batch;
    for (units.moveFirst(); !units.noCurrentRow(); units.moveNext()) {
        const TerraceUnit unit = TerraceUnit::fromListRow(units, units.currentRow());
        // Two owners alike in their first nine characters, in the same building, stair and unit
        // number, would share a name: the later file takes a number instead of replacing the other.
        // Neither is another project's file of the name replaced: the unit's file is named apart.
        const QString asked = everyUnitFileName(unit);
        QString name = asked;
        QString otherOwner;
        if (exporting) {
            const platform::ExportFiles::Target target = platform::ExportFiles::target(
                QDir(ReportCall::exportFolder()).filePath(asked), CrystalReport1.ExportOwner, written);
            name = QFileInfo(target.path).fileName();
            otherOwner = target.otherOwner;
            written.insert(name.toCaseFolded());
        }
        ++runs;
        const platform::ReportResult result = runRooms(code, unit, name);
        if (!result.ok)
            failures.append(QStringLiteral("%1: %2").arg(
                exporting ? name : TerraceOperations::describe(unit), result.message));
        else if (exporting)
            exported.add(name, asked, otherOwner);
    }
    if (const platform::ReportResult synced = batch.finish(); !synced.ok)
        failures.append(synced.message);
    if (!m_exported)
        ownSummary.tell();
    if (failures.isEmpty())
        return;

    const qsizetype failed = failures.size();
    const QStringList lines = platform::messageLines(failures, ListedFailures, QStringLiteral("altre"));
    const QString head = exporting
        ? QStringLiteral("Tabelle delle superfici non create: %1 su %2.").arg(failed).arg(runs)
        : QStringLiteral("Tabelle delle superfici non stampate: %1 su %2.").arg(failed).arg(runs);
    dialogs().msgBox(head + QStringLiteral("\n- ") + lines.join(QStringLiteral("\n- ")), MsgButtons::Ok,
        MsgIcon::Critical, engine::MessageTitle::Warning);
}

platform::ReportResult TerracePrints::runRooms(
    const QString &code, const TerraceUnit &unit, const QString &exportName)
{
    if (esporta_rtf == ReportCall::ExportOn)
        CrystalReport1.PrintFileName = QDir(ReportCall::exportFolder()).filePath(exportName);
    CrystalReport1.DataFiles.at(TerraceSlot) = VAR_GBL.archivio_terrazze;
    CrystalReport1.SortFields = {};
    CrystalReport1.SelectionFormula = roomsFormula(code, unit);
    CrystalReport1.ReportFileName = ReportCall::definitionPath(RoomsDefinition);
    return CrystalReport1.setAction(1);
}

QString TerracePrints::thousandthsFormula(const QString &code)
{
    return FormulaBuilder()
        .text(ThousandthsTable, QStringLiteral("CODICE"), code, FormulaBuilder::Quote::Double)
        .toString();
}

QString TerracePrints::roomsFormula(const QString &code, const TerraceUnit &unit)
{
    // The building and stair belong to the key: an owner with unit 5 in two buildings has two units.
    return FormulaBuilder()
        .text(RoomsTable, QStringLiteral("CODICE"), code)
        .text(RoomsTable, QStringLiteral("NOME_CONDOMINO"), unit.owner, FormulaBuilder::Quote::Double)
        .number(RoomsTable, QStringLiteral("PALAZ"), bareNumber(unit.building))
        .text(RoomsTable, QStringLiteral("SCALA"), unit.stair)
        .number(RoomsTable, QStringLiteral("INTERNO"), bareNumber(unit.interno))
        .toString();
}

QString TerracePrints::thousandthsFileName(const QString &project)
{
    return ReportCall::exportPrefix(project) + QStringLiteral("MILTER.RTF");
}

QString TerracePrints::unitFileName(const QString &project, const TerraceUnit &unit)
{
    return ReportCall::exportPrefix(project)
        + ReportCall::safeFileName(numberInName(unit.building) + unit.stair + numberInName(unit.floorCode)
            + numberInName(unit.interno))
        + QStringLiteral(".RTF");
}

QString TerracePrints::everyUnitFileName(const TerraceUnit &unit)
{
    return ReportCall::safeFileName(
               unit.owner.left(9) + numberInName(unit.building) + unit.stair + numberInName(unit.interno))
        + QStringLiteral(".RTF");
}

QString TerracePrints::numberInName(const QVariant &value)
{
    double number = 0.0;
    if (platform::vb::isNumberValue(value)) {
        number = value.toDouble();
    } else {
        try {
            number = platform::vb::Val(value.toString());
        } catch (const std::overflow_error &) {
            number = 0.0;
        }
    }
    if (!std::isfinite(number))
        return QStringLiteral("0");
    const double whole = std::round(number);
    return QString::number(whole == 0.0 ? 0.0 : whole, 'f', 0);
}

} // namespace zav::terraces
