#include "bench/CallgrindCount.h"

#include "bench/BenchRegistry.h"

#include <iostream>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define QUORVANE_TOGGLE_COLLECT() CALLGRIND_TOGGLE_COLLECT
#else
// Without valgrind's headers the counts cannot be switched; the run still
// executes the body so the mode is usable for a plain profile.
#define QUORVANE_TOGGLE_COLLECT() ((void)0)
#endif

namespace {

bool Counting = false;

} // namespace

void PauseInstructionCount()
{
    if (Counting)
        QUORVANE_TOGGLE_COLLECT();
}

void ResumeInstructionCount()
{
    if (Counting)
        QUORVANE_TOGGLE_COLLECT();
}

int CountInstructions(const std::string &name, int iterations)
{
    BenchBody *body = BenchRegistry::Instance().Body(name);
    if (body == nullptr) {
        std::cerr << "no benchmark named " << name << "\n";
        return 2;
    }
    (*body)();
    QUORVANE_TOGGLE_COLLECT();
    Counting = true;
    for (int i = 0; i < iterations; ++i)
        (*body)();
    Counting = false;
    QUORVANE_TOGGLE_COLLECT();
    std::cout << name << ": " << iterations << " iterations counted\n";
    return 0;
}
