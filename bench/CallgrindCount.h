#pragma once

#include <string>

// Runs one registered benchmark body under callgrind's control: once to warm
// up, then Iterations times with instruction collection switched on. Start
// the program as
//   valgrind --tool=callgrind --collect-atstart=no <bench> --callgrind NAME
// and the output file holds the instructions of the timed calls only.
// Returns the process exit code.
int CountInstructions(const std::string &name, int iterations);

// Stop and restart counting around untimed work inside a counted body; they
// do nothing outside a counted run or without valgrind.
void PauseInstructionCount();
void ResumeInstructionCount();
