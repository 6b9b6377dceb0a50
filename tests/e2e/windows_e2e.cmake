# Plover as Windows players install it: the elevated run of one switch and
# the game's VirtualStore mirror, driven from the outside under Wine.
plover_add_unit_test(windows_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/windows_e2e_test.cpp
                     LIBRARIES plover_e2e_extra LABELS e2e)
add_dependencies(windows_e2e_tests Plover fake_war3)
set_tests_properties(windows_e2e_tests PROPERTIES TIMEOUT 600)
