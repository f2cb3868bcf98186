# zelk_layer(NAME DIR DEPS...): one static library per layer, built from the
# sources of its folder (sub-folders named after a platform are left to the
# layer's own CMakeLists).
function(zelk_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# zelk_test_suite(NAME DIR DEPS...): one GoogleTest binary from tests/DIR/*.cpp
function(zelk_test_suite name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  # Every suite runs on the headless backend.
  target_link_libraries(${name} PRIVATE ${ARGN} ${ZELK_BACKEND} GTest::gtest GTest::gtest_main)
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
