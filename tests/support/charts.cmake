# The charts the tracing is measured on, drawn with the toolkit's painter:
# for the tests and for the tracing benchmarks, also in a build without tests.
if(KX_BUILD_UI)
    find_package(Qt6 REQUIRED COMPONENTS Gui)
    add_library(kx_test_charts STATIC ${PROJECT_SOURCE_DIR}/tests/support/test_charts.cpp
        ${PROJECT_SOURCE_DIR}/tests/support/trace_charts.cpp)
    target_include_directories(kx_test_charts PUBLIC ${PROJECT_SOURCE_DIR}/tests/support
                               ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kx_test_charts PUBLIC Qt6::Gui kx_trace kx_digitizer kx_codegen
                          PRIVATE kx_options)
endif()
