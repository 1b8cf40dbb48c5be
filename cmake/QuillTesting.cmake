# Registers test executables with CTest.
#
#   quill_add_gtest(<name> SOURCES ... [LIBS ...] [WIDGETS] [TIMEOUT s] [LABELS ...])
#     A GoogleTest executable. WIDGETS links a main() that creates a
#     QApplication and runs the tests on Qt's offscreen platform.

include(GoogleTest)
find_package(GTest REQUIRED)

# The sanitizer builds read their options from here: one suppressions file
# per sanitizer, for libraries that are not ours, so that any report from our
# own code fails its test.
set(quill_sanitizer_dir ${CMAKE_SOURCE_DIR}/cmake/sanitizers)
set(QUILL_TEST_ENVIRONMENT
  QT_QPA_PLATFORM=offscreen
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "LSAN_OPTIONS=suppressions=${quill_sanitizer_dir}/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${quill_sanitizer_dir}/tsan.supp")

add_library(quill_gtest_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/gtest_main.cpp)
target_link_libraries(quill_gtest_main PUBLIC quill_options GTest::gtest)
add_library(quill_gtest_qt_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/gtest_qt_main.cpp)
target_link_libraries(quill_gtest_qt_main PUBLIC quill_options GTest::gtest Qt6::Widgets)

add_library(quill_test_support STATIC
  ${CMAKE_SOURCE_DIR}/tests/support/FreePort.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/TempDir.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/TestNetwork.cpp)
target_include_directories(quill_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
target_link_libraries(quill_test_support PUBLIC quill_options Boost::system Threads::Threads)

# One log per test program, in a temporary folder, with std::clog capture. An
# object library, so that the log's set-up is linked even where a program only
# needs the set-up.
add_library(quill_test_log OBJECT ${CMAKE_SOURCE_DIR}/tests/support/TestLog.cpp)
target_link_libraries(quill_test_log PUBLIC quill_options quill_test_support quill_log GTest::gtest)

function(quill_add_gtest name)
  cmake_parse_arguments(arg "WIDGETS" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 120)
  endif()
  add_executable(${name} ${arg_SOURCES})
  if(arg_WIDGETS)
    target_link_libraries(${name} PRIVATE quill_gtest_qt_main)
  else()
    target_link_libraries(${name} PRIVATE quill_gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE quill_options quill_test_support GTest::gtest GTest::gmock ${arg_LIBS})
  target_compile_definitions(${name} PRIVATE QUILL_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${arg_TIMEOUT} LABELS "${arg_LABELS}")
  # PROPERTIES reaches the discovered tests as one flat list, which cuts a
  # list-valued ENVIRONMENT after its first entry: set it from a script that
  # CTest runs after the discovery, on the test names it found.
  set(environment_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${environment_script}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[${QUILL_TEST_ENVIRONMENT}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_script})
endfunction()
