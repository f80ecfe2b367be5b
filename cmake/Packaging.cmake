# The release, made in a Windows build by `cmake --build <dir> --target
# package`: quolvi-<version>-win32.zip (win64 from a 64-bit build) holding,
# in a folder of the same name, the program, the read-me and the licence.
# The texts are given CR LF line breaks and the read-me is converted to
# Shift-JIS, as a Japanese Windows desktop reads them.
if(NOT WIN32)
  return()
endif()

set(packaging_dir ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/readme.txt ${packaging_dir}/readme-utf8.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${packaging_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
find_program(QUOLVI_ICONV iconv)
if(QUOLVI_ICONV)
  execute_process(COMMAND ${QUOLVI_ICONV} -f UTF-8 -t CP932
    INPUT_FILE ${packaging_dir}/readme-utf8.txt OUTPUT_FILE ${packaging_dir}/readme.txt
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "packaging/readme.txt cannot be converted to Shift-JIS")
  endif()
else()
  message(WARNING "no iconv: the package's read-me stays in UTF-8")
  file(COPY_FILE ${packaging_dir}/readme-utf8.txt ${packaging_dir}/readme.txt)
endif()

install(TARGETS quolvi RUNTIME DESTINATION .)
install(FILES ${packaging_dir}/readme.txt ${packaging_dir}/LICENSE.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(windows_name win64)
else()
  set(windows_name win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quolvi)
set(CPACK_PACKAGE_VENDOR "Quolvi developers")
set(CPACK_PACKAGE_FILE_NAME quolvi-${PROJECT_VERSION}-${windows_name})
set(CPACK_STRIP_FILES ON)
include(CPack)
