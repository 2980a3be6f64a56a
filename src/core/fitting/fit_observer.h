#pragma once

namespace kx::core {

// What a fitting run tells its host and asks of it. The core calls these at
// fixed points (once per fitted section, once per tried partition); a desktop
// host lets pending events run there, tests and the command line do nothing.
class FitObserver {
public:
    virtual ~FitObserver() = default;
    // Pending events may run now.
    virtual void yieldEvents() {}
    // True when the user asked the run to stop.
    virtual bool stopRequested() { return false; }
    // A cubic was solved: the fitting log takes its working colour.
    virtual void cubicSolved() {}
    // The partition counter that the progress gauge shows has changed.
    virtual void partitionCounted(int /*count*/) {}
    // A section of `points` points was fitted with `candidates` forms.
    virtual void sectionFitted(int /*points*/, int /*candidates*/) {}
};

}  // namespace kx::core
