# The notification-area icon: its tip natively; the module on real windows
# under Wine.
plover_add_unit_test(tray_tip_tests ${CMAKE_CURRENT_LIST_DIR}/tray_tip_test.cpp
                     LIBRARIES common_tray)
if(WIN32)
  plover_add_unit_test(tray_win32_tests ${CMAKE_CURRENT_LIST_DIR}/tray_win32_test.cpp
                       LIBRARIES common_tray_win32)
endif()
