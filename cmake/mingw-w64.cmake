# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers. The
# posix flavour is the one with std::thread and std::mutex; the win32 flavour
# lacks them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Libraries and headers come from the mingw sysroot and from the prefixes
# named in CMAKE_PREFIX_PATH (the Windows Qt), never from the host; programs
# (moc, rcc, uic) come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib (Debian: libz-mingw-w64-dev) is linked into the programs rather than
# shipped as zlib1.dll beside them.
set(ZLIB_USE_STATIC_LIBS ON)
