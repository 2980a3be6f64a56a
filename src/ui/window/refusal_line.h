#pragma once

#include <QString>

#include "core/data/data_set.h"

namespace kx::ui {

// The line a refused preparation names, after the window's fixed message:
// " (Line 3)", or " (Line 3 = Line 1)" when line 3's parameter equals line 1's
// once both are stored. Empty when no line is named.
inline QString RefusalLineText(const core::PreparationRefusal& refusal) {
    if (refusal.line <= 0) return {};
    if (refusal.sameParameterAs > 0) {
        return QStringLiteral(" (Line %1 = Line %2)")
            .arg(refusal.line)
            .arg(refusal.sameParameterAs);
    }
    return QStringLiteral(" (Line %1)").arg(refusal.line);
}

// The message of a parameter the preparation cannot use: `notNumeric`, the
// window's own text, with the line it names; a parameter equal to another
// line's is a number, and has a message of its own.
inline QString ParameterRefusalText(const QString& notNumeric,
                                    const core::PreparationRefusal& refusal) {
    const QString text =
        refusal.sameParameterAs > 0 ? QStringLiteral("パラメータが同じ値") : notNumeric;
    return text + RefusalLineText(refusal);
}

}  // namespace kx::ui
