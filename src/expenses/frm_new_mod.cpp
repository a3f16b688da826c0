#include "expenses/frm_new_mod.h"

#include "engine/messagetitles.h"
#include "expenses/costestimate.h"
#include "expenses/expenseformparts.h"
#include "expenses/expensesforms.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/vb.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
namespace vb = platform::vb;

namespace {

const QString Currency = QStringLiteral("Currency");

/** What a failure of the estimate database is told after. */
QString missingDatabase()
{
    return QStringLiteral("Impossibile aprire l'archivio dei preventivi \"%1\": ")
        .arg(QString(CostEstimate::FileName));
}

QString missingDatabase(const DbError &error)
{
    return missingDatabase() + platform::failureText(error);
}

/** Text in the system's currency format; empty text or text that is not a number stays. */
QString currencyText(const QString &text)
{
    return vb::CDbl(text) ? vb::Format(*vb::CDbl(text), Currency) : text;
}

} // namespace

frm_new_mod::frm_new_mod(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(EstimateFormName);
    setWindowTitle(QStringLiteral("Percentuale d'incidenza"));

    Data1 = formparts::dataSource("Data1", this);
    Data2 = formparts::dataSource("Data2", this);

    TDBGrid1 = platform::formControl<DataGrid>("TDBGrid1", this);
    QList<DataGridColumn> columns = {
        { QStringLiteral("nome_condomino"), QStringLiteral("Condomino"), 150 },
        { QStringLiteral("pal"), QStringLiteral("Pal."), 40 },
        { QStringLiteral("scala"), QStringLiteral("Scala"), 50 },
        { QStringLiteral("piano"), QStringLiteral("Piano"), 45 },
        { QStringLiteral("interno"), QStringLiteral("Int."), 40 },
    };
    for (const CostEstimate::Base &base : CostEstimate::bases()) {
        DataGridColumn cost { base.cost, base.costCaption, 130 };
        cost.format = Currency;
        if (base.base == QLatin1String("costo")) {
            // The presumed cost is itself an amount, shown before its share.
            DataGridColumn amount { base.base, base.baseCaption, 110 };
            amount.format = Currency;
            columns << amount << DataGridColumn { base.percentage, QStringLiteral("%"), 60 } << cost;
        } else {
            columns << DataGridColumn { base.base, base.baseCaption, 120 }
                    << DataGridColumn { base.percentage, QStringLiteral("%"), 60 } << cost;
        }
    }
    TDBGrid1->setColumns(columns);
    TDBGrid1->setAllowAddNew(true);

    for (int i = 0; i < 5; ++i) {
        Text[i] = new QLineEdit(this);
        Text[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        Text[i]->installEventFilter(this);
        Data2->bind(Text[i], CostEstimate::bases()[i].amount);
    }
    for (int i = 0; i < 10; ++i) {
        Label[i] = new QLabel(this);
        Label[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        Label[i]->setFrameShape(QFrame::StyledPanel);
        Label[i]->setMinimumWidth(110);
    }
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("CALC. PERC."), this);
    Command1 = platform::formButton(QStringLiteral("Command1"), QStringLiteral("ELIMINA TUTTO"), this);
    Command3 = platform::formButton(QStringLiteral("Command3"), QStringLiteral("Ripartizione"), this);
    Command4 = platform::formButton(QStringLiteral("Command4"), QStringLiteral("CTRL"), this);
    buildLayout();

    connect(Command1, &QPushButton::clicked, this, &frm_new_mod::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_new_mod::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_new_mod::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm_new_mod::Command4_Click);

    Form_Load();
}

frm_new_mod::~frm_new_mod() = default;

void frm_new_mod::buildLayout()
{
    static const char *const amountCaptions[] = {
        "Totale Sup. Urba.:", "Totale Sup. Cop.:", "Totale Sup. Uti.:", "Totale Volume:", "Totale Costo:"
    };
    static const char *const totalCaptions[]
        = { "Tot. Sup. Urba.", "Tot. Sup. cop.", "Tot. Sup. Uti.", "Tot. Volume", "Tot. Costo" };
    static const char *const percentCaptions[]
        = { "Tot. % Sup. Urba.", "Tot. % Sup. cop.", "Tot. % Sup. Uti.", "Tot. % Volume", "Tot. % Costo" };

    auto *amounts = new QGridLayout;
    auto *totals = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        amounts->addWidget(new QLabel(QString::fromUtf8(amountCaptions[i]), this), 0, 2 * i);
        amounts->addWidget(Text[i], 0, 2 * i + 1);
        // Column totals in Label1..Label5, their percentages in Label10 down to Label6.
        totals->addWidget(new QLabel(QString::fromUtf8(totalCaptions[i]), this), 0, i);
        totals->addWidget(Label[i], 1, i);
        totals->addWidget(new QLabel(QString::fromUtf8(percentCaptions[i]), this), 2, i);
        totals->addWidget(Label[9 - i], 3, i);
    }
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : { Command2, Command1, Command3, Command4 })
        buttons->addWidget(b);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TDBGrid1, 1);
    layout->addLayout(amounts);
    layout->addLayout(totals);
    layout->addLayout(buttons);
    resize(1000, 560);
}

// --- Loading and the amount boxes ------------------------------------------------------------

void frm_new_mod::Form_Load()
{
    m_loaded = false;
    const QString path = CostEstimate::path();
    Data1->setDatabaseName(path);
    Data1->setRecordSource(QString(CostEstimate::Units));
    Data2->setDatabaseName(path);
    Data2->setRecordSource(QString(CostEstimate::Totals));
    try {
        Data1->refresh();
        TDBGrid1->setDataSource(Data1);
        Data2->refresh();
        Database db = Database::open(path);
        if (CostEstimate::ensureTotalsRow(db))
            Data2->refresh();
        m_loaded = true;
    } catch (const DbError &error) {
        TDBGrid1->setDataSource(nullptr);
        failure(missingDatabase(error));
    }
}

void frm_new_mod::Form_Activate()
{
    for (QLineEdit *box : Text)
        box->setText(currencyText(box->text()));
}

void frm_new_mod::Text_LostFocus(int index)
{
    if (index < 0 || index >= 5)
        return;
    // What the box holds reaches the table at once (text that is not an amount stays unstored),
    // then the box shows it as an amount.
    try {
        Data2->storePending();
    } catch (const DbError &error) {
        qWarning("Totale non registrato: %s", qPrintable(error.message()));
    }
    Text[index]->setText(currencyText(Text[index]->text()));
}

bool frm_new_mod::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

bool frm_new_mod::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < 5; ++i) {
            if (watched == Text[i])
                Text_LostFocus(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frm_new_mod::closeEvent(QCloseEvent *event)
{
    platform::tryStep([this] { Data2->storePending(); });
    QWidget::closeEvent(event);
}

void frm_new_mod::reloadUnits()
{
    formparts::attempt(missingDatabase(), [this] { Data1->refresh(); });
}

// --- Commands --------------------------------------------------------------------------------

void frm_new_mod::Command1_Click()
{
    if (!formparts::attempt(missingDatabase(), [] {
            Database db = Database::open(CostEstimate::path());
            CostEstimate::empty(db);
        }))
        return;
    reloadUnits();
}

void frm_new_mod::Command2_Click()
{
    CostEstimate::Percentages result;
    if (!formparts::attempt(missingDatabase(), [&result] {
            Database db = Database::open(CostEstimate::path());
            result = CostEstimate::percentages(db);
        }))
        return;
    for (int i = 0; i < 5; ++i) {
        Label[i]->setText(result.columnTotals[i]);
        // The percentage totals change only once their pass has begun.
        if (!result.percentageTotals[i].isNull())
            Label[9 - i]->setText(result.percentageTotals[i]);
    }
    reloadUnits();
    if (result.stop)
        failure(result.stop->message());
}

void frm_new_mod::Command3_Click()
{
    std::array<QString, 5> amounts;
    for (int i = 0; i < 5; ++i)
        amounts[i] = Text[i]->text();
    std::optional<CostEstimate::Stop> stop;
    if (!formparts::attempt(missingDatabase(), [&] {
            Database db = Database::open(CostEstimate::path());
            stop = CostEstimate::split(db, amounts);
        }))
        return;
    reloadUnits();
    if (stop)
        failure(stop->message());
}

void frm_new_mod::Command4_Click()
{
    if (!m_loaded) {
        failure(missingDatabase(DbError(platform::DbErrorCode::DatabaseNotFound, CostEstimate::path())));
        return;
    }
    // The costs as the grid shows them, in currency format.
    const int column = TDBGrid1->columnByCaption(CostEstimate::bases()[1].costCaption);
    QStringList texts;
    for (int row = 0; row < Data1->recordCount(); ++row)
        texts << TDBGrid1->model()->index(row, column).data().toString();
    const CostEstimate::Check result = CostEstimate::check(texts);
    if (result.stop) {
        failure(result.stop->message());
        return;
    }
    dialogs().msgBox(vb::CStr(result.total), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
}

} // namespace zav::expenses
