#include "bench/BenchRegistry.h"

#include "bench/CallgrindCount.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <iostream>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The state of the benchmark running now, for RunUntimed; null outside.
benchmark::State *CurrentState = nullptr;

void RunBody(benchmark::State &state, BenchBody *body)
{
    CurrentState = &state;
    for (auto _ : state)
        (*body)();
    CurrentState = nullptr;
}

} // namespace

void RunUntimed(const std::function<void()> &Work)
{
    if (CurrentState != nullptr) {
        CurrentState->PauseTiming();
        Work();
        CurrentState->ResumeTiming();
        return;
    }
    PauseInstructionCount();
    Work();
    ResumeInstructionCount();
}

BenchRegistry &BenchRegistry::Instance()
{
    static BenchRegistry registry;
    return registry;
}

void BenchRegistry::AddPair(const BenchPair &pair, BenchSetup caseSetup, BenchSetup baselineSetup)
{
    AddMeasure(pair.Case, std::move(caseSetup));
    AddMeasure(pair.Baseline, std::move(baselineSetup));
    FPairs.push_back(pair);
}

void BenchRegistry::AddMeasure(const std::string &name, BenchSetup setup)
{
    if (FMeasures.count(name) != 0)
        throw std::logic_error("benchmark registered twice: " + name);
    FMeasures[name].Setup = std::move(setup);
    FOrder.push_back(name);
}

void BenchRegistry::AddChildTask(const std::string &name, ChildTask task)
{
    FChildTasks[name] = std::move(task);
}

int BenchRegistry::RunChildTask(const std::string &name, const std::vector<std::string> &arguments) const
{
    const auto found = FChildTasks.find(name);
    if (found == FChildTasks.end()) {
        std::cerr << "no child task named " << name << "\n";
        return 2;
    }
    return found->second(arguments);
}

void RunChild(const std::string &task, const std::vector<std::string> &arguments)
{
    std::vector<std::string> words{"/proc/self/exe", "--child", task};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start a child process for " + task);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("lost the child process of " + task);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child process of " + task + " failed");
}

BenchChildRegistration::BenchChildRegistration(const std::string &name, ChildTask task)
{
    BenchRegistry::Instance().AddChildTask(name, std::move(task));
}

BenchBody *BenchRegistry::Body(const std::string &name)
{
    const auto found = FMeasures.find(name);
    if (found == FMeasures.end())
        return nullptr;
    Measure &measure = found->second;
    if (!measure.Body)
        measure.Body = measure.Setup();
    return &*measure.Body;
}

void BenchRegistry::RegisterWithGoogleBenchmark()
{
    for (const std::string &name : FOrder) {
        // Set up lazily inside the first run, so that a filtered run builds
        // only the fixtures it times.
        benchmark::RegisterBenchmark(name.c_str(),
                                     [this, name](benchmark::State &state) { RunBody(state, Body(name)); })
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }
}

void BenchRegistry::Release()
{
    for (auto &entry : FMeasures)
        entry.second.Body.reset();
}

BenchPairRegistration::BenchPairRegistration(const BenchPair &pair, BenchSetup caseSetup, BenchSetup baselineSetup)
{
    BenchRegistry::Instance().AddPair(pair, std::move(caseSetup), std::move(baselineSetup));
}
