#include "engine/var_gbl.h"

namespace zav::engine {

VarGbl VAR_GBL;

void VarGbl::reset()
{
    *this = VarGbl();
}

} // namespace zav::engine
