#include "tables/tablecommands.h"

#include "platform/ui/commandregistry.h"
#include "platform/ui/formregistry.h"
#include "tables/coefficienttables.h"
#include "tables/frm_infissi.h"
#include "tables/frm_tab_coeff.h"
#include "tables/rounding.h"

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
    Rounding::registerCommands();
    for (const CoefficientTable &table : CoefficientTables::all()) {
        const int number = table.number;
        platform::CommandRegistry::setHandler(table.menuKey, [number] { coef(number); });
    }
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
