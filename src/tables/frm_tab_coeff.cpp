#include "tables/frm_tab_coeff.h"

#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "tables/celltarget.h"
#include "tables/columninuse.h"
#include "tables/tablecommands.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::tables {

namespace {

const QString TitleAttenzione = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString TitleInformazioni = QStringLiteral("!!! Zav - Informazioni - !!!");

QList<platform::DataGridColumn> coefficientColumns()
{
    QList<platform::DataGridColumn> columns;
    for (const TableColumn &column : CoefficientTables::columns())
        columns.append(gridColumn(column, column.number ? 64 : (column.field == u"DESCRIZIONE" ? 220 : 90)));
    return columns;
}

void tell(const QString &text)
{
    platform::dialogs().msgBox(
        text, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, TitleAttenzione);
}

} // namespace

frm_tab_coeff::frm_tab_coeff(QWidget *parent)
    : TableForm(
        {
            .objectName = QStringLiteral("frm_tab_coeff"),
            .title = QStringLiteral("Tabella Coefficienti"),
            .binding = { .database = [] { return TableArchive::templatePath(); },
                .recordSource = platform::TableQuery { CoefficientTables::all().first().table, {}, {} },
                .reportFailure = TableArchive::report },
            .columns = coefficientColumns(),
            .buttons
            = { { QStringLiteral("Command2"), QStringLiteral("Trasferisci"), [this] { Command2_Click(); } },
                { QStringLiteral("Command3"), QStringLiteral("Tab. Default"), [this] { Command3_Click(); } },
                { QStringLiteral("Command4"), QStringLiteral("Tab. Progetto"), [this] { Command4_Click(); } },
                { QStringLiteral("Command5"), QStringLiteral("Stampa"), [this] { Command5_Click(); } } },
            .closeButton
            = { QStringLiteral("Command1"), QStringLiteral("Esci"), [this] { Command1_Click(); } },
            .size = { 820, 520 },
        },
        CoefficientTables::columns(), parent)
    , Label1(new QLabel(QStringLiteral("Tabella Piano"), this))
    , Label2(new QLabel(this))
    , Data1(dataSource())
    , TDBGrid1(grid())
    , Command1(button(QStringLiteral("Command1")))
    , Command2(button(QStringLiteral("Command2")))
    , Command3(button(QStringLiteral("Command3")))
    , Command4(button(QStringLiteral("Command4")))
    , Command5(button(QStringLiteral("Command5")))
{
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    Label1->setFont(titleFont);
    auto *titles = new QHBoxLayout;
    titles->addWidget(Label1);
    titles->addStretch();
    titles->addWidget(Label2);
    formLayout()->insertLayout(0, titles);

    TDBGrid1->setCaption(QStringLiteral("Tabella utilizzata:"));
    // A click on a header marks its column in use; it neither selects the column nor moves the row.
    QHeaderView *header = TDBGrid1->horizontalHeader();
    QObject::disconnect(header, SIGNAL(sectionPressed(int)), TDBGrid1, nullptr);
    QObject::disconnect(header, SIGNAL(sectionEntered(int)), TDBGrid1, nullptr);
    connect(header, &QHeaderView::sectionClicked, this, &frm_tab_coeff::TDBGrid1_HeadClick);
    Command5->setEnabled(bool(printHandlers().coefficientTable));

    Form_Load();
}

frm_tab_coeff::~frm_tab_coeff() = default;

void frm_tab_coeff::Form_Load()
{
    // Nothing of its own: everything comes from the caller.
}

QString frm_tab_coeff::tableName() const
{
    return Data1->recordSource().table;
}

std::optional<CoefficientTable> frm_tab_coeff::table() const
{
    if (archive().isEmpty())
        return std::nullopt;
    return CoefficientTables::byTable(tableName());
}

bool frm_tab_coeff::prepareDefault(int number)
{
    const std::optional<CoefficientTable> wanted = CoefficientTables::byNumber(number);
    if (!wanted)
        return false;
    // The open project's own table is the one its rooms use; the template only without a project.
    const bool project = engine::VAR_GBL.progetto_corrente.has_value();
    if (!(project ? showProject(wanted->table) : showTemplate(wanted->table)))
        return false;
    Label1->setText(wanted->title);
    Label2->setText(project ? QStringLiteral("Progetto") : QStringLiteral("Default"));
    Command2->setVisible(false);
    lockTexts(false);
    Form_Activate();
    return true;
}

void frm_tab_coeff::lockTexts(bool locked)
{
    const QList<TableColumn> &columns = CoefficientTables::columns();
    for (int i = 0; i < columns.size() && i < TDBGrid1->columnCount(); ++i) {
        if (columns.at(i).number)
            continue;
        platform::DataGridColumn column = TDBGrid1->column(i);
        if (column.locked == locked)
            continue;
        column.locked = locked;
        TDBGrid1->setColumn(i, column);
    }
}

void frm_tab_coeff::selectColumnInUse()
{
    if (Data1->recordCount() == 0)
        return;
    const int row = Data1->noCurrentRow() ? 0 : Data1->currentRow();
    const QVariant inUse = Data1->value(row, CoefficientTables::ColumnInUseField);
    int column = TDBGrid1->columnByCaption(inUse.isNull() ? QString() : inUse.toString());
    if (column < 0 || !CoefficientTables::columns().value(column).number)
        column = TDBGrid1->columnByCaption(CoefficientTables::columns().at(1).caption);
    TDBGrid1->setCurrentIndex(TDBGrid1->model()->index(row, column));
    TDBGrid1->setFocus();
}

bool frm_tab_coeff::preparePicker(int column, const QString &transferCaption)
{
    const std::optional<CoefficientTable> wanted
        = transferCaption == QLatin1String(CoefficientTransfer::WorkspaceCaption)
        ? CoefficientTables::byWorkspaceColumn(column)
        : CoefficientTables::byTerraceColumn(column);
    if (!wanted || !showProject(wanted->table))
        return false;
    Label1->setText(wanted->title);
    Label2->setText(QStringLiteral("Progetto"));
    Command2->setText(transferCaption);
    Command2->setVisible(true);
    // A form open as the main window's editor becomes the picker: shown again, modal. A picker
    // changes no description: it opens on the coefficient to choose.
    if (isVisible())
        hide();
    lockTexts(true);
    Form_Activate();
    selectColumnInUse();
    return true;
}

void frm_tab_coeff::Form_Activate()
{
    if (Data1->recordCount() == 0)
        return;
    const int row = Data1->noCurrentRow() ? 0 : Data1->currentRow();
    TDBGrid1->setCaption(ColumnInUse::caption(Data1->value(row, CoefficientTables::ColumnInUseField)));
}

bool frm_tab_coeff::event(QEvent *event)
{
    const bool handled = TableForm::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void frm_tab_coeff::Command1_Click()
{
    close();
}

void frm_tab_coeff::Command2_Click()
{
    const std::unique_ptr<CellTarget> target = CoefficientTransfer::targetFor(Command2->text());
    if (!target || target->currentColumn() < 0) {
        tell(QStringLiteral("Nessuna griglia dei vani a cui trasferire il coefficiente."));
        return;
    }
    const QModelIndex cell = TDBGrid1->currentIndex();
    const QString value = TDBGrid1->row() >= 0 && cell.isValid()
        ? TDBGrid1->model()->data(cell, Qt::EditRole).toString().trimmed()
        : QString();
    if (value.isEmpty()) {
        tell(QStringLiteral("Scegliere nella tabella il coefficiente da trasferire."));
        return;
    }
    if (!platform::vb::IsNumeric(value)) {
        tell(QStringLiteral("\"%1\" non è un coefficiente: scegliere nella tabella un valore numerico.")
                 .arg(value));
        return;
    }
    const platform::MsgResult answer
        = platform::dialogs().msgBox(QStringLiteral("Vuoi trasferire il coefficente su tutti i vani ?"),
            platform::MsgButtons::YesNo, platform::MsgIcon::Information, TitleInformazioni);
    CoefficientTransfer::transfer(*target, value, answer == platform::MsgResult::Yes);
    close();
}

void frm_tab_coeff::Command3_Click()
{
    if (showTemplate(tableName())) {
        Label2->setText(QStringLiteral("Default"));
        Form_Activate();
    }
}

void frm_tab_coeff::Command4_Click()
{
    if (showProject(tableName())) {
        Label2->setText(QStringLiteral("Progetto"));
        Form_Activate();
    }
}

void frm_tab_coeff::Command5_Click()
{
    if (printHandlers().coefficientTable && table())
        printHandlers().coefficientTable(Label1->text(), archive());
}

void frm_tab_coeff::TDBGrid1_HeadClick(int ColIndex)
{
    if (!table() || ColIndex < 0 || ColIndex >= TDBGrid1->columnCount())
        return;
    const QString caption = TDBGrid1->column(ColIndex).heading();
    const int row = Data1->currentRow();
    if (!attempt([&] { ColumnInUse::mark(archive(), tableName(), caption); }))
        return;
    // The rows are read again with their new value; the current row stays where it was.
    const platform::TableQuery rows = Data1->recordSource();
    if (showRows(rows) && row >= 0 && row < Data1->recordCount())
        Data1->setCurrentRow(row);
    TDBGrid1->setCaption(QStringLiteral("Tabella utilizzata: ") + caption);
}

} // namespace zav::tables
