#include "expenses/frm_rip_spese.h"

#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "expenses/expensearchive.h"
#include "expenses/expenseformparts.h"
#include "expenses/expensesforms.h"
#include "expenses/mainwindowmenu.h"
#include "expenses/summarytable.h"
#include "expenses/thousandthscopy.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/report/reportcall.h"
#include "platform/report/selectionformula.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::expenses {

using engine::VAR_GBL;
using platform::Database;
using platform::DbError;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

using formparts::column;
using formparts::failure;
using formparts::information;

namespace {

/** The rows of the last "Seleziona": their values are already in the merge sums, which outlive the
 * form as the sums do. */
QList<qint64> &lastSelection()
{
    static QList<qint64> rows;
    return rows;
}

} // namespace

frm_rip_spese::frm_rip_spese(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(SummaryFormName);
    setWindowTitle(QStringLiteral("Tabella riepilogativa Millesimi"));

    Data1 = formparts::dataSource("Data1", this);
    Data2 = formparts::dataSource("Data2", this);

    TDBGrid1 = formparts::dataGrid("TDBGrid1", QStringLiteral("Tabella Riepilogativa"), this);
    TDBGrid1->setColumns({
        column("nome_condomino", "Nome Condomino", 180),
        column("PAL", "Pal.", 45),
        column("SCALA", "Scala", 60),
        column("INTERNO", "Int.", 45),
        column("millesimi_generali", "Mil. Gen.", 80),
        column("millesimi_palazzina", "Mil. Pal.", 80),
        column("millesimi_scala", "Mil. Scala", 80),
        column("millesimi_ascensore", "Mil. Asc.", 80),
        column("millesimi_riscaldamento", "Mil. Risc.", 80),
        column("millesimi_portierato", "Mil. Port.", 80),
    });
    TDBGrid1->viewport()->installEventFilter(this);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFrameShape(QFrame::StyledPanel);
    Label1->setWordWrap(true);
    Data1->bind(Label1, QStringLiteral("DESCRIZIONE"));

    Command1 = platform::formButton(QStringLiteral("Command1"), QStringLiteral("Crea Tabella"), this);
    Command4 = platform::formButton(QStringLiteral("Command4"), QStringLiteral("Accorpa"), this);
    Command3 = platform::formButton(QStringLiteral("Command3"), QStringLiteral("Elimina Tutto"), this);
    Command5 = platform::formButton(QStringLiteral("Command5"), QStringLiteral("Stampa"), this);
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("Esci"), this);
    CrystalReport1.previewTitle = formparts::PreviewTitle;

    auto *caption = new QLabel(TDBGrid1->caption(), this);
    caption->setObjectName(QStringLiteral("TDBGrid1Caption"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : { Command1, Command4, Command3, Command5, Command2 })
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(TDBGrid1, 1);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    resize(900, 480);

    connect(Command1, &QPushButton::clicked, this, &frm_rip_spese::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_rip_spese::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_rip_spese::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm_rip_spese::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frm_rip_spese::Command5_Click);

    Form_Load();
}

frm_rip_spese::~frm_rip_spese() = default;

// --- Loading ---------------------------------------------------------------------------------

void frm_rip_spese::Form_Load()
{
    m_project = VAR_GBL.nome_progetto;
    m_archive = VAR_GBL.progetto_corrente.value_or(QString());

    // The project's name is a bound value of the filter, whatever characters it holds.
    Data1->setDatabaseName(SummaryTable::path());
    Data1->setRecordSource(SummaryTable::projectRows(m_project));
    m_foreign = false;
    try {
        // The rows of a namesake in another folder are that project's: they are not shown here.
        QString other;
        {
            Database summary = Database::open(SummaryTable::path());
            other = SummaryTable::otherOwner(summary, m_project, m_archive);
        }
        m_foreign = !other.isEmpty();
        if (m_foreign) {
            TDBGrid1->setDataSource(nullptr);
            information(
                SummaryTable::otherOwnerText(m_project, other) + QStringLiteral(": non vengono mostrate."));
        } else {
            Data1->refresh();
            TDBGrid1->setDataSource(Data1);
        }
    } catch (const DbError &error) {
        TDBGrid1->setDataSource(nullptr);
        failure(QStringLiteral("Impossibile aprire la tabella riepilogativa \"%1\": %2")
                    .arg(QString(SummaryTable::FileName), platform::failureText(error)));
    }

    Data2->setDatabaseName(m_archive);
    Data2->setRecordSource(ExpenseArchive::unitQuery());
    if (!m_archive.isEmpty()) {
        try {
            Data2->refresh();
        } catch (const DbError &error) {
            failure(
                QStringLiteral("Impossibile leggere le unità del progetto: ") + platform::failureText(error));
        }
    }
}

void frm_rip_spese::projectOpened()
{
    Form_Load();
}

void frm_rip_spese::reload(qint64 currentRowid)
{
    if (m_foreign)
        return;
    Data1->refresh();
    if (currentRowid >= 0 && Data1->rowOf(currentRowid) >= 0)
        Data1->setCurrentRow(Data1->rowOf(currentRowid));
}

// --- Commands --------------------------------------------------------------------------------

void frm_rip_spese::Command1_Click()
{
    if (!VAR_GBL.progetto_corrente) {
        information(QStringLiteral("Nessun progetto selezionato"));
        return;
    }
    formparts::attempt(QStringLiteral("Tabella non creata: "), [] {
        Database summary = Database::open(SummaryTable::path());
        Database project = Database::open(*VAR_GBL.progetto_corrente);
        SummaryTable::create(summary, project, VAR_GBL.nome_progetto, *VAR_GBL.progetto_corrente);
    });
    platform::tryStep([this] {
        Data2->refresh();
        reload();
    });
}

void frm_rip_spese::copy(const QString &operation)
{
    if (m_archive.isEmpty() || m_foreign)
        return;
    formparts::attempt(QString(), [&] {
        ThousandthsCopy::runOn(
            m_archive, SummaryTable::path(), SummaryTable::projectRows(m_project), operation);
    });
    platform::tryStep([this] { reload(); });
}

void frm_rip_spese::Command2_Click()
{
    close();
}

void frm_rip_spese::Command3_Click()
{
    if (dialogs().msgBox(QStringLiteral("Vuoi Eliminare i dati della tabella ?"), MsgButtons::YesNo,
            MsgIcon::Critical, QStringLiteral("!!! Elimina Dati !!!"), platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    formparts::attempt(QStringLiteral("Impossibile eliminare i dati: "), [this] {
        Database summary = Database::open(SummaryTable::path());
        SummaryTable::removeProject(summary, m_project, m_archive);
        // Rows made later may take the numbers of the rows deleted.
        lastSelection().clear();
    });
    platform::tryStep([this] { reload(); });
}

void frm_rip_spese::Command4_Click()
{
    for (qint64 rowid : TDBGrid1->selectedBookmarksInClickOrder()) {
        const int row = Data1->rowOf(rowid);
        if (row >= 0)
            Data1->setCurrentRow(row);
    }
}

void frm_rip_spese::Command5_Click()
{
    if (!VAR_GBL.progetto_corrente) {
        information(QStringLiteral("Nessun progetto selezionato"));
        return;
    }
    // Rows of a project of the same name in another folder are that project's: not printed here.
    if (!formparts::attempt(QStringLiteral("Stampa non eseguita: "), [] {
            Database summary = Database::open(SummaryTable::path());
            SummaryTable::checkOwner(summary, VAR_GBL.nome_progetto, *VAR_GBL.progetto_corrente);
        }))
        return;
    CrystalReport1.DataFiles.at(0) = SummaryTable::path();
    CrystalReport1.DataFiles.at(1) = *VAR_GBL.progetto_corrente;
    // The project's name is a value of the formula: quotes in it select its own rows, and only
    // in its exact case ("condo1" is another project).
    CrystalReport1.caseSensitiveSelection = true;
    const QString formula
        = platform::FormulaBuilder()
              .text(QStringLiteral("TAB_GENERALE"), QStringLiteral("COD_CONDOMINIO"), VAR_GBL.nome_progetto)
              .toString();
    platform::ReportCall::reportStep(CrystalReport1, platform::ReportCall::ExportOff,
        { QStringLiteral("Tab_riep.gst"), {}, QString(), formula, {}, {}, false });
}

void frm_rip_spese::TDBGrid1_MouseUp(int Button, const QPoint &globalPosition)
{
    if (Button != 2)
        return;
    MainWindowMenu *menu = mainWindowMenu();
    if (!menu)
        return;
    menu->setPopupItemVisible(QStringLiteral("Opzioni"), true);
    menu->setPopupItemVisible(QStringLiteral("sel"), true);
    menu->setPopupItemVisible(QStringLiteral("accorpa"), true);
    menu->setPopupItemVisible(QStringLiteral("copia"), false);
    menu->setPopupItemVisible(QStringLiteral("incolla"), false);
    menu->popUpOpzioni(globalPosition);
}

// --- The merge -------------------------------------------------------------------------------

void frm_rip_spese::sel_Click()
{
    const QList<qint64> selected = TDBGrid1->selectedBookmarksInClickOrder();
    SummaryTable::MergeSums gathered;
    try {
        Database summary = Database::open(SummaryTable::path());
        gathered = SummaryTable::gather(summary, selected);
    } catch (const DbError &error) {
        // A step that fails adds nothing; the sums are reset all the same.
        qWarning("Seleziona: %s", qPrintable(error.message()));
    }
    VAR_GBL.somma_mil_generali = gathered.sums[0];
    VAR_GBL.somma_mil_palazzina = gathered.sums[1];
    VAR_GBL.somma_mil_scala = gathered.sums[2];
    VAR_GBL.somma_mil_ascensore = gathered.sums[3];
    VAR_GBL.somma_mil_riscaldamento = gathered.sums[4];
    VAR_GBL.somma_mil_portierato = gathered.sums[5];
    VAR_GBL.descrizioni_accorpate = gathered.descriptions;
    lastSelection() = selected;
    // The last selected row stays current.
    Command4_Click();
}

void frm_rip_spese::accorpa_Click()
{
    if (Data1->noCurrentRow()) {
        information(QStringLiteral("Nessuna riga corrente: scegliere la riga in cui accorpare."));
        return;
    }
    const qint64 rowid = Data1->rowid(Data1->currentRow());
    if (lastSelection().contains(rowid)
        && dialogs().msgBox(QStringLiteral("La riga corrente è tra quelle selezionate: i suoi millesimi "
                                           "verrebbero contati due volte. Vuoi accorpare comunque ?"),
               MsgButtons::YesNo, MsgIcon::Question, engine::MessageTitle::Warning)
            != MsgResult::Yes)
        return;
    const std::array<QVariant, 6> sums
        = { VAR_GBL.somma_mil_generali, VAR_GBL.somma_mil_palazzina, VAR_GBL.somma_mil_scala,
              VAR_GBL.somma_mil_ascensore, VAR_GBL.somma_mil_riscaldamento, VAR_GBL.somma_mil_portierato };
    formparts::attempt(QStringLiteral("Righe non accorpate: "), [&] {
        Data1->storePending();
        Database summary = Database::open(SummaryTable::path());
        SummaryTable::merge(summary, rowid, sums, VAR_GBL.descrizioni_accorpate);
    });
    platform::tryStep([this, rowid] { reload(rowid); });
}

bool frm_rip_spese::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TDBGrid1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            TDBGrid1_MouseUp(2, mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zav::expenses
