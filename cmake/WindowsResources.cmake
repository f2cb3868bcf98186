# Included by resources/CMakeLists.txt for Windows targets, in place of the
# generated C++ table: the product's component resources become RCDATA
# resources of the plug-in library, which the Windows backend finds with the
# system's resource functions (platform/win32/BuiltInResourceSourceWin32.cpp).
#
# zelk-resc (${resc_command}, native) compiles each of
# ${module_resource_sources} into its binary stream; WriteResourceScript.cmake
# names each stream after its root class in upper case in one resource
# script; windres compiles the script.

set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(streams)
foreach(source IN LISTS module_resource_sources)
  get_filename_component(stem ${source} NAME_WE)
  set(stream ${generated}/${stem}.bin)
  add_custom_command(
    OUTPUT ${stream}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND ${resc_command} compile ${source} -o ${stream} --depfile ${stream}.d
    DEPENDS ${source} ${resc_command}
    DEPFILE ${stream}.d
    COMMENT "Compiling the component resource ${stem}"
    VERBATIM)
  list(APPEND streams ${stream})
endforeach()

set(resource_script ${generated}/ComponentResources.rc)
add_custom_command(
  OUTPUT ${resource_script}
  COMMAND ${CMAKE_COMMAND} -D OUTPUT=${resource_script} -P ${CMAKE_CURRENT_LIST_DIR}/WriteResourceScript.cmake
          -- ${streams}
  DEPENDS ${streams} ${CMAKE_CURRENT_LIST_DIR}/WriteResourceScript.cmake
  COMMENT "Writing the resource script of the component resources"
  VERBATIM)
add_library(zelk_module_resources_rc OBJECT ${resource_script})

# A compiled resource script defines no symbol, so the linker would never
# take it from an archive: it goes straight onto the link line of every
# library and program that uses the resources. The platform's Windows
# backend finds them at run time.
add_library(zelk_module_resources INTERFACE)
target_link_libraries(zelk_module_resources INTERFACE $<TARGET_OBJECTS:zelk_module_resources_rc> zelk_platform)
add_dependencies(zelk_module_resources zelk_module_resources_rc)
