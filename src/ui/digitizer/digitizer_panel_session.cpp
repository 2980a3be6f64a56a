// The panel's part of a session: the work reopened as it was left.
#include <QBuffer>
#include <QCheckBox>
#include <QImageReader>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/data/numeric_text.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"

namespace kx::ui {
namespace {

QString ValueText(float value) {
    return QString::fromStdString(core::SingleToPlainText(value));
}

}  // namespace

QString DigitizerPanel::OpenSession(const core::Session& session, const QString& caption) {
    // The picture is decoded before anything is given up for it.
    QByteArray bytes = QByteArray::fromStdString(session.pictureBytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(1024);  // MB, as for a picture file
    const QImage picture = session.pictureBytes.empty() ? QImage() : reader.read();
    if (!session.pictureBytes.empty() && picture.isNull()) return reader.errorString();

    TakePicture(picture, caption);
    workspace_.pictureName = session.pictureName;
    workspace_.pictureBytes = session.pictureBytes;
    workspace_.calibration = session.calibration;
    ShowCalibrationInControls();
    const core::AxisCalibration saved = session.calibration;
    if (saved.calibrationConfirmed && !saved.calibrationInvalid) {
        // The controls as a confirmation leaves them; the values as saved.
        ConfirmCalibration();
        workspace_.calibration = saved;
    }
    core::TakeLinesFromSession(workspace_.data, captureMarks_, session);
    TakeTracedFromSession(session);
    workspace_.settings = session.settings;
    history_.Clear();
    HideMessages();
    FollowPictureData();
    return {};
}

void DigitizerPanel::ShowCalibrationInControls() {
    const core::AxisCalibration& cal = workspace_.calibration;
    const bool placed[] = {false, cal.originXSet, cal.xMaxSet, cal.originYSet, cal.yMaxSet};
    const float values[] = {0, cal.Xmin, cal.Xmax, cal.Ymin, cal.Ymax};
    for (int box = 1; box <= 4; ++box) {
        SetPointBoxQuietly(box, placed[box]);
        const QSignalBlocker quiet(valueBox_[box]);
        valueBox_[box]->setText(placed[box] ? ValueText(values[box]) : QString());
    }
    state_.setup.pointBoxCount = CountPointBoxes();
    const bool logs[] = {cal.logX, cal.logY};
    const bool armed[] = {cal.xMidArmed, cal.yMidArmed};
    const float mids[] = {cal.Xmid, cal.Ymid};
    for (int axis = 0; axis < 2; ++axis) {
        (logs[axis] ? logOption_ : linearOption_)[axis]->setChecked(true);
        const QSignalBlocker quietBox(midPointBox_[axis]);
        const QSignalBlocker quietValue(midValueBox_[axis]);
        midPointBox_[axis]->setChecked(armed[axis]);
        midValueBox_[axis]->setText(armed[axis] ? ValueText(mids[axis]) : QString());
    }
    exponentBox_->setChecked(cal.exponentDisplay);
    DrawCalibrationMarks(true);
}

}  // namespace kx::ui
