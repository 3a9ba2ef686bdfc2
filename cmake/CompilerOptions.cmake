# Warnings are errors everywhere; the sanitizer build adds ASan and UBSan to every target.
add_compile_options(-Wall -Wextra -Wpedantic -Werror)

if(SONARITH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz configuration (clang only): every library is instrumented for libFuzzer's coverage
# and both sanitizers; the fuzz targets add libFuzzer's own main (fuzz/CMakeLists.txt).
if(SONARITH_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SONARITH_FUZZ needs clang (libFuzzer); scripts/fuzz configures it")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
