# Tests of the plot window and its drawing targets.

# The painter and the plot files, in a program without widgets or display.
kx_add_test(kx_plot_export_tests SOURCES
    plot_export_test.cpp
    DEPENDS kx_plot_painter kx_fitting)
target_include_directories(kx_plot_export_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/core/plot
                           ${PROJECT_SOURCE_DIR}/tests/core/files)

# The window on real widgets, and its screenshots (run by hand under a
# virtual X server with KX_SCREENSHOT_DIR set; skipped otherwise).
kx_add_test(kx_plot_window_tests SOURCES
    plot_window_test.cpp
    desktop_plot_test.cpp
    plot_screenshot_test.cpp
    DEPENDS kx_ui_harness)
target_include_directories(kx_plot_window_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/core/plot
                           ${PROJECT_SOURCE_DIR}/tests/core/files)
target_compile_definitions(kx_plot_window_tests PRIVATE
    KX_SAMPLE_FILE="${PROJECT_SOURCE_DIR}/samples/family.dat")
