# Sanitizer builds apply to every target, so the plug-in and the tests that
# load it share one runtime.
if(ZELK_SANITIZE OR ZELK_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZELK_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# With the fuzz targets, the layers and tools carry libFuzzer's coverage
# instrumentation (at -O1, its usual level), so that the fuzz targets link
# the very libraries the tests link: each source compiles once per tree.
# The test programs themselves go without it (zelk_drop_fuzz_instrumentation).
set(ZELK_FUZZ_INSTRUMENT -fsanitize=fuzzer-no-link -O1)
if(ZELK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZELK_FUZZ needs clang (Debian: clang): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(${ZELK_FUZZ_INSTRUMENT})
endif()

# Removes the fuzz instrumentation from the targets of the calling folder.
macro(zelk_drop_fuzz_instrumentation)
  get_directory_property(zelk_folder_options COMPILE_OPTIONS)
  list(REMOVE_ITEM zelk_folder_options ${ZELK_FUZZ_INSTRUMENT})
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${zelk_folder_options}")
endmacro()
