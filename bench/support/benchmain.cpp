#include "support/comparison.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zav::bench {

namespace {

std::vector<std::pair<std::string, std::string>> &comparisons()
{
    static std::vector<std::pair<std::string, std::string>> pairs;
    return pairs;
}

/** The console report, then the comparisons asked for, from the runs it has seen. */
class ComparingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                m_failed.push_back(run.benchmark_name() + ": " + run.error_message);
            if (run.error_occurred || run.report_big_o || run.report_rms)
                continue;
            const Key key { run.run_name.function_name, run.run_name.args };
            const double seconds
                = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    m_medians[key] = seconds;
            } else {
                m_samples[key].push_back(seconds);
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[benchmark, floor] : comparisons()) {
            std::vector<std::pair<double, double>> points; // argument, time
            for (const Key &key : keys()) {
                if (key.first != benchmark)
                    continue;
                const double time = timeOf(key);
                const double floorTime = timeOf({ floor, key.second });
                const double argument = std::atof(key.second.c_str());
                points.emplace_back(argument, time);
                if (floorTime > 0)
                    std::printf("%s/%s: %.2f ms, %s %.2f ms, ratio %.3f\n", benchmark.c_str(),
                        key.second.c_str(), time * 1e3, floor.c_str(), floorTime * 1e3, time / floorTime);
            }
            std::sort(points.begin(), points.end());
            for (size_t i = 1; i < points.size(); ++i) {
                const auto &[a, ta] = points[i - 1];
                const auto &[b, tb] = points[i];
                if (a > 0 && b > a && ta > 0)
                    std::printf("%s growth from %g to %g: exponent %.3f\n", benchmark.c_str(), a, b,
                        std::log(tb / ta) / std::log(b / a));
            }
        }
        std::fflush(stdout);
        for (const std::string &failure : m_failed)
            std::fprintf(stderr, "Failed: %s\n", failure.c_str());
    }

    /** Whether a benchmark failed its checks. */
    bool failed() const { return !m_failed.empty(); }

private:
    using Key = std::pair<std::string, std::string>;

    // Every benchmark and argument seen, repeated or not.
    std::vector<Key> keys() const
    {
        std::vector<Key> all;
        for (const auto &entry : m_medians)
            all.push_back(entry.first);
        for (const auto &entry : m_samples) {
            if (!m_medians.count(entry.first))
                all.push_back(entry.first);
        }
        return all;
    }

    double timeOf(const Key &key) const
    {
        if (const auto median = m_medians.find(key); median != m_medians.end())
            return median->second;
        const auto found = m_samples.find(key);
        if (found == m_samples.end() || found->second.empty())
            return 0;
        std::vector<double> samples = found->second;
        std::sort(samples.begin(), samples.end());
        const size_t n = samples.size();
        return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    }

    std::map<Key, double> m_medians;
    std::map<Key, std::vector<double>> m_samples;
    std::vector<std::string> m_failed;
};

// A benchmark's set-up that throws ends the program with what it says, not with an abort.
void endOnException()
{
    try {
        if (const std::exception_ptr current = std::current_exception())
            std::rethrow_exception(current);
        std::fputs("The benchmark program ended abnormally.\n", stderr);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "The benchmark failed: %s\n", error.what());
    } catch (...) {
        std::fputs("The benchmark failed with an exception of an unknown type.\n", stderr);
    }
    std::fflush(stdout);
    std::_Exit(EXIT_FAILURE);
}

// The offscreen platform says for every window shown that it cannot pass size hints on; in a
// benchmark that repeats a run with its window, that is noise between the figures.
QtMessageHandler g_previousHandler = nullptr;

void quietPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")) || !g_previousHandler)
        return;
    g_previousHandler(type, context, message);
}

} // namespace

bool compareWithFloor(const char *benchmark, const char *floor)
{
    comparisons().emplace_back(benchmark, floor);
    return true;
}

} // namespace zav::bench

// Every benchmark program runs with an application object (Qt SQL loads its drivers through it, and
// the progress window needs one), on the offscreen platform unless told otherwise.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zav::bench::g_previousHandler = qInstallMessageHandler(zav::bench::quietPlatformNotes);
    std::set_terminate(zav::bench::endOnException);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    zav::bench::ComparingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // A benchmark that failed its checks fails the program, so that a script running it sees it.
    return reporter.failed() ? 1 : 0;
}
