#include "workspace/frm_ins_coeff.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/databasefailure.h"
#include "engine/var_gbl.h"
#include "platform/cadautomation.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "platform/steps.h"
#include "platform/system.h"
#include "platform/ui/commandbar.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/ui/twips.h"
#include "platform/windowspaths.h"
#include "workspace/mainwindowlink.h"
#include "workspace/roomgrid.h"
#include "workspace/thousandthsviews.h"
#include "workspace/totaltext.h"
#include "workspace/unittotalspass.h"
#include "workspace/unitviews.h"
#include "workspace/viewswitch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace zav::workspace {

using engine::VAR_GBL;
using platform::FormRegistry;
using platform::tryStep;
using platform::Twips;

namespace {

const QString kAttention = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString kUserLayout = QStringLiteral("Layout_utente");
const QString kDefaultLayout = QStringLiteral("Layout_default");
// The caption of the coefficient picker's transfer button that names this grid as its target.
const QString kTransfer = QStringLiteral("Trasferisci");
// The CAD program's class behind the workspace's own link.

// Where the tab strip and the grid stand, and their size as designed (a window of 12000 x 9000).
constexpr QPoint kTabStripAt(60, 1470);
constexpr QPoint kGridAt(120, 2160);
constexpr QSize kTabStripDesigned(11775, 6700);
constexpr QSize kGridDesigned(11655, 5800);
constexpr int kLabelHeight = 255;

// The total labels under the grid, caption and value in turn: left and width in twips.
struct TotalPlace
{
    int left;
    int width;
};
constexpr TotalPlace kTotals[8] = { { 120, 1000 }, { 1150, 1300 }, { 2600, 1500 }, { 4150, 1300 },
    { 5600, 1200 }, { 6850, 1300 }, { 8300, 1400 }, { 9750, 1300 } };

/** The workspace's creation: once for the program run, not at each load. */
bool &created()
{
    static bool once = false;
    return once;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

// --- Resize rules -------------------------------------------------------------------------------

WorkspaceGeometry WorkspaceGeometry::resize(QSize window, QSize tabStrip)
{
    WorkspaceGeometry g;
    int tabWidth = tabStrip.width();
    int tabHeight = tabStrip.height();
    if (window.width() - 225 >= 0) {
        tabWidth = window.width() - 225;
        g.tabStripWidth = tabWidth;
    }
    if (tabWidth - 120 >= 0)
        g.gridWidth = tabWidth - 120;
    if (window.height() - 2300 >= 0) {
        tabHeight = window.height() - 2300;
        g.tabStripHeight = tabHeight;
    }
    if (tabHeight - 900 >= 0)
        g.gridHeight = tabHeight - 900;
    g.totalsTop = tabHeight + 1500;
    return g;
}

// --- Creation and loading -----------------------------------------------------------------------

frm_ins_coeff::frm_ins_coeff(QWidget *parent)
    : QWidget(parent)
    , m_tabStrip(kTabStripDesigned)
    , m_grid(kGridDesigned)
    , m_totalsTop(kTabStripDesigned.height() + 1500)
{
    setObjectName(QString::fromLatin1(FormName));
    setWindowTitle(QStringLiteral("Inserimento Coefficienti"));
    buildControls();
    connectHandlers();
    Form_Initialize();
    Form_Load();
    // The form sees every key before the control that has the focus.
    qApp->installEventFilter(this);
}

frm_ins_coeff::~frm_ins_coeff()
{
    qApp->removeEventFilter(this);
}

frm_ins_coeff *frm_ins_coeff::open(const Unit &unit)
{
    auto *form = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(FormName));
    if (form)
        form->openUnit(unit);
    return form;
}

void frm_ins_coeff::buildControls()
{
    resize(Twips::toPixels(QSize(12000, 9000), this));

    Frame1 = new QGroupBox(QStringLiteral("Dati Condomino"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Twips::toPixels(QRect(60, 0, 9000, 1400), this));
    const struct
    {
        QLabel *&caption;
        const char *captionName;
        const char *text;
        QLabel *&value;
        const char *valueName;
        QRect captionAt;
        QRect valueAt;
    } header[] = {
        { Label1, "Label1", "Condomino:", Label8, "Label8", { 120, 300, 1200, 255 },
            { 1400, 300, 7400, 255 } },
        { Label2, "Label2", "Palazzina:", Label9, "Label9", { 120, 630, 1200, 255 },
            { 1400, 630, 1000, 255 } },
        { Label3, "Label3", "Scala:", Label10, "Label10", { 2600, 630, 900, 255 }, { 3500, 630, 1500, 255 } },
        { Label4, "Label4", "Piano:", Label11, "Label11", { 120, 960, 1200, 255 }, { 1400, 960, 1000, 255 } },
        { Label5, "Label5", "Interno:", Label12, "Label12", { 2600, 960, 900, 255 },
            { 3500, 960, 1500, 255 } },
    };
    for (const auto &entry : header) {
        entry.caption = makeLabel(Frame1, entry.captionName, QString::fromUtf8(entry.text));
        entry.caption->setGeometry(Twips::toPixels(entry.captionAt, this));
        entry.value = makeLabel(Frame1, entry.valueName);
        entry.value->setGeometry(Twips::toPixels(entry.valueAt, this));
        QFont bold = entry.value->font();
        bold.setBold(true);
        entry.value->setFont(bold);
    }

    // The building and stair selectors of the thousandths views and the user table's name share the
    // header's place, which those views leave free.
    Label6 = makeLabel(this, "Label6", QStringLiteral("Palazzina:"));
    Label6->setGeometry(Twips::toPixels(QRect(180, 300, 1000, 255), this));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(Twips::toPixels(QRect(1200, 240, 1200, 330), this));
    Label7 = makeLabel(this, "Label7", QStringLiteral("Scala:"));
    Label7->setGeometry(Twips::toPixels(QRect(2700, 300, 800, 255), this));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setGeometry(Twips::toPixels(QRect(3500, 240, 1200, 330), this));
    connect(Combo1, &QComboBox::activated, this, &frm_ins_coeff::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &frm_ins_coeff::Combo2_Click);
    Label21 = makeLabel(this, "Label21");
    Label21->setGeometry(Twips::toPixels(QRect(180, 900, 8000, 300), this));
    for (QWidget *hidden :
        { static_cast<QWidget *>(Label6), static_cast<QWidget *>(Combo1), static_cast<QWidget *>(Label7),
            static_cast<QWidget *>(Combo2), static_cast<QWidget *>(Label21) })
        hidden->hide();

    TabStrip1 = new QTabWidget(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (const char *caption : { "Calcolo superfici", "Coefficienti", "Calcolo Volumi", "Millesimi Globali",
             "Millesimi di Palazzina", "Millesimi di Scala", "Millesimi Ascensore", "Millesimi Riscaldamento",
             "Millesimi Portierato", "Millesimi Tabelle" })
        TabStrip1->addTab(new QWidget(TabStrip1), QString::fromUtf8(caption));

    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    TDBGrid1 = new platform::DataGrid(this);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setColumns(UnitViews::designedColumns());
    TDBGrid1->setDataSource(Data1);

    const struct
    {
        QLabel *&label;
        const char *name;
        const char *text;
    } totals[] = {
        { Label13, "Label13", "Tot. Mq.:" },
        { Label14, "Label14", "0" },
        { Label15, "Label15", "Tot. Sup. Conv.:" },
        { Label16, "Label16", "0" },
        { Label17, "Label17", "Tot. Volume:" },
        { Label18, "Label18", "0" },
        { Label19, "Label19", "Tot. Sup. Rad.:" },
        { Label20, "Label20", "0" },
    };
    for (const auto &entry : totals)
        entry.label = makeLabel(this, entry.name, QString::fromUtf8(entry.text));
    for (QLabel *value : { Label14, Label16, Label18, Label20 }) {
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
    }

    Label22 = makeLabel(this, "Label22");
    Label22->hide();

    // The box into which the CAD program types; it only needs to exist.
    txtole = new QLineEdit(QStringLiteral("Text1"), this);
    txtole->setObjectName(QStringLiteral("txtole"));
    txtole->hide();

    // The hidden buttons; the view switch enables and disables them, nothing shows them.
    const char *captions[] = { "Copia da:", "Ricalc. Totali", "Elimina Riga", "Gridal", "Esci", "Trova",
        "Arrotonda", "Azzera Input", "Sel. Tab.", "Copia Mil. da", "Calc. Mil. Tab." };
    for (int i = 0; i < int(Command1.size()); ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->hide();
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command2 = new QPushButton(QStringLiteral("Calc. Mil."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->hide();
    connect(Command2, &QPushButton::clicked, this, &frm_ins_coeff::Command2_Click);

    placeControls();
}

void frm_ins_coeff::connectHandlers()
{
    connect(TabStrip1, &QTabWidget::currentChanged, this, &frm_ins_coeff::TabStrip1_Click);
    connect(TDBGrid1, &platform::DataGrid::colEdit, this, &frm_ins_coeff::TDBGrid1_ColEdit);
    connect(TDBGrid1, &platform::DataGrid::afterColEdit, this, &frm_ins_coeff::TDBGrid1_AfterColEdit);
    connect(TDBGrid1, &platform::DataGrid::buttonClick, this, &frm_ins_coeff::TDBGrid1_ButtonClick);
    TDBGrid1->setKeyPress([this](int &KeyAscii) { TDBGrid1_KeyPress(KeyAscii); });
    TDBGrid1->dataModel()->setOnAddNew(
        [this](platform::DataGridModel::Values &values) { return TDBGrid1_OnAddNew(values); });
    TDBGrid1->dataModel()->setBeforeColUpdate([this](int column, const QVariant &, const QVariant &typed) {
        return RoomGrid::refusesTyped(*this, column, typed.toString());
    });
    RoomGrid::keepCurrentRoom(*this);
}

void frm_ins_coeff::Form_Initialize()
{
    if (created())
        return;
    created() = true;
    VAR_GBL.tabella_selezionata.clear();
}

void frm_ins_coeff::Form_Load()
{
    // The evaluator's tables; filling them again changes nothing.
    tryStep([] {
        VAR_GBL.init_operatori();
        VAR_GBL.init_precedenze();
    });
    tryStep([] { MainWindowLink::setToolEnabled(QStringLiteral("tCad2"), true); });
    tryStep([this] {
        Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
        bindRooms();
    });
    tryStep([this] { showSurfacesView(); });
    tryStep([this] { countTotals(); });
    tryStep([this] { fillBuildingList(); });
}

void frm_ins_coeff::showSurfacesView()
{
    m_view = WorkspaceView::Surfaces;
    TDBGrid1->setAllowAddNew(true);
    TDBGrid1->setAllowDelete(true);
    TDBGrid1->setAllowUpdate(true);
    TDBGrid1->setCaption(UnitViews::surfaces().caption);
    TDBGrid1->setColumns(UnitViews::present(UnitViews::surfaces(), UnitViews::designedColumns(), this));
    // The band's tools and the buttons are those of this view, whatever view the band served last.
    ViewSwitch::switchToolsAndButtons(*this, m_view);
    // The user's layout, where there is one, replaces the presentation.
    TDBGrid1->loadLayout(userLayoutFile(), UnitViews::surfaces().layoutName);
}

void frm_ins_coeff::bindRooms()
{
    // Before a unit is handed over the rooms are those the openers named, or none at all: never
    // the rows of the view left.
    Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
    Data1->setRecordSource(
        m_unit ? m_unit->key.rooms() : VAR_GBL.sql_unita_corrente.value_or(UnitKey {}.rooms()));
    Data1->refresh();
}

void frm_ins_coeff::countTotals()
{
    QString surface = QStringLiteral("0");
    QString weighted = QStringLiteral("0");
    QString volume = QStringLiteral("0");
    const int mq = Data1->fieldIndex(QStringLiteral("MQ"));
    const int totCoef = Data1->fieldIndex(QStringLiteral("TOT_COEF"));
    const int totVol = Data1->fieldIndex(QStringLiteral("TOT_VOL"));
    for (int row = 0; row < Data1->recordCount(); ++row) {
        if (mq >= 0)
            TotalText::add(surface, Data1->value(row, mq));
        if (totCoef >= 0)
            TotalText::add(weighted, Data1->value(row, totCoef));
        if (totVol >= 0)
            TotalText::add(volume, Data1->value(row, totVol));
    }
    Label14->setText(surface);
    Label16->setText(weighted);
    Label18->setText(volume);
    Label20->setText(QStringLiteral("0"));
}

void frm_ins_coeff::fillBuildingList()
{
    if (!VAR_GBL.progetto_corrente)
        return;
    // The buildings that exist, by their numbers: a deleted building leaves a gap in the count.
    platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
    const QList<int> buildings = engine::archive::buildingNumbers(db);
    db.close();
    const QString kept = Combo1->currentText();
    Combo1->clear();
    for (int number : buildings) {
        if (Combo1->findText(QString::number(number)) < 0)
            Combo1->addItem(QString::number(number));
    }
    // A building still there stays chosen.
    if (!kept.isEmpty())
        Combo1->setCurrentIndex(Combo1->findText(kept));
}

void frm_ins_coeff::unitsChanged()
{
    tryStep([this] { fillBuildingList(); });
    if (!m_unit)
        return;
    if (!unitExists()) {
        const QString gone = m_unit->key.description();
        // Nothing is stored for a unit that is gone: its totals would have no row to go to.
        m_unit.reset();
        VAR_GBL.sql_unita_corrente.reset();
        platform::dialogs().msgBox(QStringLiteral("Il condomino %1 non esiste più in Codifica Piani: la "
                                                  "finestra \"Inserimento Coefficienti\" viene chiusa.")
                                       .arg(gone),
            platform::MsgButtons::Ok, platform::MsgIcon::Information, kAttention);
        close();
        return;
    }
    if (isUnitViewShown())
        tryStep([this] { Data1->refresh(); });
}

bool frm_ins_coeff::unitExists() const
{
    if (!m_unit || !VAR_GBL.progetto_corrente)
        return false;
    try {
        return !platform::Database::open(*VAR_GBL.progetto_corrente).select(m_unit->key.unitRow()).isEmpty();
    } catch (const platform::DbError &) {
        return true;
    }
}

void frm_ins_coeff::Combo1_Click()
{
    ThousandthsViews::buildingChosen(*this);
}

void frm_ins_coeff::Combo2_Click()
{
    ThousandthsViews::stairChosen(*this);
}

// --- Hand-over ----------------------------------------------------------------------------------

void frm_ins_coeff::openUnit(const Unit &unit)
{
    // The unit shown so far keeps what is being typed and its totals. Its rows and labels are not
    // read again: the new unit's replace them.
    TDBGrid1->commitPendingEdit();
    if (isUnitViewShown())
        tryStep([this] { storeUnitTotals(); });

    m_unit = unit;
    if (unit.floorHeight)
        VAR_GBL.altezza_piano = *unit.floorHeight;
    VAR_GBL.sql_unita_corrente = unit.key.rooms();
    Label8->setText(unit.key.owner);
    Label9->setText(unit.key.building);
    Label10->setText(unit.key.stair);
    Label11->setText(unit.key.floorCode);
    Label12->setText(unit.key.interno);

    // A unit view shows the unit it names in its header, and the unit's own totals; rooms that
    // cannot be read are reported, not shown as an empty unit. A thousandths view keeps its rows
    // (the table tools work on them): the rooms show when a unit view is chosen.
    if (isUnitViewShown()) {
        try {
            bindRooms();
        } catch (const platform::DbError &error) {
            platform::dialogs().msgBox(
                error.message(), platform::MsgButtons::Ok, platform::MsgIcon::Critical, kAttention);
        }
        tryStep([this] { countTotals(); });
    }

    tryStep([] { MainWindowLink::setThousandthsBandVisible(true); });
    MainWindowLink::showMaximizedChild(this);
}

// --- Totals -------------------------------------------------------------------------------------

bool frm_ins_coeff::isUnitViewShown() const
{
    return isUnitView(m_view);
}

int frm_ins_coeff::selectedTab() const
{
    return TabStrip1->currentIndex() + 1;
}

bool frm_ins_coeff::radiantColumnShown() const
{
    for (int i = 0; i < TDBGrid1->columnCount(); ++i) {
        const platform::DataGridColumn column = TDBGrid1->column(i);
        if (column.visible
            && column.dataField.compare(QStringLiteral("TOT_ESPRES_RAD"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void frm_ins_coeff::storeShownUnitTotals()
{
    if (isUnitViewShown())
        TOT_MQ_VOL();
}

void frm_ins_coeff::TOT_MQ_VOL()
{
    const std::optional<UnitTotals::Result> result = storeUnitTotals();
    // The labels and rows under a thousandths view belong to that view.
    if (!result || !isUnitViewShown())
        return;
    tryStep([this] { Data1->refresh(); });
    Label14->setText(result->totMq);
    Label16->setText(result->totSupConv);
    Label18->setText(result->totVolume);
    Label20->setText(result->totSupRad);
}

std::optional<UnitTotals::Result> frm_ins_coeff::storeUnitTotals()
{
    if (!m_unit || !VAR_GBL.progetto_corrente)
        return std::nullopt;
    UnitTotalsPass::Options options;
    options.floorHeight = m_unit->floorHeight;
    options.radiantShown = radiantColumnShown();
    std::optional<UnitTotals::Result> result
        = UnitTotalsPass::store(*VAR_GBL.progetto_corrente, m_unit->key, options);
    if (result)
        VAR_GBL.altezza_piano = result->lastHeight;
    return result;
}

void frm_ins_coeff::somma_mq()
{
    const int mq = Data1->fieldIndex(QStringLiteral("MQ"));
    if (mq < 0)
        return;
    QVector<QVariant> surfaces;
    surfaces.reserve(Data1->recordCount());
    for (int row = 0; row < Data1->recordCount(); ++row)
        surfaces.append(Data1->value(row, mq));
    const UnitTotals::SurfaceSum sum = UnitTotals::sommaMq(surfaces);
    for (int row : sum.emptied)
        tryStep([this, row, mq] { Data1->setValue(row, mq, QStringLiteral("0")); });
    Label14->setText(sum.total);
}

// --- Keys ---------------------------------------------------------------------------------------

bool frm_ins_coeff::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // The hidden text box's keys (the form sees every key) go to its handler.
    if (watched == txtole && type == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (!text.isEmpty()) {
            int KeyAscii = text.at(0).unicode();
            txtole_KeyPress(KeyAscii);
        }
    }
    // Esc closes the workspace, and what is being typed in a cell goes in first: the cell's editor
    // does not hear it (it would give the text up).
    if (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && TDBGrid1->hasPendingEdit()) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && TDBGrid1->isAncestorOf(widget)) {
            queueKey(Qt::Key_Escape);
            return true;
        }
    }
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && (widget == this || isAncestorOf(widget))) {
            if (type == QEvent::KeyRelease) {
                m_keySeen = nullptr;
            } else if (event != m_keySeen) {
                // A key that no control takes travels up to the form: it is acted on once.
                m_keySeen = event;
                queueKey(static_cast<QKeyEvent *>(event)->key());
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frm_ins_coeff::isFormKey(int keyCode)
{
    switch (keyCode) {
    case Qt::Key_F1:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F8:
    case Qt::Key_F9:
    case Qt::Key_F10:
    case Qt::Key_F12:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

void frm_ins_coeff::queueKey(int keyCode)
{
    // The command runs after the key has reached the control that has the focus: a command that
    // reads the rooms again (or asks a question, whose box takes the focus) would otherwise take the
    // cell's editor away while it is still receiving the key.
    if (!isFormKey(keyCode) || m_keyQueued)
        return;
    m_keyQueued = true;
    QMetaObject::invokeMethod(
        this, [this, keyCode] { runKey(keyCode); }, Qt::QueuedConnection);
}

void frm_ins_coeff::runKey(int keyCode)
{
    // What is being typed goes into its room first; text the cell refuses keeps the workspace as it is.
    if (!TDBGrid1->commitPendingEdit()) {
        m_keyQueued = false;
        return;
    }
    Form_KeyDown(keyCode);
    m_keyQueued = false;
    // The unit list of F3 keeps the focus it took; a closed workspace takes none.
    if (keyCode != Qt::Key_Escape && keyCode != Qt::Key_F3 && isVisible())
        focusGrid();
}

void frm_ins_coeff::focusGrid()
{
    if (TDBGrid1->isVisible())
        TDBGrid1->setFocus();
    else
        setFocus();
}

void frm_ins_coeff::Form_KeyDown(int keyCode)
{
    switch (keyCode) {
    case Qt::Key_F1:
        help();
        break;
    case Qt::Key_F3:
        findUnit();
        break;
    case Qt::Key_F4:
        thousandths();
        break;
    case Qt::Key_F8:
        saveLayout();
        break;
    case Qt::Key_F9:
        reloadLayout();
        break;
    case Qt::Key_F10:
        factoryLayout();
        break;
    case Qt::Key_F12:
        VAR_GBL.ricalcolo_globale();
        // The rooms shown were recomputed in the archive: show them as they now stand.
        if (isUnitViewShown())
            tryStep([this] { Data1->refresh(); });
        break;
    case Qt::Key_Escape:
        storeShownUnitTotals();
        close();
        break;
    default:
        break;
    }
}

void frm_ins_coeff::help()
{
    // The main window's "Help" opens the manual and says where it is when no program opens it.
    if (platform::CommandBar *bar = MainWindowLink::commandBar();
        bar && !bar->tools(QStringLiteral("tHelp")).isEmpty()) {
        bar->clickTool(QStringLiteral("tHelp"));
        return;
    }
    // The old help file has no viewer on Linux; the program's manual stands in for it.
    const QString manual = platform::WindowsPaths::document(QStringLiteral("zav.hlp"));
    if (manual.isEmpty() || !QFileInfo::exists(manual)) {
        platform::dialogs().msgBox(QStringLiteral("Manuale non trovato: ") + manual, platform::MsgButtons::Ok,
            platform::MsgIcon::Exclamation, kAttention);
        return;
    }
    if (!platform::system().openDocument(manual))
        platform::dialogs().msgBox(QStringLiteral("Impossibile aprire il manuale ") + manual,
            platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, kAttention);
}

void frm_ins_coeff::findUnit()
{
    // The unit list finds a unit for the views of its rooms alone.
    if (!isUnitViewShown())
        return;
    storeShownUnitTotals();
    QWidget *list = FormRegistry::form(QStringLiteral("frm_elenco"));
    if (!list)
        return;
    if (auto *button = list->findChild<QAbstractButton *>(QStringLiteral("Command1")))
        button->setText(QStringLiteral("Trova"));
    FormRegistry::showModeless(QStringLiteral("frm_elenco"));
}

void frm_ins_coeff::thousandths()
{
    // The calculation reads the stored totals: those of the unit shown are stored first.
    storeShownUnitTotals();
    setCursor(Qt::WaitCursor);
    tryStep([] { VAR_GBL.calcolo_millesimi(); });
    unsetCursor();
}

QString frm_ins_coeff::userLayoutFile()
{
    return platform::ProgramFolder::file(kUserLayout);
}

QString frm_ins_coeff::defaultLayoutFile()
{
    return platform::ProgramFolder::file(kDefaultLayout);
}

void frm_ins_coeff::saveLayout()
{
    const UnitView *view = UnitViews::byTab(int(m_view));
    if (!view || TDBGrid1->isHidden())
        return;
    // Widths as the user left them on the screen, not as they were last set.
    QList<platform::DataGridColumn> columns = TDBGrid1->columns();
    for (int i = 0; i < columns.size(); ++i) {
        if (!TDBGrid1->isColumnHidden(i))
            columns[i].width = TDBGrid1->columnWidth(i);
    }
    TDBGrid1->setColumns(columns);
    if (!TDBGrid1->saveLayout(userLayoutFile(), view->layoutName))
        platform::dialogs().msgBox(
            QStringLiteral("Impossibile salvare la disposizione delle colonne in ") + userLayoutFile(),
            platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, kAttention);
}

void frm_ins_coeff::reloadLayout()
{
    const UnitView *view = UnitViews::byTab(int(m_view));
    if (!view || TDBGrid1->isHidden())
        return;
    TDBGrid1->loadLayout(userLayoutFile(), view->layoutName);
}

void frm_ins_coeff::factoryLayout()
{
    const UnitView *view = UnitViews::byTab(int(m_view));
    if (!view || TDBGrid1->isHidden())
        return;
    if (TDBGrid1->loadLayout(defaultLayoutFile(), view->layoutName))
        TDBGrid1->saveLayout(userLayoutFile(), view->layoutName);
}

// --- View switch and the grid's handlers ---------------------------------------------------------

void frm_ins_coeff::TabStrip1_Click()
{
    // What is being typed in a cell belongs to the view left; a view that cannot be built is
    // told, and the workspace stays open on what was built of it.
    TDBGrid1->commitPendingEdit();
    try {
        ViewSwitch::run(*this, selectedTab());
    } catch (const platform::DbError &error) {
        engine::reportDatabaseError(error);
    }
    // The keys go to the grid of the view chosen, not to the tab that was clicked.
    focusGrid();
}

void frm_ins_coeff::TDBGrid1_ColEdit(int ColIndex)
{
    colonna_corrente = qint16(ColIndex);
}

void frm_ins_coeff::TDBGrid1_KeyPress(int &KeyAscii)
{
    KeyAscii = RoomGrid::mappedSeparator(KeyAscii, colonna_corrente, m_view, VAR_GBL.punto_decimale());
    if (KeyAscii == '\r' && isUnitViewShown())
        RoomGrid::enter(*this, colonna_corrente);
}

void frm_ins_coeff::TDBGrid1_AfterColEdit(int /*ColIndex*/)
{
    // The cell acted on is the current one, which is the cell just edited.
    const int column = TDBGrid1->currentIndex().column();
    const QVariant value = TDBGrid1->columnValue(column);
    if (!value.isNull() && value.typeId() == QMetaType::QString && value.toString().isEmpty())
        TDBGrid1->setColumnValue(column, QVariant());
}

void frm_ins_coeff::TDBGrid1_ButtonClick(int /*ColIndex*/)
{
    // The table is the current column's, which the click has made the button's column. The picker
    // is the table tools' form: it is reached by its name and prepared through its public operation.
    const int column = TDBGrid1->currentIndex().column();
    QWidget *picker = FormRegistry::form(QStringLiteral("frm_tab_coeff"));
    if (!picker)
        return;
    bool prepared = false;
    if (!QMetaObject::invokeMethod(picker, "preparePicker", Qt::DirectConnection,
            Q_RETURN_ARG(bool, prepared), Q_ARG(int, column), Q_ARG(QString, kTransfer))
        || !prepared)
        return;
    FormRegistry::showModal(picker);
}

bool frm_ins_coeff::TDBGrid1_OnAddNew(platform::DataGridModel::Values &values)
{
    if (!isUnitViewShown())
        return true;
    // A room belongs to a unit of the register: none is stored for a unit that is not there.
    if (!unitExists()) {
        platform::dialogs().msgBox(
            QStringLiteral("Il condomino %1 non risulta in Codifica Piani: il vano non "
                           "è stato registrato. Aprire un condomino da Codifica Piani.")
                .arg(Label8->text()),
            platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, kAttention);
        return false;
    }
    RoomGrid::newRoomDefaults(values, *this);
    return true;
}

void frm_ins_coeff::txtole_KeyPress(int &KeyAscii)
{
    RoomGrid::cadKeystroke(*this, KeyAscii);
}

void frm_ins_coeff::typeIntoTxtole(const QString &characters)
{
    for (const QChar c : characters) {
        const int key
            = c == u'\r' ? int(Qt::Key_Return) : int(c.isLetter() ? c.toUpper().unicode() : c.unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(txtole, &press);
    }
}

// --- Geometry -----------------------------------------------------------------------------------

void frm_ins_coeff::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frm_ins_coeff::Form_Resize()
{
    const WorkspaceGeometry g = WorkspaceGeometry::resize(Twips::fromPixels(size(), this), m_tabStrip);
    if (g.tabStripWidth)
        m_tabStrip.setWidth(*g.tabStripWidth);
    if (g.gridWidth)
        m_grid.setWidth(*g.gridWidth);
    if (g.tabStripHeight)
        m_tabStrip.setHeight(*g.tabStripHeight);
    if (g.gridHeight)
        m_grid.setHeight(*g.gridHeight);
    if (g.totalsTop)
        m_totalsTop = *g.totalsTop;
    placeControls();
}

void frm_ins_coeff::placeControls()
{
    if (!TabStrip1)
        return;
    TabStrip1->setGeometry(Twips::toPixels(QRect(kTabStripAt, m_tabStrip), this));
    TDBGrid1->setGeometry(Twips::toPixels(QRect(kGridAt, m_grid), this));
    TDBGrid1->raise();
    QLabel *row[] = { Label13, Label14, Label15, Label16, Label17, Label18, Label19, Label20 };
    for (int i = 0; i < 8; ++i)
        row[i]->setGeometry(
            Twips::toPixels(QRect(kTotals[i].left, m_totalsTop, kTotals[i].width, kLabelHeight), this));
    Label22->setGeometry(Twips::toPixels(QRect(120, m_totalsTop + 330, 9000, kLabelHeight), this));
}

// --- Closing ------------------------------------------------------------------------------------

void frm_ins_coeff::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frm_ins_coeff::Form_Unload()
{
    tryStep([this] { storeShownUnitTotals(); });
    tryStep([] { MainWindowLink::setToolEnabled(QStringLiteral("tCad2"), false); });
    tryStep([] { MainWindowLink::setThousandthsBandVisible(false); });
}

} // namespace zav::workspace
