# The notification-area icon, the pop-up menus and Quenlock, driven from the
# outside under Wine.
plover_add_unit_test(tray_e2e_tests
  ${CMAKE_CURRENT_LIST_DIR}/tray_e2e_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quenlock_e2e_test.cpp
  LIBRARIES plover_e2e_driver LABELS e2e
)
target_compile_definitions(tray_e2e_tests PRIVATE QUENLOCK_E2E_EXE="$<TARGET_FILE:Quenlock>")
add_dependencies(tray_e2e_tests Plover Quenlock fake_war3)
# Keys typed with SendInput and a keyboard hook of the whole desktop: the
# lane keeps everything else off that desktop.
set_tests_properties(tray_e2e_tests PROPERTIES TIMEOUT 600)
