# The skinned frame and buttons of Plover's windows and the help window,
# driven from the outside under Wine.
add_executable(skin_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/skin_e2e_test.cpp)
target_link_libraries(skin_e2e_tests PRIVATE plover_e2e_driver plover_skin GTest::gtest_main)
target_compile_options(skin_e2e_tests PRIVATE ${PLOVER_WARNINGS})
add_dependencies(skin_e2e_tests Plover fake_war3)

plover_add_wine_test(skin_e2e_tests)
# Real mouse input moves the one pointer of the display.
set_tests_properties(skin_e2e_tests PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
