#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The timed body of a benchmark. It is called once per iteration and must do
// the whole piece of work each time.
using BenchBody = std::function<void()>;

// Builds what a body needs (files, stores, widgets) outside the timing and
// returns the body. It runs once per process, the first time the body is
// needed, and what it builds lives until BenchRegistry::Release.
using BenchSetup = std::function<BenchBody()>;

// Work that a benchmark runs in a fresh process of its own executable (see
// RunChild), for costs that only a new process pays, such as start-up.
// Returns the process exit code.
using ChildTask = std::function<int(const std::vector<std::string> &Arguments)>;

// A case of the program measured against its baseline, the cheapest way we
// know to do the same work, in the same run so that both see the same
// machine. Ratio = case median / baseline median.
struct BenchPair
{
    std::string Title;    // what is measured, as the table shows it
    std::string Case;     // benchmark name of the program's own code path
    std::string Baseline; // benchmark name of the cheapest equivalent
    double Goal = 0;      // highest acceptable ratio; 0: only report the cost
};

// Every benchmark of the executable, registered by static objects of the
// benchmark sources before main runs.
class BenchRegistry
{
public:
    static BenchRegistry &Instance();

    void AddPair(const BenchPair &pair, BenchSetup caseSetup, BenchSetup baselineSetup);

    const std::vector<BenchPair> &Pairs() const { return FPairs; }

    void AddChildTask(const std::string &name, ChildTask task);
    // Runs a child task in this process, as the child started by RunChild;
    // returns its exit code, 2 for an unknown task.
    int RunChildTask(const std::string &name, const std::vector<std::string> &arguments) const;

    // The body of a registered benchmark, set up on first use; nullptr for
    // an unknown name.
    BenchBody *Body(const std::string &name);

    // Hands every name to Google Benchmark, paired bodies next to each other.
    void RegisterWithGoogleBenchmark();

    // Destroys every body and what its setup built. Widgets must go before
    // the application object does.
    void Release();

private:
    struct Measure
    {
        BenchSetup Setup;
        std::optional<BenchBody> Body;
    };

    void AddMeasure(const std::string &name, BenchSetup setup);

    std::vector<BenchPair> FPairs;
    std::vector<std::string> FOrder;
    std::map<std::string, Measure> FMeasures;
    std::map<std::string, ChildTask> FChildTasks;
};

// Runs Work inside a timed body without counting it: the timer pauses, and
// under callgrind the instruction count does. For work that a body must do
// between iterations but that is not what it measures, such as painting
// what the last iteration changed. Pausing costs a few microseconds itself.
void RunUntimed(const std::function<void()> &Work);

// Starts this executable anew with "--child Task Arguments...", waits for it
// and throws when it fails.
void RunChild(const std::string &task, const std::vector<std::string> &arguments);

// Registers a child task from a benchmark source file.
struct BenchChildRegistration
{
    BenchChildRegistration(const std::string &name, ChildTask task);
};

// Registers a pair from a benchmark source file:
//   static const BenchPairRegistration r({"title", "Case", "Base", 1.5}, caseSetup, baseSetup);
struct BenchPairRegistration
{
    BenchPairRegistration(const BenchPair &pair, BenchSetup caseSetup, BenchSetup baselineSetup);
};
