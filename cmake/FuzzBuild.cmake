# The fuzz targets of the portable core (tests/fuzz), built with clang++ and
# libFuzzer as a nested project, and each run by ctest for a bounded time
# (QUOLVI_FUZZ_SECONDS) on its committed seed corpus. Without clang++ there
# are none.
include(ExternalProject)
include(${CMAKE_SOURCE_DIR}/tests/fuzz/targets.cmake)

find_program(QUOLVI_CLANGXX NAMES clang++ clang++-14)
set(QUOLVI_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz target runs in the tests, in seconds")

if(QUOLVI_CLANGXX)
  ExternalProject_Add(fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${QUOLVI_CLANGXX} -DCMAKE_BUILD_TYPE=Release
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  if(QUOLVI_BUILD_TESTS)
    foreach(target ${QUOLVI_FUZZ_TARGETS})
      add_test(NAME fuzz_${target}
               COMMAND ${CMAKE_SOURCE_DIR}/tests/fuzz/run.sh ${CMAKE_BINARY_DIR}/fuzz/fuzz_${target}
                       ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${target} ${QUOLVI_FUZZ_SECONDS})
      set_tests_properties(fuzz_${target} PROPERTIES LABELS fuzz TIMEOUT 300)
    endforeach()
  endif()
endif()
