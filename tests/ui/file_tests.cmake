# Tests of the load and save windows: files saved and loaded back through the
# windows, the listings, the programs in C and Python, the check table and the
# plot against what kuvatelix-fit writes, pictures, and the refusals the
# windows name; the check window.
kx_add_test(kx_file_window_tests SOURCES
    save_window_test.cpp
    load_window_test.cpp
    refusal_names_test.cpp
    validation_window_test.cpp
    DEPENDS kx_ui_harness)
target_compile_definitions(kx_file_window_tests PRIVATE
    KX_FIT_PROGRAM="$<TARGET_FILE:kuvatelix-fit>"
    KX_SAMPLE_FILE="${PROJECT_SOURCE_DIR}/samples/family.dat")
add_dependencies(kx_file_window_tests kuvatelix-fit)
