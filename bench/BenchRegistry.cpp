#include "bench/BenchRegistry.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

void RunBody(benchmark::State &state, BenchBody *body)
{
    for (auto _ : state)
        (*body)();
}

} // namespace

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
