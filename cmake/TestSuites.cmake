# The rules every test build follows: a test program that CTest is to run is
# named in <build>/test-programs.txt, which scripts/test compares with what
# CTest lists; every folder of tests/ must belong to a test program; and a
# missing prerequisite of a suite stops the configure step instead of
# leaving the suite out.

set(ZELK_TEST_PROGRAMS_FILE ${PROJECT_BINARY_DIR}/test-programs.txt)

# zelk_expect_test_program(NAME): CTest runs the program NAME.
function(zelk_expect_test_program name)
  set_property(GLOBAL APPEND PROPERTY ZELK_TEST_PROGRAMS ${name})
endfunction()

# zelk_claim_test_folders(FOLDERS...): tests/FOLDER/*.cpp are compiled into
# a test program of this build.
function(zelk_claim_test_folders)
  set_property(GLOBAL APPEND PROPERTY ZELK_TEST_FOLDERS ${ARGN})
endfunction()

# zelk_require_for_tests(FOUND WHAT PACKAGES): with FOUND false, the suites
# of WHAT cannot be built, and a test build says which Debian packages to
# install rather than run fewer tests.
function(zelk_require_for_tests found what packages)
  if(NOT found)
    message(FATAL_ERROR "${what} need ${packages} (Debian packages): install them, "
                        "or configure with -DZELK_TESTS=OFF to build without tests")
  endif()
endfunction()

# zelk_target_found(OUT TARGET): OUT is TRUE when TARGET exists.
function(zelk_target_found out target)
  if(TARGET ${target})
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# zelk_expect_test_folders(FOLDERS...): each folder must belong to a test
# program of this build; checked when the configure step ends, which also
# writes the list of test programs.
function(zelk_expect_test_folders)
  set_property(GLOBAL PROPERTY ZELK_EXPECTED_TEST_FOLDERS ${ARGN})
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL zelk_finish_test_build)
endfunction()

function(zelk_finish_test_build)
  get_property(expected GLOBAL PROPERTY ZELK_EXPECTED_TEST_FOLDERS)
  get_property(claimed GLOBAL PROPERTY ZELK_TEST_FOLDERS)
  foreach(folder IN LISTS expected)
    if(NOT folder IN_LIST claimed)
      message(FATAL_ERROR "tests/${folder} holds tests that no test program of this build compiles")
    endif()
  endforeach()
  get_property(programs GLOBAL PROPERTY ZELK_TEST_PROGRAMS)
  list(JOIN programs "\n" text)
  file(WRITE ${ZELK_TEST_PROGRAMS_FILE} "${text}\n")
endfunction()

# The folders of tests/ that hold sources, but for EXCLUDED ones.
function(zelk_test_folders out)
  file(GLOB entries LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tests/*)
  set(folders)
  foreach(entry IN LISTS entries)
    get_filename_component(folder ${entry} NAME)
    file(GLOB sources ${entry}/*.cpp)
    if(IS_DIRECTORY ${entry} AND sources AND NOT folder IN_LIST ARGN)
      list(APPEND folders ${folder})
    endif()
  endforeach()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# A list that no test build left behind in a build folder that now has none.
if(NOT ZELK_TESTS)
  file(REMOVE ${ZELK_TEST_PROGRAMS_FILE})
endif()

# zelk_use_test_header(TARGET): TARGET's sources start from the GoogleTest
# header compiled once per build (zelk_test_pch), the bulk of what each test
# source would parse on its own.
function(zelk_use_test_header target)
  if(NOT TARGET zelk_test_pch)
    set(source ${PROJECT_BINARY_DIR}/zelk_test_pch.cpp)
    if(NOT EXISTS ${source})
      file(WRITE ${source} "int main() { return 0; }\n")
    endif()
    add_executable(zelk_test_pch ${source})
    target_link_libraries(zelk_test_pch PRIVATE GTest::gtest)
    target_precompile_headers(zelk_test_pch PRIVATE <gtest/gtest.h> <algorithm> <random>)
  endif()
  target_precompile_headers(${target} REUSE_FROM zelk_test_pch)
endfunction()

# zelk_test_suite(NAME DIR DEPS...): one GoogleTest binary from tests/DIR/*.cpp
function(zelk_test_suite name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  zelk_claim_test_folders(${dir})
  zelk_expect_test_program(${name})
  # Every suite runs on the headless backend.
  target_link_libraries(${name} PRIVATE ${ARGN} ${ZELK_BACKEND} GTest::gtest GTest::gtest_main)
  zelk_use_test_header(${name})
  # Files of the source tree by absolute path: __FILE__ is relative when
  # ccache rewrites paths below its base directory.
  target_compile_definitions(${name} PRIVATE ZELK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(TARGET Zelk)
    # Host-like tests load the built plug-in the way a host does.
    add_dependencies(${name} Zelk)
    set(plugin_env "ZELK_PLUGIN=$<TARGET_FILE:Zelk>")
    # Run by hand, they find the plug-in of their own build (tests/support/BuiltPlugin.h).
    target_compile_definitions(${name} PRIVATE ZELK_BUILT_PLUGIN="$<TARGET_FILE:Zelk>")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${plugin_env}")
endfunction()
