#include "printing/printingforms.h"

#include "platform/ui/formregistry.h"
#include "printing/st_mil.h"

namespace zav::printing {

using platform::FormRegistry;

void registerForms()
{
    // A child window of the main window: the main window adopts it when it shows it.
    FormRegistry::setFactory(PrintFormName, [] { return new ST_MIL; });
}

QWidget *stampa_mil()
{
    return FormRegistry::form(PrintFormName);
}

} // namespace zav::printing
