#include "workspace/workspacecommands.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "workspace/frm_elenco.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/mainwindowlink.h"

namespace zav::workspace {

using engine::VAR_GBL;
using platform::FormRegistry;
using platform::tryStep;

namespace {

frm_ins_coeff *openWorkspace()
{
    return FormRegistry::loaded<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
}

void closeWorkspace()
{
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
}

} // namespace

void registerForms()
{
    FormRegistry::setFactory(QString::fromLatin1(frm_ins_coeff::FormName), [] { return new frm_ins_coeff; });
    FormRegistry::setFactory(QString::fromLatin1(frm_elenco::FormName), [] { return new frm_elenco; });
}

QList<WorkspaceCommands::Command> WorkspaceCommands::commands()
{
    return {
        { QStringLiteral("ins_coeff"), [] { ins_coeff(); } },
        { QStringLiteral("tVisualizza"), [] { ins_coeff(); } },
        { QStringLiteral("ric_tot"), [] { ric_tot(); } },
        { QStringLiteral("tRicalcola"), [] { ric_tot(); } },
        { QStringLiteral("exit_mil"), [] { exit_mil(); } },
        { QStringLiteral("tEsciVis"), [] { exit_mil(); } },
        { QStringLiteral("elimina_riga"), [] { elimina_riga(); } },
        { QStringLiteral("tEliminariga"), [] { elimina_riga(); } },
        { QStringLiteral("trova"), [] { trova(); } },
        { QStringLiteral("tTrova"), [] { trova(); } },
        { QStringLiteral("copia_piano"), [] { copia_piano(); } },
        { QStringLiteral("tCopia"), [] { copia_piano(); } },
    };
}

void WorkspaceCommands::ins_coeff()
{
    // The first unit of the project, in stored order; a project without units opens nothing.
    std::optional<Unit> first;
    try {
        platform::Database db = platform::Database::open(VAR_GBL.progetto_corrente.value_or(QString()));
        const platform::Recordset units = db.table(engine::archive::CODIF_PIANI);
        db.close();
        if (units.isEmpty())
            return;
        first = Unit::fromCodifPiani(units, 0);
    } catch (const platform::DbError &error) {
        platform::dialogs().msgBox(error.message(), platform::MsgButtons::Ok, platform::MsgIcon::Critical,
            QStringLiteral("!!! Zav - Attenzione - !!!"));
        return;
    }
    VAR_GBL.sql_unita_corrente = first->key.rooms();

    // A unit without floor code or unit number cannot be opened; a workspace open on another unit
    // closes, as it would after showing this one.
    const auto refuse = [](const QString &text) {
        platform::dialogs().msgBox(
            text, platform::MsgButtons::Ok, platform::MsgIcon::None, platform::programTitle());
        tryStep(closeWorkspace);
    };
    if (first->key.floorCode.isEmpty()) {
        refuse(QStringLiteral("Non è stato inserito il piano nel condomino ") + first->key.owner);
        return;
    }
    if (first->key.interno.isEmpty()) {
        refuse(QStringLiteral("Non è stato inserito l'interno nel condomino ") + first->key.owner);
        return;
    }
    frm_ins_coeff::open(*first);
}

void WorkspaceCommands::ric_tot()
{
    if (frm_ins_coeff *workspace = openWorkspace())
        workspace->TOT_MQ_VOL();
}

void WorkspaceCommands::exit_mil()
{
    tryStep(storeOpenUnitTotals);
    tryStep([] { MainWindowLink::setToolEnabled(QStringLiteral("tCad2"), false); });
    tryStep([] { MainWindowLink::setThousandthsBandVisible(false); });
    tryStep(closeWorkspace);
}

void WorkspaceCommands::elimina_riga()
{
    frm_ins_coeff *workspace = openWorkspace();
    if (!workspace || workspace->Data1->noCurrentRow())
        return;
    // Rows are deleted only where the view allows it: a unit's rooms and a user table.
    const bool userTable = workspace->view() == WorkspaceView::UserTable && !workspace->TDBGrid1->isHidden();
    if (!workspace->isUnitViewShown() && !userTable)
        return;
    const QString description = workspace->TDBGrid1->columnText(1);
    if (platform::dialogs().msgBox(
            QStringLiteral("Vuoi eliminare la riga: ") + description + QStringLiteral(" ?"),
            platform::MsgButtons::YesNo, platform::MsgIcon::Critical, QStringLiteral("!!! Attenzione !!!"),
            platform::MsgDefault::Second)
        != platform::MsgResult::Yes)
        return;
    tryStep([workspace] { workspace->Data1->deleteCurrent(); });
    tryStep([workspace] { workspace->Data1->refresh(); });
}

void WorkspaceCommands::trova()
{
    // The unit about to be left keeps its totals.
    tryStep(storeOpenUnitTotals);
    if (frm_elenco *list = frm_elenco::withCaption(frm_elenco::FindCaption))
        FormRegistry::showModal(list);
}

void WorkspaceCommands::copia_piano()
{
    if (frm_elenco *list = frm_elenco::withCaption(frm_elenco::CopyCaption))
        FormRegistry::showModal(list);
}

void WorkspaceCommands::storeOpenUnitTotals()
{
    frm_ins_coeff *workspace = openWorkspace();
    if (workspace && workspace->isUnitViewShown())
        workspace->TOT_MQ_VOL();
}

} // namespace zav::workspace
