#include "support/check.h"

namespace zav::bench {

bool check(benchmark::State &state, bool holds, const std::string &message)
{
    if (!holds)
        state.SkipWithError(message.c_str());
    return holds;
}

} // namespace zav::bench
