# Installation and packaging of polvane.
#
# Include this file from the top-level CMakeLists.txt after the `polvane` executable target exists:
#
#   cmake --install <build> [--prefix <dir>]   installs bin/polvane and share/man/man1/polvane.1
#   cpack -G DEB   (in <build>)                makes polvane_<version>_<arch>.deb
#   cpack -G ZIP   (in a Windows build)        makes a zip with polvane.exe and the man page

include(GNUInstallDirs)

install(TARGETS polvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/man/polvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME polvane)
set(CPACK_PACKAGE_VENDOR "Polvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts Wavefront OBJ models into C source for Nintendo 64 games")
set(CPACK_PACKAGE_INSTALL_DIRECTORY polvane)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()

# Debian package. The maintainer can be given at configure time:
#   cmake -DPOLVANE_DEB_MAINTAINER="Name <address>" ...
set(POLVANE_DEB_MAINTAINER "Polvane developers <polvane@users.noreply.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${POLVANE_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The extended description; CPack puts the summary above it as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Polvane reads one Wavefront OBJ model and writes two C files for a Nintendo 64
game built with the console's SDK: a header declaring the model, and a source
file with a Vtx vertex array, a Gfx display list batched over the graphics
processor's 16-entry vertex cache, and a model record joining the two.
Positions, texture coordinates, normals or a constant colour, and alpha are
converted to the SDK's fixed-point formats.")
# dpkg-shlibdeps (from dpkg-dev) fills in the Depends field from the binary's shared libraries.
find_program(POLVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(POLVANE_DPKG_SHLIBDEPS)
if(POLVANE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
