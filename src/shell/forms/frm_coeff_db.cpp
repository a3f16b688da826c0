#include "shell/forms/frm_coeff_db.h"

#include "engine/archive.h"
#include "platform/ui/datagrid.h"
#include "shell/forms/projectbinding.h"
#include "shell/project/archivechecks.h"

namespace zav::shell {

using engine::archive::ESPRESSIONI;

frm_coeff_db::frm_coeff_db(QWidget *parent)
    : GridForm(
        {
            .objectName = QStringLiteral("frm_coeff_db"),
            .title = QStringLiteral("Gestione Database"),
            .binding = projectBinding(ESPRESSIONI),
            .columns = { { QStringLiteral("PALAZ"), QStringLiteral("N° Pal.") },
                { QStringLiteral("SCALA"), QStringLiteral("Scala") },
                { QStringLiteral("PIANO"), QStringLiteral("Piano") },
                { QStringLiteral("INTERNO"), QStringLiteral("Int.") },
                { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Proprietario"), 220 },
                { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 140 } },
            .buttons
            = { { QStringLiteral("Command5"), QStringLiteral("Verifica DB"), [this] { Command5_Click(); } },
                { QStringLiteral("Command2"), QStringLiteral("Filtro"), [this] { Command2_Click(); } },
                { QStringLiteral("Command3"), QStringLiteral("Refresh"), [this] { Command3_Click(); } },
                { QStringLiteral("Command4"), QStringLiteral("Elimina Riga"),
                    [this] { Command4_Click(); } } },
            .closeButton = { QStringLiteral("Command1"), QStringLiteral("Esci") },
        },
        parent)
    , Data1(dataSource())
    , TDBGrid1(grid())
    , Command5(button(QStringLiteral("Command5")))
    , Command2(button(QStringLiteral("Command2")))
    , Command3(button(QStringLiteral("Command3")))
    , Command4(button(QStringLiteral("Command4")))
    , Command1(button(QStringLiteral("Command1")))
{
    Form_Load();
}

void frm_coeff_db::Command2_Click()
{
    // The owner of the current grid row, compared as the text the grid shows: an empty owner
    // matches only rooms whose owner is the empty text.
    const QString owner = TDBGrid1->columnText(TDBGrid1->columnByCaption(QStringLiteral("Proprietario")));
    showRows(platform::TableQuery { ESPRESSIONI, { { QStringLiteral("NOME_CONDOMINO"), owner } }, {} });
}

void frm_coeff_db::Command3_Click()
{
    showRows();
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
