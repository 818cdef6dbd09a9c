# One static library per source folder: tova_<folder> (file lib<folder>.a),
# also reachable as tova::<folder>. Sources are every .cpp under the folder
# except program entries (main.cpp, *_main.cpp), which the folder's own
# CMakeLists.txt turns into programs. A folder may add settings of its own
# (extra system libraries, generated sources) in <folder>/module.cmake, which
# sees the target name in TOVA_MODULE_TARGET.

add_library(tova_all INTERFACE)

# Shared folder libraries: each program then links in a fraction of a second
# instead of copying every library it uses into itself (the builds make some
# eighty programs). A library that another program loads as a plug-in keeps
# its own static copy of what it uses (tova_module_copy).
option(TOVA_SHARED_MODULES "Build the folder libraries as shared libraries" ON)

# Unity builds: a library's or test program's .cpp files are compiled a batch
# at a time, each batch one generated file that includes them, so that the
# headers they share are parsed once per batch instead of once per file. The
# generated files name the sources relative to the checkout, so a clone in
# another folder reuses the compiler cache's objects. Every file-local name
# (static functions, anonymous-namespace types and constants) must therefore
# be unique within its library or test program. -DTOVA_UNITY=OFF compiles
# every file alone, as an editor's tooling expects.
option(TOVA_UNITY "Compile sources in batches (unity build)" ON)
# 32 rather than 16 files a batch: a build from nothing takes about 5% less
# processor time; an edit recompiles its whole batch.
set(TOVA_UNITY_BATCH 32 CACHE STRING "Source files per unity batch")
include(${CMAKE_CURRENT_LIST_DIR}/TovaUnityAlone.cmake)

function(tova_unity target)
  if(NOT TOVA_UNITY)
    return()
  endif()
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(kept)
  set(batched)
  string(LENGTH "${CMAKE_SOURCE_DIR}/" root_length)
  foreach(source ${sources})
    # A program's sources may be named relative to its own folder.
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${source_dir}/${source}")
    endif()
    string(FIND "${source}" "${CMAKE_SOURCE_DIR}/" at)
    string(FIND "${source}" "${CMAKE_BINARY_DIR}/" generated_at)
    if(at EQUAL 0 AND NOT generated_at EQUAL 0 AND source MATCHES "\\.cpp$")
      string(SUBSTRING "${source}" ${root_length} -1 relative)
    else()
      set(relative "")
    endif()
    if(relative AND NOT relative IN_LIST TOVA_UNITY_ALONE)
      list(APPEND batched ${relative})
    else()
      list(APPEND kept ${source})
    endif()
  endforeach()
  list(LENGTH batched count)
  if(count LESS 2)
    return()
  endif()
  list(SORT batched)
  set(index 0)
  set(batch)
  set(generated)
  foreach(relative ${batched} "")
    if(relative)
      list(APPEND batch ${relative})
      list(LENGTH batch size)
    endif()
    if(batch AND (NOT relative OR size EQUAL TOVA_UNITY_BATCH))
      set(includes "")
      foreach(file ${batch})
        string(APPEND includes "#include \"${file}\"\n")
      endforeach()
      set(file ${CMAKE_BINARY_DIR}/unity/${target}_${index}.cpp)
      file(CONFIGURE OUTPUT ${file} CONTENT "\
// Generated unity batch of ${target}: the files below compile as one unit.
// An error such as \"redefinition of\" between two of them means two
// file-local names clash: rename one of them (or build with -DTOVA_UNITY=OFF).
${includes}")
      list(APPEND generated ${file})
      math(EXPR index "${index} + 1")
      set(batch)
    endif()
  endforeach()
  # GCC takes an included .cpp for a header and warns about each fixture in an
  # anonymous namespace; in a batch that is expected.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set_source_files_properties(${generated} PROPERTIES COMPILE_OPTIONS -Wno-subobject-linkage)
  endif()
  set_property(TARGET ${target} PROPERTY SOURCES ${kept} ${generated})
endfunction()

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
    if(TOVA_SHARED_MODULES)
      add_library(${target} SHARED ${sources})
      # libvekpatch.so is the update library's own name.
      set_target_properties(${target} PROPERTIES OUTPUT_NAME tova_${dir})
    else()
      add_library(${target} STATIC ${sources})
      set_target_properties(${target} PROPERTIES OUTPUT_NAME ${dir})
    endif()
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
  if(sources)
    tova_unity(${target})
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
  # The tests' own code is compiled without optimisation in every build: the
  # assertion macros expand to much code that the optimiser spends most of the
  # compile time on, while the time the tests take is spent in the (optimised)
  # libraries. The sanitizers check it all the same. Nor does it need the fuzz
  # targets' coverage instrumentation or line tables (an assertion names its
  # own file and line): together a third of its compile time.
  target_compile_options(${target} PRIVATE -O0)
  if(TOVA_FUZZ)
    target_compile_options(${target} PRIVATE -fno-sanitize=fuzzer-no-link)
  endif()
  if(TOVA_SANITIZE OR TOVA_FUZZ)
    target_compile_options(${target} PRIVATE -g0)
  endif()
  tova_unity(${target})
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

# A static library of the folder library tova_<dir>'s objects and, in turn, of
# the folder libraries it links: for a plug-in that must carry its own copy
# (its own state) rather than share the loading program's. Sets <out_var> to
# the target to link.
function(tova_module_copy dir out_var)
  set(target tova_${dir})
  if(NOT TOVA_SHARED_MODULES)
    set(${out_var} ${target} PARENT_SCOPE)
    return()
  endif()
  set(copy ${target}_copy)
  if(NOT TARGET ${copy})
    add_library(${copy} STATIC $<TARGET_OBJECTS:${target}>)
    set_target_properties(${copy} PROPERTIES OUTPUT_NAME tova_${dir}_copy)
    target_include_directories(${copy} PUBLIC ${CMAKE_SOURCE_DIR})
    get_target_property(links ${target} LINK_LIBRARIES)
    set(copied)
    foreach(item ${links})
      if(item MATCHES "^tova_(.+)$" AND TARGET ${item})
        tova_module_copy(${CMAKE_MATCH_1} item)
      endif()
      list(APPEND copied ${item})
    endforeach()
    target_link_libraries(${copy} PUBLIC ${copied})
  endif()
  set(${out_var} ${copy} PARENT_SCOPE)
endfunction()

# Every target that the CMakeLists.txt of a folder and its subfolders make.
function(tova_targets_under dir out_var)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(s ${subdirs})
    tova_targets_under(${s} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out_var} ${targets} PARENT_SCOPE)
endfunction()

# The programs (executables and shared libraries) under a folder, in unity
# batches like the libraries.
function(tova_unity_programs dir)
  tova_targets_under(${dir} targets)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
      tova_unity(${t})
    endif()
  endforeach()
endfunction()

# Programs that tests run (vornel and the like) add themselves here, so that a
# test program is always built after them.
add_custom_target(tova_programs)

# The clang sanitizer runtimes are linked into programs only, so a shared
# library of that build leaves their symbols to the program that loads it.
function(tova_allow_runtime_symbols_in_shared_libraries dir)
  tova_targets_under(${dir} targets)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      target_link_options(${t} PRIVATE -Wl,-z,undefs)
    endif()
  endforeach()
endfunction()
