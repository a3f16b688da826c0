#include "expenses/frm_ripart_spese.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "expenses/apportionment.h"
#include "expenses/expensearchive.h"
#include "expenses/expenseformparts.h"
#include "expenses/expensesforms.h"
#include "expenses/mainwindowmetrics.h"
#include "expenses/money.h"
#include "expenses/thousandthscopy.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/report/reportcall.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/vb.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QtDebug>

#include <array>
#include <optional>

namespace zav::expenses {

using engine::VAR_GBL;
using formparts::column;
using formparts::failure;
using formparts::information;
using platform::Database;
using platform::DataGrid;
using platform::DataGridColumn;
using platform::DataSource;
using platform::DbError;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

const QString Currency = QStringLiteral("Currency");

// Why a typed amount cannot be stored, or nothing: it must read whole in the system's number format
// and carry no more decimals than the currency's two, for "1,000" under the comma (or "1.000" under
// the point) is a thousand mistyped far more often than one with three decimals. Empty is no amount.
std::optional<QString> amountRefusal(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (!platform::vb::CDbl(text))
        return platform::vb::notANumberMessage(text);
    const QChar mark = platform::vb::decimalSeparator();
    const qsizetype at = text.indexOf(mark);
    qsizetype decimals = 0;
    while (at >= 0 && at + 1 + decimals < text.size() && text.at(at + 1 + decimals).isDigit())
        ++decimals;
    if (decimals <= 2)
        return std::nullopt;
    const bool comma = mark == u',';
    return QStringLiteral(
        "\"%1\" non è un importo: dopo %2 si scrivono al massimo due decimali. Per le migliaia "
        "scrivere per esempio %3.")
        .arg(text, comma ? QStringLiteral("la virgola") : QStringLiteral("il punto"),
            comma ? QStringLiteral("1.000 o 1.234,50") : QStringLiteral("1,000 o 1,234.50"));
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    return platform::formButton(QString::fromLatin1(name), caption, parent);
}

void lock(DataGrid *g, const QString &caption)
{
    const int index = g->columnByCaption(caption);
    if (index < 0)
        return;
    DataGridColumn c = g->column(index);
    c.locked = true;
    g->setColumn(index, c);
}

QString project()
{
    return VAR_GBL.progetto_corrente.value_or(QString());
}

// Why the archive was not made, in Italian: the database's failures by their reading, the file
// steps' own messages (a missing template, a copy that cannot be written) as they are.
QString whyNotMade(const DbError &error)
{
    if (error.message().contains(QLatin1String("locked"), Qt::CaseInsensitive))
        return QStringLiteral("L'archivio è in uso da un'altra operazione: riprovare fra poco.");
    // The new archive is made aside: on a full disk the old one is still there as it was.
    if (error.code() == platform::DbErrorCode::DiskFull)
        return engine::databaseFailureText(error, QStringLiteral("nessun archivio è stato cambiato"));
    const QString reading = engine::databaseFailureText(error.message()).section(u'\n', 0, 0);
    if (error.code() == platform::DbErrorCode::DatabaseNotFound
        || error.code() == platform::DbErrorCode::PathFileAccess
        || reading == engine::databaseFailureText(QString()))
        return error.message();
    return reading;
}

} // namespace

frm_ripart_spese::frm_ripart_spese(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(ExpenseFormName);
    setWindowTitle(QStringLiteral("Ripartizione delle Spese"));

    Data1 = formparts::dataSource("Data1", this);
    Data3 = formparts::dataSource("Data3", this);
    Data4 = formparts::dataSource("Data4", this);
    Data5 = formparts::dataSource("Data5", this);
    Data6 = formparts::dataSource("Data6", this);
    buildGrids();
    Command6 = button("Command6", QStringLiteral("Calcola Spese"), this);
    Command1 = button("Command1", QStringLiteral("Crea Tabella"), this);
    Command4 = button("Command4", QStringLiteral("Tabella Spese"), this);
    Command3 = button("Command3", QStringLiteral("Elimina Tutto"), this);
    Command5 = button("Command5", QStringLiteral("Stampa"), this);
    Command2 = button("Command2", QStringLiteral("Esci"), this);
    CrystalReport1.previewTitle = formparts::PreviewTitle;
    buildLayout();

    connect(Command1, &QPushButton::clicked, this, &frm_ripart_spese::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_ripart_spese::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_ripart_spese::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm_ripart_spese::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frm_ripart_spese::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frm_ripart_spese::Command6_Click);
    connect(Command8, &QPushButton::clicked, this, &frm_ripart_spese::Command8_Click);

    // The form sees its keys before its controls do.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { Form_KeyDown(27); });
    auto *totals = new QShortcut(QKeySequence(Qt::Key_F10), this);
    totals->setContext(Qt::WidgetWithChildrenShortcut);
    connect(totals, &QShortcut::activated, this, [this] { Form_KeyDown(121); });

    Form_Load();
}

frm_ripart_spese::~frm_ripart_spese() = default;

void frm_ripart_spese::buildGrids()
{
    m_gridArea = new QWidget(this);
    m_gridArea->setObjectName(QStringLiteral("GridArea"));
    m_gridArea->installEventFilter(this);

    TDBGrid1 = formparts::dataGrid("TDBGrid1", QStringLiteral("Tabella Ripartizione Spese"), m_gridArea);
    TDBGrid1->setColumns({
        column("Nome_Condomino", "Nome Condomino", 160),
        column("pal", "Pal.", 40),
        column("scala", "Scala", 60),
        column("piano", "Piano", 45),
        column("interno", "Int.", 40),
        column("millesimi_generali", "Mil. Gen.", 75),
        column("TAB_A", "A", 90, Currency),
        column("millesimi_palazzina", "Mil. Pal.", 75),
        column("TAB_B", "B", 90, Currency),
        column("millesimi_scala", "Mil. Scala", 75),
        column("TAB_C", "C", 90, Currency),
        column("millesimi_ascensore", "Mil. Asc.", 75),
        column("TAB_D", "D", 90, Currency),
        column("millesimi_riscaldamento", "Mil. Risc.", 75),
        column("TAB_E", "E", 90, Currency),
        column("millesimi_portierato", "Mil. Port.", 75),
        column("TAB_F", "F", 90, Currency),
        column("totale", "TOTALE", 100, Currency),
    });
    // Eighteen columns print across the page.
    TDBGrid1->setPrintOrientation(QPageLayout::Landscape);

    Frame1 = new QFrame(m_gridArea);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setAutoFillBackground(true);
    TDBGrid4 = formparts::dataGrid("TDBGrid4", QStringLiteral("Tabella Spese Generale"), Frame1);
    TDBGrid4->setColumns({ column("tabella", "Tabella", 170), column("importo", "Importo", 110, Currency) });
    TDBGrid2 = formparts::dataGrid("TDBGrid2", QStringLiteral("Tabella Spese Palazzina"), Frame1);
    TDBGrid2->setColumns({ column("palazzina", "Pal.", 50), column("importo", "Importo", 110, Currency) });
    TDBGrid3 = formparts::dataGrid("TDBGrid3", QStringLiteral("Tabella Spese Scala"), Frame1);
    TDBGrid3->setColumns({ column("palazzina", "Pal.", 50), column("scala", "Scala", 70),
        column("importo", "Importo", 110, Currency) });
    TDBGrid5 = formparts::dataGrid("TDBGrid5", QStringLiteral("Tabella Spese Ascensore"), Frame1);
    TDBGrid5->setColumns({ column("palazzina", "Pal.", 50), column("scala", "Scala", 70),
        column("importo", "Importo", 110, Currency) });
    Command8 = button("Command8", QStringLiteral("Esci"), Frame1);
    for (DataGrid *g : { TDBGrid1, TDBGrid4, TDBGrid2, TDBGrid3, TDBGrid5 })
        g->setToolTip(g->caption());
    for (DataGrid *amounts : { TDBGrid4, TDBGrid2, TDBGrid3, TDBGrid5 }) {
        amounts->setContextMenuPolicy(Qt::DefaultContextMenu);
        amounts->viewport()->installEventFilter(this);
    }
    for (DataGrid *g : { TDBGrid1, TDBGrid4, TDBGrid2, TDBGrid3, TDBGrid5 })
        checkTypedValues(g);
    Frame1->hide();
}

void frm_ripart_spese::checkTypedValues(DataGrid *g)
{
    // A typed amount is read whole in the system's number format or refused with the form expected
    // ("0.5" under the comma is no 5), and amounts, shares and thousandths stay within what the
    // apportionment can add up. A refused cell stays in edit for the user to put it right.
    g->dataModel()->setBeforeColUpdate([g](int index, const QVariant &, const QVariant &typed) {
        const QString field = g->column(index).dataField;
        if (g->column(index).format == Currency) {
            if (const std::optional<QString> refusal = amountRefusal(typed.toString())) {
                dialogs().msgBox(*refusal, MsgButtons::Ok, MsgIcon::Exclamation, platform::programTitle());
                return true;
            }
        }
        QString problem;
        if (field.startsWith(QLatin1String("millesimi_"), Qt::CaseInsensitive))
            problem = Apportionment::thousandthsProblem(typed);
        else if (g->column(index).format == Currency)
            problem = Apportionment::amountProblem(typed);
        if (problem.isEmpty())
            return false;
        failure(problem);
        return true;
    });
}

void frm_ripart_spese::buildLayout()
{
    const auto captioned = [this](DataGrid *g) {
        auto *box = new QVBoxLayout;
        auto *label = new QLabel(g->caption(), Frame1);
        label->setObjectName(g->objectName() + QStringLiteral("Caption"));
        box->addWidget(label);
        box->addWidget(g);
        return box;
    };
    auto *frame = new QGridLayout(Frame1);
    frame->addLayout(captioned(TDBGrid4), 0, 0);
    frame->addLayout(captioned(TDBGrid2), 0, 1);
    frame->addLayout(captioned(TDBGrid3), 0, 2);
    frame->addLayout(captioned(TDBGrid5), 1, 0, 1, 3);
    auto *exit = new QHBoxLayout;
    exit->addStretch();
    exit->addWidget(Command8);
    frame->addLayout(exit, 2, 0, 1, 3);
    frame->setRowStretch(0, 3);
    frame->setRowStretch(1, 2);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : { Command6, Command1, Command4, Command3, Command5, Command2 })
        buttons->addWidget(b);
    buttons->addStretch();

    auto *caption = new QLabel(TDBGrid1->caption(), this);
    caption->setObjectName(QStringLiteral("TDBGrid1Caption"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_gridArea, 1);
    layout->addLayout(buttons);
    resize(1000, 560);
}

QList<frm_ripart_spese::Binding> frm_ripart_spese::bindings() const
{
    const QStringList tables = ExpenseArchive::tables();
    return { { Data1, TDBGrid1, tables.at(0) }, { Data3, TDBGrid2, tables.at(1) },
        { Data4, TDBGrid3, tables.at(2) }, { Data5, TDBGrid4, tables.at(3) },
        { Data6, TDBGrid5, tables.at(4) } };
}

// --- Loading and binding ---------------------------------------------------------------------

void frm_ripart_spese::Form_Load()
{
    // Only the project's own archive opens by itself: the one named after it, or one named apart
    // for it; any other needs "Crea Tabella". Another project's archive is never opened.
    if (!VAR_GBL.progetto_corrente)
        return;
    ExpenseArchive::Found found;
    platform::tryStep(
        [&] { found = ExpenseArchive::findForProject(VAR_GBL.nome_progetto, *VAR_GBL.progetto_corrente); });
    if (found.path.isEmpty()) {
        if (!found.otherOwner.isEmpty())
            information(QStringLiteral("L'archivio spese \"%1\" è del progetto \"%2\" e non viene aperto per "
                                       "questo progetto. Per questo progetto creare la tabella con \"Crea "
                                       "Tabella\", sotto un altro nome.")
                            .arg(QFileInfo(ExpenseArchive::pathFor(VAR_GBL.nome_progetto)).fileName(),
                                QDir::toNativeSeparators(found.otherOwner)));
        return;
    }
    // An archive made before archives named their project becomes this project's.
    if (found.claim == ExpenseArchive::Claim::Free) {
        platform::tryStep([&] {
            Database archive = Database::open(found.path);
            ExpenseArchive::setOwner(archive, *VAR_GBL.progetto_corrente);
        });
    }
    bindArchive(found.path);
}

void frm_ripart_spese::bindArchive(const QString &path)
{
    m_archive = path;
    QStringList missing;
    QString problem;
    for (const Binding &b : bindings()) {
        b.source->setDatabaseName(path);
        b.source->setRecordSource(b.table);
        try {
            b.source->refresh();
            b.grid->setDataSource(b.source);
        } catch (const DbError &error) {
            b.grid->setDataSource(nullptr);
            if (error.code() == platform::DbErrorCode::ItemNotFound)
                missing << b.table;
            else if (problem.isEmpty())
                problem = engine::databaseFailureText(error);
        }
    }
    const QString name = QFileInfo(path).fileName();
    QStringList fields;
    if (problem.isEmpty())
        platform::tryStep([&] {
            Database archive = Database::open(path);
            fields = ExpenseArchive::missingFields(archive);
        });
    if (!problem.isEmpty()) {
        failure(QStringLiteral("Impossibile aprire l'archivio spese \"%1\": %2").arg(name, problem));
    } else if (!missing.isEmpty() || !fields.isEmpty()) {
        QStringList lines;
        if (!missing.isEmpty())
            lines << QStringLiteral("non contiene le tabelle: %1").arg(missing.join(QStringLiteral(", ")));
        lines << fields;
        failure(QStringLiteral("L'archivio spese \"%1\" %2.").arg(name, lines.join(QStringLiteral("; "))));
    }
}

void frm_ripart_spese::unbindArchive()
{
    m_archive.clear();
    for (const Binding &b : bindings())
        b.grid->setDataSource(nullptr);
}

void frm_ripart_spese::projectOpened()
{
    unbindArchive();
    Frame1->hide();
    Form_Load();
}

// --- Crea Tabella ----------------------------------------------------------------------------

void frm_ripart_spese::Command1_Click()
{
    if (!VAR_GBL.progetto_corrente) {
        information(QStringLiteral("Nessun progetto selezionato"));
        return;
    }
    const std::optional<QString> answer
        = dialogs().inputBox(QStringLiteral("Inserire il nome della Tabella."),
            QStringLiteral("Crea Tabella"), VAR_GBL.nome_progetto);
    const QString name = answer.value_or(QString()).trimmed();
    if (name.isEmpty())
        return;
    const QString problem = ExpenseArchive::nameProblem(name);
    if (!problem.isEmpty()) {
        information(problem);
        return;
    }

    // Another project's archive is never replaced; the name can be chosen apart.
    ExpenseArchive::Found target;
    try {
        target = ExpenseArchive::targetFor(name, project());
    } catch (const DbError &error) {
        // Held by another connection: said after the one wait, with the form left as it was.
        failure(QStringLiteral("Tabella non creata. ") + whyNotMade(error));
        return;
    }
    if (target.path.isEmpty()) {
        failure(QStringLiteral("La tabella \"%1\" è l'archivio spese del progetto \"%2\" e non viene "
                               "sostituita. Scegliere un altro nome.")
                    .arg(QFileInfo(ExpenseArchive::pathFor(name)).fileName(),
                        QDir::toNativeSeparators(target.otherOwner)));
        return;
    }

    // The new archive is made whole aside and takes the old one's place only then: a failure
    // (no template, a full disk, an archive in use) leaves the old one as it was.
    const QString previous = m_archive;
    unbindArchive();
    ExpenseArchive::FillOutcome outcome;
    try {
        outcome = ExpenseArchive::create(target.path, project());
    } catch (const DbError &error) {
        failure(QStringLiteral("Tabella non creata. ") + whyNotMade(error));
        if (!previous.isEmpty())
            bindArchive(previous);
        return;
    }
    bindArchive(target.path);
    if (outcome.notice)
        information(*outcome.notice);
    if (!outcome.failures.isEmpty()) {
        failure(QStringLiteral("Alcuni dati del progetto non sono stati copiati nella tabella:\n")
            + outcome.failures.join(u'\n'));
    }
}

void frm_ripart_spese::copy(const QString &operation)
{
    if (m_archive.isEmpty() || !VAR_GBL.progetto_corrente)
        return;
    formparts::attempt(QString(), [&] {
        ThousandthsCopy::runOn(
            project(), m_archive, platform::TableQuery { TAB_GENERALE, {}, {} }, operation);
    });
    platform::tryStep([this] { Data1->refresh(); });
}

// --- The other commands ----------------------------------------------------------------------

void frm_ripart_spese::Command2_Click()
{
    close();
}

void frm_ripart_spese::Command3_Click()
{
    if (m_archive.isEmpty()) {
        information(QStringLiteral("Nessuna tabella spese aperta."));
        return;
    }
    if (dialogs().msgBox(QStringLiteral("Vuoi eliminare tutti i dati ?"), MsgButtons::YesNo,
            MsgIcon::Critical, QStringLiteral("!!! Elimina i dati !!!"), platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    formparts::attempt(QStringLiteral("Impossibile eliminare i dati: "), [this] {
        Database archive = Database::open(m_archive);
        ExpenseArchive::empty(archive);
    });
    bindArchive(m_archive);
}

void frm_ripart_spese::Command4_Click()
{
    Frame1->show();
    Frame1->raise();
    lock(TDBGrid2, QStringLiteral("Pal."));
    lock(TDBGrid3, QStringLiteral("Pal."));
    lock(TDBGrid3, QStringLiteral("Scala"));
    lock(TDBGrid4, QStringLiteral("Tabella"));
    lock(TDBGrid5, QStringLiteral("Pal."));
    lock(TDBGrid5, QStringLiteral("Scala"));
}

void frm_ripart_spese::Command5_Click()
{
    const std::optional<QString> answer = dialogs().inputBox(
        QStringLiteral(
            "Selezionare il tipo di anteprima. 1 per anteprima semplice, 2 per anteprima standard"),
        QStringLiteral("Anteprima di stampa"), QStringLiteral("1"));
    // Only the exact answers act: "1 " and "01" do nothing, as Cancel does.
    if (answer == QStringLiteral("1")) {
        TDBGrid1->printPreview(formparts::PreviewTitle);
    } else if (answer == QStringLiteral("2")) {
        if (m_archive.isEmpty()) {
            information(QStringLiteral("Nessuna tabella spese aperta: crearla con \"Crea Tabella\"."));
            return;
        }
        // The archive the grid shows, whatever its name; a formula left by an earlier run never applies.
        // The heading names the project.
        CrystalReport1.parameters.insert(QStringLiteral("PROGETTO"), VAR_GBL.nome_progetto);
        platform::ReportCall::reportStep(CrystalReport1, platform::ReportCall::ExportOff,
            { QStringLiteral("Rip_spese.rpt"), { 0 }, m_archive, QString(), {}, {}, false });
    }
}

void frm_ripart_spese::Command8_Click()
{
    Frame1->hide();
}

void frm_ripart_spese::Command6_Click()
{
    if (m_archive.isEmpty()) {
        information(QStringLiteral("Nessuna tabella spese aperta: crearla con \"Crea Tabella\"."));
        return;
    }
    TDBGrid1->setVisible(false);
    Apportionment::Result result;
    QString problem;
    try {
        Database archive = Database::open(m_archive);
        // A table that lacks a field the calculation reads or writes is damaged: nothing is computed.
        const QStringList fields = ExpenseArchive::missingFields(archive);
        if (fields.isEmpty())
            result = Apportionment::run(archive);
        else
            problem = fields.join(QStringLiteral("; ")) + u'.';
    } catch (const DbError &error) {
        problem = engine::databaseFailureText(error);
    }
    platform::tryStep([this] { Data1->refresh(); });
    TDBGrid1->setVisible(true);
    if (!problem.isEmpty()) {
        failure(QStringLiteral("Calcolo non effettuato: ") + problem);
        return;
    }
    if (result.refused()) {
        failure(result.refusal());
        return;
    }
    // An amount apportioned to nobody is said instead of the calculation's success.
    QString text
        = result.unapportioned.isEmpty() ? QStringLiteral("Calcolo Effettuato") : result.unapportionedText();
    if (!result.notes().isEmpty())
        text += u'\n' + result.notes();
    if (!result.unapportioned.isEmpty())
        information(text);
    else
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::None, platform::programTitle());
}

void frm_ripart_spese::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 27)
        Frame1->hide();
    else if (KeyCode == 121)
        showTotals();
}

void frm_ripart_spese::showTotals()
{
    // General, heating, porter's lodge and building shares over every unit row.
    const QStringList fields = { QStringLiteral("TAB_A"), QStringLiteral("TAB_E"), QStringLiteral("TAB_F"),
        QStringLiteral("TAB_B") };
    std::array<std::optional<Money>, 4> totals { Money(), Money(), Money(), Money() };
    if (!m_archive.isEmpty()) {
        // Totals of an archive that cannot be read would read as nothing spent.
        try {
            Data1->refresh();
        } catch (const DbError &error) {
            failure(QStringLiteral("L'archivio spese \"%1\" non può essere letto: i totali non sono "
                                   "calcolati.\n%2")
                        .arg(QFileInfo(m_archive).fileName(), engine::databaseFailureText(error)));
            return;
        }
        // A field the table lacks adds nothing to its total.
        std::array<int, 4> positions {};
        for (int i = 0; i < fields.size(); ++i)
            positions[i] = Data1->fieldIndex(fields.at(i));
        for (int row = 0; row < Data1->recordCount(); ++row) {
            const QVector<QVariant> &values = Data1->rowValues(row);
            for (int i = 0; i < fields.size(); ++i) {
                if (positions[i] < 0 || !totals[i])
                    continue;
                const std::optional<Money> value = Money::fromValue(values.at(positions[i]));
                if (!value)
                    continue;
                try {
                    *totals[i] += *value;
                } catch (const std::overflow_error &) {
                    totals[i].reset();
                }
            }
        }
    }
    // A total beyond what the program adds up is said, not wrapped round to another number.
    const auto text = [&](int i) {
        return totals[i] ? platform::vb::Format(totals[i]->toDouble(), Currency)
                         : QStringLiteral("troppo grande (ridurre le quote e ripetere \"Calcola Spese\")");
    };
    dialogs().msgBox(QStringLiteral("Totale Generale: ") + text(0) + QStringLiteral(" Totale Riscaldamento: ")
            + text(1) + QStringLiteral(" Totale Portierato: ") + text(2)
            + QStringLiteral(" Totale Palazzina: ") + text(3),
        MsgButtons::Ok, MsgIcon::None, platform::programTitle());
}

// --- Amount rows -----------------------------------------------------------------------------

void frm_ripart_spese::addAmountRow(DataGrid *g)
{
    DataSource *s = g ? g->dataSource() : nullptr;
    if (!s)
        return;
    try {
        s->addNew();
        s->update();
        s->moveLast();
    } catch (const DbError &error) {
        s->cancelUpdate();
        failure(engine::databaseFailureText(error));
    }
}

void frm_ripart_spese::deleteAmountRow(DataGrid *g)
{
    DataSource *s = g ? g->dataSource() : nullptr;
    if (!s || s->noCurrentRow())
        return;
    if (dialogs().msgBox(QStringLiteral("Vuoi eliminare la riga ?"), MsgButtons::YesNo, MsgIcon::Critical,
            engine::MessageTitle::DeleteRow, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    formparts::attempt(QString(), [s] { s->deleteCurrent(); });
}

// --- Layout ----------------------------------------------------------------------------------

void frm_ripart_spese::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frm_ripart_spese::Form_Resize()
{
    const MainWindowMetrics *metrics = mainWindowMetrics();
    if (!metrics)
        return;
    const int width = metrics->windowWidth() - metrics->bandWidth(1);
    // A main window narrower than its band leaves the grid as it is.
    if (width < 0)
        return;
    m_gridWidth = width;
    placeGrids();
}

void frm_ripart_spese::placeGrids()
{
    const QRect area = m_gridArea->rect();
    TDBGrid1->setGeometry(0, 0, m_gridWidth.value_or(area.width()), area.height());
    Frame1->setGeometry(area);
}

bool frm_ripart_spese::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_gridArea && event->type() == QEvent::Resize) {
        placeGrids();
    } else if (event->type() == QEvent::ContextMenu) {
        auto *g = qobject_cast<DataGrid *>(watched->parent());
        if (g && g->dataSource()) {
            QMenu menu(this);
            QAction *add = menu.addAction(QStringLiteral("Aggiungi riga"));
            QAction *remove = menu.addAction(QStringLiteral("Elimina riga"));
            remove->setEnabled(!g->dataSource()->noCurrentRow());
            const QAction *chosen = menu.exec(static_cast<QContextMenuEvent *>(event)->globalPos());
            if (chosen == add)
                addAmountRow(g);
            else if (chosen == remove)
                deleteAmountRow(g);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zav::expenses
