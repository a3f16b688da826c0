#include "tables/frm_infissi.h"

#include "platform/ui/datagrid.h"
#include "tables/coefficienttables.h"
#include "tables/tablecommands.h"

#include <QFileInfo>
#include <QPushButton>

namespace zav::tables {

namespace {

const QString Table = QString::fromLatin1(WindowTable::Name);
const QString Caption = QStringLiteral("Tabella Luminosità Finestre");

QList<platform::DataGridColumn> windowColumns()
{
    const QList<TableColumn> &columns = WindowTable::columns();
    QList<platform::DataGridColumn> grid { gridColumn(columns.at(0), 260), gridColumn(columns.at(1), 80),
        gridColumn(columns.at(2), 40) };
    grid[1].format = QStringLiteral("General Number");
    // The code column has an empty header (a caption left empty would show the field's name).
    grid[2].caption = QStringLiteral(" ");
    return grid;
}

} // namespace

frm_infissi::frm_infissi(QWidget *parent)
    : TableForm(
        {
            .objectName = QStringLiteral("frm_infissi"),
            .title = QStringLiteral("Infissi"),
            .binding = { .database = [] { return TableArchive::templatePath(); },
                .recordSource = platform::TableQuery { Table, {}, {} },
                .reportFailure = TableArchive::report },
            .columns = windowColumns(),
            .buttons
            = { { QStringLiteral("Command2"), QStringLiteral("Default"), [this] { Command2_Click(); } },
                { QStringLiteral("Command3"), QStringLiteral("Progetto"), [this] { Command3_Click(); } },
                { QStringLiteral("Command4"), QStringLiteral("Stampa"), [this] { Command4_Click(); } } },
            .closeButton
            = { QStringLiteral("Command1"), QStringLiteral("Esci"), [this] { Command1_Click(); } },
            .gridName = QStringLiteral("TDBGrid15"),
            .size = { 460, 340 },
        },
        WindowTable::columns(), parent)
    , Data1(dataSource())
    , TDBGrid15(grid())
    , Command1(button(QStringLiteral("Command1")))
    , Command2(button(QStringLiteral("Command2")))
    , Command3(button(QStringLiteral("Command3")))
    , Command4(button(QStringLiteral("Command4")))
{
    TDBGrid15->setCaption(Caption);
    Command4->setEnabled(bool(printHandlers().windowTable));
    Form_Load();
}

void frm_infissi::sayWhichArchive()
{
    // Edits go to the archive shown: the caption says whether it is the new projects' model or a project.
    const QString base = QFileInfo(archive()).fileName().section(u'.', 0, 0);
    TDBGrid15->setCaption(Caption
        + (archiveKind() == ArchiveKind::Template ? QStringLiteral(" - Modello dei nuovi progetti")
                                                  : QStringLiteral(" - Progetto ") + base));
}

frm_infissi::~frm_infissi() = default;

void frm_infissi::Form_Load()
{
    showTemplate(Table);
    sayWhichArchive();
}

void frm_infissi::Command1_Click()
{
    close();
}

void frm_infissi::Command2_Click()
{
    showTemplate(Table);
    sayWhichArchive();
}

void frm_infissi::Command3_Click()
{
    showProject(Table);
    sayWhichArchive();
}

void frm_infissi::Command4_Click()
{
    if (printHandlers().windowTable && !archive().isEmpty())
        printHandlers().windowTable(archive());
}

} // namespace zav::tables
