#pragma once

/**
 * @brief Comparisons printed after a benchmark program's runs: a benchmark's time over the time of
 * its floor (the same work done the simplest way) at each argument, and how the benchmark's time
 * grows from one argument to the next.
 */
namespace zav::bench {

/**
 * @brief Asks for the comparison of `benchmark` with `floor`, two benchmark functions run with the
 * same arguments. Times are medians when the runs are repeated (--benchmark_repetitions), else the
 * time of the single run. Call it before the benchmarks run (a static initialiser will do); returns
 * true so that it can initialise a constant.
 */
bool compareWithFloor(const char *benchmark, const char *floor);

} // namespace zav::bench
