# Sources of the plot window and of the painter that draws the analysis plot
# on the screen, the printer and into files.
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)

# The painter and the file export: Qt Gui without widgets, so that a program
# without windows (the command line) draws the same plot. The Japanese font
# lives here too, since the plot's texts need it; the window library gets it
# through this one.
add_library(kx_plot_painter STATIC
    japanese_font.cpp
    plot_gui.cpp
    plot_export.cpp
    plot_painter.cpp)
target_include_directories(kx_plot_painter PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kx_plot_painter PUBLIC kx_plot kx_files Qt6::Gui Qt6::Svg
                      PRIVATE kx_options)
target_sources(kx_ui PRIVATE
    plot_picture.cpp
    plot_window.cpp)
target_link_libraries(kx_ui PUBLIC kx_plot_painter)
