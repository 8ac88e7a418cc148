#include "bench/BenchMemory.h"

#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<MemoryReport> &Reports()
{
    static std::vector<MemoryReport> reports;
    return reports;
}

std::string Fixed1(double Value)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << Value;
    return text.str();
}

} // namespace

BenchMemoryRegistration::BenchMemoryRegistration(MemoryReport Report)
{
    Reports().push_back(std::move(Report));
}

const std::vector<MemoryReport> &MemoryReports()
{
    return Reports();
}

std::int64_t ProcessStatusKiB(const std::string &Field)
{
    std::ifstream status("/proc/self/status");
    const std::string key = Field + ":";
    for (std::string line; std::getline(status, line);) {
        if (line.compare(0, key.size(), key) == 0)
            return std::stoll(line.substr(key.size()));
    }
    throw std::runtime_error("no " + Field + " in /proc/self/status");
}

void PrintMemoryTable(std::ostream &Out, const std::vector<MemoryFigure> &Figures, bool Quick)
{
    if (Figures.empty())
        return;
    Out << "\n| Memory, fresh processes | MiB | Goal | |\n|---|---:|---|---|\n";
    for (const MemoryFigure &figure : Figures) {
        Out << "| " << figure.Title << " | " << Fixed1(figure.MiB) << " | ";
        if (figure.GoalMiB <= 0)
            Out << "reported | |\n";
        else
            Out << "<= " << Fixed1(figure.GoalMiB) << " | " << (figure.MiB <= figure.GoalMiB ? "met" : "MISSED")
                << " |\n";
    }
    if (Quick)
        Out << "\n(--quick: a short run through the same code; these figures say nothing)\n";
    Out << std::flush;
}
