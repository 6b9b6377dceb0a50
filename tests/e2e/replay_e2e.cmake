# Playing replays with the versions they were recorded with, and the
# installed-version mark, driven from the outside under Wine. The versions'
# store copies of Game.dll are the small versioned DLLs of tests/support.
plover_add_unit_test(replay_e2e_tests ${CMAKE_CURRENT_LIST_DIR}/replay_e2e_test.cpp
                     LIBRARIES plover_e2e_extra LABELS e2e)
target_compile_definitions(replay_e2e_tests PRIVATE
  PLOVER_E2E_VERSIONED_DIR="${CMAKE_BINARY_DIR}/bin/versioned")
add_dependencies(replay_e2e_tests Plover fake_war3
  game_dll_1_20_4_6074 game_dll_1_24_4_6387 game_dll_1_26_0_6401)
set_tests_properties(replay_e2e_tests PROPERTIES TIMEOUT 600)
