list(APPEND KX_UI_DIGITIZER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/digitizer_panel.cpp)
