# Sources of the load and save windows.
target_sources(kx_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/file_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/load_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/save_window.cpp)
