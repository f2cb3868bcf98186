# Optional picture decoders: JPEG through libjpeg and PNG through libpng,
# compiled into zelk_dib and registered at library start only when the build
# finds the library (a cross build for Windows may have neither). Neither is
# linked: each decoder loads its library by file name with the first picture
# (CodecLibrary.h), the name of the library whose header it was built with.

# The soname of a shared library file, or its own name when it has none.
function(zelk_library_soname library result)
  get_filename_component(file ${library} REALPATH)
  get_filename_component(name ${file} NAME)
  if(CMAKE_OBJDUMP)
    execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${file} OUTPUT_VARIABLE dump ERROR_QUIET)
    if(dump MATCHES "SONAME +([^ \r\n]+)")
      set(name ${CMAKE_MATCH_1})
    endif()
  endif()
  set(${result} ${name} PARENT_SCOPE)
endfunction()

target_sources(zelk_dib PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CodecLibrary.cpp)
find_package(JPEG)
if(JPEG_FOUND)
  if(NOT JPEG_LIBRARY_RELEASE)
    set(JPEG_LIBRARY_RELEASE ${JPEG_LIBRARY})
  endif()
  zelk_library_soname(${JPEG_LIBRARY_RELEASE} jpeg_soname)
  target_sources(zelk_dib PRIVATE ${CMAKE_CURRENT_LIST_DIR}/JPEGDecoder.cpp)
  target_include_directories(zelk_dib PRIVATE ${JPEG_INCLUDE_DIRS})
  target_compile_definitions(zelk_dib PUBLIC ZELK_HAVE_JPEG PRIVATE ZELK_JPEG_SONAME="${jpeg_soname}")
endif()
find_package(PNG)
if(PNG_FOUND)
  if(NOT PNG_LIBRARY_RELEASE)
    set(PNG_LIBRARY_RELEASE ${PNG_LIBRARY})
  endif()
  zelk_library_soname(${PNG_LIBRARY_RELEASE} png_soname)
  target_sources(zelk_dib PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PNGDecoder.cpp)
  target_include_directories(zelk_dib PRIVATE ${PNG_INCLUDE_DIRS})
  target_compile_definitions(zelk_dib PUBLIC ZELK_HAVE_PNG PRIVATE ZELK_PNG_SONAME="${png_soname}")
endif()
