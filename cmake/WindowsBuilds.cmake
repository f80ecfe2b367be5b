# The Windows builds, made with mingw-w64 as nested projects of the native
# build: the product for i686, and, where the machine cannot run 32-bit
# programs under Wine, an x86_64 build of the same sources for the tests.
include(ExternalProject)

set(QUOLVI_TEST_ARCH "i686" CACHE STRING "Architecture of the Windows build the tests run: i686 or x86_64")
set_property(CACHE QUOLVI_TEST_ARCH PROPERTY STRINGS i686 x86_64)

foreach(arch i686 x86_64)
  if(arch STREQUAL "i686" OR arch STREQUAL QUOLVI_TEST_ARCH)
    if(arch STREQUAL QUOLVI_TEST_ARCH AND QUOLVI_BUILD_TESTS)
      set(with_tests ON)
    else()
      set(with_tests OFF)
    endif()
    ExternalProject_Add(windows-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DQUOLVI_BUILD_TESTS=${with_tests}
        -DGTEST_SOURCE_DIR=${GTEST_SOURCE_DIR}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_BUILD ON)
  endif()
endforeach()
