#include "terraces/frm_terrazze.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/thousandthsbalance.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "platform/report/reportcall.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/formregistry.h"
#include "platform/ui/twips.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"
#include "terraces/terraceoperations.h"
#include "terraces/terraceprints.h"
#include "terraces/terracesforms.h"
#include "terraces/terracethousandths.h"
#include "terraces/terracetotals.h"
#include "terraces/terraceviews.h"
#include "workspace/labelledcolumn.h"
#include "workspace/roomgrid.h"
#include "workspace/totaltext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace zav::terraces {

using engine::VAR_GBL;
using platform::DataGrid;
using platform::DataGridColumn;
using platform::DataSource;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::TableQuery;

namespace {

// The buttons of the array that need a current table.
constexpr std::array TableButtons { 1, 2, 3, 4, 5, 7, 9, 11 };
// The buttons that compute rooms: not on the thousandths view, whose rows are not rooms.
constexpr std::array RoomButtons { 3, 11 };
// The room grid's column of the surface expression (`ESPRESSIONE`).
constexpr int ExpressionColumn = 6;

// The room grid's fields, one column each, in the order of the rooms table.
const QStringList &roomFields()
{
    return TerraceViews::roomFields();
}

// Rows of no terrace unit: what the room views show while no terrace unit is loaded.
TableQuery noRooms()
{
    return { terracearchive::SUP_COEFF_VOL,
        { { QStringLiteral("CODICE"), QString() }, { QStringLiteral("PALAZ"), QString() },
            { QStringLiteral("INTERNO"), QString() } },
        {} };
}

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A label that holds a value: sunken, so that an empty one still shows its place.
QLabel *valueLabel(const char *name, const QString &text, QWidget *parent)
{
    QLabel *l = label(name, text, parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(60);
    return l;
}

DataSource *source(const char *name, QObject *parent)
{
    auto *s = new DataSource(parent);
    s->setObjectName(QString::fromLatin1(name));
    return s;
}

DataGrid *grid(const char *name, QWidget *parent)
{
    auto *g = new DataGrid(parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

QGroupBox *frame(const char *name, const QString &caption, QWidget *parent)
{
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setAutoFillBackground(true);
    f->hide();
    return f;
}

// The project's and the listed units' columns: owner, building, stair, floor code, unit number.
QList<DataGridColumn> unitColumns(bool listed)
{
    QList<DataGridColumn> columns {
        { QStringLiteral("PROPRIETARIO"), QStringLiteral("Comdomino"), 170 },
        { QStringLiteral("NUM_PAL"), QStringLiteral("Pal."), 40 },
        { QStringLiteral("SCALA"), QStringLiteral("Scala"), 60 },
        { QStringLiteral("SIGLA"), QStringLiteral("Piano"), 45 },
        { QStringLiteral("INTERNO"), QStringLiteral("Int."), 40 },
    };
    if (listed) {
        columns.append({ QStringLiteral("COD_TERRAZZE"), QStringLiteral(" "), 60 });
        columns.append({ QStringLiteral("DESCRIZIONE_TER"), QStringLiteral("  "), 120 });
    }
    for (DataGridColumn &column : columns)
        column.locked = true;
    return columns;
}

void warn(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavWarning);
}

// A long list in a message names this many of its lines; the rest are counted.
constexpr int ListedLines = 12;

// Whether two lists of grid columns are the same, column by column.
bool sameColumns(const QList<platform::DataGridColumn> &a, const QList<platform::DataGridColumn> &b)
{
    const auto fields = [](const platform::DataGridColumn &c) {
        return std::tie(c.dataField, c.caption, c.width, c.visible, c.locked, c.button, c.format, c.alignment,
            c.valueItems);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
        [&](const platform::DataGridColumn &x, const platform::DataGridColumn &y) {
            return fields(x) == fields(y);
        });
}

// Why a calculation wrote no thousandths, and what to do.
QString noThousandthsText(const TerraceThousandths::Outcome &outcome)
{
    const QString head = QStringLiteral("Nessun millesimo calcolato: ");
    if (outcome.rooms == 0)
        return head
            + QStringLiteral("la tabella non ha vani. Copiarli con \"Copia dati Condomini\" o inserirli, "
                             "poi premere di nuovo \"Calcola Millesimi\".");
    if (outcome.total == 0.0 && outcome.byVolume) {
        QString text = head
            + QStringLiteral("il calcolo è sul volume (\"Opzioni di calcolo\") e il volume dei vani della "
                             "tabella è 0.");
        if (!outcome.roomsWithoutHeight.isEmpty())
            text += QStringLiteral("\nQuesti vani hanno l'altezza vuota:\n- %1")
                        .arg(platform::messageLines(outcome.roomsWithoutHeight, ListedLines)
                                 .join(QStringLiteral("\n- ")));
        return text
            + QStringLiteral("\nScrivere le altezze nella vista \"Calcolo Volumi\", premere \"Ricalcola "
                             "Totali\", poi di nuovo \"Calcola Millesimi\".");
    }
    if (outcome.total == 0.0)
        return head
            + QStringLiteral("la superficie convenzionale dei vani della tabella è 0. Premere \"Ricalcola "
                             "Totali\", poi di nuovo \"Calcola Millesimi\".");
    if (!outcome.incorrectUnits.isEmpty())
        return head
            + QStringLiteral("i condomini della tabella hanno vani con la superficie convenzionale vuota, "
                             "come detto sopra. Premere \"Ricalcola Totali\", poi di nuovo \"Calcola "
                             "Millesimi\".");
    return head
        + QStringLiteral(
            "nessuna unità del progetto ha vani validi nella tabella (palazzina, scala e interno "
            "dei vani devono essere quelli di un'unità del progetto).");
}

} // namespace

frm_terrazze::frm_terrazze(QWidget *parent)
    : QWidget(parent)
    , m_prints(std::make_unique<TerracePrints>())
{
    setObjectName(TerraceFormName);
    setWindowTitle(QStringLiteral("Terrazze"));
    // The room expressions are evaluated on this form.
    VAR_GBL.init_operatori();
    VAR_GBL.init_precedenze();
    buildControls();
    buildLayout();
    // Fits inside the main window on a 1024x768 screen.
    resize(1000, 660);
    Form_Load();
}

frm_terrazze::~frm_terrazze() = default;

bool frm_terrazze::archiveUsable()
{
    const QString path = VAR_GBL.archivio_terrazze;
    const QStringList problems = terracearchive::problems(path);
    if (problems.isEmpty())
        return true;
    dialogs().msgBox(QStringLiteral("L'archivio delle terrazze \"%1\" non si può usare:\n- %2\n"
                                    "La finestra delle terrazze non è stata aperta.")
                         .arg(QDir::toNativeSeparators(path), problems.join(QStringLiteral("\n- "))),
        MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
    return false;
}

void frm_terrazze::buildControls()
{
    Label21 = label("Label21", QStringLiteral("Codice"), this);
    Label22 = label("Label22", QStringLiteral("Nome Tabella"), this);
    Label1 = valueLabel("Label1", QString(), this);
    Label2 = valueLabel("Label2", QString(), this);
    Label2->setMinimumWidth(240);

    Frame4 = new QFrame(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setFrameShape(QFrame::StyledPanel);
    Frame4->hide();
    Label7 = label("Label7", QStringLiteral("Condomino:"), Frame4);
    Label6 = label("Label6", QStringLiteral("Palazzina:"), Frame4);
    Label3 = label("Label3", QStringLiteral("Scala:"), Frame4);
    Label4 = label("Label4", QStringLiteral("Piano:"), Frame4);
    Label5 = label("Label5", QStringLiteral("Interno:"), Frame4);
    Label8 = valueLabel("Label8", QString(), Frame4);
    Label8->setMinimumWidth(200);
    Label9 = valueLabel("Label9", QString(), Frame4);
    Label10 = valueLabel("Label10", QString(), Frame4);
    Label11 = valueLabel("Label11", QString(), Frame4);
    Label12 = valueLabel("Label12", QString(), Frame4);

    Label13 = label("Label13", QStringLiteral("Tot. Mq.:"), this);
    Label14 = valueLabel("Label14", QStringLiteral("0"), this);
    Label15 = label("Label15", QStringLiteral("Tot. Sup. Conv.:"), this);
    Label16 = valueLabel("Label16", QStringLiteral("0"), this);
    Label17 = label("Label17", QStringLiteral("Tot. Volume:"), this);
    Label18 = valueLabel("Label18", QStringLiteral("0"), this);
    Label19 = label("Label19", QStringLiteral("Tot. Mil.:"), this);
    Label20 = valueLabel("Label20", QStringLiteral("0"), this);
    Label19->hide();
    Label20->hide();

    Data1 = source("Data1", this);
    Data2 = source("Data2", this);
    Data3 = source("Data3", this);
    Data4 = source("Data4", this);
    Data5 = source("Data5", this);
    Data1->setRecordSource(terracearchive::SUP_COEFF_VOL);
    Data2->setRecordSource(terracearchive::CODICE);
    Data3->setRecordSource(engine::archive::CODIF_PIANI);
    Data4->setRecordSource(terracearchive::ELENCO);
    Data5->setRecordSource(terracearchive::ELENCO);
    Data1->bind(Label8, QStringLiteral("NOME_CONDOMINO"));
    Data1->bind(Label9, QStringLiteral("PALAZ"));
    Data1->bind(Label10, QStringLiteral("SCALA"));
    Data1->bind(Label12, QStringLiteral("INTERNO"));
    // The header follows the room current; on the new-row line, which has none, it keeps the unit.
    connect(Data1, &DataSource::currentRowChanged, this, &frm_terrazze::keepShownHeader);

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (const char *tab : { "Calcolo superfici", "Coefficienti", "Calcolo Volumi", "Millesimi " })
        TabStrip1->addTab(QString::fromLatin1(tab));
    TDBGrid1 = grid("TDBGrid1", this);
    TDBGrid1->setDataSource(Data1);
    QList<DataGridColumn> rooms;
    for (const QString &field : roomFields())
        rooms.append({ field, field });
    TDBGrid1->setColumns(rooms);
    TDBGrid1->hide();

    // The print frame.
    Frame1 = frame("Frame1", QStringLiteral("Stampa"), this);
    QWidget *print = Frame1;
    Option1 = new QRadioButton(QStringLiteral("Video"), print);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("Stampante"), print);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3 = new QRadioButton(QStringLiteral("File RTF"), print);
    Option3->setObjectName(QStringLiteral("Option3"));
    Option1->setChecked(true);
    Check1 = new QCheckBox(QStringLiteral("Millesimi Terrazze"), print);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check8 = new QCheckBox(QStringLiteral("Tab. Superfici"), print);
    Check8->setObjectName(QStringLiteral("Check8"));
    Check2 = new QCheckBox(QStringLiteral("Tutti"), print);
    Check2->setObjectName(QStringLiteral("Check2"));
    TDBGrid2 = grid("TDBGrid2", print);
    TDBGrid2->setCaption(QStringLiteral("Elenco Tabelle Terrazze"));
    TDBGrid2->setDataSource(Data2);
    TDBGrid2->setColumns({ { QStringLiteral("CODICE"), QStringLiteral("Cod."), 70, true, true },
        { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 200, true, true } });
    TDBGrid6 = grid("TDBGrid6", print);
    TDBGrid6->setCaption(QStringLiteral("Elenco Condomini"));
    TDBGrid6->setDataSource(Data5);
    TDBGrid6->setColumns(unitColumns(true));
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("Stampa"), print);
    connect(Command2, &QPushButton::clicked, this, &frm_terrazze::Command2_Click);
    Command5 = platform::formButton(QStringLiteral("Command5"), QStringLiteral("Esci"), print);

    // The list-building frame.
    Frame2 = frame("Frame2", QStringLiteral("Creazione Elenco Condomini Terrazze"), this);
    QWidget *building = Frame2;
    Label24 = label("Label24", QStringLiteral("ELENCO CONDOMINI PROGETTO"), building);
    Label23 = label("Label23", QStringLiteral("Pal. n°:"), building);
    Combo1 = new QComboBox(building);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    TDBGrid3 = grid("TDBGrid3", building);
    TDBGrid3->setDataSource(Data3);
    TDBGrid3->setColumns(unitColumns(false));
    TDBGrid3->setSelectionMode(QAbstractItemView::MultiSelection);
    TDBGrid3->setSelectionBehavior(QAbstractItemView::SelectRows);
    Label25 = label("Label25", QStringLiteral("ELENCO CONDOMINI TERRAZZE"), building);
    Label26 = label("Label26", QStringLiteral("Pal. n°:"), building);
    Combo2 = new QComboBox(building);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    TDBGrid4 = grid("TDBGrid4", building);
    TDBGrid4->setDataSource(Data4);
    TDBGrid4->setColumns(unitColumns(true));
    Command3 = platform::formButton(QStringLiteral("Command3"), QStringLiteral("Esci"), building);

    // The unit list.
    Frame3 = frame("Frame3", QStringLiteral("Elenco Condomini Terrazze"), this);
    QWidget *list = Frame3;
    Label27 = label("Label27", QStringLiteral("Pal. n°:"), list);
    Combo3 = new QComboBox(list);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    TDBGrid5 = grid("TDBGrid5", list);
    TDBGrid5->setDataSource(Data5);
    TDBGrid5->setColumns(unitColumns(true));
    TDBGrid5->setSelectionBehavior(QAbstractItemView::SelectRows);
    Command4 = platform::formButton(QStringLiteral("Command4"), QStringLiteral("Trova"), list);
    Command6 = platform::formButton(QStringLiteral("Command6"), QStringLiteral("Elimina"), list);

    // The button array; 8 lives in the list-building frame, 10 in the unit list.
    const struct
    {
        int index;
        const char *caption;
        const char *tip;
    } buttons[] = {
        { 0, "Crea-Selez. Tab.", "Crea o Seleziona la Tabella" },
        { 1, "Copia dati Condomini", nullptr },
        { 2, "Cerca ", nullptr },
        { 3, "Calcola Totali", "Calcola i totali del condomino corrente" },
        { 4, "Calcola Millesimi", nullptr },
        { 5, "Stampa", nullptr },
        { 6, "Esci", nullptr },
        { 7, "Elimina Condomino", nullptr },
        { 8, "Trasferisci", nullptr },
        { 9, "Elenco Condomini", "Genera elenco condomini" },
        { 10, "Esci", nullptr },
        { 11, "Ricalcola Totali", "Ricalcola i totali di tutte le U.I." },
    };
    for (const auto &b : buttons) {
        QWidget *owner = b.index == 8 ? building : b.index == 10 ? list : static_cast<QWidget *>(this);
        QPushButton *button = platform::formButton(
            QStringLiteral("Command1_%1").arg(b.index), QString::fromLatin1(b.caption), owner);
        if (b.tip)
            button->setToolTip(QString::fromLatin1(b.tip));
        const int index = b.index;
        connect(button, &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
        Command1[std::size_t(b.index)] = button;
    }
    for (int index : TableButtons)
        Command1[std::size_t(index)]->setEnabled(false);
    Command7 = platform::formButton(QStringLiteral("Command7"), QStringLiteral("Arr. Millesimi"), this);
    Command7->hide();

    connect(Command7, &QPushButton::clicked, this, &frm_terrazze::Command7_Click);
    connect(TabStrip1, &QTabBar::tabBarClicked, this, [this](int index) {
        // A click on the tab already selected shows its view again, as a new choice does.
        if (index == TabStrip1->currentIndex())
            TabStrip1_Click();
    });
    connect(TabStrip1, &QTabBar::currentChanged, this, &frm_terrazze::TabStrip1_Click);
    connect(TDBGrid1, &DataGrid::buttonClick, this, &frm_terrazze::TDBGrid1_ButtonClick);
    TDBGrid1->dataModel()->setOnAddNew(
        [this](platform::DataGridModel::Values &values) { return TDBGrid1_OnAddNew(values); });
    TDBGrid1->setKeyPress([this](int &keyAscii) { TDBGrid1_KeyPress(keyAscii); });
    connect(Command3, &QPushButton::clicked, this, &frm_terrazze::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm_terrazze::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frm_terrazze::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frm_terrazze::Command6_Click);
    connect(Combo1, &QComboBox::activated, this, &frm_terrazze::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &frm_terrazze::Combo2_Click);
    connect(Combo3, &QComboBox::activated, this, &frm_terrazze::Combo3_Click);
    connect(TDBGrid2, &DataGrid::rowColChange, this, &frm_terrazze::TDBGrid2_RowColChange);
}

void frm_terrazze::buildLayout()
{
    auto *table = new QHBoxLayout;
    table->addWidget(Label21);
    table->addWidget(Label1);
    table->addSpacing(16);
    table->addWidget(Label22);
    table->addWidget(Label2, 1);

    auto *header = new QHBoxLayout(Frame4);
    for (auto [caption, value] : { std::pair { Label7, Label8 }, { Label6, Label9 }, { Label3, Label10 },
             { Label4, Label11 }, { Label5, Label12 } }) {
        header->addWidget(caption);
        header->addWidget(value, value == Label8 ? 1 : 0);
    }

    auto *totals = new QHBoxLayout;
    for (auto [caption, value] : { std::pair { Label13, Label14 }, { Label15, Label16 }, { Label17, Label18 },
             { Label19, Label20 } }) {
        // Centred on the row, each box keeps the height of its text beside the taller button.
        totals->addWidget(caption, 0, Qt::AlignVCenter);
        totals->addWidget(value, 0, Qt::AlignVCenter);
        totals->addSpacing(12);
    }
    totals->addStretch(1);
    totals->addWidget(Command7);

    auto *rooms = new QVBoxLayout;
    rooms->setContentsMargins(0, 0, 0, 0);
    rooms->addWidget(TabStrip1);
    rooms->addWidget(TDBGrid1, 1);
    rooms->addLayout(totals);
    auto *roomPage = new QWidget(this);
    roomPage->setLayout(rooms);

    // Print frame.
    {
        auto *grid = new QGridLayout(Frame1);
        auto *destination = new QVBoxLayout;
        for (QWidget *w :
            std::initializer_list<QWidget *> { Option1, Option2, Option3, Check1, Check8, Check2 })
            destination->addWidget(w);
        destination->addStretch(1);
        destination->addWidget(Command2);
        destination->addWidget(Command5);
        grid->addLayout(destination, 0, 0, 2, 1);
        grid->addWidget(TDBGrid2, 0, 1);
        grid->addWidget(TDBGrid6, 1, 1);
        grid->setRowStretch(1, 2);
        grid->setColumnStretch(1, 1);
    }
    // List-building frame.
    {
        // Each list's title over its building picker, so that the two lists fit side by side
        // beside the unit list.
        auto *grid = new QGridLayout(Frame2);
        auto *left = new QHBoxLayout;
        left->addWidget(Label23);
        left->addWidget(Combo1);
        left->addStretch(1);
        auto *right = new QHBoxLayout;
        right->addWidget(Label26);
        right->addWidget(Combo2);
        right->addStretch(1);
        grid->addWidget(Label24, 0, 0);
        grid->addWidget(Label25, 0, 2);
        grid->addLayout(left, 1, 0);
        grid->addLayout(right, 1, 2);
        grid->addWidget(TDBGrid3, 2, 0);
        auto *middle = new QVBoxLayout;
        middle->addStretch(1);
        middle->addWidget(Command1[8]);
        middle->addStretch(1);
        middle->addWidget(Command3);
        grid->addLayout(middle, 2, 1);
        grid->addWidget(TDBGrid4, 2, 2);
        grid->setRowStretch(2, 1);
        grid->setColumnStretch(0, 1);
        grid->setColumnStretch(2, 1);
    }
    // Unit list.
    {
        auto *layout = new QVBoxLayout(Frame3);
        auto *picker = new QHBoxLayout;
        picker->addWidget(Label27);
        picker->addWidget(Combo3);
        picker->addStretch(1);
        layout->addLayout(picker);
        layout->addWidget(TDBGrid5, 1);
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(Command4);
        buttons->addWidget(Command6);
        buttons->addStretch(1);
        buttons->addWidget(Command1[10]);
        layout->addLayout(buttons);
    }

    // The frames open over the room grid; the unit list stands beside it.
    auto *centre = new QGridLayout;
    centre->addWidget(roomPage, 0, 0);
    centre->addWidget(Frame2, 0, 0);
    centre->addWidget(Frame1, 0, 0);
    centre->addWidget(Frame3, 0, 1);
    centre->setColumnStretch(0, 3);
    centre->setColumnStretch(1, 2);

    auto *commands = new QVBoxLayout;
    for (int index : { 0, 9, 2, 1, 7, 3, 11, 4, 5 })
        commands->addWidget(Command1[std::size_t(index)]);
    commands->addStretch(1);
    commands->addWidget(Command1[6]);

    // The whole page scrolls inside the window rather than the window outgrowing the screen when
    // its frames open side by side on a small screen.
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("page"));
    auto *main = new QGridLayout(page);
    main->addLayout(table, 0, 0);
    main->addWidget(Frame4, 1, 0);
    main->addLayout(centre, 2, 0);
    main->addLayout(commands, 0, 1, 3, 1);
    main->setRowStretch(2, 1);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

void frm_terrazze::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        fitOverWorkspace();
}

void frm_terrazze::fitOverWorkspace()
{
    // Over the main window's workspace and no larger than it, wherever the window system would put
    // a window of this size.
    const QWidget *main = platform::FormRegistry::mainWindow();
    const auto *area = main ? main->findChild<QMdiArea *>() : nullptr;
    if (!isWindow() || !area || !area->isVisible())
        return;
    const QRect workspace(area->mapToGlobal(QPoint()), area->size());
    const QMargins frame(main->geometry().left() - main->frameGeometry().left(),
        main->geometry().top() - main->frameGeometry().top(),
        main->frameGeometry().right() - main->geometry().right(),
        main->frameGeometry().bottom() - main->geometry().bottom());
    resize(size().boundedTo(workspace.size().shrunkBy(frame)));
    QRect outer(QPoint(), size().grownBy(frame));
    outer.moveCenter(workspace.center());
    move(outer.topLeft());
}

void frm_terrazze::layRoomGrid()
{
    TDBGrid1->setCaption(QStringLiteral("Calcolo Superfici"));
    // The design lets the rooms be added, changed and deleted, as the room views do.
    TDBGrid1->setReadOnly(false);
    TDBGrid1->setAllowUpdate(true);
    TDBGrid1->setAllowAddNew(true);
    QList<DataGridColumn> columns;
    for (int i = 0; i < roomFields().size(); ++i) {
        DataGridColumn column { roomFields().at(i), roomFields().at(i) };
        column.visible = i >= 5 && i <= 7;
        columns.append(column);
    }
    const int widths[] = { 1800, 2700, 880 };
    const char *captions[] = { "Descrizione", "Espressione", "Mq." };
    for (int i = 0; i < 3; ++i) {
        columns[5 + i].caption = QString::fromLatin1(captions[i]);
        columns[5 + i].width = platform::Twips::toPixelsX(widths[i], this);
    }
    TDBGrid1->setColumns(columns);
}

bool frm_terrazze::attempt(const std::function<void()> &step) const
{
    try {
        step();
        return true;
    } catch (const platform::DbError &error) {
        engine::reportDatabaseError(error);
        return false;
    }
}

bool frm_terrazze::bindRows(DataSource *source, const TableQuery &rows)
{
    return attempt([&] {
        source->setRecordSource(rows);
        source->refresh();
    });
}

void frm_terrazze::Form_Load()
{
    const QString terraces = VAR_GBL.archivio_terrazze;
    for (DataSource *s : { Data1, Data2, Data4, Data5 })
        s->setDatabaseName(terraces);
    TDBGrid1->hide();
    layRoomGrid();
    Data3->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));

    // The building lists hold the project's buildings; the rooms shown at first are those of the
    // last one, in every table.
    attempt([&] {
        platform::Database project = platform::Database::open(Data3->databaseName());
        if (project.table(engine::archive::ANA_CONDO).isEmpty())
            return;
        const QList<int> buildings = engine::archive::buildingNumbers(project);
        for (QComboBox *combo : { Combo1, Combo2, Combo3 }) {
            combo->clear();
            for (int number : buildings)
                combo->addItem(QString::number(number));
        }
        if (!buildings.isEmpty())
            Data1->setRecordSource(terracearchive::roomsOfBuilding(buildings.last()));
    });
    for (DataSource *s : { Data1, Data2, Data3, Data4, Data5 })
        attempt([s] { s->refresh(); });
    if (Data1->recordCount() > 0)
        m_shown = ShownTerraceUnit { Data1->value(0, 0).toString(), TerraceUnit::fromRoomRow(*Data1, 0) };
}

void frm_terrazze::Form_Activate()
{
    if (TDBGrid1->row() <= 0 && !Label1->text().isEmpty())
        showFrame(Frame3);
}

void frm_terrazze::showFrame(QWidget *frame)
{
    frame->show();
    frame->raise();
}

bool frm_terrazze::tableSelected() const
{
    if (!Label1->text().isEmpty())
        return true;
    warn(QStringLiteral("Nessuna Tabella terrazze selezionata."));
    return false;
}

void frm_terrazze::enableTableButtons(bool enabled)
{
    for (int index : TableButtons)
        Command1[std::size_t(index)]->setEnabled(enabled);
    if (thousandthsViewShown())
        for (int index : RoomButtons)
            Command1[std::size_t(index)]->setEnabled(false);
}

void frm_terrazze::Command1_Click(int Index)
{
    switch (Index) {
    case 0:
        platform::FormRegistry::showModal(TerraceTablesName);
        Form_Activate();
        break;
    case 1:
        if (!tableSelected())
            return;
        platform::FormRegistry::showModal(RoomCopyFormName);
        Form_Activate();
        break;
    case 2:
        if (!tableSelected())
            return;
        showFrame(Frame3);
        bindRows(Data5, terracearchive::listOfTable(Label1->text(), Label2->text()));
        break;
    case 3:
        if (!tableSelected())
            return;
        CALC_TOT_TER();
        break;
    case 4:
        if (!tableSelected())
            return;
        CALC_MIL_TER();
        break;
    case 5:
        showFrame(Frame1);
        bindRows(Data2, terracearchive::tableRow(Label1->text()));
        bindRows(Data5, terracearchive::listOfTable(Label1->text(), Label2->text()));
        break;
    case 6:
        close();
        break;
    case 7:
        eliminaCondomino();
        break;
    case 8:
        TRASF_ELENCO_TER();
        break;
    case 9: {
        if (!tableSelected())
            return;
        showFrame(Frame2);
        Data3->moveFirst();
        // The first building of the project (building 1 unless the project lacks it).
        const QString first = Combo2->count() > 0 ? Combo2->itemText(0) : QStringLiteral("1");
        Combo2->setCurrentIndex(Combo2->findText(first));
        bindRows(Data4, terracearchive::listOfBuilding(Label1->text(), first));
        break;
    }
    case 10:
        Frame3->hide();
        TabStrip1_Click();
        break;
    case 11:
        RICALC_TOT_TER();
        break;
    default:
        break;
    }
}

void frm_terrazze::Command3_Click()
{
    Frame2->hide();
}

void frm_terrazze::Command2_Click()
{
    const QString code = Data2->noCurrentRow() ? QString() : Data2->value(Data2->currentRow(), 0).toString();
    m_prints->Command2_Click({ Option1->isChecked(), Option2->isChecked(), Option3->isChecked(),
                                 Check1->isChecked(), Check8->isChecked(), Check2->isChecked() },
        code, *Data5);
}

void frm_terrazze::Command5_Click()
{
    bindRows(Data5, terracearchive::listOfTable(Label1->text(), Label2->text()));
    Frame1->hide();
}

void frm_terrazze::Combo1_Click()
{
    bindRows(Data3, terracearchive::projectUnitsOfBuilding(Combo1->currentText()));
}

void frm_terrazze::Combo2_Click()
{
    bindRows(Data4, terracearchive::listOfBuilding(Label1->text(), Combo2->currentText()));
}

void frm_terrazze::Combo3_Click()
{
    bindRows(Data5, terracearchive::listOfBuilding(Label1->text(), Combo3->currentText()));
}

void frm_terrazze::TDBGrid2_RowColChange()
{
    if (Data2->noCurrentRow())
        return;
    bindRows(Data5, terracearchive::listOfCode(Data2->value(Data2->currentRow(), 0).toString()));
}

void frm_terrazze::TRASF_ELENCO_TER()
{
    // The list-building frame can outlive its table, when the table is deleted meanwhile.
    if (!tableSelected())
        return;
    QList<TerraceUnit> units;
    for (qint64 rowid : TDBGrid3->selectedBookmarksInClickOrder()) {
        const int row = Data3->rowOf(rowid);
        if (row < 0)
            continue;
        const auto field = [&](const char *name) { return Data3->value(row, QString::fromLatin1(name)); };
        units.append({ TerraceUnit::text(field("PROPRIETARIO")), field("NUM_PAL"),
            TerraceUnit::text(field("SCALA")), TerraceUnit::text(field("SIGLA")), field("INTERNO") });
    }
    if (units.isEmpty())
        return;
    QList<TerraceUnit> leftOut;
    if (!attempt([&] {
            leftOut = TerraceOperations::listUnits(
                VAR_GBL.archivio_terrazze, Label1->text(), Label2->text(), units);
        }))
        return;
    attempt([this] { Data4->refresh(); });
    if (!leftOut.isEmpty()) {
        QStringList names;
        for (const TerraceUnit &unit : leftOut)
            names << TerraceOperations::describe(unit);
        warn(QStringLiteral(
            "Queste unità non sono state trasferite perché non hanno il piano o l'interno:\n- %1")
                 .arg(names.join(QStringLiteral("\n- "))));
    }
}

void frm_terrazze::Command4_Click()
{
    if (Data5->noCurrentRow())
        return;
    showTerraceUnit({ Label1->text(), TerraceUnit::fromListRow(*Data5, Data5->currentRow()) }, true);
}

bool frm_terrazze::showTerraceUnit(const ShownTerraceUnit &shown, bool headerAndTotals)
{
    return showUnit(shown, headerAndTotals, nullptr);
}

void frm_terrazze::showListedUnit(const ListedUnit &unit)
{
    const TerraceUnit terraceUnit { TerraceUnit::text(unit.owner), unit.building,
        TerraceUnit::text(unit.stair), TerraceUnit::text(unit.floorCode), unit.interno };
    showUnit({ Label1->text(), terraceUnit }, true, &unit);
}

bool frm_terrazze::showUnit(const ShownTerraceUnit &shown, bool headerAndTotals, const ListedUnit *listed)
{
    if (!bindRows(Data1, shown.rooms()))
        return false;
    VAR_GBL.sql_unita_corrente = Data1->recordSource();
    m_shown = shown;
    if (!headerAndTotals)
        return true;

    const TerraceUnit &unit = shown.unit;
    // From the unit list, a field without value leaves its label as it was.
    const auto header = [listed](QLabel *label, const QString &text, const QVariant &listedValue) {
        if (!listed || !listedValue.isNull())
            label->setText(text);
    };
    header(Label8, unit.owner, listed ? listed->owner : QVariant());
    header(Label9, TerraceUnit::text(unit.building), listed ? listed->building : QVariant());
    header(Label10, unit.stair, listed ? listed->stair : QVariant());
    header(Label11, unit.floorCode, listed ? listed->floorCode : QVariant());
    header(Label12, TerraceUnit::text(unit.interno), listed ? listed->interno : QVariant());
    showRoomTotals();
    if (Data1->recordCount() > 0 && !listed)
        Frame4->show();
    TDBGrid1->show();
    Data1->moveFirst();
    return true;
}

void frm_terrazze::showRoomTotals()
{
    // The totals of the columns the grid shows in its unit views: surface, weighted surface, volume.
    QStringList fields;
    for (int column : { 7, 16, 18 })
        fields << TDBGrid1->column(column).dataField;
    const QStringList totals = workspace::TotalText::columnTotals(*Data1, fields);
    Label14->setText(totals.at(0));
    Label16->setText(totals.at(1));
    Label18->setText(totals.at(2));
}

bool frm_terrazze::thousandthsViewShown() const
{
    return TabStrip1->currentIndex() == 3;
}

void frm_terrazze::eliminaCondomino()
{
    if (!m_shown || thousandthsViewShown()) {
        warn(QStringLiteral(
            "Nessun condomino visualizzato: sceglierne uno nell'elenco dei condomini con \"Trova\"."));
        return;
    }
    const TerraceUnit &unit = m_shown->unit;
    const QString question
        = QStringLiteral("Vuoi eliminare %1 Pal. %2 Scala %3 Int. %4 ?")
              .arg(unit.owner, TerraceUnit::text(unit.building), unit.stair, TerraceUnit::text(unit.interno));
    if (dialogs().msgBox(question, MsgButtons::YesNo, MsgIcon::Critical, engine::MessageTitle::Warning,
            platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    if (!attempt([&] {
            TerraceOperations::deleteUnitRooms(VAR_GBL.archivio_terrazze, { Label1->text(), unit });
        }))
        return;
    attempt([this] { Data1->refresh(); });
}

void frm_terrazze::Command6_Click()
{
    if (Data5->noCurrentRow())
        return;
    const int row = Data5->currentRow();
    const ShownTerraceUnit listed { Label1->text(), TerraceUnit::fromListRow(*Data5, row) };
    if (dialogs().msgBox(
            QStringLiteral("Sei sicuro di voler eliminare %1 e tutti i suoi dati ?").arg(listed.unit.owner),
            MsgButtons::YesNo, MsgIcon::Critical, engine::MessageTitle::Warning, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    const qint64 rowid = Data5->rowid(row);
    if (!attempt([&] { TerraceOperations::removeListedUnit(VAR_GBL.archivio_terrazze, rowid, listed); }))
        return;
    bindRows(Data1, listed.rooms());
    attempt([this] { Data5->refresh(); });
}

QString frm_terrazze::currentTableCode() const
{
    return Label1->text();
}

QString frm_terrazze::currentTableDescription() const
{
    return Label2->text();
}

void frm_terrazze::selectTable(const QString &code, const QString &description)
{
    Label1->setText(code);
    Label2->setText(description);
    // The unit shown stays, with its rooms in the table now current; thousandths rows name no unit.
    if (m_shown && !Data1->noCurrentRow() && !thousandthsViewShown())
        showTerraceUnit({ code, m_shown->unit }, false);
    enableTableButtons(true);
}

void frm_terrazze::tableDeleted(const QString &code)
{
    bindRows(Data5, { terracearchive::ELENCO, {}, {} });
    if (code.compare(Label1->text(), Qt::CaseInsensitive) != 0)
        return;
    Label1->clear();
    Label2->clear();
    enableTableButtons(false);
}

void frm_terrazze::showUnitList(const TableQuery &rows)
{
    bindRows(Data5, rows);
}

// --- Rooms and totals ---------------------------------------------------------------------------

void frm_terrazze::CALC_TOT_TER()
{
    for (QLabel *total : { Label14, Label16, Label18 })
        total->setText(QStringLiteral("0"));
    // Only the rooms of a terrace unit are computed, never the thousandths' rows.
    if (!TerraceTotals::holdsRooms(*Data1))
        return;
    TerraceTotals::UnitTotals totals;
    if (!attempt([&] { totals = TerraceTotals::computeUnit(*Data1); }))
        return;
    Label14->setText(totals.surface);
    Label16->setText(totals.weighted);
    Label18->setText(totals.volume);
    const int stopped = totals.stoppedAt.value_or(-1);
    // The grid is left past its last row; the header keeps naming the unit shown, whose key a
    // room added next takes.
    const QStringList header { Label8->text(), Label9->text(), Label10->text(), Label12->text() };
    attempt([this] { Data1->refresh(); });
    Data1->setCurrentRow(Data1->recordCount());
    Label8->setText(header.at(0));
    Label9->setText(header.at(1));
    Label10->setText(header.at(2));
    Label12->setText(header.at(3));
    if (totals.nonFinite)
        dialogs().msgBox(
            QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
    if (stopped >= 0) {
        const QString room = Data1->value(stopped, QStringLiteral("DESCRIZ_VANO")).toString();
        warn(QStringLiteral("Il vano \"%1\" (riga %2) ha un valore non numerico in %3: il calcolo si è "
                            "fermato a questo vano e i totali comprendono solo i vani precedenti.")
                 .arg(room)
                 .arg(stopped + 1)
                 .arg(Data1->fieldIndex(totals.badField) >= 0
                         ? TDBGrid1->column(Data1->fieldIndex(totals.badField)).heading()
                         : totals.badField));
    }
}

void frm_terrazze::RICALC_TOT_TER()
{
    // The unit shown, as the header shows it.
    const TerraceUnit shown { Label8->text(), Label9->text(), Label10->text(), Label11->text(),
        Label12->text() };
    const QString code = Label1->text();
    TerraceTotals::TableRecount recount;
    platform::Progress &bar = platform::progress();
    bar.show();
    const QString title = QStringLiteral("Ricalcolo Sup. Coeff. e Volumi Terrazze");
    bool done = true;
    try {
        recount = TerraceTotals::recomputeTable(VAR_GBL.archivio_terrazze, code, bar);
    } catch (const platform::DbError &error) {
        // The rooms are written in one transaction: a failure leaves every one as it was.
        done = false;
        dialogs().msgBox(QStringLiteral("Ricalcolo non eseguito: nessun vano è stato cambiato.\n")
                + engine::databaseFailureText(error),
            MsgButtons::Ok, MsgIcon::Critical, title);
    }
    // The rooms shown have been recomputed: so are their totals.
    if (bindRows(Data1, ShownTerraceUnit { code, shown }.rooms()))
        showRoomTotals();
    TDBGrid1->show();
    if (recount.nonFinite)
        dialogs().msgBox(
            QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
    if (done) {
        QString text = QStringLiteral("Ricalcolo Terminato");
        if (recount.badRooms > 0)
            text
                += QStringLiteral("\nVani con coefficienti o altezza non numerici, lasciati senza superficie "
                                  "convenzionale e volume: %1")
                       .arg(recount.badRooms);
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, title);
    }
    bar.setValue(1);
    bar.close();
    Frame4->show();
}

void frm_terrazze::TDBGrid1_KeyPress(int &KeyAscii)
{
    // The column of the cell whose edit Enter has just ended, or the current one.
    const int column
        = TDBGrid1->keyEditColumn() >= 0 ? TDBGrid1->keyEditColumn() : TDBGrid1->currentIndex().column();
    // An expression takes "." as its decimal mark: a comma typed into it becomes one, as in the
    // workspace's expressions.
    if (column == ExpressionColumn && TerraceTotals::holdsRooms(*Data1))
        KeyAscii = workspace::RoomGrid::mappedSeparator(KeyAscii, workspace::RoomGrid::Espressione,
            workspace::WorkspaceView::Surfaces, VAR_GBL.punto_decimale());
    if (KeyAscii != 13 || TDBGrid1->caption() != TerraceViews::surfaces().caption
        || column != ExpressionColumn || !TerraceTotals::holdsRooms(*Data1) || Data1->noCurrentRow())
        return;
    const int row = Data1->currentRow();
    TerraceRoomValues room { { QStringLiteral("ESPRESSIONE"),
        Data1->value(row, QStringLiteral("ESPRESSIONE")) } };
    const TerraceRoom::Outcome outcome = TerraceRoom::compute(room, TerraceRoom::Scope::Surface);
    if (attempt([&] {
            Data1->setValue(row, Data1->fieldIndex(QStringLiteral("MQ")), room.value(QStringLiteral("MQ")));
        }))
        showRoomTotals();
    if (outcome.nonFinite)
        dialogs().msgBox(
            QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
}

bool frm_terrazze::TDBGrid1_OnAddNew(QList<std::pair<QString, QVariant>> &values)
{
    if (thousandthsViewShown() || !TerraceTotals::holdsRooms(*Data1) || Data1->recordSource() == noRooms())
        return false;
    // A room belongs to the unit shown; without one it would belong to nobody.
    if (!m_shown) {
        warn(QStringLiteral("Nessun condomino visualizzato: sceglierne uno nell'elenco dei condomini con "
                            "\"Trova\" prima di aggiungere un vano."));
        return false;
    }
    const auto set = [&](const char *field, const QVariant &value) {
        const QString name = QString::fromLatin1(field);
        for (auto &pair : values)
            if (pair.first.compare(name, Qt::CaseInsensitive) == 0) {
                pair.second = value;
                return;
            }
        values.append({ name, value });
    };
    // The unit's key as the form holds it, typed: the header labels may show no row (the new-row
    // line has none) and hold numbers only as text.
    const TerraceUnit &unit = m_shown->unit;
    set("CODICE", Label1->text());
    set("NOME_CONDOMINO", unit.owner);
    const QVariant building = terracearchive::numberKey(unit.building);
    if (building.typeId() != QMetaType::QString)
        set("PALAZ", building);
    set("SCALA", unit.stair);
    set("PIANO", unit.floorCode);
    const QVariant interno = terracearchive::numberKey(unit.interno);
    if (interno.typeId() != QMetaType::QString)
        set("INTERNO", interno);
    return true;
}

void frm_terrazze::keepShownHeader()
{
    if (!m_shown || !Data1->noCurrentRow() || thousandthsViewShown())
        return;
    const TerraceUnit &unit = m_shown->unit;
    Label8->setText(unit.owner);
    Label9->setText(TerraceUnit::text(unit.building));
    Label10->setText(unit.stair);
    Label12->setText(TerraceUnit::text(unit.interno));
}

void frm_terrazze::TDBGrid1_ButtonClick(int /*ColIndex*/)
{
    const int column = TDBGrid1->currentIndex().column();
    QWidget *picker = platform::FormRegistry::form(QStringLiteral("frm_tab_coeff"));
    if (!picker)
        return;
    bool prepared = false;
    QMetaObject::invokeMethod(picker, "preparePicker", Qt::DirectConnection, Q_RETURN_ARG(bool, prepared),
        Q_ARG(int, column), Q_ARG(QString, QStringLiteral("Trasf.")));
    if (prepared)
        platform::FormRegistry::showModal(picker);
}

// --- Views --------------------------------------------------------------------------------------

void frm_terrazze::TabStrip1_Click()
{
    const TerraceView *view = TerraceViews::byTab(TabStrip1->currentIndex());
    if (view)
        applyView(*view);
}

void frm_terrazze::applyView(const TerraceView &view)
{
    if (view.rooms) {
        // Only a terrace unit's query is taken; the rooms of a workspace unit are not in this archive.
        const std::optional<TableQuery> &current = VAR_GBL.sql_unita_corrente;
        if (current && current->table.compare(terracearchive::SUP_COEFF_VOL, Qt::CaseInsensitive) == 0)
            bindRows(Data1, *current);
        else if (!TerraceTotals::holdsRooms(*Data1))
            bindRows(Data1, noRooms());
    }
    Command7->setVisible(view.roundButton);
    Command1[2]->setVisible(view.findButton);
    for (QLabel *label : { Label13, Label14, Label15, Label16, Label17, Label18 })
        label->setVisible(view.unitTotals);
    Label19->setVisible(view.thousandthsTotal);
    Label20->setVisible(view.thousandthsTotal);
    platform::GridPermissions permissions = view.permissions;
    // No room can be added while no terrace unit is loaded: it would belong to none.
    permissions.addNew = permissions.addNew && !(Data1->recordSource() == noRooms());
    platform::GridView::apply(*TDBGrid1, view, permissions);
    const bool tableOn = !Label1->text().isEmpty();
    for (int index : RoomButtons)
        Command1[std::size_t(index)]->setEnabled(tableOn && view.roomCommands);
    if (view.rooms) {
        TDBGrid1->setVisible(tableOn);
        Frame4->setVisible(view.unitHeader);
        CALC_TOT_TER();
    } else {
        TABELLA_MILLESIMI();
    }
}

// --- Thousandths --------------------------------------------------------------------------------

void frm_terrazze::CALC_MIL_TER()
{
    TerraceThousandths::Outcome outcome;
    if (!attempt([&] {
            outcome = TerraceThousandths::calculate(VAR_GBL.archivio_terrazze,
                VAR_GBL.progetto_corrente.value_or(QString()), Label1->text(), Label2->text());
        }))
        return;
    for (const QString &text : outcome.incorrectUnits)
        warn(text);
    if (outcome.rows == 0) {
        warn(noThousandthsText(outcome));
        return;
    }
    if (!outcome.roomsWithoutHeight.isEmpty())
        warn(QStringLiteral(
            "Il calcolo è sul volume e questi vani contano 0 perché la loro altezza è vuota:\n- %1\n"
            "Per contarli scriverne l'altezza nella vista \"Calcolo Volumi\", poi premere "
            "\"Calcola Totali\" e di nuovo \"Calcola Millesimi\".")
                 .arg(platform::messageLines(outcome.roomsWithoutHeight, ListedLines)
                          .join(QStringLiteral("\n- "))));
    dialogs().msgBox(QStringLiteral("Calcolo terminato"), MsgButtons::Ok, MsgIcon::Information,
        QStringLiteral("!!! Calcolo Millesimi Terrazze !!!"));
    // The thousandths show on their own view.
    if (TabStrip1->currentIndex() == TerraceViews::thousandths().tab)
        TABELLA_MILLESIMI();
    else
        TabStrip1->setCurrentIndex(TerraceViews::thousandths().tab);
}

void frm_terrazze::TABELLA_MILLESIMI()
{
    bindRows(Data1,
        { terracearchive::MILLESIMI, {},
            { QStringLiteral("PALAZ"), QStringLiteral("SCALA"), QStringLiteral("PIANO"),
                QStringLiteral("INTERNO") } });
    Command7->show();
    Command1[2]->hide();
    TDBGrid1->show();
    TDBGrid1->setReadOnly(true);
    TDBGrid1->setAllowUpdate(false);
    TDBGrid1->setAllowAddNew(false);
    QString caption = QStringLiteral("Millesimi Tabella: ");
    if (Data1->recordCount() > 0)
        caption += TerraceUnit::text(Data1->value(0, QStringLiteral("CODICE"))) + QStringLiteral(" - ")
            + TerraceUnit::text(Data1->value(0, QStringLiteral("DESCRIZIONE")));
    TDBGrid1->setCaption(caption);
    const TerraceView &view = TerraceViews::thousandths();
    // Columns set again lay out every row again: the view switch has often just set these.
    const QList<platform::DataGridColumn> columns = TerraceViews::present(view, TDBGrid1->columns(), this);
    if (!sameColumns(columns, TDBGrid1->columns()))
        TDBGrid1->setColumns(columns);
    Frame4->hide();
    Label20->setText(workspace::LabelledColumn(*Data1, *Label20, QStringLiteral("MILLESIMI")).count().first);
}

void frm_terrazze::ARR_MIL_TER()
{
    // An empty table has nothing to bring to 1000.
    if (Data1->recordSource().table.compare(terracearchive::MILLESIMI, Qt::CaseInsensitive) != 0
        || Data1->recordCount() == 0)
        return;
    workspace::LabelledColumn column(*Data1, *Label20, QStringLiteral("MILLESIMI"));
    const engine::BalanceOutcome outcome = engine::balance(column, {}, engine::Decimal { 1000, 0 });
    if (outcome.end == engine::BalanceOutcome::End::Reached
        || outcome.end == engine::BalanceOutcome::End::NoRows)
        return;
    if (outcome.end == engine::BalanceOutcome::End::NotWritten) {
        dialogs().msgBox(
            QStringLiteral("Arrotondamento non salvato: nessun valore è stato cambiato.\n") + outcome.failure,
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::Rounding);
        return;
    }
    QString text
        = QStringLiteral("Impossibile arrivare a un totale di 1000: il totale resta %1.").arg(outcome.total);
    if (!outcome.failure.isEmpty())
        text += QStringLiteral("\n") + outcome.failure.left(1).toUpper() + outcome.failure.mid(1)
            + QStringLiteral(".");
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::Rounding);
}

void frm_terrazze::Command7_Click()
{
    ARR_MIL_TER();
}

} // namespace zav::terraces
