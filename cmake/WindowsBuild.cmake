# Settings of a Windows build cross-compiled here: the compiler's runtime
# DLLs, which ship beside the programs, and wine, which runs the programs
# whenever CMake or CTest needs them run.

# libstdc++ and libgcc are linked as DLLs, as the Qt libraries are, so that
# one copy of each is shared by the program and Qt.
set(QUORVANE_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
  endif()
  get_filename_component(path "${path}" REALPATH)
  list(APPEND QUORVANE_RUNTIME_DLLS "${path}")
endforeach()

# The folders the programs find their DLLs in when run from the build tree.
set(QUORVANE_DLL_DIRS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
foreach(dll ${QUORVANE_RUNTIME_DLLS})
  get_filename_component(dir "${dll}" DIRECTORY)
  list(APPEND QUORVANE_DLL_DIRS "${dir}")
endforeach()
list(REMOVE_DUPLICATES QUORVANE_DLL_DIRS)

find_program(QUORVANE_WINE NAMES wine /usr/lib/wine/wine64)
find_program(QUORVANE_WINESERVER NAMES wineserver /usr/lib/wine/wineserver64)
if(QUORVANE_WINE AND QUORVANE_WINESERVER)
  # Wine maps the Linux root to drive Z:, so Linux paths work in WINEPATH,
  # which separates folders with ";" as a CMake list does.
  set(QUORVANE_WINEPATH "${QUORVANE_DLL_DIRS}")
  set(QUORVANE_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run.sh")
else()
  message(WARNING "wine not found: the Windows programs build, but their tests cannot run")
endif()
