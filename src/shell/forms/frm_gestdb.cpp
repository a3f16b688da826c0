#include "shell/forms/frm_gestdb.h"

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

frm_gestdb::frm_gestdb(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_gestdb"));
    setWindowTitle(QStringLiteral("Gestione Database"));
    resize(760, 480);

    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    TDBGrid1 = new platform::DataGrid(this);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setDataSource(Data1);
    TDBGrid1->setColumns({ { QStringLiteral("NUM_PAL"), QStringLiteral("N° Pal.") },
        { QStringLiteral("SCALA"), QStringLiteral("Scala") },
        { QStringLiteral("SIGLA"), QStringLiteral("Piano") },
        { QStringLiteral("INTERNO"), QStringLiteral("Int.") },
        { QStringLiteral("PROPRIETARIO"), QStringLiteral("Proprietario"), 220 },
        { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 140 } });
    Command2 = gridWindowButton(QStringLiteral("Command2"), QStringLiteral("Verifica DB"), this);
    Command3 = gridWindowButton(QStringLiteral("Command3"), QStringLiteral("Elimina Riga"), this);
    Command1 = gridWindowButton(QStringLiteral("Command1"), QStringLiteral("Esci"), this);

    layOutGridWindow(*this, TDBGrid1, { Command2, Command3 }, Command1);

    connect(Command1, &QPushButton::clicked, this, &frm_gestdb::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_gestdb::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_gestdb::Command3_Click);

    Form_Load();
}

void frm_gestdb::Form_Load()
{
    Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
    Data1->setRecordSource(engine::archive::CODIF_PIANI);
    showRows(*Data1);
}

void frm_gestdb::Command1_Click()
{
    close();
}

void frm_gestdb::Command2_Click()
{
    ArchiveChecks::verifyDataSource(*Data1, ArchiveChecks::units());
}

void frm_gestdb::Command3_Click()
{
    ArchiveChecks::deleteCurrentRow(*Data1);
}

} // namespace zav::shell
