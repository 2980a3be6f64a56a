#include "ui/run_observer.h"

#include <QCoreApplication>

namespace kx::ui {

void RunObserver::begin() {
    stopRequest_ = false;
    cubicSeen_ = false;
    eventRounds_ = 0;
    clock_.invalidate();
}

void RunObserver::yieldEvents() {
    if (clock_.isValid() && clock_.elapsed() < intervalMs_) return;
    if (beforeEvents) beforeEvents();
    ++eventRounds_;
    QCoreApplication::processEvents();
    clock_.start();
}

void RunObserver::cubicSolved() {
    if (cubicSeen_) return;
    cubicSeen_ = true;
    if (onFirstCubic) onFirstCubic();
}

}  // namespace kx::ui
