# Checks that the includes between app/'s folders run one way, and prints
# the folders with the includes between them:
#   cmake -DAPP=app -P tests/app/AppLayers.cmake
#
# Each folder may include the folders listed after it here, and no other
# folder of app/. The program's entry, quorvane.cpp, is the one source that
# stays in app/ itself.
set(layers
  "form: pictures check links compare list document"
  "pictures: check links compare list document"
  "check: list document"
  "links: list document"
  "compare: list document"
  "list: document"
  "document:"
)

if(NOT APP)
  message(FATAL_ERROR "usage: cmake -DAPP=<the app folder> -P AppLayers.cmake")
endif()
get_filename_component(APP "${APP}" ABSOLUTE)

set(folders "")
foreach(layer IN LISTS layers)
  string(REGEX REPLACE ":.*" "" folder "${layer}")
  string(REGEX REPLACE "^[^:]*:" "" below "${layer}")
  separate_arguments(below)
  list(APPEND folders ${folder})
  set(allowed_${folder} ${below})
endforeach()

set(faults "")
file(GLOB loose RELATIVE "${APP}" "${APP}/*.cpp" "${APP}/*.h")
list(REMOVE_ITEM loose quorvane.cpp)
foreach(file IN LISTS loose)
  list(APPEND faults "app/${file} stands outside the folders")
endforeach()

foreach(folder IN LISTS folders)
  file(GLOB sources RELATIVE "${APP}/${folder}" "${APP}/${folder}/*.h" "${APP}/${folder}/*.cpp")
  set(counts "")
  foreach(source IN LISTS sources)
    file(STRINGS "${APP}/${folder}/${source}" includes REGEX "^#include \"app/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"app/([^\"]*)\"" path "${line}")
      set(target "${CMAKE_MATCH_1}")
      if(NOT target MATCHES "/")
        list(APPEND faults "app/${folder}/${source} includes app/${target}, outside the folders")
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" other "${target}")
      if(other STREQUAL folder)
        continue()
      endif()
      list(FIND allowed_${folder} "${other}" at)
      if(at LESS 0)
        set(may "no other folder")
        if(allowed_${folder})
          list(JOIN allowed_${folder} "/, " may)
          set(may "only ${may}/")
        endif()
        list(APPEND faults "app/${folder}/${source} includes app/${target}: ${folder}/ may include ${may}")
      endif()
      math(EXPR n_${other} "${n_${other}}+0+1")
      list(APPEND counts ${other})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES counts)
  list(LENGTH sources files)
  set(line "${folder}/ (${files} files)")
  if(counts)
    set(arrows "")
    foreach(other IN LISTS counts)
      list(APPEND arrows "${other}/ x${n_${other}}")
      unset(n_${other})
    endforeach()
    list(JOIN arrows ", " arrows)
    string(APPEND line " -> ${arrows}")
  endif()
  message(STATUS "${line}")
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "The includes between app/'s folders break their order:\n  ${text}")
endif()
