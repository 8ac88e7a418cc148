// Stands in for a second copy of the editor in the middle of a save: takes
// the same exclusive hold on a file that a save takes, says "held", and
// keeps it until a line (or the end) arrives on its input.

#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file>\n", argv[0]);
        return 2;
    }
    try {
        ExclusiveWriteFile file(argv[1]);
        std::printf("held\n");
        std::fflush(stdout);
        std::string line;
        std::getline(std::cin, line);
        file.Close();
    } catch (const Error &e) {
        std::printf("%s\n", e.what());
        return 1;
    }
    return 0;
}
