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
  target_link_libraries(${target} PRIVATE tova_all GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    TOVA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TOVA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  if(TARGET tova_programs)
    add_dependencies(${target} tova_programs)
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${dir} ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endfunction()

# Programs that tests run (vornel and the like) add themselves here, so that a
# test program is always built after them.
add_custom_target(tova_programs)
