#include "register/unitregisterforms.h"

#include "platform/ui/formregistry.h"
#include "register/frm_cod_piani.h"

namespace zav::register_ {

void registerUnitRegisterForms()
{
    // A child window of the main window: the main window adopts it when it shows it.
    platform::FormRegistry::setFactory(UnitRegisterFormName, [] { return new frm_cod_piani; });
}

} // namespace zav::register_
