// Another Windows program holding a file open, in a process of its own:
//   share_holder none|read|write FILE
// opens the file with no sharing (read and write access), or for reading or
// for writing while letting others read and write, says "held", and keeps
// the file until a line (or the end) arrives on its input. Written against
// the system calls alone, so it shares nothing with the code under test.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <iostream>
#include <string>

int main()
{
    int argc = 0;
    wchar_t **argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) {
        std::fprintf(stderr, "usage: share_holder none|read|write FILE\n");
        return 2;
    }
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = 0;
    if (std::wcscmp(argv[1], L"read") == 0) {
        access = GENERIC_READ;
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    } else if (std::wcscmp(argv[1], L"write") == 0) {
        access = GENERIC_WRITE;
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
    const HANDLE file = ::CreateFileW(argv[2], access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("error %lu\n", ::GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    ::CloseHandle(file);
    return 0;
}
