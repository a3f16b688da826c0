#include "terraces/tab_terr.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "terraces/frm_terrazze.h"
#include "terraces/terracearchive.h"
#include "terraces/terraceoperations.h"
#include "terraces/terracesforms.h"

#include <QApplication>
#include <QPushButton>

namespace zav::terraces {

using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

/** The hourglass while a table is deleted. */
class Hourglass
{
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};

void refuse(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavWarning);
}

} // namespace

TAB_TERR::TAB_TERR(QWidget *parent)
    : GridForm(
        {
            .objectName = TerraceTablesName,
            .title = QStringLiteral("Tabelle Terrazze - Crea / Seleziona -"),
            .binding = { .database = [] { return engine::VAR_GBL.archivio_terrazze; },
                .recordSource = { terracearchive::CODICE, {}, {} },
                .reportFailure =
                    [](const QString &text) {
                        dialogs().msgBox(
                            text, MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
                    } },
            .columns = { { QStringLiteral("CODICE"), QStringLiteral("Cod."), 80 },
                { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 300 } },
            .buttons
            = { { QStringLiteral("Command2"), QStringLiteral("Seleziona"), [this] { Command2_Click(); } },
                { QStringLiteral("Command3"), QStringLiteral("Elimina"), [this] { Command3_Click(); } } },
            .closeButton
            = { QStringLiteral("Command1"), QStringLiteral("Esci"), [this] { Command1_Click(); } },
            .size = { 460, 360 },
        },
        parent)
    , Data1(dataSource())
    , TDBGrid1(grid())
    , Command2(button(QStringLiteral("Command2")))
    , Command3(button(QStringLiteral("Command3")))
    , Command1(button(QStringLiteral("Command1")))
{
    TDBGrid1->setToolTip(QStringLiteral(
        "Per creare una nuova tabella posizionarsi sull'ulltima riga e digitare codice e descrizione."));
    TDBGrid1->setAllowAddNew(true);
    platform::DataGridModel *model = TDBGrid1->dataModel();
    model->setBeforeColUpdate([this](int column, const QVariant &oldValue, const QVariant &newValue) {
        return refusesCode(column, oldValue, newValue);
    });
    // A new row starts from its code, stored without the blanks around it: one started from its
    // description has none.
    model->setOnAddNew([](platform::DataGridModel::Values &values) {
        for (auto &[field, value] : values) {
            if (field.compare(QStringLiteral("CODICE"), Qt::CaseInsensitive) == 0
                && !TerraceOperations::tableCode(value.toString()).isEmpty()) {
                value = TerraceOperations::tableCode(value.toString());
                return true;
            }
        }
        refuse(
            QStringLiteral("Il codice della tabella è vuoto: scrivere un codice prima della descrizione."));
        return false;
    });
    Form_Load();
}

TAB_TERR::~TAB_TERR() = default;

bool TAB_TERR::refusesCode(int column, const QVariant &oldValue, const QVariant &newValue)
{
    if (TDBGrid1->column(column).dataField.compare(QStringLiteral("CODICE"), Qt::CaseInsensitive) != 0)
        return false;
    if (!oldValue.isNull() && !oldValue.toString().isEmpty()) {
        refuse(QStringLiteral(
            "Il codice di una tabella registrata non si può cambiare: le sue unità e i suoi vani "
            "lo portano. Se ne può cambiare la descrizione."));
        return true;
    }
    std::optional<QString> refused;
    if (!attempt(
            [&] { refused = TerraceOperations::refusedCode(Data1->databaseName(), newValue.toString()); }))
        return true;
    if (refused) {
        refuse(*refused);
        return true;
    }
    return false;
}

frm_terrazze *TAB_TERR::terraceForm()
{
    return platform::FormRegistry::loaded<frm_terrazze>(TerraceFormName);
}

void TAB_TERR::Command1_Click()
{
    close();
}

void TAB_TERR::Command2_Click()
{
    if (Data1->noCurrentRow())
        return;
    const int row = Data1->currentRow();
    frm_terrazze *form = terraceForm();
    if (!form)
        return;
    form->selectTable(Data1->value(row, QStringLiteral("CODICE")).toString(),
        Data1->value(row, QStringLiteral("DESCRIZIONE")).toString());
}

void TAB_TERR::Command3_Click()
{
    if (Data1->noCurrentRow())
        return;
    const int row = Data1->currentRow();
    const QString code = Data1->value(row, QStringLiteral("CODICE")).toString();
    if (dialogs().msgBox(QStringLiteral("Vuoi eliminare la tabella %1 e tutti i suoi dati ?").arg(code),
            MsgButtons::YesNo, MsgIcon::Critical, engine::MessageTitle::Warning, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    if (dialogs().msgBox(QStringLiteral("Sei sicuro ?"), MsgButtons::YesNo, MsgIcon::Critical,
            engine::MessageTitle::Warning, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    {
        Hourglass hourglass;
        const qint64 rowid = Data1->rowid(row);
        if (!attempt([&] { TerraceOperations::deleteTable(Data1->databaseName(), rowid, code); }))
            return;
        showRows();
        if (frm_terrazze *form = terraceForm())
            form->tableDeleted(code);
    }
    dialogs().msgBox(QStringLiteral("Tabella eliminata"), MsgButtons::Ok, MsgIcon::Information,
        engine::MessageTitle::DeleteTable);
}

} // namespace zav::terraces
