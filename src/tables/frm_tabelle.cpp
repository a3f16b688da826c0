#include "tables/frm_tabelle.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "tables/usertables.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/totaltext.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::tables {

using engine::VAR_GBL;
using platform::dialogs;
using platform::FormRegistry;
using platform::MsgButtons;
using platform::MsgIcon;
using workspace::frm_ins_coeff;

namespace {

const QString kNameField = QStringLiteral("NOME_TABELLA");

void tell(const QString &text, const QString &title = engine::MessageTitle::ZavWarning)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, title);
}

void tellFailure(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

QString buttonName(int index)
{
    return QStringLiteral("Command1_%1").arg(index);
}

} // namespace

frm_tabelle::frm_tabelle(QWidget *parent)
    : GridForm(
        {
            .objectName = QString::fromLatin1(FormName),
            .title = QStringLiteral("Gestione tabelle"),
            .binding = { .database = [] { return VAR_GBL.progetto_corrente.value_or(QString()); },
                .recordSource = platform::TableQuery { QString(engine::archive::NEW_TAB), {}, {} },
                .reportFailure = tellFailure },
            .columns = { { kNameField, QStringLiteral("Nome Tabella"), 320 } },
            .buttons = { { buttonName(0), QStringLiteral("Crea"), [this] { Command1_Click(0); } },
                { buttonName(1), QStringLiteral("Elimina"), [this] { Command1_Click(1); } },
                { buttonName(3), QStringLiteral("Seleziona"), [this] { Command1_Click(3); } } },
            .closeButton = { buttonName(2), QStringLiteral("Esci"), [this] { Command1_Click(2); } },
            .gridName = QStringLiteral("TDBGrid12"),
            .size = { 420, 360 },
            // The list is the archive's own: names change only by creating and dropping tables.
            .readOnly = true,
        },
        parent)
    , Data1(dataSource())
    , TDBGrid12(grid())
{
    for (int i = 0; i < int(Command1.size()); ++i)
        Command1[i] = button(buttonName(i));
    // The grid's caption stands above it, as a title bar of the grid.
    auto *caption = new QLabel(this);
    caption->setObjectName(QStringLiteral("TDBGrid12Caption"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setFrameShape(QFrame::Panel);
    caption->setFrameShadow(QFrame::Raised);
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Mid);
    connect(TDBGrid12, &platform::DataGrid::captionChanged, caption, &QLabel::setText);
    TDBGrid12->setCaption(QStringLiteral("Tabelle esistenti"));

    Label59 = new QLabel(QStringLiteral("Nome Tabella"), this);
    Label59->setObjectName(QStringLiteral("Label59"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label59->setBuddy(Text1);
    auto *name = new QHBoxLayout;
    name->addWidget(Label59);
    name->addWidget(Text1, 1);
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->insertLayout(0, name);
    column->insertWidget(1, caption);

    // Only a caller that wants a table chosen shows "Seleziona".
    Command1[3]->setVisible(false);
    Form_Load();
}

frm_tabelle::~frm_tabelle() = default;

void frm_tabelle::showEvent(QShowEvent *event)
{
    GridForm::showEvent(event);
    Form_Activate();
}

void frm_tabelle::Form_Activate()
{
    Text1->setFocus();
}

void frm_tabelle::Command1_Click(int Index)
{
    switch (Index) {
    case 0:
        create();
        break;
    case 1:
        drop();
        break;
    case 2:
        close();
        break;
    case 3:
        select();
        break;
    default:
        break;
    }
}

std::optional<QString> frm_tabelle::chosenName() const
{
    if (Data1->noCurrentRow())
        return std::nullopt;
    return Data1->value(Data1->currentRow(), kNameField).toString();
}

void frm_tabelle::create()
{
    const QString name = UserTables::nameOf(Text1->text());
    if (name.isEmpty()) {
        tell(QStringLiteral("Nessun nome inserito."));
        Text1->setFocus();
        return;
    }
    Text1->setText(name);

    std::optional<UserTables::Refusal> refused;
    if (!attempt([&] { refused = UserTables::create(Data1->databaseName(), name); }))
        return;
    if (refused == UserTables::Refusal::Exists) {
        tell(QStringLiteral("Tabella già esistente. Cambia il nome."), engine::MessageTitle::Warning);
        return;
    }
    if (refused) {
        tell(QStringLiteral("Nome di tabella non valido: usare solo lettere, cifre, spazi e \"_\", al "
                            "più %1 caratteri.")
                 .arg(UserTables::MaxNameLength),
            engine::MessageTitle::Warning);
        Text1->setFocus();
        return;
    }
    // The list shows and marks the new name.
    if (showRows())
        Data1->moveLast();
}

bool frm_tabelle::isInUse(const QString &archive, const QString &name)
{
    const auto same
        = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; };
    if (FormRegistry::isLoaded(QString::fromLatin1(frm_ins_coeff::FormName))
        && same(VAR_GBL.tabella_selezionata, name))
        return true;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        for (const platform::DataSource *source : window->findChildren<platform::DataSource *>()) {
            if (same(source->recordSource().table, name) && source->databaseName() == archive)
                return true;
        }
    }
    return false;
}

void frm_tabelle::drop()
{
    const std::optional<QString> name = chosenName();
    if (!name)
        return;
    if (dialogs().msgBox(QStringLiteral("Vuoi eliminare la tabella: ") + *name, MsgButtons::YesNo,
            MsgIcon::Information, engine::MessageTitle::ZavWarning, platform::MsgDefault::Second)
        != platform::MsgResult::Yes)
        return;
    const QString archive = Data1->databaseName();
    if (isInUse(archive, *name)) {
        dialogs().msgBox(QStringLiteral("Attenzione. La tabella è attualmente in uso. Uscire dalla maschera "
                                        "ed eliminare la tabella dal Menù Archivi/Tabelle."),
            MsgButtons::Ok, MsgIcon::None, platform::programTitle());
        return;
    }
    const qint64 listRow = Data1->rowid(Data1->currentRow());
    if (!attempt([&] { UserTables::drop(archive, *name, listRow); }))
        return;
    // A table selected while the workspace was closed is selected no more.
    if (VAR_GBL.tabella_selezionata.compare(*name, Qt::CaseInsensitive) == 0)
        VAR_GBL.tabella_selezionata.clear();
    showRows();
}

void frm_tabelle::select()
{
    const std::optional<QString> name = chosenName();
    if (!name) {
        tell(QStringLiteral("Nessuna Tabella selezionata."));
        return;
    }
    const QString archive = Data1->databaseName();
    bool listed = false;
    if (!attempt([&] {
            platform::Database db = platform::Database::open(archive);
            listed = UserTables::isListedTable(db, *name);
        }))
        return;
    if (!listed) {
        dialogs().msgBox(QStringLiteral("La tabella %1 non si trova nell'archivio.").arg(*name),
            MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::ZavWarning);
        return;
    }

    auto *workspace = FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    if (!workspace)
        return;
    workspace->Label20->setText(QStringLiteral("0"));
    platform::DataSource *rows = workspace->Data1;
    rows->setDatabaseName(archive);
    rows->setRecordSource(platform::TableQuery { *name, {}, {} });
    if (!attempt([rows] { rows->refresh(); }))
        return;
    workspace->TDBGrid1->setCaption(*name);
    workspace->TDBGrid1->setVisible(true);
    workspace->Label21->setText(*name);
    workspace->Label20->setText(
        workspace::TotalText::columnTotals(*rows, { QStringLiteral("MILLESIMI") }).constFirst());
    VAR_GBL.tabella_selezionata = *name;
    close();
}

} // namespace zav::tables
