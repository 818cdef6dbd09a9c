# Outside libraries of the platform layer.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TOVA_SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_link_libraries(${TOVA_MODULE_TARGET} PUBLIC PkgConfig::TOVA_SDL2)
