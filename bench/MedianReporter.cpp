#include "bench/MedianReporter.h"

namespace {

double Microseconds(const benchmark::BenchmarkReporter::Run &run)
{
    return run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond)
           / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

} // namespace

void MedianReporter::ReportRuns(const std::vector<Run> &reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run &run : reports) {
        if (run.error_occurred)
            continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (median || single)
            FMedians[run.run_name.function_name] = Microseconds(run);
    }
}

double MedianReporter::Median(const std::string &name) const
{
    const auto found = FMedians.find(name);
    return found == FMedians.end() ? -1.0 : found->second;
}
