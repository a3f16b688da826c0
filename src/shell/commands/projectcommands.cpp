#include "shell/commands/projectcommands.h"

#include "engine/archive.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/formregistry.h"
#include "shell/commands/commandhost.h"
#include "shell/forms/shellforms.h"
#include "workspace/workspacecommands.h"

#include <optional>

namespace zav::shell {

using engine::VAR_GBL;
using engine::MessageTitle::ZavInformation;
using engine::MessageTitle::ZavWarning;
using platform::FormRegistry;
using platform::tryStep;

namespace {

/** The forms that belong to the open project, in the order closing the project unloads them. */
const QString *const projectForms[] = { &FormName::frm_cod_piani, &FormName::frm_comp_pal,
    &FormName::frm_datiprg, &FormName::frm_file, &FormName::frm_ins_coeff, &FormName::frm_opt };

/** What the checks read of the open project's header: whether the record exists, and its field 5
 * (the number of buildings, empty until the buildings are composed). */
struct Header
{
    bool exists = false;
    QVariant buildings;
};

/** The header, read through a connection of its own closed at once; none when the archive cannot
 * be read, and then the command stops without a message. */
std::optional<Header> readHeader()
{
    try {
        platform::Database db = platform::Database::open(VAR_GBL.progetto_corrente.value_or(QString()));
        const platform::Recordset rs = db.table(engine::archive::ANA_CONDO);
        Header header;
        header.exists = !rs.isEmpty();
        if (header.exists)
            header.buildings = rs.value(0, 5);
        return header;
    } catch (const platform::DbError &) {
        return std::nullopt;
    }
}

/** The header when the project has its record; none otherwise, with a message when the archive
 * was read and holds no record. */
std::optional<Header> requireHeader()
{
    std::optional<Header> header = readHeader();
    if (header && !header->exists) {
        platform::dialogs().msgBox(QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"),
            platform::MsgButtons::Ok, platform::MsgIcon::Information, ZavInformation);
        return std::nullopt;
    }
    return header;
}

bool isEmptyValue(const QVariant &value)
{
    return value.isNull() || value.toString().isEmpty();
}

} // namespace

void ProjectCommands::nuovo()
{
    QWidget *dialog = nullptr;
    tryStep([&] { dialog = FormRegistry::showModeless(FormName::frm_file); });
    if (!dialog)
        return;
    for (const char *name : { "Label1", "Text1", "Command2" }) {
        tryStep([&] {
            if (QWidget *control = dialog->findChild<QWidget *>(QString::fromLatin1(name)))
                control->setVisible(true);
        });
    }
    tryStep([&] {
        if (QWidget *box = dialog->findChild<QWidget *>(QStringLiteral("Text1")))
            box->setFocus();
    });
}

void ProjectCommands::chiudi(CommandHost &host)
{
    // The forms first, while the project is still open: the workspace stores the open unit's
    // totals and the header form its pending edits as they close. What is being typed in a grid
    // goes in first; a cell that refuses its text keeps its form, and the project, open.
    if (!platform::DataGrid::commitEveryPendingEdit())
        return;
    for (const QString *name : projectForms)
        tryStep([name] { FormRegistry::unload(*name); });
    for (const QString *name : projectForms) {
        const QWidget *form = FormRegistry::loaded(*name);
        if (form && form->isVisible())
            return;
    }
    VAR_GBL.progetto_corrente.reset();
    VAR_GBL.archivio_terrazze.clear();
    tryStep([&host] { host.setStatusPanelText(2, QString()); });
}

void ProjectCommands::comp_pal()
{
    if (requireHeader())
        FormRegistry::showModal(FormName::frm_comp_pal);
}

void ProjectCommands::cod_piani(CommandHost &host)
{
    const std::optional<Header> header = requireHeader();
    if (!header)
        return;
    if (isEmptyValue(header->buildings)) {
        platform::dialogs().msgBox(QStringLiteral("Attenzione Composizione palazzina non effettuata."),
            platform::MsgButtons::Ok, platform::MsgIcon::Information, ZavWarning);
        return;
    }
    host.showChild(FormRegistry::form(FormName::frm_cod_piani));
}

void ProjectCommands::calc_mil(CommandHost &host)
{
    host.setMousePointer(CommandHost::Hourglass);
    // The calculation reads every unit's totals: the unit open in the workspace stores its own first.
    tryStep([] { workspace::WorkspaceCommands::storeOpenUnitTotals(); });
    tryStep([] { VAR_GBL.calcolo_millesimi(); });
    host.setMousePointer(CommandHost::NormalPointer);
}

} // namespace zav::shell
