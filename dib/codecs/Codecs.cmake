# Optional picture decoders: JPEG through libjpeg and PNG through libpng,
# compiled into zelk_dib and registered at library start only when the build
# finds the library (a cross build for Windows may have neither).
find_package(JPEG)
if(JPEG_FOUND)
  target_sources(zelk_dib PRIVATE ${CMAKE_CURRENT_LIST_DIR}/JPEGDecoder.cpp)
  target_link_libraries(zelk_dib PUBLIC JPEG::JPEG)
  target_compile_definitions(zelk_dib PUBLIC ZELK_HAVE_JPEG)
endif()
find_package(PNG)
if(PNG_FOUND)
  target_sources(zelk_dib PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PNGDecoder.cpp)
  target_link_libraries(zelk_dib PUBLIC PNG::PNG)
  target_compile_definitions(zelk_dib PUBLIC ZELK_HAVE_PNG)
endif()
