# Sources of the load and save windows.
target_sources(kx_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/file_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/load_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/save_window.cpp
    # The check of the generated program against the points, saved through
    # the save window.
    ${CMAKE_CURRENT_LIST_DIR}/validation_window.cpp)
