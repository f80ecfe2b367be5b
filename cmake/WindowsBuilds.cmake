# The Windows builds, made with mingw-w64 as nested projects of the native
# build: the product for i686, and, where the machine cannot run 32-bit
# programs under Wine, an x86_64 build of the same sources for the tests.
include(ExternalProject)

# Unless told, the tests run the build that Wine runs here: some kernels
# cannot execute 32-bit programs, and 32-bit Wine with them (as
# scripts/wine-env.sh decides for the scripts).
if(NOT DEFINED CACHE{QUOLVI_TEST_ARCH})
  execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE wine32_status OUTPUT_QUIET ERROR_QUIET)
  if(wine32_status EQUAL 0)
    set(detected_arch i686)
    set(verdict "runs")
  else()
    set(detected_arch x86_64)
    set(verdict "does not run")
  endif()
  message(STATUS "The Windows tests run the ${detected_arch} build: 32-bit Wine ${verdict} here")
endif()
set(QUOLVI_TEST_ARCH "${detected_arch}" CACHE STRING "Architecture of the Windows build the tests run: i686 or x86_64")
set_property(CACHE QUOLVI_TEST_ARCH PROPERTY STRINGS i686 x86_64)

foreach(arch i686 x86_64)
  if(arch STREQUAL "i686" OR arch STREQUAL QUOLVI_TEST_ARCH)
    if(arch STREQUAL QUOLVI_TEST_ARCH AND QUOLVI_BUILD_TESTS)
      set(with_tests ON)
    else()
      set(with_tests OFF)
    endif()
    # A tree configured with the former toolchain files, one for each
    # architecture, is configured anew (CMake keeps a tree's first toolchain).
    set(tree ${CMAKE_BINARY_DIR}/windows-${arch})
    file(GLOB systems ${tree}/CMakeFiles/*/CMakeSystem.cmake)
    foreach(system ${systems})
      file(STRINGS ${system} former REGEX "/cmake/mingw-(i686|x86_64)\\.cmake")
      if(former)
        file(REMOVE_RECURSE ${tree}/CMakeCache.txt ${tree}/CMakeFiles)
      endif()
    endforeach()
    ExternalProject_Add(windows-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${tree}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw.cmake
        -DQUOLVI_MINGW_ARCH=${arch}
        -DCMAKE_BUILD_TYPE=Release
        -DQUOLVI_BUILD_TESTS=${with_tests}
        -DGTEST_SOURCE_DIR=${GTEST_SOURCE_DIR}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_BUILD ON)
  endif()
endforeach()
