#include "register/unitregisterforms.h"

#include "platform/ui/commandregistry.h"
#include "platform/ui/formregistry.h"
#include "register/frm_cod_piani.h"
#include "register/unitclipboard.h"
#include "workspace/frm_ins_coeff.h"

namespace zav::register_ {

void registerUnitRegisterForms()
{
    // A child window of the main window: the main window adopts it when it shows it.
    platform::FormRegistry::setFactory(UnitRegisterFormName, [] { return new frm_cod_piani; });
    // The unit-row clipboard's items of the main window's pop-up menu.
    platform::CommandRegistry::setHandler(QStringLiteral("copia"), &copia_Click);
    platform::CommandRegistry::setHandler(QStringLiteral("incolla"), &incolla_Click);
}

void buildingsOrUnitsChanged()
{
    if (auto *unitRegister = platform::FormRegistry::loaded<frm_cod_piani>(UnitRegisterFormName))
        unitRegister->buildingsChanged();
    unitsChanged();
}

void unitsChanged()
{
    if (auto *workspace = platform::FormRegistry::loaded<workspace::frm_ins_coeff>(
            QString::fromLatin1(workspace::frm_ins_coeff::FormName)))
        workspace->unitsChanged();
}

} // namespace zav::register_
