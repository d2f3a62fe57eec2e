# Build options shared by every target: warnings, one validated sanitizer
# switch, and the fuzz targets (clang only).

option(VENTIS_WERROR "Treat warnings as errors" OFF)
option(VENTIS_BUILD_TESTS "Build the test suite" ON)
option(VENTIS_BUILD_BENCH "Build the benchmarks" ON)
option(VENTIS_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(VENTIS_SANITIZE "none" CACHE STRING "Sanitizer build: none, address (ASan+UBSan) or thread (TSan)")
set_property(CACHE VENTIS_SANITIZE PROPERTY STRINGS none address thread)

if(NOT VENTIS_SANITIZE MATCHES "^(none|address|thread)$")
  message(FATAL_ERROR "VENTIS_SANITIZE must be none, address or thread, not '${VENTIS_SANITIZE}'")
endif()

add_compile_options(-Wall -Wextra -Wpedantic)
if(VENTIS_WERROR)
  add_compile_options(-Werror)
endif()

# GCC's flow analysis gives false maybe-uninitialized reports inside the
# standard library once sanitizer instrumentation is in (std::regex, std::function).
if(NOT VENTIS_SANITIZE STREQUAL "none" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-maybe-uninitialized)
endif()

if(VENTIS_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(VENTIS_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(VENTIS_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VENTIS_FUZZ needs clang (libFuzzer)")
endif()
