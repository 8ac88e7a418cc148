#include "bench/RatioTable.h"

#include <iomanip>
#include <sstream>

namespace {

std::string Fixed(double value, int decimals)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

std::string GoalText(const BenchPair &pair)
{
    return pair.Goal > 0 ? "<= " + Fixed(pair.Goal, 1) + "x" : "cost reported";
}

std::string Verdict(const BenchPair &pair, double ratio)
{
    if (pair.Goal <= 0)
        return "";
    return ratio <= pair.Goal ? "met" : "MISSED";
}

} // namespace

void PrintRatioTable(std::ostream &out, const std::vector<BenchPair> &pairs,
                     const std::function<double(const std::string &)> &Median, const std::string &unit)
{
    out << "\n| Case | Baseline | Case (" << unit << ") | Baseline (" << unit << ") | Ratio | Goal | |\n"
        << "|---|---|---:|---:|---:|---|---|\n";
    for (const BenchPair &pair : pairs) {
        const double caseValue = Median(pair.Case);
        const double baseValue = Median(pair.Baseline);
        if (caseValue < 0 || baseValue <= 0)
            continue;
        const double ratio = caseValue / baseValue;
        out << "| " << pair.Title << " | " << pair.Baseline << " | " << Fixed(caseValue, 1) << " | "
            << Fixed(baseValue, 1) << " | " << Fixed(ratio, 2) << " | " << GoalText(pair) << " | "
            << Verdict(pair, ratio) << " |\n";
    }
    out << std::flush;
}
