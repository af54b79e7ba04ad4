# GoogleTest: Debian's prebuilt library on the host; built from Debian's source package for
# Windows, since no MinGW build of it is packaged.
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KAVLO_GTEST_MAIN gtest_main)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  set(KAVLO_GTEST_MAIN GTest::gtest_main)
endif()

# kavlo_add_test(NAME SOURCES... LIBS ...): one GoogleTest program.
# On the host each test case becomes a CTest test. Under Wine every program start costs time,
# so a Windows test program is one CTest test that runs all of its cases.
function(kavlo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${KAVLO_GTEST_MAIN} kavlo_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
