#include "printing/st_mil.h"

#include "controls/xpbutton.h"
#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/report/selectionformula.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/vb.h"
#include "printing/documents.h"
#include "printing/printarchive.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace zav::printing {

using engine::VAR_GBL;
using platform::dialogs;
using platform::FormulaBuilder;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::ReportCall;
using platform::tryStep;

/** One thousandths or unit-register report of the form: what differs from one to the other. */
struct ST_MIL::Thousandths
{
    const char *file; ///< definition in "STAMPE"
    const char *tag; ///< export name after the project's first three characters
    int dataSlots[2]; ///< slots set to the project archive, in this order
    Cut cut; ///< what the selection and the printer loop walk
    const char *table; ///< the table the selection names
    bool numericBuilding; ///< the building is compared as a number (`NUM_PAL`), else as text (`PALAZ`)
    bool nameCarriesCut; ///< the export name carries the building (and the stair's first two characters)
};

const ST_MIL::Thousandths ST_MIL::Glob { "MIL_GLOB.GST", "GBL", { 0, 7 }, Cut::None, "MILLESIMI", false,
    false };
const ST_MIL::Thousandths ST_MIL::Pal { "MIL_PAL.GST", "PAL", { 10, 8 }, Cut::Building, "TEMPORANEO", false,
    true };
const ST_MIL::Thousandths ST_MIL::Scl { "MIL_SCL.GST", "SCL", { 10, 9 }, Cut::BuildingStair, "TEMPORANEO2",
    false, true };
const ST_MIL::Thousandths ST_MIL::Asc { "MIL_ASC.GST", "ASC", { 10, 9 }, Cut::BuildingStair, "TEMPORANEO2",
    false, true };
const ST_MIL::Thousandths ST_MIL::Risc { "MIL_RISC.GST", "RISC", { 0, 6 }, Cut::None, "MIL_RISC", false,
    false };
const ST_MIL::Thousandths ST_MIL::Port { "MIL_PORT.GST", "PORT", { 0, 5 }, Cut::None, "MIL_PORTIERATO", false,
    false };
const ST_MIL::Thousandths ST_MIL::CodPiani { "CODPIANI.GST", "ANAGR", { 0, 1 }, Cut::BuildingStair,
    "CODIF_PIANI", true, false };

namespace {

const QString TitleAttention = QStringLiteral("!!! Attenzione !!!");
const QString TitleZavAttention = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString TitleDocuments = QStringLiteral("!!! ATTENZIONE !!!");

void attention(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, TitleAttention);
}

void information(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, TitleZavAttention);
}

QString project()
{
    return VAR_GBL.progetto_corrente.value_or(QString());
}

bool isEmptyValue(const QVariant &value)
{
    return value.isNull() || !value.isValid() || value.toString().isEmpty();
}

QComboBox *comboBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMinimumContentsLength(8);
    return box;
}

controls::XPButton *documentButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new controls::XPButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCaption(caption);
    b->setMinimumSize(150, 25);
    return b;
}

} // namespace

ST_MIL::ST_MIL(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ST_MIL"));
    setWindowTitle(QStringLiteral("Stampa Millesimi / Dati Condomini"));
    CrystalReport1.previewTitle = QStringLiteral("Z.A.V. (Anteprima di Stampa)");

    Option1 = new QRadioButton(QStringLiteral("Video"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("Stampante"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3 = new QRadioButton(QStringLiteral("File RTF"), this);
    Option3->setObjectName(QStringLiteral("Option3"));
    Option1->setChecked(true);
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("Stampa"), this);
    Command4 = platform::formButton(QStringLiteral("Command4"), QStringLiteral("Annulla"), this);
    Command5 = platform::formButton(QStringLiteral("Command5"), QStringLiteral("Esci"), this);
    Command1 = platform::formButton(QStringLiteral("Command1"), QStringLiteral("Seleziona Tutti"), this);

    Frame1 = new QGroupBox(QStringLiteral("Opzioni di Stampa"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Check1 = platform::formControl<QCheckBox>("Check1", QStringLiteral("Millesimi Globali"), Frame1);
    Check2 = platform::formControl<QCheckBox>("Check2", QStringLiteral("Millesimi Palazzina"), Frame1);
    Check3 = platform::formControl<QCheckBox>("Check3", QStringLiteral("Millesimi Scala"), Frame1);
    Check4 = platform::formControl<QCheckBox>("Check4", QStringLiteral("Millesimi Ascensore"), Frame1);
    Check5 = platform::formControl<QCheckBox>("Check5", QStringLiteral("Millesimi Riscaldamento"), Frame1);
    Check6 = platform::formControl<QCheckBox>("Check6", QStringLiteral("Millesimi Portierato"), Frame1);
    Check7 = platform::formControl<QCheckBox>("Check7", QStringLiteral("Millesimi Tabelle Varie"), Frame1);
    Check9 = platform::formControl<QCheckBox>("Check9", QStringLiteral("Anagrafica"), Frame1);
    Label6 = platform::formControl<QLabel>("Label6", QStringLiteral("Palazzina:"), Frame1);
    Combo1 = comboBox("Combo1", Frame1);
    Label7 = platform::formControl<QLabel>("Label7", QStringLiteral("Scala:"), Frame1);
    Combo2 = comboBox("Combo2", Frame1);
    Command3 = documentButton("Command3", QStringLiteral("Relazione di Calcolo"), Frame1);
    Command7 = documentButton("Command7", QStringLiteral("Dispos. Cod. Civile"), Frame1);
    Command8 = documentButton("Command8", QStringLiteral("Maggior. Assemblari"), Frame1);
    Command9 = documentButton("Command9", QStringLiteral("Schema Rip. Spese"), Frame1);
    XPButton1 = documentButton("XPButton1", QStringLiteral("Circolare 26/03/66"), Frame1);

    Frame2 = new QGroupBox(QStringLiteral("Tabelle"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    TDBGrid1 = new platform::DataGrid(Frame2);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setCaption(QStringLiteral("Elenco Tabelle Varie"));
    TDBGrid1->setReadOnly(true);
    TDBGrid1->setDataSource(Data1);
    TDBGrid1->setColumns({ { QStringLiteral("NOME_TABELLA"), QStringLiteral("Nome Tabella"), 200 } });
    Command6 = platform::formButton(QStringLiteral("Command6"), QStringLiteral("Seleziona Tab."), Frame2);
    Label1 = platform::formControl<QLabel>("Label1", QString(), Frame2);
    Label3 = platform::formControl<QLabel>("Label3", QStringLiteral("Lista Tab. stampate"), Frame2);
    List1 = new QListWidget(Frame2);
    List1->setObjectName(QStringLiteral("List1"));

    Frame3 = new QGroupBox(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Check8 = platform::formControl<QCheckBox>("Check8", QStringLiteral("Tab. Superfici"), Frame3);
    Label71 = platform::formControl<QLabel>("Label71", QStringLiteral("Seleziona palazzina:"), Frame3);
    Combo3 = comboBox("Combo3", Frame3);
    Check10 = platform::formControl<QCheckBox>("Check10", QStringLiteral("Tutti"), Frame3);
    Check10->setToolTip(
        QStringLiteral("L'opzione tutti verrà autoselezionata in caso di stampa diretta su stampante."));
    Check10->setEnabled(false);
    Label2 = platform::formControl<QLabel>(
        "Label2", QStringLiteral("LISTA CONDOMINI - TABELLA SUPERFICI"), Frame3);
    Data4 = new platform::DataSource(this);
    Data4->setObjectName(QStringLiteral("Data4"));
    TDBGrid14 = new platform::DataGrid(Frame3);
    TDBGrid14->setObjectName(QStringLiteral("TDBGrid14"));
    TDBGrid14->setReadOnly(true);
    TDBGrid14->setDataSource(Data4);
    // The unit's fields under the captions the register shows; the record keys stay hidden.
    const auto column = [](const char *field, const QString &caption, int width) {
        return platform::DataGridColumn { QString::fromLatin1(field), caption, width, width >= 0 };
    };
    const QList<platform::DataGridColumn> units = {
        column("PROPRIETARIO", QStringLiteral("Nome Condomino"), 180),
        column("ID", QStringLiteral("ID"), -1),
        column("NUM_PAL", QStringLiteral("Pal."), 40),
        column("SCALA", QStringLiteral("Scala"), 60),
        column("COD_CONDOM", QStringLiteral("COD_CONDOM"), -1),
        column("RIGA", QStringLiteral("Pos."), -1),
        column("DESCRIZIONE", QStringLiteral("Descrizione Immobile"), 160),
        column("HTERRA", QStringLiteral("Alt. terra"), 60),
        column("HPIANO", QStringLiteral("Alt. piano"), 60),
        column("HASCENSORE", QStringLiteral("Alt. ascens."), 70),
        column("TOT_SUP", QStringLiteral("Tot. Sup."), 70),
        column("TOT_VOL", QStringLiteral("Tot. Vol."), 70),
        column("TOT_VOL_RISC", QStringLiteral("Tot. Vol. Risc."), 80),
        column("TOT_RAD_RISC", QStringLiteral("Tot. Rad. Risc."), 80),
        column("SIGLA", QStringLiteral("Piano"), 50),
        column("INTERNO", QStringLiteral("Int."), 40),
    };
    TDBGrid14->setColumns(units);

    buildLayout();

    // A box changed by the program runs its handler as a click does; the building boxes run theirs
    // on the user's choice and through selectBuilding().
    connect(Check7, &QCheckBox::toggled, this, &ST_MIL::Check7_Click);
    connect(Check8, &QCheckBox::toggled, this, &ST_MIL::Check8_Click);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option3_Click();
    });
    connect(Combo1, &QComboBox::activated, this, &ST_MIL::Combo1_Click);
    connect(Combo3, &QComboBox::activated, this, &ST_MIL::Combo3_Click);
    connect(Command1, &QPushButton::clicked, this, &ST_MIL::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ST_MIL::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &ST_MIL::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &ST_MIL::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &ST_MIL::Command6_Click);
    connect(Command3, &controls::XPButton::Click, this, &ST_MIL::Command3_Click);
    connect(Command7, &controls::XPButton::Click, this, &ST_MIL::Command7_Click);
    connect(Command8, &controls::XPButton::Click, this, &ST_MIL::Command8_Click);
    connect(Command9, &controls::XPButton::Click, this, &ST_MIL::Command9_Click);
    connect(XPButton1, &controls::XPButton::Click, this, &ST_MIL::XPButton1_Click);

    Form_Load();
    // From here on a move in the user-table list chooses the table; the load's first row does not.
    connect(Data1, &platform::DataSource::currentRowChanged, this, &ST_MIL::TDBGrid1_RowColChange);
}

ST_MIL::~ST_MIL() = default;

void ST_MIL::buildLayout()
{
    auto *choices = new QGridLayout;
    const QList<QCheckBox *> left = { Check1, Check2, Check3, Check4 };
    const QList<QCheckBox *> right = { Check5, Check6, Check7, Check9 };
    for (int i = 0; i < 4; ++i) {
        choices->addWidget(left.at(i), i, 0);
        choices->addWidget(right.at(i), i, 1);
    }
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(Label6);
    boxes->addWidget(Combo1);
    boxes->addSpacing(12);
    boxes->addWidget(Label7);
    boxes->addWidget(Combo2);
    boxes->addStretch();
    // The document buttons stand in one column beside the choices, from the report down to the
    // circular.
    auto *documents = new QVBoxLayout;
    for (controls::XPButton *button : { Command3, Command7, Command8, Command9, XPButton1 })
        documents->addWidget(button);
    documents->addStretch();
    auto *options = new QVBoxLayout;
    options->addLayout(choices);
    options->addLayout(boxes);
    options->addStretch();
    auto *frame1 = new QHBoxLayout(Frame1);
    frame1->addLayout(options, 1);
    frame1->addLayout(documents);

    auto *frame2 = new QVBoxLayout(Frame2);
    frame2->addWidget(TDBGrid1, 2);
    auto *pick = new QHBoxLayout;
    pick->addWidget(Command6);
    pick->addWidget(Label1, 1);
    frame2->addLayout(pick);
    frame2->addWidget(Label3);
    frame2->addWidget(List1, 1);

    auto *frame3 = new QVBoxLayout(Frame3);
    auto *unitChoice = new QHBoxLayout;
    unitChoice->addWidget(Check8);
    unitChoice->addSpacing(12);
    unitChoice->addWidget(Label71);
    unitChoice->addWidget(Combo3);
    unitChoice->addSpacing(12);
    unitChoice->addWidget(Check10);
    unitChoice->addStretch();
    frame3->addLayout(unitChoice);
    frame3->addWidget(Label2);
    frame3->addWidget(TDBGrid14, 1);
    // At least a handful of units in view.
    TDBGrid14->setMinimumHeight(8 * TDBGrid14->fontMetrics().lineSpacing());

    auto *top = new QHBoxLayout;
    top->addWidget(Frame1, 3);
    top->addWidget(Frame2, 2);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Option1);
    bottom->addWidget(Option2);
    bottom->addWidget(Option3);
    bottom->addStretch();
    bottom->addWidget(Command1);
    bottom->addWidget(Command4);
    bottom->addWidget(Command2);
    bottom->addWidget(Command5);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Frame3, 1);
    layout->addLayout(bottom);
}

// --- Loading and the boxes ------------------------------------------------------------------------

void ST_MIL::Form_Load()
{
    std::optional<QStringList> buildings;
    const bool read = tryStep([&] { buildings = PrintArchive::buildings(project()); });
    // Without the project's header nothing is filled or bound.
    if (!read || !buildings)
        return;
    Combo1->clear();
    Combo3->clear();
    Combo1->addItems(*buildings);
    Combo3->addItems(*buildings);
    // The building box shows no building until one is chosen.
    Combo1->setCurrentIndex(-1);

    Data1->setDatabaseName(project());
    Data1->setRecordSource(engine::archive::NEW_TAB);
    tryStep([this] { Data1->refresh(); });

    // With no building the units grid has no building to show and stays empty.
    if (Combo3->count() > 0) {
        Combo3->setCurrentIndex(0);
        showUnits(Combo3->itemText(0));
    }
}

void ST_MIL::showUnits(const QString &building)
{
    Data4->setDatabaseName(project());
    const std::optional<double> number = platform::vb::CDbl(building);
    platform::TableQuery query;
    query.table = engine::archive::CODIF_PIANI;
    query.where.append({ QStringLiteral("NUM_PAL"), number ? QVariant(*number) : QVariant(building) });
    Data4->setRecordSource(query);
    tryStep([this] { Data4->refresh(); });
}

void ST_MIL::Combo1_Click()
{
    const QString building = Combo1->currentText();
    PrintArchive::Stairs stairs;
    try {
        stairs = PrintArchive::stairs(project(), building);
    } catch (const platform::DbError &error) {
        information(QStringLiteral("Impossibile leggere le palazzine del progetto.\n%1")
                        .arg(engine::databaseFailureText(error)));
        return;
    }
    switch (stairs.found) {
    case PrintArchive::Stairs::Found::NoBuildings:
        information(QStringLiteral("Non sono ancora state inserite palazzine"));
        return;
    case PrintArchive::Stairs::Found::NoSuchBuilding:
        return;
    case PrintArchive::Stairs::Found::NoStairs:
        information(QStringLiteral("Nessuna scala inserita nella palazzina n°: ") + building);
        Combo2->clear();
        return;
    case PrintArchive::Stairs::Found::Stairs:
        Combo2->clear();
        Combo2->addItems(stairs.entries);
        Combo2->setCurrentIndex(-1);
        return;
    }
}

void ST_MIL::Combo3_Click()
{
    if (!Combo3->currentText().isEmpty())
        showUnits(Combo3->currentText());
}

void ST_MIL::selectBuilding(int index)
{
    if (index < 0 || index >= Combo1->count())
        return;
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

void ST_MIL::selectStair(int index)
{
    if (index >= 0 && index < Combo2->count())
        Combo2->setCurrentIndex(index);
}

void ST_MIL::Check7_Click()
{
    Frame2->setEnabled(Check7->isChecked());
}

void ST_MIL::Check8_Click()
{
}

void ST_MIL::Option1_Click()
{
    Check10->setChecked(false);
}

void ST_MIL::Option2_Click()
{
    Check10->setChecked(true);
}

void ST_MIL::Option3_Click()
{
    Check10->setChecked(true);
}

void ST_MIL::TDBGrid1_RowColChange()
{
    if (!Data1->noCurrentRow())
        Label1->setText(Data1->value(Data1->currentRow(), 0).toString());
}

void ST_MIL::Command6_Click()
{
    if (!Data1->noCurrentRow())
        Label1->setText(Data1->value(Data1->currentRow(), 0).toString());
}

void ST_MIL::Command1_Click()
{
    for (QCheckBox *box : { Check1, Check2, Check3, Check4, Check5, Check6 })
        box->setChecked(true);
}

void ST_MIL::Command4_Click()
{
    for (QCheckBox *box : { Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8 })
        box->setChecked(false);
}

void ST_MIL::Command5_Click()
{
    close();
}

// --- The dispatcher -------------------------------------------------------------------------------

bool ST_MIL::buildingAndStairChosen()
{
    const bool noBuilding = Combo1->currentText().isEmpty();
    const bool noStair = Combo2->currentText().isEmpty();
    if (noBuilding && noStair) {
        attention(QStringLiteral("Palazzina e Scala non inseriti."));
        return false;
    }
    if (noBuilding) {
        attention(QStringLiteral("Palazzina non inserita."));
        return false;
    }
    if (noStair) {
        attention(QStringLiteral("Scala non inserita."));
        return false;
    }
    return true;
}

void ST_MIL::Command2_Click()
{
    // The form stays open when the project is closed; it then has nothing to print.
    if (!VAR_GBL.progetto_corrente) {
        dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), MsgButtons::Ok, MsgIcon::Information,
            TitleZavAttention);
        return;
    }
    ReportCall::destinationStep(CrystalReport1, Option1->isChecked(), Option2->isChecked(),
        Option3->isChecked(), platform::RtfFileType, esporta_rtf);
    CrystalReport1.ExportOwner = *VAR_GBL.progetto_corrente;
    platform::ExportSummary exported;
    {
        const QScopedValueRollback<platform::ExportSummary *> during(m_exported, &exported);
        printTicked();
    }
    exported.tell();
}

void ST_MIL::printTicked()
{
    const bool video = Option1->isChecked();

    azzera_datafiles();
    if (Check1->isChecked())
        ST_MIL_GLOB();

    azzera_datafiles();
    if (Check2->isChecked()) {
        if (Combo1->currentText().isEmpty() && video) {
            attention(QStringLiteral("Palazzina non inserita."));
            return;
        }
        ST_MIL_PAL();
    }

    azzera_datafiles();
    if (Check3->isChecked()) {
        if (video && !buildingAndStairChosen())
            return;
        ST_MIL_SCL();
    }

    azzera_datafiles();
    if (Check4->isChecked()) {
        if (video && !buildingAndStairChosen())
            return;
        ST_MIL_ASC();
    }

    azzera_datafiles();
    if (Check5->isChecked())
        ST_MIL_RISC();

    azzera_datafiles();
    if (Check6->isChecked())
        ST_MIL_PORT();

    azzera_datafiles();
    if (Check7->isChecked()) {
        if (Label1->text().isEmpty()) {
            attention(QStringLiteral("Nessuna tabella selezionata."));
            return;
        }
        ST_MIL_VARI();
    }

    azzera_datafiles();
    if (Check9->isChecked()) {
        if (video && !buildingAndStairChosen())
            return;
        ST_COD_PIANI();
    }

    azzera_datafiles();
    if (Check8->isChecked() && Check10->isChecked())
        ST_TAB_SUP_TUTTI();
    else
        ST_TAB_SUP();

    azzera_datafiles();
}

// --- Documents ----------------------------------------------------------------------------------

void ST_MIL::Command3_Click()
{
    // The form stays open when the project is closed; there is no report to open then.
    if (!VAR_GBL.progetto_corrente) {
        dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), MsgButtons::Ok, MsgIcon::Information,
            TitleZavAttention);
        return;
    }
    // The report the project was opened with is its own; beside a namesake in another case the
    // folder alone cannot tell which report is whose.
    const QString report = VAR_GBL.calculationReport.isEmpty()
        ? Documents::calculationReport(*VAR_GBL.progetto_corrente)
        : VAR_GBL.calculationReport;
    if (Documents::openInEditor(report) == Documents::Outcome::NoEditor)
        dialogs().msgBox(Documents::missingEditorForReport(VAR_GBL.nome_progetto), MsgButtons::Ok,
            MsgIcon::None, TitleDocuments);
}

void ST_MIL::openReferenceDocument(const QString &name)
{
    if (Documents::openInEditor(Documents::referenceDocument(name)) == Documents::Outcome::NoEditor)
        dialogs().msgBox(Documents::missingEditorForDocument(VAR_GBL.nome_progetto), MsgButtons::Ok,
            MsgIcon::None, TitleDocuments);
}

void ST_MIL::Command7_Click()
{
    openReferenceDocument(QStringLiteral("dcc.rtf"));
}

void ST_MIL::Command8_Click()
{
    openReferenceDocument(QStringLiteral("ma.rtf"));
}

void ST_MIL::Command9_Click()
{
    openReferenceDocument(QStringLiteral("srs.rtf"));
}

void ST_MIL::XPButton1_Click()
{
    // Whether a program opened it is told by the opener itself.
    Documents::openAssociated(Documents::circular());
}

void ST_MIL::azzera_datafiles()
{
    CrystalReport1.clearDataFiles();
}

// --- Thousandths and unit register ----------------------------------------------------------------

QString ST_MIL::exportPrefix() const
{
    return ReportCall::exportPrefix(VAR_GBL.nome_progetto);
}

bool ST_MIL::thousandthsStep(const Thousandths &report, const QString &building, const QString &stair)
{
    const QString table = QString::fromLatin1(report.table);
    FormulaBuilder formula;
    QString cut;
    switch (report.cut) {
    case Cut::None:
        break;
    case Cut::Building:
        formula.text(table, QStringLiteral("PALAZ"), building);
        cut = building;
        break;
    case Cut::BuildingStair:
        if (report.numericBuilding)
            formula.number(table, QStringLiteral("NUM_PAL"), building);
        else
            formula.text(table, QStringLiteral("PALAZ"), building);
        formula.text(table, QStringLiteral("SCALA"), stair);
        cut = building + stair.left(2);
        break;
    }
    ReportCall::Report step;
    step.fileName = QString::fromLatin1(report.file);
    step.dataSlots = { report.dataSlots[0], report.dataSlots[1] };
    step.database = project();
    step.formula = formula.toString();
    step.exportName = exportPrefix() + QString::fromLatin1(report.tag)
        + ReportCall::safeFileName(report.nameCarriesCut ? cut : QString()) + QStringLiteral(".RTF");
    step.announce = true;
    step.summary = m_exported;
    return ReportCall::reportStep(CrystalReport1, esporta_rtf, step);
}

void ST_MIL::runThousandths(const Thousandths &report)
{
    // The window and the file get the report of the boxes' building and stair; the printer gets
    // one for every building (and stair) of the project, whatever the boxes show. A run that fails
    // has been reported and ends the loop, which would only fail the same way again.
    if (report.cut == Cut::None || !Option2->isChecked()) {
        thousandthsStep(report, Combo1->currentText(), Combo2->currentText());
        return;
    }
    if (report.cut == Cut::Building) {
        selectBuilding(0);
        for (int i = 0; i < Combo1->count(); ++i) {
            if (!thousandthsStep(report, Combo1->itemText(i), QString()))
                return;
            selectBuilding(i);
        }
        return;
    }
    for (int i = 0; i < Combo1->count(); ++i) {
        if (Combo1->itemText(i).isEmpty())
            continue;
        selectBuilding(i);
        for (int j = 0; j < Combo2->count(); ++j) {
            if (Combo2->itemText(j).isEmpty())
                continue;
            if (!thousandthsStep(report, Combo1->itemText(i), Combo2->itemText(j)))
                return;
            selectStair(j);
        }
    }
}

void ST_MIL::ST_MIL_GLOB()
{
    runThousandths(Glob);
}

void ST_MIL::ST_MIL_PAL()
{
    runThousandths(Pal);
}

void ST_MIL::ST_MIL_SCL()
{
    runThousandths(Scl);
}

void ST_MIL::ST_MIL_ASC()
{
    runThousandths(Asc);
}

void ST_MIL::ST_MIL_RISC()
{
    runThousandths(Risc);
}

void ST_MIL::ST_MIL_PORT()
{
    runThousandths(Port);
}

void ST_MIL::ST_COD_PIANI()
{
    runThousandths(CodPiani);
}

// --- User table -----------------------------------------------------------------------------------

void ST_MIL::ST_MIL_VARI()
{
    const QString table = Label1->text();
    const PrintArchive::Buffer buffer = PrintArchive::fillBuffer(project(), table);
    switch (buffer.outcome) {
    case PrintArchive::Buffer::Outcome::Failed:
        attention(QStringLiteral("Impossibile preparare la stampa della tabella %1.\n%2")
                      .arg(table, buffer.message));
        return;
    case PrintArchive::Buffer::Outcome::EmptyTable:
        attention(
            QStringLiteral("La Tabella ") + table + QStringLiteral(" è vuota. Impossibile visualizzare."));
        return;
    case PrintArchive::Buffer::Outcome::Filled:
        break;
    }
    ReportCall::Report step;
    step.fileName = QStringLiteral("MIL_VARI.GST");
    step.dataSlots = { 0, 19 };
    step.database = project();
    step.exportName = exportPrefix() + ReportCall::safeFileName(table) + QStringLiteral(".RTF");
    step.announce = true;
    step.summary = m_exported;
    // Only a table that was printed joins the list of printed tables.
    if (ReportCall::reportStep(CrystalReport1, esporta_rtf, step))
        List1->addItem(table);
}

// --- Room surfaces --------------------------------------------------------------------------------

bool ST_MIL::unitStep(int row)
{
    const QVariant building = Data4->value(row, 1);
    const QVariant stair = Data4->value(row, 2);
    const QVariant floor = Data4->value(row, 6);
    const QVariant owner = Data4->value(row, 7);
    const QVariant interno = Data4->value(row, 15);
    const bool exporting = esporta_rtf == ReportCall::ExportOn;

    // A unit whose selection or export name cannot be made is skipped, never printed with the
    // previous unit's.
    if (isEmptyValue(building) || isEmptyValue(interno) || (exporting && isEmptyValue(floor))) {
        dialogs().msgBox(QStringLiteral("Impossibile stampare la tabella superfici del condomino %1: "
                                        "palazzina, piano o interno non inseriti.")
                             .arg(owner.toString()),
            MsgButtons::Ok, MsgIcon::Exclamation, TitleAttention);
        return true;
    }

    const QString table = engine::archive::ESPRESSIONI;
    FormulaBuilder formula;
    formula.text(table, QStringLiteral("NOME_CONDOMINO"), owner.toString(), FormulaBuilder::Quote::Double)
        .text(table, QStringLiteral("PALAZ"), building.toString(), FormulaBuilder::Quote::Double)
        .text(table, QStringLiteral("SCALA"), stair.toString(), FormulaBuilder::Quote::Double)
        .number(table, QStringLiteral("INTERNO"), interno.toString());

    ReportCall::Report step;
    step.fileName = QStringLiteral("TAB_SUP.GST");
    step.dataSlots = { 0, 3 };
    step.database = project();
    step.formula = formula.toString();
    if (exporting) {
        // The floor is the floor code's leading number: "1S" and "1" give 1, "T" gives 0.
        const QString floorNumber = QString::number(platform::vb::Val(floor.toString()));
        step.exportName = exportPrefix()
            + ReportCall::safeFileName(
                building.toString() + stair.toString() + floorNumber + interno.toString())
            + QStringLiteral(".RTF");
    }
    step.summary = m_exported;
    return ReportCall::reportStep(CrystalReport1, esporta_rtf, step);
}

void ST_MIL::ST_TAB_SUP()
{
    if (!Check8->isChecked())
        return;
    if (Data4->noCurrentRow()) {
        dialogs().msgBox(QStringLiteral("Nessun condomino scelto nella lista dei condomini."), MsgButtons::Ok,
            MsgIcon::Exclamation, TitleAttention);
        return;
    }
    unitStep(Data4->currentRow());
}

void ST_MIL::ST_TAB_SUP_TUTTI()
{
    // With no building listed the grid has nothing to read, and nothing is printed.
    if (!tryStep([this] { Data4->refresh(); }))
        return;
    while (!Data4->noCurrentRow()) {
        if (!unitStep(Data4->currentRow()))
            return;
        Data4->moveNext();
    }
}

} // namespace zav::printing
