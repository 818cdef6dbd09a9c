# The image codec plug-in, libkoral.so: a shared library of its own that the
# program loads by name at run time (nothing links it). Its code is an object
# library so that the fuzz targets can call its entries in-process.
pkg_check_modules(TOVA_JPEG REQUIRED IMPORTED_TARGET libjpeg)
file(GLOB koral_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/koral/*.cpp)
# The font image container is read by the plug-in and written by fontmake.
add_library(koral_code OBJECT ${koral_sources} ${CMAKE_SOURCE_DIR}/platform/FontImageFile.cpp)
target_include_directories(koral_code PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(koral_code PUBLIC PkgConfig::TOVA_PNG PkgConfig::TOVA_JPEG)

add_library(koral SHARED)
target_link_libraries(koral PRIVATE koral_code)
target_link_options(koral PRIVATE -Wl,--version-script=${CMAKE_SOURCE_DIR}/platform/koral/koral.map)
add_dependencies(tova_programs koral)

# The same code exporting only some entries, for the binding's tests of a
# plug-in that lacks entries.
if(TOVA_TESTS)
  add_library(koral_partial SHARED)
  target_link_libraries(koral_partial PRIVATE koral_code)
  target_link_options(koral_partial PRIVATE -Wl,--version-script=${CMAKE_SOURCE_DIR}/platform/koral/koral_partial.map)
  add_dependencies(tova_programs koral_partial)
endif()
