#include "engine/var_gbl.h"

#include "platform/vb.h"

namespace zav::engine {

VarGbl VAR_GBL;

bool VarGbl::punto_decimale() const
{
    return platform::vb::decimalSeparator() == u'.';
}

void VarGbl::reset()
{
    *this = VarGbl();
}

} // namespace zav::engine
