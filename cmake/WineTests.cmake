# Windows programs as CTest tests, run under Wine through scripts/wine-run.sh.
#
#   plover_add_wine_test(<target> [NAME <test name>] [ARGS <arg>...]
#                        [TIMEOUT <seconds>] [WORKING_DIRECTORY <dir>]
#                        [ENVIRONMENT <VAR=value>...] [LABELS <label>...])
#
# Every such test requires the fixture "wine": the test wine_prefix_ready
# starts Xvfb and wineserver for this build folder first (and creates the
# prefix <build>/wineprefix, which takes a while the first time), and the test
# wine_shutdown ends them, and those of every lane, after the last Wine test.
#
#   plover_wine_lane(<n> <test>...)
#
# puts tests that drive windows with real input into lane <n>: a Wine world
# of its own (<build>/wine-lanes/<n>, see scripts/wine-run.sh) with its own
# display, pointer and keyboard. The tests of one lane run one at a time
# (RESOURCE_LOCK plover_wine_lane_<n>); tests of different lanes, and those of
# no lane, run beside each other. A test's lane is given in any folder, before
# the folder that adds the test is done.
include_guard(GLOBAL)

set(PLOVER_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
cmake_path(NORMAL_PATH PLOVER_WINE_RUN)
set(PLOVER_WINE_HOME "${CMAKE_BINARY_DIR}")
set(PLOVER_WINE_DEFAULT_TIMEOUT 300)

# A program that does nothing but stay on the Wine desktop, so that the
# desktop process (explorer.exe) is started once, detached, instead of by
# whichever test first opens a window, and lives as long as the server.
set(_plover_keeper_source "${CMAKE_BINARY_DIR}/wine_support/desktop_keeper.c")
file(CONFIGURE OUTPUT "${_plover_keeper_source}" CONTENT [=[
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  GetDesktopWindow();
  CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
]=])
add_executable(plover_wine_keeper WIN32 "${_plover_keeper_source}")
set_target_properties(plover_wine_keeper PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                    "${CMAKE_BINARY_DIR}/bin/wine_support")
target_link_libraries(plover_wine_keeper PRIVATE plover_warnings)

add_test(NAME wine_prefix_ready
         COMMAND "${PLOVER_WINE_RUN}" --home "${PLOVER_WINE_HOME}"
                 --keeper "$<TARGET_FILE:plover_wine_keeper>" --prepare)
set_tests_properties(wine_prefix_ready PROPERTIES FIXTURES_SETUP wine TIMEOUT 1200)

add_test(NAME wine_shutdown COMMAND "${PLOVER_WINE_RUN}" --home "${PLOVER_WINE_HOME}" --stop)
set_tests_properties(wine_shutdown PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)

function(plover_add_wine_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;TIMEOUT;WORKING_DIRECTORY"
                        "ARGS;ENVIRONMENT;LABELS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "plover_add_wine_test: unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_NAME)
    set(arg_NAME ${target})
  endif()
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT ${PLOVER_WINE_DEFAULT_TIMEOUT})
  endif()
  if(NOT arg_WORKING_DIRECTORY)
    set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  add_test(NAME ${arg_NAME}
           COMMAND "${PLOVER_WINE_RUN}" --home "${PLOVER_WINE_HOME}"
                   "$<TARGET_FILE:${target}>" ${arg_ARGS}
           WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}")
  set_tests_properties(${arg_NAME} PROPERTIES
    FIXTURES_REQUIRED wine
    TIMEOUT ${arg_TIMEOUT}
    ENVIRONMENT "PLOVER_WINE_KEEPER=$<TARGET_FILE:plover_wine_keeper>;LC_ALL=C.UTF-8")
  if(arg_ENVIRONMENT)
    set_property(TEST ${arg_NAME} APPEND PROPERTY ENVIRONMENT ${arg_ENVIRONMENT})
  endif()
  if(arg_LABELS)
    set_tests_properties(${arg_NAME} PROPERTIES LABELS "${arg_LABELS}")
  endif()
  set_property(GLOBAL APPEND PROPERTY PLOVER_WINE_TESTS ${arg_NAME})
  # Once the directory is done, and with it any later change of TIMEOUT.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _plover_wine_test_timeout [[${arg_NAME}]])")
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _plover_wine_test_lane [[${arg_NAME}]])")
endfunction()

function(plover_wine_lane lane)
  if(NOT lane MATCHES "^[1-9][0-9]*$")
    message(FATAL_ERROR "plover_wine_lane: a lane is a number from 1, not ${lane}")
  endif()
  foreach(test IN LISTS ARGN)
    get_property(earlier GLOBAL PROPERTY PLOVER_WINE_LANE_${test})
    if(earlier)
      message(FATAL_ERROR "plover_wine_lane: ${test} is in lane ${earlier} already")
    endif()
    set_property(GLOBAL PROPERTY PLOVER_WINE_LANE_${test} ${lane})
    set_property(GLOBAL APPEND PROPERTY PLOVER_WINE_LANED ${test})
  endforeach()
  get_property(checked GLOBAL PROPERTY PLOVER_WINE_LANES_CHECKED)
  if(NOT checked)
    # Every test given a lane must have got it, once all tests are known.
    set_property(GLOBAL PROPERTY PLOVER_WINE_LANES_CHECKED TRUE)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _plover_wine_lanes_check)
  endif()
endfunction()

function(_plover_wine_test_lane name)
  get_property(lane GLOBAL PROPERTY PLOVER_WINE_LANE_${name})
  if(lane)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "PLOVER_WINE_LANE=${lane}")
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK plover_wine_lane_${lane})
    set_property(GLOBAL APPEND PROPERTY PLOVER_WINE_LANES_GIVEN ${name})
  endif()
endfunction()

function(_plover_wine_lanes_check)
  get_property(laned GLOBAL PROPERTY PLOVER_WINE_LANED)
  get_property(tests GLOBAL PROPERTY PLOVER_WINE_TESTS)
  get_property(given GLOBAL PROPERTY PLOVER_WINE_LANES_GIVEN)
  foreach(test IN LISTS laned)
    if(NOT test IN_LIST tests)
      message(FATAL_ERROR "plover_wine_lane: no Wine test ${test}")
    elseif(NOT test IN_LIST given)
      message(FATAL_ERROR "plover_wine_lane: ${test} got its lane after its folder was done")
    endif()
  endforeach()
endfunction()

# The program is stopped a little before CTest would give up on the test, so
# that its output so far is shown and nothing it started stays behind.
function(_plover_wine_test_timeout name)
  get_test_property(${name} TIMEOUT timeout)
  if(timeout AND timeout GREATER 0)
    math(EXPR inner "${timeout} - 10")
    if(inner LESS 5)
      set(inner 5)
    endif()
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "PLOVER_WINE_TIMEOUT=${inner}")
  endif()
endfunction()
