# Switches that copy only what differs, and the window during a long switch.
add_executable(quick_switch_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/quick_switch_e2e_test.cpp)
target_link_libraries(quick_switch_e2e_tests PRIVATE plover_e2e_driver GTest::gtest_main)
target_compile_options(quick_switch_e2e_tests PRIVATE ${PLOVER_WARNINGS})
add_dependencies(quick_switch_e2e_tests Plover fake_war3)
plover_add_wine_test(quick_switch_e2e_tests LABELS e2e)
set_tests_properties(quick_switch_e2e_tests PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
