# Which program links, and the sanitizer runtimes a link needs.
#
# When clang compiles, programs and libraries are linked through the GNU C++
# driver instead of clang's: clang's driver loads the compiler's own libraries
# on every start, about a tenth of a second here, as long as a small program's
# whole link, and a build links some sixty programs and libraries. The GNU
# driver is a small program that runs the same linker with the same system
# start files and libraries. What clang's driver adds to a link for the
# sanitizers (its runtime archives and their symbol lists) is asked of clang
# once here and passed on by hand. Any surprise in that answer, or no GNU
# driver, keeps clang's driver for links.
#
#   tova_choose_link_driver(<sanitize>)  the driver, and the sanitizer
#                                        runtimes for every link when asked
#   tova_link_fuzzer(<target>)           a libFuzzer program (libFuzzer's main)

# The linker's arguments that clang's driver gives for the flags passed, split
# around the linked object: <prefix>_BEFORE (after the start files, less
# library folders) and <prefix>_AFTER (before the end files), each ready for a
# GNU driver (every argument as -Wl,...), and <prefix>_CRTBEGIN, the start
# file (which names the GCC installation clang links with). <prefix>_OK is
# false when the answer was not understood.
function(_tova_clang_link_arguments prefix)
  # clang only asks that the input exists.
  set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/tova-link-probe.o)
  file(WRITE ${probe} "")
  execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} "-###" ${ARGN} ${probe} -o ${probe}.out
    RESULT_VARIABLE status ERROR_VARIABLE said OUTPUT_QUIET)
  set(${prefix}_OK FALSE PARENT_SCOPE)
  if(NOT status EQUAL 0)
    return()
  endif()
  # The last line is the linker's command, every argument in double quotes.
  string(REGEX MATCH "[^\n]*\"-o\"[^\n]*" command "${said}")
  string(REGEX MATCHALL "\"[^\"]*\"" quoted "${command}")
  set(state "at-start")
  set(before "")
  set(after "")
  foreach(q ${quoted})
    string(REGEX REPLACE "^\"(.*)\"$" "\\1" arg "${q}")
    if(state STREQUAL "at-start")
      if(arg MATCHES "/crtbegin[^/]*\\.o$")
        set(state "in-runtimes")
        set(crtbegin "${arg}")
      endif()
    elseif(state STREQUAL "in-runtimes")
      if(arg STREQUAL "${probe}")
        set(state "in-libraries")
      elseif(NOT arg MATCHES "^-L")
        list(APPEND before "-Wl,${arg}")
      endif()
    elseif(state STREQUAL "in-libraries")
      if(arg MATCHES "/crtend[^/]*\\.o$")
        set(state "at-end")
      else()
        list(APPEND after "-Wl,${arg}")
      endif()
    endif()
  endforeach()
  if(state STREQUAL "at-end")
    set(${prefix}_OK TRUE PARENT_SCOPE)
    set(${prefix}_BEFORE "${before}" PARENT_SCOPE)
    set(${prefix}_AFTER "${after}" PARENT_SCOPE)
    set(${prefix}_CRTBEGIN "${crtbegin}" PARENT_SCOPE)
  endif()
endfunction()

# Chooses the driver and, for a sanitizer build (SANITIZE true), the runtime
# arguments. Sets TOVA_LINK_FUZZER_EXTRA for tova_link_fuzzer.
macro(tova_choose_link_driver sanitize)
  set(TOVA_GNU_LINK OFF)
  set(_tova_before "")
  set(_tova_after "")
  set(_tova_lib_before "")
  set(_tova_lib_after "")
  set(TOVA_LINK_FUZZER_EXTRA "")
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    find_program(TOVA_GNU_CXX g++)
    if(TOVA_GNU_CXX)
      # Only where both drivers link the same GCC installation (C++ library,
      # start files), the one whose headers clang compiled against.
      _tova_clang_link_arguments(_tova_plain)
      execute_process(COMMAND ${TOVA_GNU_CXX} -print-file-name=crtbeginS.o
                      OUTPUT_VARIABLE _tova_gnu_crt OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(_tova_plain_OK AND EXISTS "${_tova_gnu_crt}" AND EXISTS "${_tova_plain_CRTBEGIN}")
        file(REAL_PATH "${_tova_gnu_crt}" _tova_gnu_crt)
        file(REAL_PATH "${_tova_plain_CRTBEGIN}" _tova_clang_crt)
        if(_tova_gnu_crt STREQUAL _tova_clang_crt)
          set(TOVA_GNU_LINK ON)
        endif()
      endif()
    endif()
  endif()
  if(TOVA_GNU_LINK AND ${sanitize})
    set(_tova_san -fsanitize=address,undefined)
    _tova_clang_link_arguments(_tova_prog ${_tova_san})
    _tova_clang_link_arguments(_tova_lib -shared ${_tova_san})
    _tova_clang_link_arguments(_tova_fuzz -fsanitize=fuzzer ${_tova_san})
    # A fuzzer program gets libFuzzer's arguments ahead of a program's.
    list(LENGTH _tova_prog_BEFORE _n)
    list(LENGTH _tova_fuzz_BEFORE _m)
    set(_tova_same FALSE)
    if(_tova_prog_OK AND _tova_lib_OK AND _tova_fuzz_OK AND _m GREATER _n
       AND "${_tova_fuzz_AFTER}" STREQUAL "${_tova_prog_AFTER}")
      math(EXPR _k "${_m} - ${_n}")
      list(SUBLIST _tova_fuzz_BEFORE ${_k} ${_n} _tova_tail)
      list(SUBLIST _tova_fuzz_BEFORE 0 ${_k} _tova_head)
      if("${_tova_tail}" STREQUAL "${_tova_prog_BEFORE}")
        set(_tova_same TRUE)
      endif()
    endif()
    if(_tova_same)
      string(JOIN " " _tova_before ${_tova_prog_BEFORE})
      string(JOIN " " _tova_after ${_tova_prog_AFTER})
      string(JOIN " " _tova_lib_before ${_tova_lib_BEFORE})
      string(JOIN " " _tova_lib_after ${_tova_lib_AFTER})
      string(JOIN " " _tova_head ${_tova_head})
      set(TOVA_LINK_FUZZER_EXTRA "SHELL:${_tova_head}")
    else()
      message(STATUS "Links: clang's sanitizer runtime arguments not understood; clang's driver links")
      set(TOVA_GNU_LINK OFF)
    endif()
  endif()
  if(TOVA_GNU_LINK)
    # The rules CMake would use, with the GNU driver in clang's place, without
    # the compile flags (some are clang's own) and with the runtimes where
    # clang places them: archives before the objects, libraries after them.
    set(CMAKE_CXX_LINK_EXECUTABLE
        "${TOVA_GNU_CXX} <LINK_FLAGS> ${_tova_before} <OBJECTS> -o <TARGET> <LINK_LIBRARIES> ${_tova_after}")
    set(CMAKE_CXX_CREATE_SHARED_LIBRARY
        "${TOVA_GNU_CXX} <CMAKE_SHARED_LIBRARY_CXX_FLAGS> <LINK_FLAGS> <CMAKE_SHARED_LIBRARY_CREATE_CXX_FLAGS> <SONAME_FLAG><TARGET_SONAME> ${_tova_lib_before} -o <TARGET> <OBJECTS> <LINK_LIBRARIES> ${_tova_lib_after}")
    set(CMAKE_CXX_CREATE_SHARED_MODULE ${CMAKE_CXX_CREATE_SHARED_LIBRARY})
    set(CMAKE_C_LINK_EXECUTABLE ${CMAKE_CXX_LINK_EXECUTABLE})
    set(CMAKE_C_CREATE_SHARED_LIBRARY ${CMAKE_CXX_CREATE_SHARED_LIBRARY})
    set(CMAKE_C_CREATE_SHARED_MODULE ${CMAKE_CXX_CREATE_SHARED_LIBRARY})
    message(STATUS "Links: through ${TOVA_GNU_CXX}")
  elseif(${sanitize})
    add_link_options(-fsanitize=address,undefined)
  endif()
endmacro()

function(tova_link_fuzzer target)
  if(TOVA_GNU_LINK AND TOVA_LINK_FUZZER_EXTRA)
    target_link_options(${target} PRIVATE "${TOVA_LINK_FUZZER_EXTRA}")
  else()
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()
