#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QPointF>

#include <functional>
#include <memory>

// The tracing core's types stay out of this header: their names meet those
// of the plot core in the windows that include both.
namespace kx::core {
struct TraceResult;
}

namespace kx::ui {

// What a press in the tracing mode asked for: the curve under `seed` traced
// into `line`.
struct TraceRequest {
    int line = 0;
    QPointF seed;  // canvas units
    int pointCount = 0;
    double tolerance = 0;
};

// Runs a trace away from the window's thread: on a large scan it takes longer
// than a frame. The picture is shared with the worker, which only reads it;
// the buffer in the tracing's byte order is made there once per picture and
// kept for the next trace. The result is handed to the receiver on the
// thread that started the trace. One trace at a time; a trace whose picture
// has gone ends unseen, and destruction waits for a running one.
class CurveTracer {
public:
    using Receiver = std::function<void(const TraceRequest&, const core::TraceResult&)>;
    explicit CurveTracer(Receiver receiver);
    ~CurveTracer();
    CurveTracer(const CurveTracer&) = delete;
    CurveTracer& operator=(const CurveTracer&) = delete;

    // False (nothing started) while a trace is running.
    bool Start(const QImage& picture, const TraceRequest& request);
    // From Start until its result has been handed on (or dropped).
    bool running() const { return busy_; }
    // The picture changed: a running trace's result is not handed on, and the
    // kept buffer goes.
    void Drop();
    // Tracing is over for now: the kept buffer, as large as the picture, goes
    // (the next trace makes it again).
    void ReleaseBuffer();

private:
    struct Outcome {
        TraceRequest request;
        std::shared_ptr<const core::TraceResult> result;
        QImage rgb;  // the picture as traced
        qint64 key = 0;
    };
    void Finished();

    Receiver receiver_;
    QFutureWatcher<Outcome> watcher_;
    QImage rgb_;
    qint64 rgbKey_ = 0;
    bool busy_ = false;
    bool dropped_ = false;
    bool keepBuffer_ = false;
};

}  // namespace kx::ui
