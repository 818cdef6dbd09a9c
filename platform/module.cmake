# Outside libraries of the platform layer: SDL2 (window, input, cursors,
# clipboard, presenting, audio output), SDL2_ttf (the launcher's captions in
# the system's outline fonts), libpng (PNG files), libmpg123 and libmp3lame.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TOVA_SDL2 REQUIRED sdl2)
pkg_check_modules(TOVA_SDL2_TTF REQUIRED SDL2_ttf)
pkg_check_modules(TOVA_PNG REQUIRED IMPORTED_TARGET libpng)
target_link_libraries(${TOVA_MODULE_TARGET} PUBLIC PkgConfig::TOVA_PNG)
# MP3: decoding for media sounds (libmpg123), encoding for the content
# compiler and tests (libmp3lame, which has no pkg-config file).
pkg_check_modules(TOVA_MPG123 REQUIRED IMPORTED_TARGET libmpg123)
target_link_libraries(${TOVA_MODULE_TARGET} PRIVATE PkgConfig::TOVA_MPG123 mp3lame)

# SDL2 and SDL2_ttf are loaded on first use (platform/SdlLibrary.h), not
# linked: most programs never open a window, a sound device or a font, and
# the libraries' tree would cost each of them a large part of its start.
# Their headers still give this layer the types.
target_include_directories(${TOVA_MODULE_TARGET} PUBLIC ${TOVA_SDL2_INCLUDE_DIRS} ${TOVA_SDL2_TTF_INCLUDE_DIRS})
target_compile_options(${TOVA_MODULE_TARGET} PUBLIC ${TOVA_SDL2_CFLAGS_OTHER})
# A program whose own code calls SDL (a test building SDL's events, a
# benchmark against SDL's blitter) still links it; the others do not list it.
target_link_libraries(${TOVA_MODULE_TARGET} INTERFACE
  "-Wl,--push-state,--as-needed" ${TOVA_SDL2_LINK_LIBRARIES} "-Wl,--pop-state")
# A call that bypassed the loader would tie every program to SDL again.
if(TOVA_SHARED_MODULES AND CMAKE_NM)
  add_custom_command(TARGET ${TOVA_MODULE_TARGET} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIBRARY=$<TARGET_FILE:${TOVA_MODULE_TARGET}>
            -P ${CMAKE_SOURCE_DIR}/platform/CheckSdlUnlinked.cmake
    VERBATIM)
endif()

# The loader (dlopen) lives in libc on current glibc; older ones need libdl.
# zstd carries the patch engine's frames.
target_link_libraries(${TOVA_MODULE_TARGET} PUBLIC ${CMAKE_DL_LIBS} zstd)

# The binary-patch engine stand-in, a shared library of its own that the
# update library loads by name from its installation folder.
add_library(patchw32 SHARED ${CMAKE_SOURCE_DIR}/platform/patchw32_main.cpp)
tova_module_copy(platform platform_code)
target_link_libraries(patchw32 PRIVATE ${platform_code})
target_link_options(patchw32 PRIVATE -Wl,--version-script=${CMAKE_SOURCE_DIR}/platform/patchw32.map)
add_dependencies(tova_programs patchw32)

# The image codec plug-in is a library of its own, kept out of this one.
get_target_property(platform_sources ${TOVA_MODULE_TARGET} SOURCES)
list(FILTER platform_sources EXCLUDE REGEX "/platform/koral/")
set_property(TARGET ${TOVA_MODULE_TARGET} PROPERTY SOURCES ${platform_sources})
include(${CMAKE_SOURCE_DIR}/platform/koral/koral.cmake)
