// Entry point shared by the benchmark executables.
//
//   bench_x                       every pair, 9 repetitions each, then the
//                                 table of medians and ratios, then the
//                                 memory figures, if the executable has any
//   bench_x --quick               each benchmark once, briefly, and a short
//                                 run of each memory report (the CTest run)
//   bench_x --memory              the memory figures alone
//   bench_x --list-pairs          case, baseline and goal of every pair
//   bench_x --callgrind NAME [--iterations N]
//                                 one body under valgrind's callgrind
//   bench_x --child TASK ARGS...  a child task, as a benchmark starts it
// Any --benchmark_* flag of Google Benchmark may follow and wins over ours;
// with --benchmark_filter only the benchmarks it names run, and no memory
// report does.

#include "bench/BenchMemory.h"
#include "bench/BenchRegistry.h"
#include "bench/CallgrindCount.h"
#include "bench/MedianReporter.h"
#include "bench/RatioTable.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Options
{
    bool Quick = false;
    bool ListPairs = false;
    bool MemoryOnly = false;
    std::string Callgrind;
    int Iterations = 3;
    std::string Child;
    std::vector<std::string> ChildArguments;
    std::vector<std::string> Passed; // for Google Benchmark
};

Options ParseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick")
            options.Quick = true;
        else if (arg == "--list-pairs")
            options.ListPairs = true;
        else if (arg == "--memory")
            options.MemoryOnly = true;
        else if (arg == "--callgrind" && i + 1 < argc)
            options.Callgrind = argv[++i];
        else if (arg == "--iterations" && i + 1 < argc)
            options.Iterations = std::atoi(argv[++i]);
        else if (arg == "--child" && i + 1 < argc) {
            options.Child = argv[++i];
            options.ChildArguments.assign(argv + i + 1, argv + argc);
            break;
        }
        else
            options.Passed.push_back(arg);
    }
    return options;
}

std::vector<std::string> BenchmarkArguments(const char *program, const Options &options)
{
    std::vector<std::string> args{program};
    if (options.Quick) {
        args.push_back("--benchmark_min_time=0.01");
        args.push_back("--benchmark_repetitions=1");
    } else {
        // Medians of repetitions shrug off a burst of load from elsewhere.
        // Repetitions run back to back: interleaving them at random makes
        // every repetition start with the caches and the heap left by some
        // other benchmark, which charges widget cases for a cold start that
        // a user does not see twice.
        args.push_back("--benchmark_repetitions=9");
        args.push_back("--benchmark_report_aggregates_only=true");
    }
    args.insert(args.end(), options.Passed.begin(), options.Passed.end());
    return args;
}

// True when the caller picked benchmarks by name: a run of a few timings
// should not wait for the memory reports' processes.
bool NamesBenchmarks(const Options &options)
{
    for (const std::string &arg : options.Passed) {
        if (arg.rfind("--benchmark_filter", 0) == 0)
            return true;
    }
    return false;
}

void ListPairs()
{
    for (const BenchPair &pair : BenchRegistry::Instance().Pairs())
        std::cout << pair.Case << '\t' << pair.Baseline << '\t' << pair.Goal << '\t' << pair.Title << '\n';
}

void ReportMemory(bool Quick)
{
    std::vector<MemoryFigure> figures;
    for (const MemoryReport &report : MemoryReports()) {
        const std::vector<MemoryFigure> more = report(Quick);
        figures.insert(figures.end(), more.begin(), more.end());
    }
    PrintMemoryTable(std::cout, figures, Quick);
}

int RunBenchmarks(const char *program, const Options &options)
{
    std::vector<std::string> args = BenchmarkArguments(program, options);
    std::vector<char *> argvBench;
    for (std::string &arg : args)
        argvBench.push_back(arg.data());
    int argcBench = static_cast<int>(argvBench.size());
    benchmark::Initialize(&argcBench, argvBench.data());
    if (benchmark::ReportUnrecognizedArguments(argcBench, argvBench.data()))
        return 2;

    BenchRegistry &registry = BenchRegistry::Instance();
    registry.RegisterWithGoogleBenchmark();
    // Colours only for a terminal; CTest logs and redirected runs stay plain.
    MedianReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                    : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatioTable(std::cout, registry.Pairs(), [&](const std::string &name) { return reporter.Median(name); },
                    "us");
    benchmark::Shutdown();
    if (!NamesBenchmarks(options))
        ReportMemory(options.Quick);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Widgets are measured without a screen unless the caller asks for one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const Options options = ParseOptions(argc, argv);
    int code = 0;
    try {
        if (!options.Child.empty())
            code = BenchRegistry::Instance().RunChildTask(options.Child, options.ChildArguments);
        else if (options.ListPairs)
            ListPairs();
        else if (options.MemoryOnly)
            ReportMemory(options.Quick);
        else if (!options.Callgrind.empty())
            code = CountInstructions(options.Callgrind, options.Iterations);
        else
            code = RunBenchmarks(argv[0], options);
    } catch (const std::exception &e) {
        std::cerr << "benchmark failed: " << e.what() << "\n";
        code = 1;
    }
    BenchRegistry::Instance().Release();
    return code;
}
