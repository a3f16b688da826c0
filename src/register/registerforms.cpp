#include "register/registerforms.h"

#include "platform/ui/formregistry.h"
#include "register/frm_comp_pal.h"

namespace zav::register_ {

using platform::FormRegistry;

void registerForms()
{
    FormRegistry::setFactory(BuildingsFormName, [] { return new frm_comp_pal; });
}

void comp_pal()
{
    FormRegistry::showModal(BuildingsFormName);
}

} // namespace zav::register_
