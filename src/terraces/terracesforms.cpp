#include "terraces/terracesforms.h"

#include "platform/ui/formregistry.h"
#include "terraces/frm_copia_dati.h"
#include "terraces/frm_terrazze.h"
#include "terraces/tab_terr.h"

namespace zav::terraces {

using platform::FormRegistry;

void registerForms()
{
    // Nothing opens on a terrace archive that cannot be worked: the user is told why instead.
    FormRegistry::setFactory(TerraceFormName, []() -> QWidget * {
        if (!frm_terrazze::archiveUsable())
            return nullptr;
        return new frm_terrazze;
    });
    FormRegistry::setFactory(TerraceTablesName, [] { return new TAB_TERR; });
    FormRegistry::setFactory(RoomCopyFormName, [] { return new frm_copia_dati; });
}

} // namespace zav::terraces
