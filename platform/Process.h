#pragma once

#include <string>
#include <vector>

// Facts about the running process.
namespace Process {

// The full path of the running executable as the system reports it,
// symbolic links resolved (on Windows, as GetModuleFileNameW gives it).
// Throws Error when the system cannot tell.
std::string ExecutablePath();

// The command-line arguments after the program's name, as UTF-8 like every
// path the platform layer takes (on Windows read again in UTF-16, since
// main's are in the ANSI code page and lose other characters).
std::vector<std::string> Arguments(int argc, char **argv);

// Makes standard output and error pass bytes as they are. Windows' C
// runtime would otherwise write each "\n" as "\r\n", and a program's text
// output would differ from one system to the other.
void UseBinaryStandardStreams();

// Makes a write into a pipe whose reader has gone fail (StandardStream's
// Closed) rather than end the process by SIGPIPE, for a program whose work
// is done and that must still end with a status of its own choosing.
// Windows never ends a program for it, so there it does nothing.
void KeepRunningOnClosedPipe();

} // namespace Process
