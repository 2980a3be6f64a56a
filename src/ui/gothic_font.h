#pragma once

#include <QFont>
#include <QString>

namespace kx::ui {

// The windows' font: the system's Gothic face where it exists, else an
// installed Japanese Gothic face of fixed pitch, so that the right-aligned
// columns of the result lists stay aligned.
QFont GothicFont(int pointSize = 9);

// Object name of an element of a control array: "Option1(0)".
QString ArrayName(const char* control, int index);

}  // namespace kx::ui
