# Cross-compiling for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#
# The compilers, the resource compiler and the libraries searched are the target's; programs
# the build runs (the registration-resource generator) are built for the build machine
# separately, see plugin/CMakeLists.txt.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TL_MINGW_TRIPLE x86_64-w64-mingw32 CACHE STRING "Target triple of the mingw-w64 toolchain")

# Debian ships two flavours of the compiler: -win32 (native Windows threads) and -posix (needs
# libwinpthread). The module starts no threads, so the -win32 flavour keeps it free of any
# runtime library; fall back to the unsuffixed name where the flavour is not installed.
find_program(TL_MINGW_CXX NAMES ${TL_MINGW_TRIPLE}-g++-win32 ${TL_MINGW_TRIPLE}-g++ REQUIRED)
find_program(TL_MINGW_CC NAMES ${TL_MINGW_TRIPLE}-gcc-win32 ${TL_MINGW_TRIPLE}-gcc REQUIRED)
find_program(TL_MINGW_WINDRES NAMES ${TL_MINGW_TRIPLE}-windres REQUIRED)
set(CMAKE_CXX_COMPILER ${TL_MINGW_CXX})
set(CMAKE_C_COMPILER ${TL_MINGW_CC})
set(CMAKE_RC_COMPILER ${TL_MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${TL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built for Windows run on the build machine under Wine, when it is there.
find_program(TL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TL_WINE})
endif()
