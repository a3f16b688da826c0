#include "tables/tablecommands.h"

#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "tables/coefficienttables.h"
#include "tables/frm_copia_mil.h"
#include "tables/frm_infissi.h"
#include "tables/frm_tab_coeff.h"
#include "tables/frm_tabelle.h"
#include "tables/rounding.h"
#include "tables/weights.h"
#include "workspace/frm_ins_coeff.h"

#include <QPushButton>

namespace zav::tables {

using platform::FormRegistry;

namespace {

PrintHandlers &handlers()
{
    static PrintHandlers installed;
    return installed;
}

} // namespace

void registerForms()
{
    FormRegistry::setFactory(QString::fromLatin1(FormNames::TabCoeff),
        [] { return new frm_tab_coeff(FormRegistry::loaded(QStringLiteral("frm_init"))); });
    FormRegistry::setFactory(QString::fromLatin1(FormNames::Infissi), [] { return new frm_infissi; });
    FormRegistry::setFactory(QString::fromLatin1(FormNames::Tabelle), [] { return new frm_tabelle; });
    FormRegistry::setFactory(QString::fromLatin1(FormNames::CopiaMil), [] { return new frm_copia_mil; });
}

QWidget *coef(int number)
{
    if (!CoefficientTables::byNumber(number))
        return nullptr;
    const QString name = QString::fromLatin1(FormNames::TabCoeff);
    // A form created here only to be refused goes at once; one already open keeps what it shows.
    const bool wasLoaded = FormRegistry::isLoaded(name);
    auto *form = FormRegistry::form<frm_tab_coeff>(name);
    if (!form)
        return nullptr;
    if (!form->prepareDefault(number)) {
        if (!wasLoaded)
            form->close();
        return nullptr;
    }
    return FormRegistry::showModeless(name);
}

QList<std::pair<QString, int>> coefCommands()
{
    QList<std::pair<QString, int>> keys;
    for (const CoefficientTable &table : CoefficientTables::all()) {
        keys.append({ table.menuKey, table.number });
        keys.append({ table.toolKey, table.number });
    }
    return keys;
}

void registerCommands()
{
    using platform::CommandRegistry;
    Rounding::registerCommands();
    for (const CoefficientTable &table : CoefficientTables::all()) {
        const int number = table.number;
        CommandRegistry::setHandler(table.menuKey, [number] { coef(number); });
    }
    const auto serve = [](std::initializer_list<const char *> keys, const CommandRegistry::Handler &handler) {
        for (const char *key : keys)
            CommandRegistry::setHandler(QString::fromLatin1(key), handler);
    };
    serve({ "seleziona_tabella", "tSelTab" }, [] { seleziona_tabella(); });
    serve({ "copia_mil", "tCopiaMil" }, [] { copia_mil(Show::Modal); });
    serve({ workspace::frm_ins_coeff::CopyThousandthsKey }, [] { copia_mil(Show::Modeless); });
    serve({ "calc_mil_tab", "tCalcTab" }, &Weights::calcMilTabCommand);
    serve({ "azzera", "tAzzera" }, &Weights::azzeraCommand);
}

void seleziona_tabella()
{
    if (!engine::VAR_GBL.progetto_corrente) {
        platform::dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), platform::MsgButtons::Ok,
            platform::MsgIcon::Information, engine::MessageTitle::ZavWarning);
        return;
    }
    auto *form = FormRegistry::form<frm_tabelle>(QString::fromLatin1(FormNames::Tabelle));
    if (!form)
        return;
    form->Command1[3]->setVisible(true);
    FormRegistry::showModal(form);
}

void copia_mil(Show show)
{
    if (engine::VAR_GBL.tabella_selezionata.isEmpty())
        return;
    if (auto *workspace = FormRegistry::loaded<workspace::frm_ins_coeff>(
            QString::fromLatin1(workspace::frm_ins_coeff::FormName)))
        platform::tryStep([workspace] { workspace->Data1->refresh(); });
    const QString name = QString::fromLatin1(FormNames::CopiaMil);
    if (show == Show::Modal)
        FormRegistry::showModal(name);
    else
        FormRegistry::showModeless(name);
}

QWidget *infissi()
{
    const QString name = QString::fromLatin1(FormNames::Infissi);
    if (QWidget *open = FormRegistry::loaded(name))
        return open;
    if (!TableArchive::check(
            TableArchive::templatePath(), QString::fromLatin1(WindowTable::Name), ArchiveKind::Template))
        return nullptr;
    return FormRegistry::form(name);
}

void setPrintHandlers(PrintHandlers installed)
{
    handlers() = std::move(installed);
}

const PrintHandlers &printHandlers()
{
    return handlers();
}

} // namespace zav::tables
