# Cross-compiles polvane.exe for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPOLVANE_TESTS=OFF
#   cmake --build build-mingw --target polvane
#
# The C and C++ runtimes are linked statically, so polvane.exe runs on its own: no MinGW DLL needs to be
# shipped beside it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(POLVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${POLVANE_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${POLVANE_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${POLVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${POLVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# stb's image headers hold only portable C: the host's copy (Debian's libstb-dev) serves the Windows build too.
set(POLVANE_STB_INCLUDE_DIR /usr/include/stb CACHE PATH "Folder holding stb_image.h")

# Lets CTest run the Windows programs it builds through Wine, when Wine is installed.
find_program(POLVANE_WINE NAMES wine wine64)
if(POLVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${POLVANE_WINE})
endif()
