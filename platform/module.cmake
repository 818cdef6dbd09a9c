# Outside libraries of the platform layer: SDL2 (window, input, cursors,
# clipboard, presenting) and libpng (PNG files).
find_package(PkgConfig REQUIRED)
pkg_check_modules(TOVA_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(TOVA_PNG REQUIRED IMPORTED_TARGET libpng)
target_link_libraries(${TOVA_MODULE_TARGET} PUBLIC PkgConfig::TOVA_SDL2 PkgConfig::TOVA_PNG)
