# Installation and packaging of polvane.
#
# Include this file from the top-level CMakeLists.txt after the `polvane` executable target exists:
#
#   cmake --install <build> [--prefix <dir>]   installs bin/polvane, share/man/man1/polvane.1.gz and
#                                              share/doc/polvane/copyright (the licence)
#   cpack -G DEB   (in <build>)                makes polvane_<version>_<arch>.deb
#   cpack -G ZIP   (in a Windows build)        makes a zip with polvane.exe, the man page and the licence

include(GNUInstallDirs)

install(TARGETS polvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants man pages compressed; gzip -n leaves out the time stamp, so the package is the same on every
# build. The page is made along with the program, so that installing after building only the program works.
find_program(POLVANE_GZIP gzip)
mark_as_advanced(POLVANE_GZIP)
if(POLVANE_GZIP AND NOT WIN32)
  set(polvane_man_gz ${PROJECT_BINARY_DIR}/man/polvane.1.gz)
  add_custom_command(OUTPUT ${polvane_man_gz}
                     COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/man/polvane.1
                             ${PROJECT_BINARY_DIR}/man/polvane.1
                     COMMAND ${POLVANE_GZIP} -9nf ${PROJECT_BINARY_DIR}/man/polvane.1
                     DEPENDS ${PROJECT_SOURCE_DIR}/man/polvane.1
                     VERBATIM)
  add_custom_target(polvane_man DEPENDS ${polvane_man_gz})
  add_dependencies(polvane polvane_man)
  install(FILES ${polvane_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/man/polvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The licence: on Debian as the package's copyright file, in the machine-readable format, elsewhere as it is.
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/polvane)
else()
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE polvane_license)
  string(FIND "${polvane_license}" "Permission" polvane_terms_start)
  string(SUBSTRING "${polvane_license}" ${polvane_terms_start} -1 polvane_terms)
  string(STRIP "${polvane_terms}" polvane_terms)
  string(REPLACE "\n\n" "\n.\n" polvane_terms "${polvane_terms}")
  string(REPLACE "\n" "\n " polvane_terms "${polvane_terms}")
  file(WRITE ${PROJECT_BINARY_DIR}/copyright
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: polvane\n"
       "\n"
       "Files: *\n"
       "Copyright: 2026 The Polvane developers\n"
       "License: Expat\n"
       "\n"
       "License: Expat\n"
       " ${polvane_terms}\n")
  install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/polvane)
endif()

set(CPACK_PACKAGE_NAME polvane)
set(CPACK_PACKAGE_VENDOR "Polvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts Wavefront OBJ models into C source for Nintendo 64 games")
set(CPACK_PACKAGE_INSTALL_DIRECTORY polvane)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
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
