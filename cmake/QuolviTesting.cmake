# Test helpers shared by the native and the Windows builds.

if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The Windows build the tests run, as seen from the native build.
set(QUOLVI_WINDOWS_TEST_DIR "${CMAKE_BINARY_DIR}/windows-${QUOLVI_TEST_ARCH}/tests")
set(QUOLVI_WINE_RUN "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")

# The cases of the sources as Suite.Name, read from their TEST and TEST_F
# lines (a change of a source configures anew); disabled cases are left out,
# as the test program leaves them out.
function(quolvi_test_cases out)
  set(cases)
  set(blank "[ \t\r\n]*")
  set(name "([A-Za-z0-9_]+)")
  foreach(source ${ARGN})
    get_filename_component(path ${source} ABSOLUTE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(READ ${path} text)
    string(REGEX MATCHALL "\nTEST(_F)?\\(${blank}${name}${blank},${blank}${name}${blank}\\)" found "\n${text}")
    foreach(match ${found})
      string(REGEX REPLACE ".*\\(${blank}${name}${blank},${blank}${name}${blank}\\)" "\\1.\\2" case "${match}")
      if(NOT case MATCHES "\\.DISABLED_")
        list(APPEND cases ${case})
      endif()
    endforeach()
  endforeach()
  set(${out} ${cases} PARENT_SCOPE)
endfunction()

# quolvi_windows_test(name [OWN_MAIN] [LOCKS resource...] SOURCES source...):
# a test program that needs Windows. The Windows build compiles it; each of
# its cases is a test of its own, named Suite.Name and run alone (under Wine
# when the native build registers it), so that one ctest runs every test and
# a failure names its case. The cases share the program's label and the
# resources it locks (the desktop, the clipboard). With OWN_MAIN the sources
# bring their own main().
function(quolvi_windows_test name)
  cmake_parse_arguments(PARSE_ARGV 1 TEST "OWN_MAIN" "" "LOCKS;SOURCES")
  if(WIN32)
    add_executable(${name} ${TEST_SOURCES})
    if(TEST_OWN_MAIN)
      target_link_libraries(${name} PRIVATE quolvi_app quolvi_test_support gtest)
    else()
      target_link_libraries(${name} PRIVATE quolvi_app quolvi_test_support gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE quolvi_warnings)
    set(command $<TARGET_FILE:${name}>)
  elseif(QUOLVI_WINDOWS_BUILDS)
    set(command ${QUOLVI_WINE_RUN} ${QUOLVI_WINDOWS_TEST_DIR}/${name}.exe)
  else()
    return()
  endif()
  quolvi_test_cases(cases ${TEST_SOURCES})
  foreach(case ${cases})
    add_test(NAME ${case} COMMAND ${command} --gtest_filter=${case})
    # A case that the program does not know runs nothing, which fails.
    set_tests_properties(${case} PROPERTIES LABELS "wine;${name}" TIMEOUT 300
                         FAIL_REGULAR_EXPRESSION "Running 0 tests" SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
    if(TEST_LOCKS)
      set_tests_properties(${case} PROPERTIES RESOURCE_LOCK "${TEST_LOCKS}")
    endif()
  endforeach()
endfunction()
