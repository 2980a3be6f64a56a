# Tests of the program-generation windows.
kx_add_test(kx_results_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/program_run_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/results_settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/results_keyboard_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/results_program_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/results_screenshot_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/results_lsan.cpp
    DEPENDS kx_ui Qt6::Test)
target_include_directories(kx_results_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
