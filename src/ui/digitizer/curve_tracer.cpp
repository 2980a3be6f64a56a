#include "ui/digitizer/curve_tracer.h"

#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

#include "core/trace/curve_trace.h"
#include "ui/window/twips.h"

namespace kx::ui {
namespace {

// Three bytes of red, green and blue first in every pixel, whatever the
// machine's byte order; a picture with transparency is seen on white paper,
// as the canvas shows it.
QImage TracingBuffer(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return picture.convertToFormat(QImage::Format_RGBX8888);
    QImage paper(picture.size(), QImage::Format_RGBX8888);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, picture);
    return paper;
}

}  // namespace

CurveTracer::CurveTracer(Receiver receiver) : receiver_(std::move(receiver)) {
    QObject::connect(&watcher_, &QFutureWatcher<Outcome>::finished, &watcher_,
                     [this] { Finished(); });
}

CurveTracer::~CurveTracer() {
    watcher_.disconnect();
    // A future whose result was taken is waited for no more: it never ends.
    if (busy_) watcher_.waitForFinished();
}

bool CurveTracer::Start(const QImage& picture, const TraceRequest& request) {
    if (busy_ || picture.isNull()) return false;
    busy_ = true;
    dropped_ = false;
    keepBuffer_ = true;
    const qint64 key = picture.cacheKey();
    // Shallow copies: the worker reads the pixels the canvas shows.
    const QImage kept = key == rgbKey_ ? rgb_ : QImage();
    watcher_.setFuture(QtConcurrent::run([picture, kept, key, request] {
        Outcome outcome{request, nullptr, kept.isNull() ? TracingBuffer(picture) : kept, key};
        const QImage& rgb = outcome.rgb;
        const core::RgbImage view{rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(),
                                  4};
        const core::PicturePoint seed{request.seed.x() / kTwipsPerPixel,
                                      request.seed.y() / kTwipsPerPixel};
        outcome.result = std::make_shared<const core::TraceResult>(
            core::TraceCurve(view, seed, {request.pointCount, request.tolerance}));
        return outcome;
    }));
    return true;
}

void CurveTracer::Drop() {
    rgb_ = QImage();
    rgbKey_ = 0;
    if (busy_) dropped_ = true;
}

void CurveTracer::ReleaseBuffer() {
    rgb_ = QImage();
    rgbKey_ = 0;
    keepBuffer_ = false;
}

void CurveTracer::Finished() {
    // Taken out of the future, so that it holds no copy of the buffer.
    QFuture<Outcome> future = watcher_.future();
    const Outcome outcome = future.takeResult();
    busy_ = false;
    if (dropped_) {
        dropped_ = false;
        return;
    }
    if (keepBuffer_) {
        rgb_ = outcome.rgb;
        rgbKey_ = outcome.key;
    }
    receiver_(outcome.request, *outcome.result);
}

}  // namespace kx::ui
