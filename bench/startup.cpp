// Start-up of the program as the user waits for it: the built executable (target Zav) is started
// afresh for each iteration on the offscreen platform, with its start-up probe (see
// src/startprobe.h). The time runs from starting the process to the probe's line.

#include "support/check.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// The fastest run: on a busy machine the closest to what an idle one shows.
double fastest(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

// Starts the program with the probe in @p mode; returns the probe's line, empty on failure, and
// the time from the start to the line in @p seconds.
QByteArray runProbe(const char *mode, double &seconds)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("ZAV_START_PROBE"), QString::fromLatin1(mode));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/Zav"), {});
    while (!program.canReadLine()) {
        if (!program.waitForReadyRead(10000))
            break;
    }
    seconds = clock.nsecsElapsed() / 1e9;
    const QByteArray line = program.readLine().trimmed();
    program.waitForFinished(10000);
    return line;
}

// From the program's start to its login window painted (the time), and the processor time the
// program used by then (cpu_ms, which a busy machine disturbs less).
void BM_StartToLoginWindow(benchmark::State &state)
{
    for (auto _ : state) {
        double seconds = 0;
        const QList<QByteArray> fields = runProbe("login", seconds).split(' ');
        ZAV_BENCH_CHECK(
            state, fields.size() == 2 && fields[0] == "login", "the program did not report its login window");
        state.SetIterationTime(seconds);
        state.counters["cpu_ms"] = fields[1].toDouble() / 1000.0;
    }
}
BENCHMARK(BM_StartToLoginWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(21)
    ->ComputeStatistics("min", fastest);

// Memory of the program at its main window, before any project is open: resident and proportional
// set sizes in MB, as counters.
void BM_MemoryAtMainWindow(benchmark::State &state)
{
    for (auto _ : state) {
        double seconds = 0;
        const QList<QByteArray> fields = runProbe("main", seconds).split(' ');
        ZAV_BENCH_CHECK(
            state, fields.size() == 4 && fields[0] == "main", "the program did not report its main window");
        state.SetIterationTime(seconds);
        state.counters["rss_MB"] = fields[1].toDouble() / 1024.0;
        state.counters["pss_MB"] = fields[2].toDouble() / 1024.0;
        state.counters["cpu_ms"] = fields[3].toDouble() / 1000.0;
    }
}
BENCHMARK(BM_MemoryAtMainWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ComputeStatistics("min", fastest);

} // namespace
