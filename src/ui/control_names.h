#pragma once

#include <QLatin1String>
#include <QString>

namespace kx::ui {

// Object name of an element of a control array: "Option1(0)".
inline QString ArrayName(const char* control, int index) {
    return QString("%1(%2)").arg(QLatin1String(control)).arg(index);
}

}  // namespace kx::ui
