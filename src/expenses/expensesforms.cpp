#include "expenses/expensesforms.h"

#include "expenses/frm_new_mod.h"
#include "expenses/frm_rip_spese.h"
#include "expenses/frm_rip_spese_varie.h"
#include "expenses/frm_ripart_spese.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/formregistry.h"

namespace zav::expenses {

using platform::FormRegistry;

namespace {

MainWindowMetrics *&metricsSlot()
{
    static MainWindowMetrics *metrics = nullptr;
    return metrics;
}

MainWindowMenu *&menuSlot()
{
    static MainWindowMenu *menu = nullptr;
    return menu;
}

} // namespace

void registerForms()
{
    // A child window of the main window: the main window adopts it when it shows it.
    FormRegistry::setFactory(ExpenseFormName, [] { return new frm_ripart_spese; });
    FormRegistry::setFactory(SummaryFormName, [] { return new frm_rip_spese; });
    // No command opens these two: whoever needs them reaches them by name. The estimate is a child
    // window of the main window; the various apportionments a window of its own.
    FormRegistry::setFactory(EstimateFormName, [] { return new frm_new_mod; });
    FormRegistry::setFactory(VariousFormName, [] { return new frm_rip_spese_varie; });
    // The pop-up menu's "Seleziona" and "Accorpa" work on the summary table.
    platform::CommandRegistry::setHandler(QStringLiteral("sel"), &sel_Click);
    platform::CommandRegistry::setHandler(QStringLiteral("accorpa"), &accorpa_Click);
}

void sel_Click()
{
    if (auto *form = FormRegistry::loaded<frm_rip_spese>(SummaryFormName))
        form->sel_Click();
}

void accorpa_Click()
{
    if (auto *form = FormRegistry::loaded<frm_rip_spese>(SummaryFormName))
        form->accorpa_Click();
}

QWidget *spese()
{
    return FormRegistry::form(ExpenseFormName);
}

void projectOpened()
{
    if (auto *form = FormRegistry::loaded<frm_ripart_spese>(ExpenseFormName))
        form->projectOpened();
    if (auto *form = FormRegistry::loaded<frm_rip_spese>(SummaryFormName))
        form->projectOpened();
}

void setMainWindowMetrics(MainWindowMetrics *metrics)
{
    metricsSlot() = metrics;
}

MainWindowMetrics *mainWindowMetrics()
{
    return metricsSlot();
}

void setMainWindowMenu(MainWindowMenu *menu)
{
    menuSlot() = menu;
}

MainWindowMenu *mainWindowMenu()
{
    return menuSlot();
}

} // namespace zav::expenses
