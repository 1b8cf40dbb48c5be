# Settings shared by every target of the project: language level, warnings,
# Qt strictness and the sanitizer builds.
add_library(quill_options INTERFACE)
target_compile_features(quill_options INTERFACE cxx_std_20)
target_compile_options(quill_options INTERFACE -Wall -Wextra -Wpedantic)
# Boost headers use "signals" and "slots" as identifiers.
target_compile_definitions(quill_options INTERFACE
  QT_NO_KEYWORDS
  QT_NO_CAST_TO_ASCII
  QT_NO_URL_CAST_FROM_STRING
  BOOST_BIND_GLOBAL_PLACEHOLDERS)

if(QUILL_SANITIZE)
  set(quill_sanitize_flags -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(quill_options INTERFACE ${quill_sanitize_flags})
  target_link_options(quill_options INTERFACE ${quill_sanitize_flags})
endif()

if(QUILL_TSAN)
  set(quill_tsan_flags -fsanitize=thread -fno-omit-frame-pointer)
  target_compile_options(quill_options INTERFACE ${quill_tsan_flags})
  target_link_options(quill_options INTERFACE ${quill_tsan_flags})
endif()

# libFuzzer builds: every library the fuzz targets link gets coverage
# instrumentation and ASan/UBSan; the targets add -fsanitize=fuzzer themselves.
if(QUILL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILL_FUZZ needs clang (libFuzzer), e.g. CC=clang-14 CXX=clang++-14")
  endif()
  target_compile_options(quill_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quill_options INTERFACE -fsanitize=address,undefined)
endif()
