#include "shell/forms/frm_coeff_db.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "shell/project/archivechecks.h"
#include "shell/project/databasefailure.h"
#include "shell/forms/gridwindow.h"

#include <QPushButton>

namespace zav::shell {

using engine::VAR_GBL;

frm_coeff_db::frm_coeff_db(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_coeff_db"));
    setWindowTitle(QStringLiteral("Gestione Database"));
    resize(760, 480);

    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    TDBGrid1 = new platform::DataGrid(this);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setDataSource(Data1);
    TDBGrid1->setColumns({ { QStringLiteral("PALAZ"), QStringLiteral("N° Pal.") },
        { QStringLiteral("SCALA"), QStringLiteral("Scala") },
        { QStringLiteral("PIANO"), QStringLiteral("Piano") },
        { QStringLiteral("INTERNO"), QStringLiteral("Int.") },
        { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Proprietario"), 220 },
        { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 140 } });
    Command5 = gridWindowButton(QStringLiteral("Command5"), QStringLiteral("Verifica DB"), this);
    Command2 = gridWindowButton(QStringLiteral("Command2"), QStringLiteral("Filtro"), this);
    Command3 = gridWindowButton(QStringLiteral("Command3"), QStringLiteral("Refresh"), this);
    Command4 = gridWindowButton(QStringLiteral("Command4"), QStringLiteral("Elimina Riga"), this);
    Command1 = gridWindowButton(QStringLiteral("Command1"), QStringLiteral("Esci"), this);

    layOutGridWindow(*this, TDBGrid1, { Command5, Command2, Command3, Command4 }, Command1);

    connect(Command1, &QPushButton::clicked, this, &frm_coeff_db::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_coeff_db::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_coeff_db::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm_coeff_db::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frm_coeff_db::Command5_Click);

    Form_Load();
}

void frm_coeff_db::Form_Load()
{
    Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
    Data1->setRecordSource(engine::archive::ESPRESSIONI);
    showRows(*Data1);
}

void frm_coeff_db::Command1_Click()
{
    close();
}

void frm_coeff_db::Command2_Click()
{
    // The owner of the current grid row, compared as the text the grid shows: an empty owner
    // matches only rooms whose owner is the empty text.
    const int owner = TDBGrid1->columnByCaption(QStringLiteral("Proprietario"));
    const QString name = TDBGrid1->columnText(owner);
    Data1->setRecordSource(platform::TableQuery {
        engine::archive::ESPRESSIONI, { { QStringLiteral("NOME_CONDOMINO"), name } }, {} });
    showRows(*Data1);
}

void frm_coeff_db::Command3_Click()
{
    Data1->setRecordSource(engine::archive::ESPRESSIONI);
    showRows(*Data1);
}

void frm_coeff_db::Command4_Click()
{
    ArchiveChecks::deleteCurrentRow(*Data1);
}

void frm_coeff_db::Command5_Click()
{
    ArchiveChecks::verifyDataSource(*Data1, ArchiveChecks::rooms());
}

} // namespace zav::shell
