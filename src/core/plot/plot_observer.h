#pragma once

namespace kx::core {

// What a drawing pass asks of its host at fixed points (once per curve
// section): a desktop host lets pending events run, tests and the command line
// do nothing.
class PlotObserver {
public:
    virtual ~PlotObserver() = default;
    // Pending events may run now.
    virtual void yieldEvents() {}
};

}  // namespace kx::core
