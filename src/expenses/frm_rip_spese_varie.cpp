#include "expenses/frm_rip_spese_varie.h"

#include "engine/archive.h"
#include "engine/messagetitles.h"
#include "expenses/expenseformparts.h"
#include "expenses/expensesforms.h"
#include "expenses/variousexpenses.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/twips.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::expenses {

using formparts::failure;
using platform::Database;
using platform::DataGrid;
using platform::DataGridColumn;
using platform::DbError;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::TableQuery;

namespace {

constexpr int DesignColumns = 5;

/** What a failure of the various-expense database is told after. */
QString databaseProblem()
{
    return QStringLiteral("Impossibile aprire l'archivio delle spese varie \"%1\": ")
        .arg(QFileInfo(VariousExpenses::path()).fileName());
}

QString databaseProblem(const DbError &error)
{
    return databaseProblem() + platform::failureText(error);
}

} // namespace

frm_rip_spese_varie::frm_rip_spese_varie(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(VariousFormName);
    setWindowTitle(QStringLiteral("Ripartizione Spese Varie"));

    Data1 = formparts::dataSource("Data1", this);
    Data2 = formparts::dataSource("Data2", this);
    Data3 = formparts::dataSource("Data3", this);

    TDBGrid1 = platform::formControl<DataGrid>("TDBGrid1", this);
    TDBGrid1->setColumns({ { QStringLiteral("NOME_TABELLA"), QStringLiteral("Descrizione Tabella"), 180 } });
    TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBGrid1->setSelectionMode(QAbstractItemView::MultiSelection);

    TDBGrid2 = formparts::dataGrid("TDBGrid2", QStringLiteral("Tabella Ripartizione Spese Varie"), this);

    Command1 = platform::formButton(
        QStringLiteral("Command1"), QStringLiteral("Crea archivio e campi nuovi"), this);
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("Elimina dati"), this);
    Command3 = platform::formButton(QStringLiteral("Command3"), QStringLiteral("Elimina Colonna"), this);

    auto *side = new QVBoxLayout;
    side->addWidget(TDBGrid1, 1);
    for (QPushButton *b : { Command1, Command2, Command3 })
        side->addWidget(b);
    auto *caption = new QLabel(TDBGrid2->caption(), this);
    caption->setObjectName(QStringLiteral("TDBGrid2Caption"));
    auto *main = new QVBoxLayout;
    main->addWidget(caption);
    main->addWidget(TDBGrid2, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addLayout(main, 1);
    resize(1000, 520);

    connect(Command1, &QPushButton::clicked, this, &frm_rip_spese_varie::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_rip_spese_varie::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_rip_spese_varie::Command3_Click);

    Form_Load();
}

frm_rip_spese_varie::~frm_rip_spese_varie() = default;

void frm_rip_spese_varie::setSampleArchive(const QString &path)
{
    m_sample = path;
    bindTableList();
}

void frm_rip_spese_varie::bindTableList()
{
    TDBGrid1->setDataSource(nullptr);
    if (m_sample.isEmpty())
        return;
    Data1->setDatabaseName(m_sample);
    Data1->setRecordSource(QString(engine::archive::NEW_TAB));
    try {
        Data1->refresh();
        TDBGrid1->setDataSource(Data1);
    } catch (const DbError &error) {
        failure(QStringLiteral("Impossibile leggere le tabelle dell'archivio di esempio \"%1\": %2")
                    .arg(QFileInfo(m_sample).fileName(), platform::failureText(error)));
    }
}

void frm_rip_spese_varie::bindUnits(const TableQuery &query)
{
    Data2->setDatabaseName(VariousExpenses::path());
    Data2->setRecordSource(query);
    try {
        Data2->refresh();
        TDBGrid2->setDataSource(Data2);
    } catch (const DbError &error) {
        TDBGrid2->setDataSource(nullptr);
        failure(databaseProblem(error));
    }
}

void frm_rip_spese_varie::Form_Load()
{
    bindUnits(TableQuery { VariousExpenses::Units, {}, {} });
    bindTableList();
    ricostruisci_colonne();
}

void frm_rip_spese_varie::ricostruisci_colonne()
{
    QList<DataGridColumn> columns;
    for (const QString &field : VariousExpenses::unitFields())
        columns << DataGridColumn { field, field, field == QLatin1String("nome_condomino") ? 150 : 80 };

    Data3->setDatabaseName(VariousExpenses::path());
    Data3->setRecordSource(QString(VariousExpenses::Tables));
    try {
        Data3->refresh();
        for (int row = 0; row < Data3->recordCount(); ++row) {
            // The name is data: it only ever names a field of the grid's source.
            const QString name = Data3->value(row, 0).toString();
            columns << DataGridColumn { name + QStringLiteral("_mil"), QStringLiteral("Mil. ") + name,
                platform::Twips::toPixelsX(1000, this) };
            DataGridColumn amount { name + QStringLiteral("_imp"), QStringLiteral("Imp. ") + name,
                platform::Twips::toPixelsX(1300, this) };
            amount.format = QStringLiteral("Currency");
            columns << amount;
        }
    } catch (const DbError &error) {
        qWarning("Elenco delle tabelle non letto: %s", qPrintable(error.message()));
    }
    TDBGrid2->setColumns(columns);
    if (TDBGrid2->dataSource())
        formparts::attempt(databaseProblem(), [this] { Data2->refresh(); });
}

void frm_rip_spese_varie::Command1_Click()
{
    if (m_sample.isEmpty()) {
        failure(QStringLiteral("Nessun archivio di esempio scelto: le tabelle non possono essere aggiunte."));
        return;
    }
    QStringList names;
    if (TDBGrid1->dataSource()) {
        for (qint64 rowid : TDBGrid1->selectedBookmarksInClickOrder()) {
            const int row = Data1->rowOf(rowid);
            if (row < 0)
                continue;
            Data1->setCurrentRow(row);
            names << Data1->value(row, QStringLiteral("NOME_TABELLA")).toString();
        }
    }
    // The grid lets go of the database while the design of its table changes.
    TDBGrid2->setDataSource(nullptr);
    QStringList skipped;
    try {
        Database various = Database::open(VariousExpenses::path());
        Database sample = Database::open(m_sample);
        skipped = VariousExpenses::add(various, sample, names);
    } catch (const DbError &error) {
        skipped << platform::failureText(error);
    }
    bindUnits(VariousExpenses::orderedUnits());
    ricostruisci_colonne();
    if (!skipped.isEmpty())
        failure(QStringLiteral("Tabelle non aggiunte:\n") + skipped.join(u'\n'));
}

void frm_rip_spese_varie::Command2_Click()
{
    formparts::attempt(databaseProblem(), [] {
        Database various = Database::open(VariousExpenses::path());
        VariousExpenses::emptyUnits(various);
    });
    if (TDBGrid2->dataSource())
        formparts::attempt(databaseProblem(), [this] { Data2->refresh(); });
}

void frm_rip_spese_varie::Command3_Click()
{
    const int column = TDBGrid2->currentIndex().isValid() ? TDBGrid2->currentIndex().column() : -1;
    if (column < 0) {
        failure(
            QStringLiteral("Nessuna colonna selezionata: scegliere una colonna della tabella da eliminare."));
        return;
    }
    if (column < DesignColumns)
        return;
    const QString caption = TDBGrid2->column(column).heading();
    if (dialogs().msgBox(QStringLiteral("Vuoi eliminare la colonna ") + caption + QStringLiteral(" ?"),
            MsgButtons::YesNo, MsgIcon::Critical, engine::MessageTitle::Warning, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    // The caption less its "Mil. " or "Imp. ".
    const QString name = caption.mid(5);
    TDBGrid2->setDataSource(nullptr);
    formparts::attempt(databaseProblem(), [&name] {
        Database various = Database::open(VariousExpenses::path());
        VariousExpenses::removePair(various, name);
    });
    bindUnits(TableQuery { VariousExpenses::Units, {}, {} });
    ricostruisci_colonne();
}

} // namespace zav::expenses
