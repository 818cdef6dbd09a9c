# Fails the build when the platform library refers to SDL2 or SDL2_ttf
# directly (an entry called without the loader's table, or the library
# linked): cmake -DNM=<nm> -DLIBRARY=<file> -P CheckSdlUnlinked.cmake
execute_process(COMMAND ${NM} -D --undefined-only ${LIBRARY}
                OUTPUT_VARIABLE undefined RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list the entries ${LIBRARY} needs")
endif()
string(REGEX MATCHALL "[ \t](SDL|TTF)_[A-Za-z0-9_]+" direct "${undefined}")
if(direct)
  string(REPLACE ";" "" direct "${direct}")
  message(FATAL_ERROR "${LIBRARY} calls SDL directly instead of through platform/SdlLibrary.h:${direct}")
endif()
