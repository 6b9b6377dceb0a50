# The notification-area icon, the pop-up menus and Quenlock, driven from the
# outside under Wine.
add_executable(tray_e2e_tests
  ${CMAKE_CURRENT_LIST_DIR}/tray_e2e_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quenlock_e2e_test.cpp
)
target_link_libraries(tray_e2e_tests PRIVATE plover_e2e_driver GTest::gtest_main)
target_compile_options(tray_e2e_tests PRIVATE ${PLOVER_WARNINGS})
target_compile_definitions(tray_e2e_tests PRIVATE QUENLOCK_E2E_EXE="$<TARGET_FILE:Quenlock>")
add_dependencies(tray_e2e_tests Plover Quenlock fake_war3)

plover_add_wine_test(tray_e2e_tests)
# Keys typed with SendInput and a system-wide keyboard hook: nothing else may
# run beside these tests.
set_tests_properties(tray_e2e_tests PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
