#pragma once

#include <QElapsedTimer>

#include <functional>

#include "core/fitting/fit_observer.h"

namespace kx::ui {

// Clears the upper halves of the vector registers that event processing may
// leave in use; the fit's exp() calls run several times slower until then.
void ClearUpperVectorState();

// The desktop host of a fitting run: lets pending events run at the core's
// yield points, at most once per interval so that a long run is not slowed by
// the event loop, and carries the stop request of the progress gauge.
class RunObserver : public core::FitObserver {
public:
    explicit RunObserver(int intervalMs = 30) : intervalMs_(intervalMs) {}

    // A new run: no stop request, and the first yield point lets events run.
    void begin();
    void requestStop() { stopRequest_ = true; }
    void clearStop() { stopRequest_ = false; }
    bool stopRequest() const { return stopRequest_; }
    // How often events were let run in the last run.
    int eventRounds() const { return eventRounds_; }
    // The shortest time between two rounds of events; 0 lets events run at
    // every yield point, so that a test can act at a chosen point of a run
    // however fast the build is.
    void SetEventInterval(int intervalMs) { intervalMs_ = intervalMs; }

    // Called just before the pending events run (the window shows the log so far).
    std::function<void()> beforeEvents;
    // Called on the first degree-3 solve of a run.
    std::function<void()> onFirstCubic;

    void yieldEvents() override;
    bool stopRequested() override { return stopRequest_; }
    void cubicSolved() override;

private:
    int intervalMs_;
    QElapsedTimer clock_;
    bool stopRequest_ = false;
    bool cubicSeen_ = false;
    int eventRounds_ = 0;
};

}  // namespace kx::ui
