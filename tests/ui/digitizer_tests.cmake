# Tests of the digitizer windows.
kx_add_test(kx_digitizer_ui_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/digitizer_flow_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/digitizer_refusal_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui_test_support.cpp
    DEPENDS kx_ui Qt6::Test)
