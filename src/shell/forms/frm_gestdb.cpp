#include "shell/forms/frm_gestdb.h"

#include "engine/archive.h"
#include "shell/forms/projectbinding.h"
#include "shell/project/archivechecks.h"

namespace zav::shell {

frm_gestdb::frm_gestdb(QWidget *parent)
    : GridForm(
        {
            .objectName = QStringLiteral("frm_gestdb"),
            .title = QStringLiteral("Gestione Database"),
            .binding = projectBinding(engine::archive::CODIF_PIANI),
            .columns = { { QStringLiteral("NUM_PAL"), QStringLiteral("N° Pal.") },
                { QStringLiteral("SCALA"), QStringLiteral("Scala") },
                { QStringLiteral("SIGLA"), QStringLiteral("Piano") },
                { QStringLiteral("INTERNO"), QStringLiteral("Int.") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("Proprietario"), 220 },
                { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 140 } },
            .buttons
            = { { QStringLiteral("Command2"), QStringLiteral("Verifica DB"), [this] { Command2_Click(); } },
                { QStringLiteral("Command3"), QStringLiteral("Elimina Riga"),
                    [this] { Command3_Click(); } } },
            .closeButton = { QStringLiteral("Command1"), QStringLiteral("Esci") },
        },
        parent)
    , Data1(dataSource())
    , TDBGrid1(grid())
    , Command2(button(QStringLiteral("Command2")))
    , Command3(button(QStringLiteral("Command3")))
    , Command1(button(QStringLiteral("Command1")))
{
    Form_Load();
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
