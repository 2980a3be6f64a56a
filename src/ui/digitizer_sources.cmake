list(APPEND KX_UI_DIGITIZER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/controls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data_set_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/digitizer_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/japanese_font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel_calibration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel_canvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pointers.cpp)
