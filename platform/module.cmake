# Outside libraries of the platform layer: SDL2 (window, input, cursors,
# clipboard, presenting, audio output) and libpng (PNG files).
find_package(PkgConfig REQUIRED)
pkg_check_modules(TOVA_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(TOVA_PNG REQUIRED IMPORTED_TARGET libpng)
target_link_libraries(${TOVA_MODULE_TARGET} PUBLIC PkgConfig::TOVA_SDL2 PkgConfig::TOVA_PNG)
# SDL2_ttf draws the launcher's captions in the system's outline fonts.
pkg_check_modules(TOVA_SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)
target_link_libraries(${TOVA_MODULE_TARGET} PRIVATE PkgConfig::TOVA_SDL2_TTF)

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
