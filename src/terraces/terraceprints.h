#pragma once

#include "platform/report/reportcall.h"
#include "platform/report/reportcontrol.h"
#include "terraces/terraceunit.h"

#include <QList>
#include <QString>

namespace zav::platform {
class DataSource;
}

namespace zav::terraces {

/** @brief What the print frame of the terrace form holds when "Stampa" is clicked. */
struct TerracePrintChoice
{
    bool video = false; ///< "Video"
    bool printer = false; ///< "Stampante"
    bool file = false; ///< "File RTF"
    bool thousandths = false; ///< "Millesimi Terrazze"
    bool rooms = false; ///< "Tab. Superfici"
    bool all = false; ///< "Tutti"
};

/**
 * @brief The print commands of the terrace form: the thousandths of a terrace table ("MIL_TER.GST")
 * and the rooms of its units, one unit per report ("T_SUP_TER.GST"), to the preview window, the
 * printer or RTF files in "ARCHIVI".
 *
 * The report control and the export flag belong to the form and keep their values from one click
 * to the next. Every report reads the terrace archive through slot 5. Values from the archives
 * enter the selection formulas only through the formula builder, and the export names only after
 * the characters a file name cannot hold have become "_". A report that cannot run or be written
 * is said to the user; the "Tutti" run says all of its failures in one message at its end. The
 * files a "Stampa" exported, one or many, are named in one message at its end.
 */
class TerracePrints
{
public:
    static inline const QString PreviewTitle = QStringLiteral("Z.A.V. - Anteprima di Stampa - Terrazze");
    static inline const QString ThousandthsDefinition = QStringLiteral("MIL_TER.GST");
    static inline const QString RoomsDefinition = QStringLiteral("T_SUP_TER.GST");
    /** @brief The slot of the terrace archive in both definitions. */
    static constexpr int TerraceSlot = 5;

    TerracePrints();

    /**
     * @brief "Stampa": applies the chosen destination, then runs the ticked reports for the terrace
     * table of this code: the thousandths, then the rooms of the list's current unit or, with
     * "Tutti", of every unit of the list, in its order. `units` is the frame's unit list; "Tutti"
     * re-reads it and leaves it past its last row.
     */
    void Command2_Click(const TerracePrintChoice &choice, const QString &code, platform::DataSource &units);

    /** @brief Empties the database slots 0 to 24 of the report control. */
    void azzera_datafiles();
    /** @brief The thousandths of the terrace table of this code. */
    void STAMPA_MIL_TER(const QString &code);
    /** @brief The rooms of the list's current unit in the table of this code; with no current
     * unit the user is asked to choose one and nothing runs. */
    void STAMPA_SUP_TER(const QString &code, const platform::DataSource &units);
    /** @brief The rooms of every unit of the list, one report each; the list is read again first. */
    void STAMPA_SUP_TER_TUTTI(const QString &code, platform::DataSource &units);

    /** @brief The selection of a table's thousandths. */
    static QString thousandthsFormula(const QString &code);
    /** @brief The selection of a unit's rooms in a table: code, owner, building, stair and unit
     * number. */
    static QString roomsFormula(const QString &code, const TerraceUnit &unit);

    /** @brief Export name of the thousandths: the project's first three characters + "MILTER.RTF". */
    static QString thousandthsFileName(const QString &project);
    /** @brief Export name of one unit's rooms: the project's first three characters, then the
     * building, stair, floor code and unit number. */
    static QString unitFileName(const QString &project, const TerraceUnit &unit);
    /** @brief Export name of a unit's rooms in "Tutti": the owner's first nine characters, then the
     * building, stair and unit number. */
    static QString everyUnitFileName(const TerraceUnit &unit);
    /**
     * @brief How a building, floor code or unit number enters an export name: the number the text
     * starts with (0 when none), without decimals. "T" gives "0", "1S" gives "1", "S1" gives "0".
     */
    static QString numberInName(const QVariant &value);

    /** @brief The form's report control. */
    platform::ReportControl CrystalReport1;
    /** @brief "ON" while the file destination is in force, "OFF" for the window and the printer;
     * empty before the first click. */
    QString esporta_rtf;

private:
    /** Sets the report control for one unit's rooms and runs it; the reason when it fails. */
    platform::ReportResult runRooms(const QString &code, const TerraceUnit &unit, const QString &exportName);

    /** The files the running "Stampa" has exported; none outside it. */
    platform::ExportSummary *m_exported = nullptr;
};

} // namespace zav::terraces
