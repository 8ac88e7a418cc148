#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// A memory figure that a benchmark takes in fresh processes of its own (see
// RunChild), so that nothing another benchmark left on the heap counts, and
// the most it may be.
struct MemoryFigure
{
    std::string Title;
    double MiB = 0;
    double GoalMiB = 0; // 0: only reported
};

// Takes the figures after the timed pairs have run. Quick: a short run that
// goes through the same code, for CTest; its figures mean nothing.
using MemoryReport = std::function<std::vector<MemoryFigure>(bool Quick)>;

// Registers a report from a benchmark source file.
struct BenchMemoryRegistration
{
    explicit BenchMemoryRegistration(MemoryReport Report);
};

// Every registered report, in the order of registration.
const std::vector<MemoryReport> &MemoryReports();

// A field of /proc/self/status in KiB, such as "VmRSS" or "VmHWM" (the
// peak of VmRSS). Throws when the field is missing.
std::int64_t ProcessStatusKiB(const std::string &Field);

// Prints the figures as a Markdown table with their goals, met or missed.
void PrintMemoryTable(std::ostream &Out, const std::vector<MemoryFigure> &Figures, bool Quick);
