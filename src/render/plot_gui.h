#pragma once

#include <memory>
#include <string>
#include <vector>

class QGuiApplication;

namespace kx::render {

// The GUI application a program without windows needs to draw the analysis
// plot into files (fonts and their metrics come from it). It runs on the
// offscreen platform whatever the environment names (QT_QPA_PLATFORM, a
// DISPLAY or none), so it works on a machine without a display, and it gives
// the C library its locale back afterwards: the toolkit would otherwise take
// the user's locale for the number conversions of the rest of the program.
class PlotGui {
public:
    explicit PlotGui(const char* programName);
    ~PlotGui();
    PlotGui(const PlotGui&) = delete;
    PlotGui& operator=(const PlotGui&) = delete;

private:
    std::vector<std::string> arguments_;
    std::vector<char*> argv_;
    int argc_ = 0;
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace kx::render
