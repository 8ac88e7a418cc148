#pragma once

#include "bench/BenchRegistry.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Prints one Markdown table row per pair: the two medians, their ratio and
// the goal. Median gives the median of a benchmark by name, negative when it
// did not run (such pairs are left out).
void PrintRatioTable(std::ostream &out, const std::vector<BenchPair> &pairs,
                     const std::function<double(const std::string &)> &Median, const std::string &unit);
