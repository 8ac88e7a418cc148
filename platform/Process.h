#pragma once

#include <string>

// Facts about the running process.
namespace Process {

// The full path of the running executable as the system reports it,
// symbolic links resolved (on Windows, as GetModuleFileNameW gives it).
// Throws Error when the system cannot tell.
std::string ExecutablePath();

} // namespace Process
