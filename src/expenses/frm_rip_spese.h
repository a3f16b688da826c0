#pragma once

#include "expenses/thousandthscopies.h"
#include "platform/report/reportcontrol.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::expenses {

/**
 * @brief "Tabella riepilogativa Millesimi": the open project's rows of the summary table, with
 * their six thousandths, and the merge of rows into one.
 *
 * The form loads for the project open at the time (its name and archive); opening another project
 * loads it afresh. Closing the project leaves it open on the rows it shows, but "Crea Tabella"
 * then refuses. A merge takes two steps through the main window's pop-up menu: "Seleziona" sums
 * the selected rows into the shared merge sums, "Accorpa" adds them into the current row.
 */
class frm_rip_spese : public QWidget, public ThousandthsCopies<frm_rip_spese>
{
    Q_OBJECT
    friend class ThousandthsCopies<frm_rip_spese>;

public:
    explicit frm_rip_spese(QWidget *parent = nullptr);
    ~frm_rip_spese() override;

    // --- Event handlers -----------------------------------------------------------------------
    /** @brief Binds the project's rows of the summary table and the project's units. */
    void Form_Load();
    /** @brief "Crea Tabella": one row per unit of the project, with its thousandths. */
    void Command1_Click();
    /** @brief "Esci": closes the form. */
    void Command2_Click();
    /** @brief "Elimina Tutto": after a question, deletes the project's rows. */
    void Command3_Click();
    /** @brief "Accorpa": makes each selected row current in turn, in the order of selection. */
    void Command4_Click();
    /**
     * @brief "Stampa": previews the open project's rows of the summary table through
     * "Tab_riep.gst", headed by the project's name and address; "Nessun progetto selezionato"
     * while no project is open.
     */
    void Command5_Click();
    /** @brief A mouse button released over the grid: the right one (2) pops the menu up there. */
    void TDBGrid1_MouseUp(int Button, const QPoint &globalPosition);
    /** @brief "Seleziona" of the pop-up menu. */
    void sel_Click();
    /** @brief "Accorpa" of the pop-up menu. */
    void accorpa_Click();

    /** @brief Another project is open: the form loads afresh for it. */
    void projectOpened();
    /** @brief The project the form shows, empty when it could not load. */
    const QString &projectName() const { return m_project; }

    // --- Controls -----------------------------------------------------------------------------
    platform::DataSource *Data1 = nullptr; ///< the project's rows of the summary table
    platform::DataSource *Data2 = nullptr; ///< the project's units
    platform::DataGrid *TDBGrid1 = nullptr;
    QLabel *Label1 = nullptr; ///< the current row's description
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command2 = nullptr;
    /** The report control of "Stampa", previewing under "Z.A.V. (Anteprima di Stampa)". */
    platform::ReportControl CrystalReport1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** Reads the rows again and makes the row with this rowid current (the first when gone). */
    void reload(qint64 currentRowid = -1);
    void copy(const QString &operation);

    QString m_project; ///< the name the rows carry
    QString m_archive; ///< the project archive
    bool m_foreign = false; ///< the rows under the project's name are a namesake's: never shown nor written
};

} // namespace zav::expenses
