#include "expenses/expensesforms.h"

#include "expenses/frm_ripart_spese.h"
#include "platform/ui/formregistry.h"

namespace zav::expenses {

using platform::FormRegistry;

namespace {

MainWindowMetrics *&metricsSlot()
{
    static MainWindowMetrics *metrics = nullptr;
    return metrics;
}

} // namespace

void registerForms()
{
    // A child window of the main window: the main window adopts it when it shows it.
    FormRegistry::setFactory(ExpenseFormName, [] { return new frm_ripart_spese; });
}

QWidget *spese()
{
    return FormRegistry::form(ExpenseFormName);
}

void projectOpened()
{
    if (auto *form = FormRegistry::loaded<frm_ripart_spese>(ExpenseFormName))
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

} // namespace zav::expenses
