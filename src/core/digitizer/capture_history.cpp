#include "core/digitizer/capture_history.h"

namespace kx::core {
namespace {

// Ten full lines captured several times over; older steps go first.
constexpr std::size_t kMostSteps = 5000;

}  // namespace

void CaptureHistory::Record(CaptureStep step) {
    if (done_.size() == kMostSteps) done_.erase(done_.begin());
    done_.push_back(std::move(step));
    undone_.clear();
}

void CaptureHistory::AmendLast(LineState after) {
    if (!done_.empty()) done_.back().after = std::move(after);
}

std::optional<CaptureStep> CaptureHistory::Undo() {
    if (done_.empty()) return std::nullopt;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return undone_.back();
}

std::optional<CaptureStep> CaptureHistory::Redo() {
    if (undone_.empty()) return std::nullopt;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return done_.back();
}

void CaptureHistory::Clear() {
    done_.clear();
    undone_.clear();
}

}  // namespace kx::core
