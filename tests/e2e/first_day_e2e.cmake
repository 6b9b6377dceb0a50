# A new player's first day: the file dialogs, a failed first version, and a
# loader started while Plover runs, driven from the outside under Wine.
plover_add_unit_test(first_day_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/first_day_e2e_test.cpp
                     LIBRARIES plover_e2e_extra LABELS e2e)
add_dependencies(first_day_e2e_tests Plover fake_war3)
set_tests_properties(first_day_e2e_tests PROPERTIES TIMEOUT 600)
