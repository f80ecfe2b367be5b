# Cross-compiling for Windows with mingw-w64, for the architecture that
# QUOLVI_MINGW_ARCH names: i686 (the product, the default) or x86_64.
# The posix thread model: GoogleTest needs std::mutex, which the win32 model lacks.
set(QUOLVI_MINGW_ARCH "i686" CACHE STRING "The Windows architecture to build for: i686 or x86_64")
set_property(CACHE QUOLVI_MINGW_ARCH PROPERTY STRINGS i686 x86_64)
# The checks CMake compiles in projects of their own read this file again, with the same architecture.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUOLVI_MINGW_ARCH)

set(triplet ${QUOLVI_MINGW_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUOLVI_MINGW_ARCH})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
