#pragma once

#include "expenses/thousandthscopies.h"
#include "platform/report/reportcontrol.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QFrame;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::expenses {

/**
 * @brief "Ripartizione delle Spese": the expense apportionment of the open project.
 *
 * The expense grid shows the unit rows of the expense archive ("NAME.TSP" in "ARCHIVI") with
 * their six thousandths, six shares and total; the expense frame, shown over it by "Tabella
 * Spese", holds the four amount grids (general, building, stair, lift). "Crea Tabella" makes the
 * archive afresh from the project, "Calcola Spese" apportions the amounts, "Elimina Tutto" empties
 * it, "Stampa" previews the expense grid or the whole archive. Every edit in a grid is written at
 * once; nothing is saved on closing.
 *
 * The form binds the archive named after the project when it loads, or the one "Crea Tabella"
 * made; it keeps no other state than its bindings and the frame's visibility.
 */
class frm_ripart_spese : public QWidget, public ThousandthsCopies<frm_ripart_spese>
{
    Q_OBJECT
    friend class ThousandthsCopies<frm_ripart_spese>;

public:
    explicit frm_ripart_spese(QWidget *parent = nullptr);
    ~frm_ripart_spese() override;

    // --- Event handlers -----------------------------------------------------------------------
    /** @brief Binds the archive named after the project, if there is one. */
    void Form_Load();
    /** @brief "Crea Tabella": asks a name and makes that archive afresh from the project. */
    void Command1_Click();
    /** @brief "Esci": closes the form. */
    void Command2_Click();
    /** @brief "Elimina Tutto": after a question, empties the five tables. */
    void Command3_Click();
    /** @brief "Tabella Spese": shows the expense frame and locks the amount grids' key columns. */
    void Command4_Click();
    /**
     * @brief "Stampa": asks which preview. Exactly "1" opens the expense grid's own print preview;
     * exactly "2" previews the archive bound (the one the grid shows) through "Rip_spese.rpt";
     * any other answer, Cancel included, does nothing.
     */
    void Command5_Click();
    /** @brief "Calcola Spese": the apportionment, then "Calcolo Effettuato". */
    void Command6_Click();
    /** @brief "Esci" of the expense frame: hides it. */
    void Command8_Click();
    /** @brief A key anywhere on the form: Esc (27) hides the frame, F10 (121) shows the totals. */
    void Form_KeyDown(int KeyCode);
    /** @brief The expense grid takes the main window's width less that of its "Progetto" band. */
    void Form_Resize();

    // --- Amount rows --------------------------------------------------------------------------
    /** @brief Adds an empty row at the end of an amount grid's table. */
    void addAmountRow(platform::DataGrid *grid);
    /** @brief After a question, deletes an amount grid's current row. */
    void deleteAmountRow(platform::DataGrid *grid);

    // --- The main window's news ---------------------------------------------------------------
    // Closing the project needs none: the form goes on with the archive it shows, and "Crea
    // Tabella" refuses while no project is open.
    /** @brief Another project is open: the form loads afresh for it. */
    void projectOpened();

    /** @brief The expense archive bound, empty when none. */
    const QString &archivePath() const { return m_archive; }

    // --- Controls -----------------------------------------------------------------------------
    platform::DataSource *Data1 = nullptr; ///< `TAB_GENERALE`
    platform::DataSource *Data3 = nullptr; ///< `TAB_SPESE1`
    platform::DataSource *Data4 = nullptr; ///< `TAB_SPESE2`
    platform::DataSource *Data5 = nullptr; ///< `TAB_SPESE3`
    platform::DataSource *Data6 = nullptr; ///< `TAB_SPESE4`
    platform::DataGrid *TDBGrid1 = nullptr;
    QFrame *Frame1 = nullptr; ///< the expense frame
    platform::DataGrid *TDBGrid4 = nullptr;
    platform::DataGrid *TDBGrid2 = nullptr;
    platform::DataGrid *TDBGrid3 = nullptr;
    platform::DataGrid *TDBGrid5 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command2 = nullptr;
    /** The report control of "Stampa"; its previews bear the summary form's title. */
    platform::ReportControl CrystalReport1;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding
    {
        platform::DataSource *source;
        platform::DataGrid *grid;
        QString table;
    };

    void buildGrids();
    void buildLayout();
    /** Refuses, with a message, an amount not read whole and amounts, shares and thousandths typed beyond
     * the apportionment's limits. */
    static void checkTypedValues(platform::DataGrid *g);
    QList<Binding> bindings() const;
    /** Binds the five expense tables to an archive; tables it lacks are said and stay empty. */
    void bindArchive(const QString &path);
    /** Lets go of the archive: the grids go empty. */
    void unbindArchive();
    void copy(const QString &operation);
    /** The grid area's layout: the expense grid at its width, the frame over it. */
    void placeGrids();
    /** The four totals of F10. */
    void showTotals();

    QString m_archive;
    /** Width given by the last resize from the main window's measures; none = the form's own. */
    std::optional<int> m_gridWidth;
    QWidget *m_gridArea = nullptr;
};

} // namespace zav::expenses
