#include "ui/plot/plot_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/data/numeric_text.h"
#include "core/plot/plot_contents.h"
#include "render/plot_painter.h"
#include "ui/plot/plot_names.h"
#include "ui/plot/plot_picture.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::plot;

// The picture's place in the window, in shares of the window's inner width;
// below it a strip of 1000 twips holds the controls, above it the message line.
constexpr double kPictureTop = 0.038;
constexpr double kPictureLeft = 0.0076;
constexpr double kPictureWidth = 0.9848;
constexpr int kControlStrip = 1000;
// Controls in twips: the boxes' row at the top of the strip, the buttons' row
// below it.
constexpr int kBoxRowTop = 60, kBoxHeight = 360;
constexpr int kButtonRowTop = 480, kButtonHeight = 420;
constexpr int kCaptionWidth = 510, kBoxWidth = 1200, kLogWidth = 720;
constexpr int kButtonWidth = 1200, kGap = 90, kAxisGap = 300;
constexpr int kStartWidth = 9600, kStartHeight = 10500;
constexpr int kLeastWidth = 9300, kLeastHeight = 6000;

const QColor kFaultColour(255, 0, 0);
const QColor kDoneColour(0, 0, 160);

const char* const kNoPrinter = "プリンタなし　File保存をお使い下さい";
const char* const kCannotPrint = "印刷できません。";
const char* const kCannotWrite = "書込めません。";
const char* const kBadFileName = "ﾌｧｲﾙ名不正";
const char* const kSaved = "保存しました";
const char* const kLogXRefused = "<Select Error> Ｘmax<= 0 Or Ｘmin<= 0";
const char* const kDocumentName = "解析グラフのプロット";

// The window is disabled while a pass draws, so that only the events a pass
// lets run between its sections (paints, a resize) reach it.
class DisabledDuringPass {
public:
    explicit DisabledDuringPass(QWidget& window) : window_(window) { window_.setEnabled(false); }
    ~DisabledDuringPass() { window_.setEnabled(true); }
    DisabledDuringPass(const DisabledDuringPass&) = delete;
    DisabledDuringPass& operator=(const DisabledDuringPass&) = delete;

private:
    QWidget& window_;
};

}  // namespace

// Pending events run once per curve section of a pass.
class PlotWindow::PassObserver : public core::PlotObserver {
public:
    void yieldEvents() override { QCoreApplication::processEvents(); }
};

PlotWindow::PlotWindow(Workspace& workspace, QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("ＰＬＯＴ画面")),
      workspace_(workspace),
      observer_(std::make_unique<PassObserver>()) {
    picture_ = new PlotPicture(this);
    message_ = NamedLabel(this, n::kMessage, QString(), QRect());
    SetBold(message_);
    message_->hide();

    const auto caption = [this](const char* text) {
        auto* label = Caption(this, text, QRect());
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    const auto logBox = [this](const char* name) {
        auto* box = new QCheckBox(QStringLiteral("Log"), this);
        box->setObjectName(name);
        return box;
    };
    boxRow_.push_back(caption("Xmin"));
    boxRow_.push_back(xMinBox_ = Box(this, n::kXMinBox, QRect()));
    boxRow_.push_back(caption("Xmax"));
    boxRow_.push_back(xMaxBox_ = Box(this, n::kXMaxBox, QRect()));
    boxRow_.push_back(xLogBox_ = logBox(n::kXLogBox));
    boxRow_.push_back(caption("Ymin"));
    boxRow_.push_back(yMinBox_ = Box(this, n::kYMinBox, QRect()));
    boxRow_.push_back(caption("Ymax"));
    boxRow_.push_back(yMaxBox_ = Box(this, n::kYMaxBox, QRect()));
    boxRow_.push_back(yLogBox_ = logBox(n::kYLogBox));
    // The Y range always follows the data; its boxes only show it.
    yMinBox_->setReadOnly(true);
    yMaxBox_->setReadOnly(true);

    auto* redraw = Button(this, n::kRedrawButton, "再 描 画", QRect());
    auto* labels = Button(this, n::kParameterButton, "Para表示", QRect());
    auto* standard = Button(this, n::kStandardButton, "標準座標", QRect());
    auto* print = Button(this, n::kPrintButton, "Print", QRect());
    auto* save = Button(this, n::kSaveButton, "File保存", QRect());
    auto* back = Button(this, n::kBackButton, "戻 る", QRect());
    buttonRow_ = {redraw, labels, standard, print, save};
    backButton_ = back;

    SetUpMessageTimer(n::kMessageTimer, 5000, false);
    AddMessageBox(message_);

    connect(redraw, &QPushButton::clicked, this, &PlotWindow::Redraw);
    connect(labels, &QPushButton::clicked, this, &PlotWindow::ShowParameterLabels);
    connect(standard, &QPushButton::clicked, this, &PlotWindow::RestoreStandardRange);
    connect(print, &QPushButton::clicked, this, &PlotWindow::Print);
    connect(save, &QPushButton::clicked, this, &PlotWindow::saveRequested);
    connect(back, &QPushButton::clicked, this, &PlotWindow::ReturnToOpener);
    connect(&WidgetEvents::Of(message_), &WidgetEvents::pressed, message_, &QWidget::hide);

    setMinimumSize(TwipsToPixels(kLeastWidth), TwipsToPixels(kLeastHeight));
    resize(TwipsToPixels(kStartWidth), TwipsToPixels(kStartHeight));
    Arrange();
}

PlotWindow::~PlotWindow() = default;

void PlotWindow::Arrange() {
    const int w = width();
    const int top = static_cast<int>(std::lround(kPictureTop * w));
    const int left = static_cast<int>(std::lround(kPictureLeft * w));
    const int pictureWidth = static_cast<int>(std::lround(kPictureWidth * w));
    const int pictureHeight = std::max(1, height() - TwipsToPixels(kControlStrip) - top);
    picture_->setGeometry(left, top, pictureWidth, pictureHeight);
    message_->setGeometry(left, 0, pictureWidth, top);

    // The controls in two rows from the left; "戻 る" at the right end.
    const int strip = static_cast<int>(PixelsToTwips(top + pictureHeight));
    const int start = static_cast<int>(PixelsToTwips(left));
    int x = start;
    for (QWidget* widget : boxRow_) {
        int width = kCaptionWidth;
        int gap = kGap / 2;
        if (qobject_cast<QCheckBox*>(widget)) {
            width = kLogWidth;
            gap = kAxisGap;
        } else if (qobject_cast<QLineEdit*>(widget)) {
            width = kBoxWidth;
            gap = kGap;
        }
        widget->setGeometry(TwipsRect(x, strip + kBoxRowTop, width, kBoxHeight));
        x += width + gap;
    }
    x = start;
    for (QWidget* button : buttonRow_) {
        button->setGeometry(TwipsRect(x, strip + kButtonRowTop, kButtonWidth, kButtonHeight));
        x += kButtonWidth + kGap;
    }
    const int right = static_cast<int>(PixelsToTwips(left + pictureWidth));
    backButton_->setGeometry(
        TwipsRect(right - kButtonWidth, strip + kButtonRowTop, kButtonWidth, kButtonHeight));
}

void PlotWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    Arrange();
    // The picture follows the window: drawn anew at its size, never stretched.
    const QSize shown = picture_->image().deviceIndependentSize().toSize();
    if (lastPass_ && shown != picture_->size()) DrawPicture(lastSettings_, labelsShown_);
}

core::PlotSettings PlotWindow::BoxSettings() const {
    return {xMinBox_->text().toStdString(), xMaxBox_->text().toStdString(), xLogBox_->isChecked(),
            yLogBox_->isChecked()};
}

void PlotWindow::SetLogChecksFromAxes() {
    xLogBox_->setChecked(workspace_.calibration.logX);
    yLogBox_->setChecked(workspace_.calibration.logY);
}

core::PlotSettings PlotWindow::CurrentSettings() const {
    if (restored_) return *restored_;
    return isVisible() ? BoxSettings() : lastSettings_;
}

bool PlotWindow::CurrentLabels() const {
    if (restored_) return restoredLabels_;
    return isVisible() ? labelsShown_ : labelsLeft_;
}

void PlotWindow::RestoreSettings(const core::PlotSettings& settings, bool labels) {
    restored_.reset();
    lastSettings_ = settings;
    labelsLeft_ = labels;
    if (settings.xMinText.empty() || settings.xMaxText.empty()) return;
    restored_ = settings;
    restoredLabels_ = labels;
    if (isVisible()) Opening();
}

void PlotWindow::Opening() {
    // A session's range and scales once; otherwise the data's range.
    const std::optional<core::PlotSettings> restored = std::exchange(restored_, std::nullopt);
    core::PlotSettings fromData = restored.value_or(BoxSettings());
    if (restored) fromData.xMinText = fromData.xMaxText = {};
    const core::PointBounds range = core::PlotOpeningRange(workspace_.data, fromData);
    standardXMin_ = range.xMin;
    standardXMax_ = range.xMax;
    xMinBox_->setText(restored ? QString::fromStdString(restored->xMinText)
                               : QString::fromStdString(core::SingleToPlainText(range.xMin)));
    xMaxBox_->setText(restored ? QString::fromStdString(restored->xMaxText)
                               : QString::fromStdString(core::SingleToPlainText(range.xMax)));
    yMinBox_->setText(QString::fromStdString(core::SingleToPlainText(range.yMin)));
    yMaxBox_->setText(QString::fromStdString(core::SingleToPlainText(range.yMax)));
    if (restored) {
        xLogBox_->setChecked(restored->logX);
        yLogBox_->setChecked(restored->logY);
    } else {
        SetLogChecksFromAxes();
    }
    message_->hide();
    const core::PlotSettings settings = BoxSettings();
    if (!restored || PassAccepted(settings)) DrawPicture(settings, restored && restoredLabels_);
}

void PlotWindow::Returning() {
    // The window exists while it is shown: the next opening starts afresh
    // from the data (with a family fitted meanwhile, the old X range would
    // hide it).
    for (QLineEdit* box : {xMinBox_, xMaxBox_, yMinBox_, yMaxBox_}) box->clear();
    picture_->Clear();
    lastPass_.reset();
    labelsLeft_ = labelsShown_;
    labelsShown_ = false;
}

void PlotWindow::DrawPicture(const core::PlotSettings& settings, bool labels) {
    lastSettings_ = settings;
    labelsShown_ = labels;
    if (drawing_) {
        redrawWanted_ = true;
        return;
    }
    const QScopedValueRollback<bool> drawing(drawing_, true);
    const DisabledDuringPass disabled(*this);
    do {
        redrawWanted_ = false;
        const qreal ratio = devicePixelRatioF();
        QImage image((QSizeF(picture_->size()) * ratio).toSize(), QImage::Format_RGB32);
        if (image.isNull()) return;
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        render::PainterSurface surface = render::ImageSurface(painter, image);
        lastPass_ =
            core::DrawAnalysisPlot(workspace_.data, workspace_.results, workspace_.fitCurrent,
                                   lastSettings_, false, surface, observer_.get());
        if (labelsShown_) core::DrawParameterLabels(workspace_.data, lastPass_->frame, surface);
        painter.end();
        picture_->SetImage(std::move(image));
    } while (redrawWanted_);
}

void PlotWindow::DrawLabelsOnPicture() {
    if (!lastPass_ || picture_->image().isNull()) return;
    QImage image = picture_->image();
    QPainter painter(&image);
    render::PainterSurface surface = render::ImageSurface(painter, image);
    surface.setDrawingWindow(lastPass_->window);
    core::DrawParameterLabels(workspace_.data, lastPass_->frame, surface);
    painter.end();
    picture_->SetImage(std::move(image));
    labelsShown_ = true;
}

bool PlotWindow::PassAccepted(const core::PlotSettings& settings) {
    if (core::PlotRequestAccepted(settings)) return true;
    // As the panel says it of an axis that cannot be logarithmic.
    if (core::PlotLogXRefused(settings)) ShowMessage(QString::fromUtf8(kLogXRefused), true);
    return false;
}

void PlotWindow::Redraw() {
    const core::PlotSettings settings = BoxSettings();
    if (PassAccepted(settings)) DrawPicture(settings, false);
}

void PlotWindow::ShowParameterLabels() {
    const core::PlotSettings settings = BoxSettings();
    if (PassAccepted(settings)) {
        DrawPicture(settings, true);
    } else {
        // A refused redraw still labels the picture as it stands.
        DrawLabelsOnPicture();
    }
}

void PlotWindow::RestoreStandardRange() {
    xMinBox_->setText(QString::fromStdString(core::SingleToPlainText(standardXMin_)));
    xMaxBox_->setText(QString::fromStdString(core::SingleToPlainText(standardXMax_)));
    SetLogChecksFromAxes();
}

void PlotWindow::Print() {
    if (!PassAccepted(BoxSettings())) return;
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        ShowMessage(QString::fromUtf8(kNoPrinter), true);
        return;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    PrintOn(printer);
}

bool PlotWindow::PrintOn(QPrinter& printer) {
    if (drawing_) return false;
    printer.setDocName(QString::fromUtf8(kDocumentName));
    const QScopedValueRollback<bool> drawing(drawing_, true);
    const DisabledDuringPass disabled(*this);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowMessage(QString::fromUtf8(kCannotPrint), true);
        return false;
    }
    render::PainterSurface surface = render::PaperSurface(painter, printer);
    core::DrawAnalysisPlot(workspace_.data, workspace_.results, workspace_.fitCurrent,
                           BoxSettings(), true, surface, observer_.get());
    // Ending the document sends the page to the printer.
    if (!painter.end()) {
        ShowMessage(QString::fromUtf8(kCannotPrint), true);
        return false;
    }
    return true;
}

render::PlotFileResult PlotWindow::WritePicture(const std::string& path) {
    if (!lastPass_ || drawing_) return {render::PlotFileStatus::kNotDrawn, {}};
    return render::ExportAnalysisPlot(path, workspace_.data, workspace_.results,
                                      {lastSettings_, workspace_.fitCurrent, labelsShown_});
}

bool PlotWindow::SavePlot(const QString& path) {
    if (!lastPass_ || drawing_) return false;
    const render::PlotFileResult result = WritePicture(QFile::encodeName(path).toStdString());
    switch (result.status) {
        case render::PlotFileStatus::kWritten:
            ShowMessage(
                QString::fromUtf8(kSaved) + QStringLiteral("　") + QFileInfo(path).fileName(),
                false);
            return true;
        case render::PlotFileStatus::kUnknownFormat:
            ShowMessage(QString::fromUtf8(kBadFileName), true);
            break;
        case render::PlotFileStatus::kRefused:
        case render::PlotFileStatus::kNotDrawn:
        case render::PlotFileStatus::kCannotWrite:
            ShowMessage(QString::fromUtf8(kCannotWrite), true);
            break;
    }
    return false;
}

void PlotWindow::ShowMessage(const QString& text, bool fault) {
    message_->setText(text);
    SetTextColour(message_, fault ? kFaultColour : kDoneColour);
    ShowMessageBox(message_);
}

}  // namespace kx::ui
