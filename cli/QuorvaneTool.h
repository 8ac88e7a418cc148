#pragma once

#include <string>
#include <vector>

// The whole of quorvane-tool apart from the process around it: runs the
// command line (without the program name) and says what to print where.
struct ToolRun
{
    int Status = 0; // 0 done or equal, 1 diff found differences, 2 error
    std::string Output;
    std::string Errors;
    // For a command whose work is on the disk when it ends (apply), Output
    // only reports it: where the output cannot be written, this warning
    // line goes to standard error and Status stays. Empty for a command
    // whose output is its work (dump, diff), which then fails.
    std::string UnwrittenReport;
};

ToolRun RunQuorvaneTool(const std::vector<std::string> &Arguments);
