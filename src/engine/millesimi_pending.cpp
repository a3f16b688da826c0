#include "engine/var_gbl.h"

namespace zav::engine {

// Placeholder so that the engine links until the thousandths calculation arrives.
void VarGbl::calcolo_millesimi()
{
}

} // namespace zav::engine
