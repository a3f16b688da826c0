#include "shell/commands/projectcommands.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/formregistry.h"
#include "platform/steps.h"
#include "shell/forms/frm_coeff_db.h"
#include "shell/forms/frm_datiprg.h"
#include "shell/forms/frm_file.h"
#include "shell/forms/frm_gestdb.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/frm_opt.h"
#include "shell/forms/frm_virgola.h"

#include <optional>

namespace zav::shell {

using engine::VAR_GBL;
using platform::FormRegistry;
using platform::tryStep;

namespace {

const QString ArchiveDialog = QStringLiteral("frm_file");

/** The forms that belong to the open project, in the order closing the project unloads them. */
const char *const projectForms[]
    = { "frm_cod_piani", "frm_comp_pal", "frm_datiprg", "frm_file", "frm_ins_coeff", "frm_opt" };

void showArchiveDialog()
{
    FormRegistry::showModeless(ArchiveDialog);
}

void showNewProject()
{
    QWidget *dialog = nullptr;
    tryStep([&] { dialog = FormRegistry::showModeless(ArchiveDialog); });
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

void noHeaderMessage()
{
    platform::dialogs().msgBox(QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"),
        platform::MsgButtons::Ok, platform::MsgIcon::Information,
        QStringLiteral("!!! Zav - Informazioni - !!!"));
}

bool isEmptyValue(const QVariant &value)
{
    return value.isNull() || value.toString().isEmpty();
}

} // namespace

void ProjectCommands::registerForms()
{
    // The modal forms and the windows of the archive checks belong to the main window.
    const auto owner = [] { return FormRegistry::loaded(QStringLiteral("frm_init")); };
    FormRegistry::setFactory(QStringLiteral("frm_datiprg"), [owner] { return new frm_datiprg(owner()); });
    FormRegistry::setFactory(QStringLiteral("frm_opt"), [owner] { return new frm_opt(owner()); });
    FormRegistry::setFactory(QStringLiteral("frm_virgola"), [owner] { return new frm_virgola(owner()); });
    FormRegistry::setFactory(QStringLiteral("frm_gestdb"), [owner] { return new frm_gestdb(owner()); });
    FormRegistry::setFactory(QStringLiteral("frm_coeff_db"), [owner] { return new frm_coeff_db(owner()); });

    // The archive dialog reaches the main window's status bar, the project header after a project
    // is created and the decimal conversion through its hooks.
    FormRegistry::setFactory(ArchiveDialog, [owner] {
        auto *dialog = new frm_file(owner());
        dialog->setHooks({
            [](const QString &archive) {
                if (auto *window = FormRegistry::loaded<frm_init>(QStringLiteral("frm_init")))
                    window->setStatusPanelText(2, archive);
            },
            [] {
                // A header form still open belongs to the project before: it closes, storing what
                // was typed into its own archive, and a new one loads on the project just created.
                tryStep([] { FormRegistry::unload(QStringLiteral("frm_datiprg")); });
                FormRegistry::showModeless(QStringLiteral("frm_datiprg"));
            },
            [] { FormRegistry::showModal(QStringLiteral("frm_virgola")); },
        });
        return dialog;
    });
}

QList<ProjectCommands::Command> ProjectCommands::commands(frm_init &window)
{
    frm_init *w = &window;
    const auto archives = [] { showArchiveDialog(); };
    const auto newProject = [] { showNewProject(); };
    const auto header = [] { FormRegistry::showModal(QStringLiteral("frm_datiprg")); };
    const auto buildings = [] { comp_pal(); };
    const auto units = [w] { cod_piani(*w); };
    const auto options = [] { FormRegistry::showModal(QStringLiteral("frm_opt")); };
    const auto thousandths = [w] { calc_mil(*w); };
    const auto recalculation = [] { VAR_GBL.ricalcolo_globale(); };

    return {
        { QStringLiteral("apri"), archives },
        { QStringLiteral("tApri"), archives },
        { QStringLiteral("elimina"), archives },
        { QStringLiteral("tElimina"), archives },
        { QStringLiteral("nuovo"), newProject },
        { QStringLiteral("tNuovo"), newProject },
        { QStringLiteral("chiudi"), [w] { chiudi(*w); } },
        { QStringLiteral("dati_prg"), header },
        { QStringLiteral("tDatiGen"), header },
        { QStringLiteral("comp_pal"), buildings },
        { QStringLiteral("tCompPal"), buildings },
        { QStringLiteral("cod_piani"), units },
        { QStringLiteral("tCodPiani"), units },
        { QStringLiteral("option"), options },
        { QStringLiteral("tOpzioni"), options },
        { QStringLiteral("cod_piani_db"), [] { FormRegistry::showModeless(QStringLiteral("frm_gestdb")); } },
        { QStringLiteral("sup_vol"), [] { FormRegistry::showModeless(QStringLiteral("frm_coeff_db")); } },
        { QStringLiteral("conv_dati"), [] { FormRegistry::showModal(QStringLiteral("frm_virgola")); } },
        { QStringLiteral("calc_mil"), thousandths },
        { QStringLiteral("tCalcMil"), thousandths },
        { QStringLiteral("tCalcolaMil"), thousandths },
        { QStringLiteral("ricalcolo"), recalculation },
        { QStringLiteral("tRicalcolo"), recalculation },
    };
}

void ProjectCommands::chiudi(frm_init &window)
{
    // The forms first, while the project is still open: the workspace stores the open unit's
    // totals and the header form its pending edits as they close.
    for (const char *name : projectForms)
        tryStep([name] { FormRegistry::unload(QString::fromLatin1(name)); });
    VAR_GBL.progetto_corrente.reset();
    VAR_GBL.archivio_terrazze.clear();
    tryStep([&window] { window.setStatusPanelText(2, QString()); });
}

void ProjectCommands::comp_pal()
{
    const std::optional<Header> header = readHeader();
    if (!header)
        return;
    if (!header->exists) {
        noHeaderMessage();
        return;
    }
    FormRegistry::showModal(QStringLiteral("frm_comp_pal"));
}

void ProjectCommands::cod_piani(frm_init &window)
{
    const std::optional<Header> header = readHeader();
    if (!header)
        return;
    if (!header->exists) {
        noHeaderMessage();
        return;
    }
    if (isEmptyValue(header->buildings)) {
        platform::dialogs().msgBox(QStringLiteral("Attenzione Composizione palazzina non effettuata."),
            platform::MsgButtons::Ok, platform::MsgIcon::Information,
            QStringLiteral("!!! Zav - Attenzione - !!!"));
        return;
    }
    window.showChild(FormRegistry::form(QStringLiteral("frm_cod_piani")));
}

void ProjectCommands::calc_mil(frm_init &window)
{
    window.setMousePointer(frm_init::Hourglass);
    tryStep([] { VAR_GBL.calcolo_millesimi(); });
    window.setMousePointer(frm_init::NormalPointer);
}

} // namespace zav::shell
