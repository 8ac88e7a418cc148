#pragma once

#include "tilecheck/Finding.h"

#include <string>
#include <vector>

// The findings as the tool writes them: TSV with the header "index,
// section, rule, severity, message", or JSON, {"findings": [...]} with one
// object per line and the same names.
namespace CheckReport {

std::string Tsv(const std::vector<TFinding> &Findings);
std::string Json(const std::vector<TFinding> &Findings);

} // namespace CheckReport
