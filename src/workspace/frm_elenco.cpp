#include "workspace/frm_elenco.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/roomcopy.h"
#include "workspace/terraceunitview.h"
#include "workspace/totaltext.h"
#include "workspace/unittotals.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace zav::workspace {

using engine::ArchiveValues;
using engine::VAR_GBL;
using platform::dialogs;
using platform::FormRegistry;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::tryStep;

namespace {

const QString kCodifPiani = engine::archive::CODIF_PIANI;

platform::GridFormSpec spec(frm_elenco *form)
{
    return {
        .objectName = QString::fromLatin1(frm_elenco::FormName),
        .title = QStringLiteral("Elenco condomini"),
        .binding = { .database = [] { return VAR_GBL.progetto_corrente.value_or(QString()); },
            .recordSource = platform::TableQuery { kCodifPiani, {}, {} },
            .reportFailure = {} },
        .columns = { { QStringLiteral("PROPRIETARIO"), QStringLiteral("Comdomino"), 260 },
            { QStringLiteral("NUM_PAL"), QStringLiteral("Pal."), 60 },
            { QStringLiteral("SCALA"), QStringLiteral("Scala"), 80 },
            { QStringLiteral("SIGLA"), QStringLiteral("Piano"), 70 },
            { QStringLiteral("INTERNO"), QStringLiteral("Int."), 60 } },
        .buttons
        = { { QStringLiteral("Command1"), frm_elenco::FindCaption, [form] { form->Command1_Click(); } } },
        .closeButton
        = { QStringLiteral("Command2"), QStringLiteral("Esci"), [form] { form->Command2_Click(); } },
        .size = { 620, 460 },
        .readOnly = true,
    };
}

/** The units of one building, by stair, floor code (as text) and unit number. */
platform::TableQuery buildingQuery(qint64 building)
{
    return { kCodifPiani, { { QStringLiteral("NUM_PAL"), qlonglong(building) } },
        { QStringLiteral("NUM_PAL"), QStringLiteral("SCALA"), QStringLiteral("SIGLA"),
            QStringLiteral("INTERNO") } };
}

frm_ins_coeff *loadedWorkspace()
{
    return FormRegistry::loaded<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
}

void inform(const QString &text, const QString &title)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, title);
}

/**
 * The workspace's totals of surface, weighted surface and volume summed again over the rooms it
 * shows; an empty cell is stored as 0 and counts as 0. The radiant total is left as it is.
 */
void recountTotals(frm_ins_coeff &workspace)
{
    platform::DataSource &rooms = *workspace.Data1;
    const std::array<QString, 3> fields
        = { QStringLiteral("MQ"), QStringLiteral("TOT_COEF"), QStringLiteral("TOT_VOL") };
    std::array<QString, 3> totals = { QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0") };
    for (int row = 0; row < rooms.recordCount(); ++row) {
        for (std::size_t k = 0; k < fields.size(); ++k) {
            const int field = rooms.fieldIndex(fields[k]);
            if (field < 0)
                continue;
            if (ArchiveValues::isEmpty(rooms.value(row, field)))
                tryStep([&rooms, row, field] { rooms.setValue(row, field, QStringLiteral("0")); });
            TotalText::add(totals[k], rooms.value(row, field));
        }
    }
    workspace.Label14->setText(totals[0]);
    workspace.Label16->setText(totals[1]);
    workspace.Label18->setText(totals[2]);
}

} // namespace

frm_elenco::frm_elenco(QWidget *parent)
    : GridForm(spec(this), parent)
    , Data1(dataSource())
    , TDBGrid1(grid())
    , Command1(button(QStringLiteral("Command1")))
    , Command2(button(QStringLiteral("Command2")))
{
    // The building selector above the grid, the progress bar under the buttons.
    Label1 = new QLabel(QStringLiteral("Pal. n°:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(false);
    Combo1->setMinimumContentsLength(6);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    auto *top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(Combo1);
    top->addStretch();
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    if (auto *column = qobject_cast<QVBoxLayout *>(layout())) {
        column->insertLayout(0, top);
        column->addWidget(ProgressBar1);
    }
    Form_Load();
}

frm_elenco::~frm_elenco() = default;

frm_elenco *frm_elenco::withCaption(const QString &caption)
{
    auto *list = FormRegistry::form<frm_elenco>(QString::fromLatin1(FormName));
    if (list)
        list->Command1->setText(caption);
    return list;
}

// --- Loading ------------------------------------------------------------------------------------

void frm_elenco::Form_Load()
{
    // Until a building is shown, every unit of the project in stored order.
    if (!load())
        return;
    bool hasHeader = false;
    QList<int> buildings;
    const bool read = attempt([&] {
        platform::Database db = platform::Database::open(dataSource()->databaseName());
        hasHeader = !db.table(engine::archive::ANA_CONDO).isEmpty();
        if (hasHeader)
            buildings = engine::archive::buildingNumbers(db);
    });
    if (!read || !hasHeader)
        return;

    // The buildings the project has; the last one shown until the workspace's is chosen.
    Combo1->clear();
    for (int number : buildings) {
        const QString text = QString::number(number);
        if (Combo1->findText(text) < 0)
            Combo1->addItem(text);
    }
    if (Combo1->count() == 0)
        return;
    Combo1->setCurrentIndex(Combo1->count() - 1);
    showBuilding(Combo1->currentText());

    if (VAR_GBL.elenco_per_terrazze)
        return;
    const frm_ins_coeff *workspace = loadedWorkspace();
    const int shown = workspace ? Combo1->findText(workspace->Label9->text()) : -1;
    if (shown >= 0) {
        Combo1->setCurrentIndex(shown);
        Combo1_Click();
    }
}

void frm_elenco::Combo1_Click()
{
    showBuilding(Combo1->currentText());
}

void frm_elenco::showBuilding(const QString &building)
{
    const std::optional<qint64> number = ArchiveValues::wholeNumber(building);
    if (number)
        showRows(buildingQuery(*number));
}

// --- Find and copy ------------------------------------------------------------------------------

void frm_elenco::Command1_Click()
{
    if (Command1->text() == FindCaption) {
        if (VAR_GBL.elenco_per_terrazze)
            trova_terrazza();
        else
            find();
    } else
        copy();
}

std::optional<Unit> frm_elenco::chosenUnit() const
{
    if (Data1->noCurrentRow())
        return std::nullopt;
    const int row = Data1->currentRow();
    const auto field = [this, row](const char *name) {
        const int position = Data1->fieldIndex(QString::fromLatin1(name));
        return position < 0 ? QVariant() : Data1->value(row, position);
    };
    Unit unit;
    unit.key.owner = Unit::headerText(field("PROPRIETARIO"));
    unit.key.building = Unit::headerText(field("NUM_PAL"));
    unit.key.stair = Unit::headerText(field("SCALA"));
    unit.key.floorCode = Unit::headerText(field("SIGLA"));
    unit.key.interno = Unit::headerText(field("INTERNO"));
    unit.floorHeight = ArchiveValues::number(field("HPIANO"));
    return unit;
}

void frm_elenco::find()
{
    const std::optional<Unit> unit = chosenUnit();
    if (!unit)
        return;
    if (unit->key.interno.isEmpty()) {
        inform(QStringLiteral("Attenzione. Non è stato inserito l'interno del condomino."),
            engine::MessageTitle::Warning);
        return;
    }
    // The workspace's own hand-over: it keeps the totals of the unit it leaves, then shows this one.
    frm_ins_coeff::open(*unit);
}

void frm_elenco::trova_terrazza()
{
    if (Data1->noCurrentRow())
        return;
    // The terrace form is created when need be, and not shown.
    auto *terraces = dynamic_cast<TerraceUnitView *>(platform::FormRegistry::form(TerraceUnitView::FormName));
    if (!terraces)
        return;
    const int row = Data1->currentRow();
    const auto field = [this, row](const char *name) {
        const int position = Data1->fieldIndex(QString::fromLatin1(name));
        return position < 0 ? QVariant() : Data1->value(row, position);
    };
    terraces->showListedUnit(
        { field("PROPRIETARIO"), field("NUM_PAL"), field("SCALA"), field("SIGLA"), field("INTERNO") });
    // A floor height without value leaves the height in force.
    if (const std::optional<Unit> unit = chosenUnit(); unit && unit->floorHeight)
        VAR_GBL.altezza_piano = *unit->floorHeight;
}

void frm_elenco::copy()
{
    // The rooms go to the unit open in the workspace: without one there is nowhere to copy to.
    frm_ins_coeff *workspace = loadedWorkspace();
    if (!workspace || !workspace->unit()) {
        inform(QStringLiteral("Impossibile copiare. Aprire prima nell'area di lavoro il condomino che "
                              "riceve i dati."),
            engine::MessageTitle::ZavWarning);
        return;
    }
    const std::optional<Unit> source = chosenUnit();
    if (!source)
        return;
    const UnitKey target = workspace->unit()->key;

    if (dialogs().msgBox(QStringLiteral("Vuoi copiare i dati di ") + source->key.owner + QStringLiteral(" a ")
                + workspace->Label8->text() + QStringLiteral(" ?"),
            MsgButtons::YesNo, MsgIcon::Information, engine::MessageTitle::ZavWarning)
        != MsgResult::Yes) {
        close();
        return;
    }

    tryStep([workspace] { workspace->Data1->refresh(); });
    ProgressBar1->setValue(1);
    int copied = 0;
    if (!attempt([&] { copied = RoomCopy::copy(Data1->databaseName(), source->key, target); }))
        return;
    if (copied == 0) {
        inform(QStringLiteral("Impossibile copiare. Il condomino selezionato risulta non ancora inserito"),
            engine::MessageTitle::ZavWarning);
        return;
    }
    ProgressBar1->setValue(ProgressBar1->value() + 1);

    // The workspace shows its unit's rooms again, the copies after its own, and their totals. A
    // thousandths view keeps its rows and totals: the rooms show when a unit view is chosen.
    if (workspace->isUnitViewShown()) {
        tryStep([workspace, &target] {
            workspace->Data1->setRecordSource(target.rooms());
            workspace->Data1->refresh();
        });
        tryStep([workspace] { recountTotals(*workspace); });
    }
    close();
}

void frm_elenco::Command2_Click()
{
    VAR_GBL.elenco_per_terrazze = false;
    close();
}

} // namespace zav::workspace
