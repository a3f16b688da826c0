#include <QCoreApplication>

#include <benchmark/benchmark.h>

// Every benchmark program runs with an application object: Qt SQL loads its drivers through it.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
