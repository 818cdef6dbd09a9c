# One static library per source folder: tova_<folder> (file lib<folder>.a),
# also reachable as tova::<folder>. Sources are every .cpp under the folder
# except program entries (main.cpp, *_main.cpp), which the folder's own
# CMakeLists.txt turns into programs. A folder may add settings of its own
# (extra system libraries, generated sources) in <folder>/module.cmake, which
# sees the target name in TOVA_MODULE_TARGET.

add_library(tova_all INTERFACE)

function(tova_module dir)
  set(target tova_${dir})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  list(FILTER sources EXCLUDE REGEX "/(main|[A-Za-z0-9_]+_main)\\.cpp$")
  set(deps)
  foreach(d ${ARGN})
    list(APPEND deps tova_${d})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${dir})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${deps} Threads::Threads)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${deps} Threads::Threads)
  endif()
  add_library(tova::${dir} ALIAS ${target})
  target_link_libraries(tova_all INTERFACE ${target})
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/module.cmake)
    set(TOVA_MODULE_TARGET ${target})
    include(${CMAKE_SOURCE_DIR}/${dir}/module.cmake)
  endif()
endfunction()

# The one object that knows this build's folders (see tests/support/BuildFolders.h).
function(tova_test_folders_library)
  set(generated ${CMAKE_BINARY_DIR}/tests/BuildFolders.cpp)
  file(CONFIGURE OUTPUT ${generated} CONTENT [[
#include "support/BuildFolders.h"

const char* tova_test::SourceDir() { return "@CMAKE_SOURCE_DIR@"; }
const char* tova_test::BinDir() { return "@CMAKE_RUNTIME_OUTPUT_DIRECTORY@"; }
]] @ONLY)
  add_library(tova_test_folders OBJECT ${generated})
  target_include_directories(tova_test_folders PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endfunction()

# A test program for one tests/<dir> folder: every .cpp in it, linked with
# GoogleTest and the whole project, its tests labelled <dir>.
function(tova_test_folder dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${dir})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE tova_all tova_test_folders
                        GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  # TOVA_SOURCE_DIR and TOVA_BIN_DIR, without putting this checkout's paths on
  # every test object's command line (which would keep the compiler cache from
  # sharing the objects with other checkouts).
  target_compile_options(${target} PRIVATE -include ${CMAKE_SOURCE_DIR}/tests/support/BuildFolders.h)
  if(TARGET tova_programs)
    add_dependencies(${target} tova_programs)
  endif()
  # A few processes per program, each running its share of the tests, rather
  # than one process per test: starting a sanitizer-built program costs more
  # than most tests do. GoogleTest deals the tests out round-robin, so slow
  # ones spread over the shards. One test alone: bin/test_<dir> --gtest_filter=...
  foreach(shard RANGE 1 ${TOVA_TEST_SHARDS})
    math(EXPR index "${shard} - 1")
    add_test(NAME ${target}/${shard} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${target}/${shard} PROPERTIES LABELS ${dir}
      ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;GTEST_TOTAL_SHARDS=${TOVA_TEST_SHARDS};GTEST_SHARD_INDEX=${index}")
  endforeach()
endfunction()

# Programs that tests run (vornel and the like) add themselves here, so that a
# test program is always built after them.
add_custom_target(tova_programs)

# The clang sanitizer runtimes are linked into programs only, so a shared
# library of that build leaves their symbols to the program that loads it.
function(tova_allow_runtime_symbols_in_shared_libraries dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      target_link_options(${t} PRIVATE -Wl,-z,undefs)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(s ${subdirs})
    tova_allow_runtime_symbols_in_shared_libraries(${s})
  endforeach()
endfunction()
