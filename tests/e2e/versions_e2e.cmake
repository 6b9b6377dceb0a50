# The main window's commands (loader batch file, delete, directories, key
# blocker, replay auto-save), the new-version wizard and the version editor,
# driven from the outside under Wine.
add_library(plover_e2e_extra STATIC ${CMAKE_CURRENT_LIST_DIR}/driver_extra.cpp)
target_link_libraries(plover_e2e_extra PUBLIC plover_e2e_driver)
target_link_libraries(plover_e2e_extra PRIVATE plover_warnings)

plover_add_unit_test(commands_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/commands_e2e_test.cpp
                     LIBRARIES plover_e2e_extra LABELS e2e)
add_dependencies(commands_e2e_tests Plover fake_war3)

plover_add_unit_test(versions_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/versions_e2e_test.cpp
                     LIBRARIES plover_e2e_extra LABELS e2e)
add_dependencies(versions_e2e_tests Plover fake_war3)
# The replay tests wait for several 5-second timer ticks.
set_tests_properties(commands_e2e_tests versions_e2e_tests PROPERTIES TIMEOUT 900)
