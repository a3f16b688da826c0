#pragma once

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"
#include "tables/tablecommands.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QEvent>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief A room grid standing in for a calling form (the unit workspace or the terrace form): a
 * window with a data source and a grid named `TDBGrid1`, registered under the caller's form name.
 */
class RoomGridForm : public QWidget
{
public:
    RoomGridForm(const QString &archive, const platform::TableQuery &rows,
        const QList<platform::DataGridColumn> &columns)
    {
        data = new platform::DataSource(this);
        data->setObjectName(QStringLiteral("Data1"));
        grid = new platform::DataGrid(this);
        grid->setObjectName(QStringLiteral("TDBGrid1"));
        grid->setDataSource(data);
        grid->setColumns(columns);
        (new QVBoxLayout(this))->addWidget(grid);
        data->setDatabaseName(archive);
        data->setRecordSource(rows);
        data->refresh();
    }

    /** @brief Puts the grid on a cell, as the click on the cell's button does. */
    void standOn(int row, int column) { grid->setCurrentIndex(grid->model()->index(row, column)); }

    platform::DataSource *data = nullptr;
    platform::DataGrid *grid = nullptr;
};

/** @brief The workspace's room grid columns 0 to 22, bound to their fields of `ESPRESSIONI`. */
inline QList<platform::DataGridColumn> workspaceRoomColumns()
{
    QList<platform::DataGridColumn> columns;
    for (const char *field :
        { "NOME_CONDOMINO", "DESCRIZIONE", "ESPRESSIONE", "MQ", "OPT_RISC", "PALAZ", "COEF1", "COEF2",
            "COEF3", "COEF4", "COEF5", "COEF6", "COEF7", "COEF8", "TOT_COEF", "SCALA", "H_PIANO", "TOT_VOL",
            "ESPRES_RAD", "TOT_ESPRES_RAD", "SUP_FINESTRA", "MQ_FINESTRA", "INTERNO" }) {
        platform::DataGridColumn column;
        column.dataField = QString::fromLatin1(field);
        columns.append(column);
    }
    return columns;
}

/**
 * @brief A program folder of its own with a project copied from the template (not open until a test
 * opens it), scripted boxes, the comma as decimal separator and the table forms registered; every
 * form is unloaded after.
 */
class TablesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The project is there, and opened by the tests that want it.
        engine::VAR_GBL.progetto_corrente.reset();
        tables::registerForms();
    }

    void TearDown() override
    {
        for (const char *name : { "frm_tab_coeff", "frm_infissi", "frm_ins_coeff", "frm_terrazze" })
            platform::FormRegistry::unload(QString::fromLatin1(name));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        tables::setPrintHandlers({});
    }

    void openProject() { engine::VAR_GBL.progetto_corrente = project; }

    /** @brief A field of a row of a table, as stored. */
    static QVariant stored(const QString &archive, const QString &table, int row, int field)
    {
        platform::Database db = platform::Database::open(archive);
        const platform::Recordset rs = db.table(table);
        return row < rs.recordCount() ? rs.value(row, field) : QVariant();
    }

    static int rowCount(const QString &archive, const QString &table)
    {
        return platform::Database::open(archive).table(table).recordCount();
    }

    /** @brief The text a grid shows in a cell. */
    static QString cell(platform::DataGrid *grid, int row, int column)
    {
        return grid->model()->index(row, column).data().toString();
    }

    platform::vb::DecimalSeparatorScope comma { u',' };
    OpenProject opened;
    const TempProgramFolder &folder = opened.folder();
    const QString project = opened.path();
    const QString templ = folder.file(QStringLiteral("ARCH_MIL.CLO"));
    platform::ScriptedDialogs boxes;
};

} // namespace zav::test
