#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// Prints what the console reporter prints and keeps, per benchmark, the
// median of its repetitions (or its one run when there was a single
// repetition), in microseconds of real time.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    explicit MedianReporter(OutputOptions options)
        : ConsoleReporter(options)
    {
    }

    void ReportRuns(const std::vector<Run> &reports) override;

    // The median of a benchmark, or a negative value when it did not run.
    double Median(const std::string &name) const;

private:
    std::map<std::string, double> FMedians;
};
