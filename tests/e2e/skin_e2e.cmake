# The skinned frame and buttons of Plover's windows and the help window,
# driven from the outside under Wine.
plover_add_unit_test(skin_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/skin_e2e_test.cpp
                     LIBRARIES plover_e2e_driver plover_shell plover_controls LABELS e2e)
add_dependencies(skin_e2e_tests Plover fake_war3)
set_tests_properties(skin_e2e_tests PROPERTIES TIMEOUT 600)
