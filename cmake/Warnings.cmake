# Zero warnings in our own code: every target of ours links plover_warnings
# (PRIVATE, so that nothing of it reaches the targets that link ours, nor
# GoogleTest).
include_guard(GLOBAL)

add_library(plover_warnings INTERFACE)
target_compile_options(plover_warnings INTERFACE -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports -Wrestrict for plain std::string concatenation at -O2
  # (a known false positive of that release); the warning is kept elsewhere.
  target_compile_options(plover_warnings INTERFACE -Wno-restrict)
endif()

# The list of flags that each target once added for itself is gone: a target
# that still reads it would build without them, so reading it stops the
# configuration.
function(_plover_warnings_moved variable access)
  if(access MATCHES "READ")
    message(FATAL_ERROR
            "${variable} is gone: link the target to plover_warnings instead "
            "(target_link_libraries(<target> PRIVATE plover_warnings)), or add a test "
            "executable with plover_add_unit_test().")
  endif()
endfunction()
variable_watch(PLOVER_WARNINGS _plover_warnings_moved)
