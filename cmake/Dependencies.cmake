# Every third-party library is reached through an imported target. A finder is
# added here when the first subsystem that needs it arrives.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Freetype REQUIRED)
find_package(PNG QUIET)
pkg_check_modules(UUID REQUIRED IMPORTED_TARGET uuid)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
# The GLU tessellator fills glyph outlines (no GL context is needed).
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
find_package(pugixml REQUIRED)

find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h)
find_library(FREEIMAGE_LIBRARY freeimage)
if(FREEIMAGE_INCLUDE_DIR AND FREEIMAGE_LIBRARY)
  add_library(FreeImage::FreeImage UNKNOWN IMPORTED)
  set_target_properties(FreeImage::FreeImage PROPERTIES
    IMPORTED_LOCATION ${FREEIMAGE_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${FREEIMAGE_INCLUDE_DIR})
else()
  message(FATAL_ERROR "FreeImage not found (Debian package libfreeimage-dev)")
endif()

find_package(SDL2 REQUIRED)

if(PL3_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(PL3_BENCH)
  find_package(benchmark REQUIRED)
endif()
