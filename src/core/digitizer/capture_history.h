#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/digitizer/capture_marks.h"

// The steps of point capture that can be taken back and done again: a
// captured point, a point removed by its mark, a moved point. Each step holds
// its line's point text and marks before and after it.
namespace kx::core {

struct LineState {
    std::string pointText;
    LineMarks marks;
};

struct CaptureStep {
    int line = 0;
    LineState before;
    LineState after;
};

class CaptureHistory {
public:
    // A new step; what was undone can no longer be done again.
    void Record(CaptureStep step);
    // The last step's outcome changed again (a captured point moved by the
    // keys stays one step with its capture).
    void AmendLast(LineState after);
    const CaptureStep* Last() const { return done_.empty() ? nullptr : &done_.back(); }
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The step to take back (its `before` is the state to restore), moved to
    // the steps to do again; and the other way round.
    std::optional<CaptureStep> Undo();
    std::optional<CaptureStep> Redo();
    void Clear();

private:
    std::vector<CaptureStep> done_;
    std::vector<CaptureStep> undone_;
};

}  // namespace kx::core
