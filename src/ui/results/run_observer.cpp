#include "ui/results/run_observer.h"

#include <QCoreApplication>

namespace kx::ui {

// Parts of the toolkit leave the upper halves of the AVX registers in use;
// until they are cleared, every exp() of the fit pays a transition penalty
// (measured: the whole run four times slower). Clearing them is one
// instruction, done when a run starts and after each round of events.
void ClearUpperVectorState() {
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx")) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

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
    ClearUpperVectorState();
    clock_.start();
}

void RunObserver::cubicSolved() {
    if (cubicSeen_) return;
    cubicSeen_ = true;
    if (onFirstCubic) onFirstCubic();
}

}  // namespace kx::ui
