# Test helpers shared by the native and the Windows builds.

if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The Windows build the tests run, as seen from the native build.
set(QUOLVI_WINDOWS_TEST_DIR "${CMAKE_BINARY_DIR}/windows-${QUOLVI_TEST_ARCH}/tests")
set(QUOLVI_WINE_RUN "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")

# quolvi_windows_test(name [OWN_MAIN] source...): a test program that needs
# Windows. The Windows build compiles it; the native build registers it to
# run under Wine, so that one ctest runs every test. With OWN_MAIN the
# sources bring their own main().
function(quolvi_windows_test name)
  cmake_parse_arguments(PARSE_ARGV 1 TEST "OWN_MAIN" "" "")
  if(WIN32)
    add_executable(${name} ${TEST_UNPARSED_ARGUMENTS})
    if(TEST_OWN_MAIN)
      target_link_libraries(${name} PRIVATE quolvi_app quolvi_test_support gtest)
    else()
      target_link_libraries(${name} PRIVATE quolvi_app quolvi_test_support gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE quolvi_warnings)
    add_test(NAME ${name} COMMAND ${name})
  elseif(QUOLVI_WINDOWS_BUILDS)
    add_test(NAME ${name} COMMAND ${QUOLVI_WINE_RUN} ${QUOLVI_WINDOWS_TEST_DIR}/${name}.exe)
    set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 600)
  endif()
endfunction()
