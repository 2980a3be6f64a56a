#pragma once

#include <string>

#include "core/data/data_set.h"
#include "core/digitizer/axis_calibration.h"
#include "core/files/file_memory.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/fit_results.h"

namespace kx::ui {

// The state of one program run, made in main() and handed to every window by
// reference; tests make a fresh one.
struct Workspace {
    core::DataSet data;
    core::CalcSettings settings;
    core::FitResults results;
    core::AxisCalibration calibration;
    core::FileMemory files;  // the remembered file name and folders
    // The picture on the canvas as it was read (a pasted one as PNG), and the
    // name of its file: what a session keeps of it.
    std::string pictureName;
    std::string pictureBytes;
    // Counted up whenever the picture's bytes are replaced, so that the
    // recovery session rewrites them only then.
    int pictureGeneration = 0;
    // Fit results are current from the moment a run of the program-generation
    // window completes until the user leaves that window for the data windows;
    // only then does the plot draw the fitted curves beside the data marks.
    bool fitCurrent = false;
};

}  // namespace kx::ui
