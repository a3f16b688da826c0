#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace zav::bench {

/**
 * @brief Whether a check of a benchmark's work holds. When it does not, the benchmark is ended as
 * failed with `message`: the report says so, its figures are dropped, and the program ends with a
 * failure status once every benchmark has run. Work after a failed check must not go on (its
 * results are wrong, or missing): in the benchmark's loop, ZAV_BENCH_CHECK leaves at once.
 */
bool check(benchmark::State &state, bool holds, const std::string &message);

} // namespace zav::bench

/** @brief Checks the work, and leaves the benchmark function at once when the check fails. */
#define ZAV_BENCH_CHECK(state, condition, message)                                                           \
    do {                                                                                                     \
        if (!zav::bench::check((state), bool(condition), (message)))                                         \
            return;                                                                                          \
    } while (false)
