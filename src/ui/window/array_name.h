#pragma once

#include <QLatin1String>
#include <QString>

// The system's names of the windows' controls live with their window family
// (digitizer_names.h, results_names.h, plot_names.h, files_names.h); a member
// of a control array is named by ArrayName.
namespace kx::ui {

// Object name of an element of a control array: "Option1(0)".
inline QString ArrayName(const char* control, int index) {
    return QString("%1(%2)").arg(QLatin1String(control)).arg(index);
}

}  // namespace kx::ui
