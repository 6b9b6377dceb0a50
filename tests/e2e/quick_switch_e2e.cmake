# Switches that copy only what differs, and the window during a long switch.
plover_add_unit_test(quick_switch_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/quick_switch_e2e_test.cpp
                     LIBRARIES plover_e2e_driver LABELS e2e)
add_dependencies(quick_switch_e2e_tests Plover fake_war3)
set_tests_properties(quick_switch_e2e_tests PROPERTIES TIMEOUT 600)
