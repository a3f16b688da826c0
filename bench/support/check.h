#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace zav::bench {

/**
 * @brief Whether a check of a benchmark's work holds. When it does not, the program ends at once
 * with `message` and a failure status, so that whoever runs it sees the broken benchmark: work
 * after a failed check would go on with results that are wrong or missing, and the benchmark
 * library may crash on a benchmark skipped with an error.
 */
bool check(benchmark::State &state, bool holds, const std::string &message);

} // namespace zav::bench

/** @brief Checks the work of a benchmark function (see check()). */
#define ZAV_BENCH_CHECK(state, condition, message)                                                           \
    do {                                                                                                     \
        if (!zav::bench::check((state), bool(condition), (message)))                                         \
            return;                                                                                          \
    } while (false)
