#include "ui_harness.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <filesystem>
#include <fstream>
#include <memory>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/files/load_window.h"
#include "ui/files/save_window.h"

// The font library keeps a few blocks of its own to the end of the process
// without a pointer to them; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}

namespace kx::test {
namespace {

// The offscreen platform with a screen of 1366 x 768, the smallest the
// windows must fit on; another platform (xcb for screenshots) as it is.
std::vector<std::string> PlatformArguments() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen") return {};
    // One file a test program: test programs run side by side.
    const std::filesystem::path config =
        std::filesystem::temp_directory_path() /
        ("kx_ui_screen_" + std::to_string(QCoreApplication::applicationPid()) + ".json");
    std::ofstream(config) << R"({"screens": [{"name": "screen", "x": 0, "y": 0,)"
                          << R"( "width": 1366, "height": 768, "logicalDpi": 96,)"
                          << R"( "logicalBaseDpi": 96, "dpr": 1}]})";
    return {"-platform", "offscreen:configfile=" + config.string()};
}

// One application for the whole test program, made before the first test.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        arguments_ = {"kx_ui_tests"};
        for (const std::string& argument : PlatformArguments()) arguments_.push_back(argument);
        for (std::string& argument : arguments_) argv_.push_back(argument.data());
        argv_.push_back(nullptr);
        argc_ = static_cast<int>(arguments_.size());
        app_ = std::make_unique<QApplication>(argc_, argv_.data());
        // The platform has read its screen; the file is not needed any more.
        if (arguments_.size() > 1) {
            std::error_code ignored;
            std::filesystem::remove(arguments_.back().substr(arguments_.back().find('=') + 1),
                                    ignored);
        }
    }
    void TearDown() override { app_.reset(); }

private:
    std::vector<std::string> arguments_;
    std::vector<char*> argv_;
    int argc_ = 0;
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QApplication& App() {
    return *qApp;
}

void Click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void Click(const QObject& root, const QString& name) {
    if (QWidget* widget = Find<QWidget>(root, name)) Click(widget);
}

void Tick(const QObject& root, const QString& name) {
    QWidget* widget = Find<QWidget>(root, name);
    if (widget != nullptr) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
    }
}

void MoveOver(QWidget* widget, QPoint pos) {
    if (pos.x() < 0) pos = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QStringList Items(const QObject& root, const QString& list) {
    QStringList out;
    if (const QAbstractItemView* view = Find<QAbstractItemView>(root, list)) {
        const QAbstractItemModel& rows = *view->model();
        for (int i = 0; i < rows.rowCount(); ++i) out << rows.index(i, 0).data().toString();
    }
    return out;
}

QPoint RowCentre(const QAbstractItemView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
}

QStringList ToQ(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out;
}

QImage DrawGraph(QSize size, QPoint origin, int width, int height,
                 const std::vector<std::function<double(int)>>& curvePixelY) {
    QImage picture = BlankPicture(size);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(origin, origin + QPoint(width, 0));
    painter.drawLine(origin, origin - QPoint(0, height));
    painter.setPen(QPen(Qt::blue, 1));
    for (const auto& curve : curvePixelY) {
        QPointF last(origin.x(), curve(origin.x()));
        for (int x = origin.x() + 1; x <= origin.x() + width; ++x) {
            const QPointF next(x, curve(x));
            painter.drawLine(last, next);
            last = next;
        }
    }
    return picture;
}

QImage BlankPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

std::vector<std::pair<double, double>> PointsOf(const std::string& pointText) {
    std::vector<std::pair<double, double>> points;
    for (std::string_view line : core::SplitCrLfLines(pointText)) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) continue;
        points.emplace_back(core::ValueOfText(line.substr(0, comma)),
                            core::ValueOfText(line.substr(comma + 1)));
    }
    return points;
}

Session::Session(ui::DriveSource drives, const QString& recoveryFolder)
    : desktop(workspace, std::move(drives), recoveryFolder) {
    desktop.mainWindow().move(0, 0);
    desktop.Start();
    QCoreApplication::processEvents();
}

ui::Canvas& Session::canvas() {
    return main().canvas();
}

void Session::ClickPanel(const QString& name) {
    Click(panelControl<QAbstractButton>(name));
}

void Session::ClickDataSet(const QString& name) {
    Click(dataSetControl<QAbstractButton>(name));
}

void Session::MovePointer(QPoint pixel) {
    MoveOver(&canvas(), pixel);
    // The live display runs its conversion on every second tick.
    panel().UpdateLiveDisplay();
    panel().UpdateLiveDisplay();
}

void Session::ClickCanvasPixel(QPoint pixel) {
    MovePointer(pixel);
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, pixel);
}

void Session::Type(QLineEdit* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
        return;
    }
    QTest::keyClicks(box, text);
}

void Session::TypeInto(const QString& name, const QString& text) {
    Type(panelControl<QLineEdit>(name), text);
}

void Session::PastePicture(const QImage& picture) {
    QApplication::clipboard()->setImage(picture);
    ClickPanel(panel::kPasteButton);
}

void Session::PlacePoint(int box, QPoint pixel) {
    ClickPanel(panel::kPointBox[box]);
    ClickCanvasPixel(pixel);
}

void Session::Calibrate(const QImage& picture, const GraphFrame& frame) {
    PastePicture(picture);
    PlacePoint(core::kPickXmin, frame.origin);
    TypeInto(panel::kValueBox[core::kPickXmin], frame.xmin);
    TypeInto(panel::kValueBox[core::kPickYmin], frame.ymin);
    PlacePoint(core::kPickXmax, frame.xEnd);
    TypeInto(panel::kValueBox[core::kPickXmax], frame.xmax);
    PlacePoint(core::kPickYmax, frame.yEnd);
    TypeInto(panel::kValueBox[core::kPickYmax], frame.ymax);
    ASSERT_EQ(workspace.calibration.calibrationConfirmed, 1);
}

void Session::StartCapture(const GraphFrame& frame) {
    Calibrate(BlankPicture(), frame);
    ClickPanel(panel::kCaptureButton);
    ASSERT_EQ(workspace.data.captureMode, 1);
}

namespace {

QListWidgetItem* ItemOf(QListWidget* list, const QString& text) {
    if (list == nullptr) return nullptr;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text() == text) return list->item(row);
    }
    return nullptr;
}

void ClickItem(QListWidget* list, QListWidgetItem* item, bool twice) {
    list->scrollToItem(item);
    const QPoint place = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place);
}

}  // namespace

bool ClickFile(QWidget& window, const QString& name, bool twice) {
    auto* list = Find<QListWidget>(window, fw::kFileList);
    QListWidgetItem* item = ItemOf(list, name);
    if (item == nullptr) return false;
    ClickItem(list, item, twice);
    return true;
}

bool ClickFolder(QWidget& window, const QString& folder) {
    auto* list = Find<QListWidget>(window, fw::kFolderList);
    for (int row = 0; list != nullptr && row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toString() == folder) {
            ClickItem(list, list->item(row), false);
            return true;
        }
    }
    return false;
}

void FinishSaving(ui::SaveWindow& window) {
    for (int tick = 0; tick < 100 && window.saving(); ++tick) window.BlinkSavingMessage();
    EXPECT_FALSE(window.saving());
}

void SaveAs(ui::SaveWindow& window, const QString& name) {
    auto* box = Find<QLineEdit>(window, fw::kNameBox);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, name);
    Click(window, sn::kSaveButton);
    if (!window.offering()) return;
    Click(window, sn::kConfirmButton);
    FinishSaving(window);
}

QString ScreenshotFolderOrSkip() {
    const QString folder = qEnvironmentVariable("KX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        [] { GTEST_SKIP() << "KX_SCREENSHOT_DIR not set"; }();
        return folder;
    }
    QDir().mkpath(folder);
    return folder;
}

void SaveFramedWindow(QWidget& window, const QString& folder, const char* name) {
    QTest::qWait(500);
    const QRect frame = window.frameGeometry();
    const QString file = folder + "/" + name + ".png";
    EXPECT_TRUE(QGuiApplication::primaryScreen()
                    ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                    .save(file))
        << file.toStdString();
}

}  // namespace kx::test
