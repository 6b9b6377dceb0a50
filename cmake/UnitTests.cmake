# GoogleTest executables of ours, registered the same way in every build.
#
#   plover_add_unit_test(<target> <source>... [LIBRARIES <library>...]
#                        [LABELS <label>...])
#
# Builds <target> from the sources with our warnings, links the libraries and
# GoogleTest's main, and registers it: natively each test case on its own
# (gtest_discover_tests), in the Windows builds the whole program as one test
# under Wine (plover_add_wine_test, named <target>). Anything else (more
# definitions, dependencies, TIMEOUT, a Wine lane) is set on the target or the
# test afterwards.
include_guard(GLOBAL)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WineTests.cmake)
else()
  include(GoogleTest)
endif()

function(plover_add_unit_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBRARIES;LABELS")
  if(NOT arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "plover_add_unit_test(${target}): no sources")
  endif()
  add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE ${arg_LIBRARIES} GTest::gtest_main plover_warnings)
  if(WIN32)
    plover_add_wine_test(${target} LABELS ${arg_LABELS})
  else()
    set(properties)
    if(arg_LABELS)
      set(properties PROPERTIES LABELS "${arg_LABELS}")
    endif()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 ${properties})
  endif()
endfunction()
