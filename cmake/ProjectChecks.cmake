# Native checks of the tree itself, registered with the other tests.
if(NOT QUOLVI_BUILD_TESTS OR WIN32)
  return()
endif()

# The sources are formatted as .clang-format says.
add_test(NAME format_check COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-format.sh)

# The release package of the 32-bit Windows build holds what its read-me
# lists, and the program carries the project's version.
if(QUOLVI_WINDOWS_BUILDS)
  add_test(NAME package_contents COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR}/windows-i686
    -DREADME=${CMAKE_SOURCE_DIR}/packaging/readme.txt
    -DVERSION=${PROJECT_VERSION}
    -P ${CMAKE_SOURCE_DIR}/cmake/CheckPackage.cmake)
endif()
