list(APPEND KX_UI_RESULTS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/run_observer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gauge_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/conditions_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exclusion_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keyboard_window.cpp)
