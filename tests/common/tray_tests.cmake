# The notification-area icon: its tip natively; the module on real windows
# under Wine.
add_executable(tray_tip_tests ${CMAKE_CURRENT_LIST_DIR}/tray_tip_test.cpp)
target_link_libraries(tray_tip_tests PRIVATE plover_tray GTest::gtest_main)
target_compile_options(tray_tip_tests PRIVATE ${PLOVER_WARNINGS})

if(WIN32)
  plover_add_wine_test(tray_tip_tests)
  add_executable(tray_win32_tests ${CMAKE_CURRENT_LIST_DIR}/tray_win32_test.cpp)
  target_link_libraries(tray_win32_tests PRIVATE plover_tray GTest::gtest_main)
  target_compile_options(tray_win32_tests PRIVATE ${PLOVER_WARNINGS})
  plover_add_wine_test(tray_win32_tests)
else()
  include(GoogleTest)
  gtest_discover_tests(tray_tip_tests DISCOVERY_TIMEOUT 60)
endif()
