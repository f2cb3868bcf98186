# Included by tests/CMakeLists.txt in cross builds for Windows. Debian ships
# no GoogleTest for MinGW, so it is built here from its source package. The
# suites that load the built plug-in through its entry point, as a host does
# (tests/host, tests/stress, and tests/windows for what the plug-in takes
# from the Windows system), become Windows programs; CTest runs them through
# CMAKE_CROSSCOMPILING_EMULATOR, Wine (see cmake/toolchains/).

set(ZELK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for the target system")
if(NOT EXISTS ${ZELK_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "The Windows tests need the GoogleTest sources (Debian: googletest) in ${ZELK_GOOGLETEST_SOURCE}")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${ZELK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The folders of tests/ that the Windows programs below compile, each of
# which must belong to one of them.
zelk_expect_test_folders(host stress windows win32 windowsystem)

# zelk_windows_host_suite(NAME DIRS... LIBS libraries...)
function(zelk_windows_host_suite name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  add_executable(${name} ${sources})
  zelk_claim_test_folders(${ARG_DIRS})
  zelk_expect_test_program(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_dependencies(${name} Zelk)
  target_compile_definitions(${name} PRIVATE ZELK_BUILT_PLUGIN="Z:$<TARGET_FILE:Zelk>")
  add_test(NAME ${name} COMMAND ${name})
  # A drive path: Wine maps Z: to the root of the build machine.
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "ZELK_PLUGIN=Z:$<TARGET_FILE:Zelk>" TIMEOUT 300)
endfunction()

zelk_windows_host_suite(host_tests DIRS host windows LIBS zelk_host_session)
zelk_windows_host_suite(stress_tests DIRS stress LIBS zelk_host_session)
# The Win32 window backend itself, with a toolkit form in a host's window,
# and the window-system conformance suite with its Win32 driver.
zelk_windows_host_suite(win32_window_tests DIRS win32 windowsystem LIBS zelk_toolkit zelk_dib zelk_win32_host_windows zelk_host_session ${ZELK_BACKEND})
# Editors of the built plug-in driven from several threads at once, each in
# a host window of its own thread (tests/support/HostWindow.h).
zelk_windows_host_suite(editor_thread_tests DIRS editorthreads LIBS zelk_win32_host_windows zelk_host_session)
target_sources(editor_thread_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/win32/HostWindowWin32.cpp)
