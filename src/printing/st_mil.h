#pragma once

#include "platform/report/reportcall.h"
#include "platform/report/reportcontrol.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zav::controls {
class XPButton;
}
namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::printing {

/**
 * @brief "Stampa Millesimi / Dati Condomini": the print form of the open project.
 *
 * The user ticks what to print (the six thousandths tables, a user table, the unit register, the
 * room surfaces of one unit or of every unit of a building), chooses the building and the stair
 * where a report is cut by them, picks "Video", "Stampante" or "File RTF" and presses "Stampa".
 * The dispatcher sets the destination once and runs each ticked report in a fixed order through
 * the form's report control; on the printer the reports cut by building (and stair) run once for
 * every building (and stair) of the project.
 */
class ST_MIL : public QWidget
{
    Q_OBJECT

public:
    explicit ST_MIL(QWidget *parent = nullptr);
    ~ST_MIL() override;

    // --- Event handlers -----------------------------------------------------------------------
    /** @brief Fills both building boxes from the project and binds the two lists to it. */
    void Form_Load();
    /** @brief A building chosen in the building box: the stair box gets its stairs. */
    void Combo1_Click();
    /** @brief A building chosen for the units grid: the grid shows its units. */
    void Combo3_Click();
    /** @brief The user-table frame is enabled while "Millesimi Tabelle Varie" is ticked. */
    void Check7_Click();
    void Check8_Click();
    /** @brief "Video" unticks "Tutti"; "Stampante" and "File RTF" tick it. */
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    /** @brief The user-table list's current row changed: its name is the chosen table. */
    void TDBGrid1_RowColChange();
    /** @brief "Seleziona Tab.": the list's current table becomes the chosen one. */
    void Command6_Click();
    /** @brief "Seleziona Tutti": ticks the six thousandths tables. */
    void Command1_Click();
    /** @brief "Annulla": unticks the choices but "Anagrafica" and "Tutti". */
    void Command4_Click();
    /** @brief "Esci": closes the form. */
    void Command5_Click();
    /** @brief "Stampa": the print dispatcher. The files it exports are told in one message at its
     * end. */
    void Command2_Click();
    /** @brief "Relazione di Calcolo": the project's calculation report in the word processor. */
    void Command3_Click();
    /** @brief "Dispos. Cod. Civile", "Maggior. Assemblari", "Schema Rip. Spese": the reference
     * documents of the program folder in the word processor. */
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    /** @brief "Circolare 26/03/66": the circular with the program the desktop associates. */
    void XPButton1_Click();

    // --- Report procedures --------------------------------------------------------------------
    /** @brief Empties the report control's 25 database slots. */
    void azzera_datafiles();
    void ST_MIL_GLOB();
    void ST_MIL_PAL();
    void ST_MIL_SCL();
    void ST_MIL_ASC();
    void ST_MIL_RISC();
    void ST_MIL_PORT();
    /** @brief The unit register of the chosen building and stair. */
    void ST_COD_PIANI();
    /** @brief The user table named in `Label1`, through the print buffer `TEMP_VARIE`. */
    void ST_MIL_VARI();
    /** @brief The room surfaces of the units grid's current unit, when "Tab. Superfici" is ticked. */
    void ST_TAB_SUP();
    /** @brief The room surfaces of every unit of the units grid, one report each. */
    void ST_TAB_SUP_TUTTI();

    /** @brief "ON" while the last print command exports to RTF, "OFF" after "Video" or "Stampante". */
    QString esporta_rtf;

    // --- Controls -----------------------------------------------------------------------------
    platform::ReportControl CrystalReport1;

    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;

    QGroupBox *Frame1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QCheckBox *Check5 = nullptr;
    QCheckBox *Check6 = nullptr;
    QCheckBox *Check7 = nullptr;
    QCheckBox *Check9 = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label7 = nullptr;
    QComboBox *Combo2 = nullptr;
    controls::XPButton *Command3 = nullptr;
    controls::XPButton *Command7 = nullptr;
    controls::XPButton *Command8 = nullptr;
    controls::XPButton *Command9 = nullptr;
    controls::XPButton *XPButton1 = nullptr;

    QGroupBox *Frame2 = nullptr;
    platform::DataSource *Data1 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    QPushButton *Command6 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *List1 = nullptr;

    QGroupBox *Frame3 = nullptr;
    QCheckBox *Check8 = nullptr;
    QLabel *Label71 = nullptr;
    QComboBox *Combo3 = nullptr;
    QCheckBox *Check10 = nullptr;
    QLabel *Label2 = nullptr;
    platform::DataSource *Data4 = nullptr;
    platform::DataGrid *TDBGrid14 = nullptr;

    /** @brief Selects an entry of the building box as a click does (its handler runs). */
    void selectBuilding(int index);
    /** @brief Selects an entry of the stair box. */
    void selectStair(int index);

private:
    enum class Cut { None, Building, BuildingStair };
    struct Thousandths;
    static const Thousandths Glob, Pal, Scl, Asc, Risc, Port, CodPiani;

    void buildLayout();
    /** The ticked reports, in order, as "Stampa" runs them. */
    void printTicked();
    void runThousandths(const Thousandths &report);
    bool thousandthsStep(const Thousandths &report, const QString &building, const QString &stair);
    /** The three checks of the window destination before a report cut by building and stair;
     * false (after its message) when the command must end. */
    bool buildingAndStairChosen();
    /** One unit's room surface report; false when its run failed (its message shown). */
    bool unitStep(int row);
    void showUnits(const QString &building);
    QString exportPrefix() const;
    /** One reference document of the program folder in the word processor. */
    void openReferenceDocument(const QString &name);

    /** The files the running "Stampa" has exported; none outside it. */
    platform::ExportSummary *m_exported = nullptr;
};

} // namespace zav::printing
