#include "support/check.h"

#include <cstdio>
#include <cstdlib>

namespace zav::bench {

bool check(benchmark::State &state, bool holds, const std::string &message)
{
    if (holds)
        return true;
    // Google Benchmark 1.7 can crash on a benchmark skipped with an error when it then computes
    // the benchmark's complexity from no runs: the program ends here, saying why, with a failure.
    state.SkipWithError(message.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "A benchmark failed its check: %s\n", message.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace zav::bench
