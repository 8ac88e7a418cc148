# The fuzz harnesses and their seed generator, shared by two builds: the
# libFuzzer targets of fuzz/ (clang only) and the replay tests of
# tests/reliability, which run the seeds and every input that once found a
# fault through the same harness code in the ordinary test suite.
set(QUORVANE_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QUORVANE_FUZZ_HARNESSES tiledata art patches hues edits container journal textures animations check)
set(QUORVANE_FUZZ_SOURCE_tiledata ${QUORVANE_FUZZ_DIR}/FuzzTileData.cpp)
set(QUORVANE_FUZZ_SOURCE_art ${QUORVANE_FUZZ_DIR}/FuzzArt.cpp)
set(QUORVANE_FUZZ_SOURCE_patches ${QUORVANE_FUZZ_DIR}/FuzzPatches.cpp)
set(QUORVANE_FUZZ_SOURCE_hues ${QUORVANE_FUZZ_DIR}/FuzzHues.cpp)
set(QUORVANE_FUZZ_SOURCE_edits ${QUORVANE_FUZZ_DIR}/FuzzEdits.cpp)
set(QUORVANE_FUZZ_SOURCE_container ${QUORVANE_FUZZ_DIR}/FuzzContainer.cpp)
set(QUORVANE_FUZZ_SOURCE_journal ${QUORVANE_FUZZ_DIR}/FuzzJournal.cpp)
set(QUORVANE_FUZZ_SOURCE_textures ${QUORVANE_FUZZ_DIR}/FuzzTextures.cpp)
set(QUORVANE_FUZZ_SOURCE_animations ${QUORVANE_FUZZ_DIR}/FuzzAnimations.cpp)
set(QUORVANE_FUZZ_SOURCE_check ${QUORVANE_FUZZ_DIR}/FuzzCheck.cpp)

# Both builds include this file; the targets are made by the first.
if(TARGET fuzzsupport)
  return()
endif()

add_library(fuzzsupport STATIC
  ${QUORVANE_FUZZ_DIR}/FuzzDraw.h
  ${QUORVANE_FUZZ_DIR}/FuzzDraw.cpp
  ${QUORVANE_FUZZ_DIR}/FuzzInput.h
  ${QUORVANE_FUZZ_DIR}/FuzzInput.cpp
  ${QUORVANE_FUZZ_DIR}/FuzzLayout.h
  ${QUORVANE_FUZZ_DIR}/FuzzScratch.h
  ${QUORVANE_FUZZ_DIR}/FuzzScratch.cpp
  ${QUORVANE_FUZZ_DIR}/TileScript.h
  ${QUORVANE_FUZZ_DIR}/TileScript.cpp
)
target_include_directories(fuzzsupport PUBLIC ${QUORVANE_FUZZ_DIR}/..)
target_link_libraries(fuzzsupport PUBLIC tiledata_widgets cli art tilelinks testsupport reliabilitysupport Qt6::Widgets)

# Writes the seed corpora: fuzz_seeds <folder> makes <folder>/<harness>/.
add_executable(fuzz_seeds ${QUORVANE_FUZZ_DIR}/SeedGenerator.cpp)
target_link_libraries(fuzz_seeds PRIVATE fuzzsupport)
# Beside the fuzz targets, where scripts/fuzz.sh looks for it.
set_target_properties(fuzz_seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
