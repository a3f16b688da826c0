#pragma once

#include "platform/db.h"

#include <QString>
#include <QWidget>

class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::expenses {

/**
 * @brief "Ripartizione Spese Varie": the units of the various-expense database with, for every
 * user thousandths table added, the unit's thousandths in it and an amount under it.
 *
 * The user tables come from a sample project archive that whoever opens the form names with
 * setSampleArchive(); until then the table list is empty. The form never reads the open project.
 * It is a window of its own, not a child of the main window.
 */
class frm_rip_spese_varie : public QWidget
{
    Q_OBJECT

public:
    explicit frm_rip_spese_varie(QWidget *parent = nullptr);
    ~frm_rip_spese_varie() override;

    /** @brief Names the sample project archive and lists its user tables. */
    void setSampleArchive(const QString &path);

    // --- Event handlers -----------------------------------------------------------------------
    /** @brief Binds the units and the table list, and builds the pair columns. */
    void Form_Load();
    /** @brief "Crea archivio e campi nuovi": adds the tables selected in the list. */
    void Command1_Click();
    /** @brief "Elimina dati": deletes every unit row, asking nothing. */
    void Command2_Click();
    /** @brief "Elimina Colonna": after a question, deletes the pair of the current column. */
    void Command3_Click();

    // --- Controls -----------------------------------------------------------------------------
    platform::DataSource *Data1 = nullptr; ///< `NEW_TAB` of the sample archive
    platform::DataSource *Data2 = nullptr; ///< `tab_generale`
    platform::DataSource *Data3 = nullptr; ///< `elenco_tabelle`
    platform::DataGrid *TDBGrid1 = nullptr; ///< the table list
    platform::DataGrid *TDBGrid2 = nullptr; ///< the units with their pairs
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;

private:
    /** The main grid's first five columns, then a pair of columns per table of `elenco_tabelle`. */
    void ricostruisci_colonne();
    void bindTableList();
    /** Points the units at a record source and reads them; a failure is said. */
    void bindUnits(const platform::TableQuery &query);

    QString m_sample;
};

} // namespace zav::expenses
