# GoogleTest, built from the distribution's sources with the cross compiler.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(EXISTS ${GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(STAGETUNE_TESTS ON)
else()
  find_package(GTest QUIET)
  if(GTest_FOUND)
    add_library(gtest ALIAS GTest::gtest)
    add_library(gmock ALIAS GTest::gmock)
    set(STAGETUNE_TESTS ON)
  else()
    message(STATUS "GoogleTest not found: tests are not built")
    set(STAGETUNE_TESTS OFF)
  endif()
endif()

if(STAGETUNE_TESTS)
  enable_testing()
  include(GoogleTest)
endif()

# stagetune_add_test(<name> SOURCES <files...> [LIBS <libs...>])
# One GoogleTest executable per subsystem. Every case is a CTest test of its
# own; all of them share one wineserver, whose named kernel objects (log
# channel, board lock, single-instance mutexes) are process-global, so they
# run one after another.
function(stagetune_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE test_support ${T_LIBS} gmock gtest)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)
endfunction()

# Subfolders that carry a CMakeLists.txt of their own, but those named.
function(stagetune_add_subfolders)
  cmake_parse_arguments(S "" "" "EXCEPT" ${ARGN})
  file(GLOB lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(l ${lists})
    get_filename_component(d ${l} DIRECTORY)
    get_filename_component(name ${d} NAME)
    if(NOT name IN_LIST S_EXCEPT)
      add_subdirectory(${d})
    endif()
  endforeach()
endfunction()
