# Native checks of the tree itself, registered with the other tests.
if(NOT QUOLVI_BUILD_TESTS OR WIN32)
  return()
endif()

# The sources are formatted as .clang-format says.
add_test(NAME format_check COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-format.sh)

