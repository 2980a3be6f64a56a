#pragma once

#include <QApplication>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/data_sets.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/files/files_names.h"
#include "ui/results/results_names.h"
#include "ui/window/child_window.h"
#include "ui/window/desktop.h"
#include "ui/window/workspace.h"

class QAbstractButton;
class QAbstractItemView;
class QLineEdit;

// The one harness of the window tests: the application on the offscreen
// platform with a 1366 x 768 screen, finding and using controls by their
// names, a whole program session as main() makes it, and the calibration
// sequence of a drawn graph.
namespace kx::test {

// The control names of the windows, as the tests spell them.
namespace panel = ui::names::panel;
namespace data_set = ui::names::data_set;
namespace kn = ui::names::keyboard;
namespace pn = ui::names::program;
namespace gn = ui::names::gauge;
namespace cn = ui::names::conditions;
namespace en = ui::names::exclusion;
namespace fw = ui::names::file_window;
namespace ln = ui::names::load;
namespace sn = ui::names::save;
using ui::ArrayName;

QApplication& App();

// Base of window test fixtures: the application exists before any member.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() { App(); }
};

template <class T>
T* Find(const QObject& root, const QString& name) {
    T* child = root.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

// A left click in the middle of a control, as the window system delivers it.
void Click(QWidget* widget);
void Click(const QObject& root, const QString& name);
// Clicks a check box or option button on its indicator.
void Tick(const QObject& root, const QString& name);
// A mouse move over a widget (its middle unless `pos` is given).
void MoveOver(QWidget* widget, QPoint pos = {-1, -1});
// The rows of a list as it shows them, and the middle of one of them.
QStringList Items(const QObject& root, const QString& list);
QPoint RowCentre(const QAbstractItemView* view, int row);
QStringList ToQ(const std::vector<std::string>& lines);

// A picture of a graph: white, black axes from `origin` to the right by
// `width` and up by `height` pixels, and the curves drawn through
// `curvePixelY` (the y pixel of a curve at each x pixel of the X axis).
QImage DrawGraph(QSize size, QPoint origin, int width, int height,
                 const std::vector<std::function<double(int)>>& curvePixelY);
QImage BlankPicture(QSize size = QSize(800, 600));

// The "X,Y" records of a point text.
std::vector<std::pair<double, double>> PointsOf(const std::string& pointText);

// A calibration by clicks and typed values: the origin, the ends of the X and
// Y axes in picture pixels, and their values.
struct GraphFrame {
    QPoint origin{100, 500};
    QPoint xEnd{700, 500};
    QPoint yEnd{100, 100};
    QString xmin = "0", xmax = "60", ymin = "0", ymax = "40";
};

// One program start: the workspace and every window, started as main()
// starts them.
class Session {
public:
    // `drives`: the drives the load and save windows list; `recoveryFolder`:
    // where the work is recorded (none by default).
    explicit Session(ui::DriveSource drives = ui::SystemDrives,
                     const QString& recoveryFolder = {});

    ui::Workspace workspace;
    ui::Desktop desktop;

    ui::MainWindow& main() { return desktop.mainWindow(); }
    ui::DigitizerPanel& panel() { return desktop.panel(); }
    ui::DataSetWindow& dataSet() { return desktop.dataSet(); }
    ui::KeyboardWindow& keyboard() { return desktop.keyboard(); }
    ui::ProgramWindow& program() { return desktop.program(); }
    ui::LoadWindow& load() { return desktop.load(); }
    ui::SaveWindow& save() { return desktop.save(); }
    ui::Canvas& canvas();

    // A control of the panel or of the DataSet window by its name.
    template <typename T>
    T* panelControl(const QString& name) {
        return Find<T>(panel(), name);
    }
    template <typename T>
    T* dataSetControl(const QString& name) {
        return Find<T>(dataSet(), name);
    }

    void ClickPanel(const QString& name);
    void ClickDataSet(const QString& name);
    // The pointer moved onto a pixel of the picture, with two live ticks.
    void MovePointer(QPoint pixel);
    // A user's click there: the move, then press and release.
    void ClickCanvasPixel(QPoint pixel);
    void Type(QLineEdit* box, const QString& text);
    void TypeInto(const QString& name, const QString& text);
    // Puts the picture on the clipboard and presses "画像Paste".
    void PastePicture(const QImage& picture);
    // Point box `box` (1 Xmin .. 4 Ymax) on, then a click on the picture.
    void PlacePoint(int box, QPoint pixel);
    // The calibration sequence: the picture pasted, the origin clicked and its
    // values typed, then the Xmax and Ymax points; it confirms itself.
    void Calibrate(const QImage& picture, const GraphFrame& frame = {});
    // Calibrates a blank picture and starts capture.
    void StartCapture(const GraphFrame& frame = {});
};

// The folder the screenshot cases save into (KX_SCREENSHOT_DIR, made when
// missing); the case is skipped when the variable is not set.
QString ScreenshotFolderOrSkip();
// The window with its frame, once the window manager has drawn it, saved as
// `name`.png in `folder`.
void SaveFramedWindow(QWidget& window, const QString& folder, const char* name);

// The file list's entry `name` of a load or save window, clicked once or
// twice as the user does; false when the list does not show it.
bool ClickFile(QWidget& window, const QString& name, bool twice = false);
// The entry of the folder list that opens `folder` (a full name), clicked.
bool ClickFolder(QWidget& window, const QString& folder);
// The save window's blinking "保存中" run to its end, and the file written.
void FinishSaving(ui::SaveWindow& window);
// A typed name, the save button and "了解": the file is written unless a
// check stops it on the way.
void SaveAs(ui::SaveWindow& window, const QString& name);

// A window still to come (plot), standing in where one is opened: the opener
// semantics are the base's, as the real one's will be.
class StandInWindow : public ui::ChildWindow {
public:
    explicit StandInWindow(QWidget* mainWindow)
        : ui::ChildWindow(mainWindow, "StandIn", QStringLiteral("StandIn")) {}
};

}  // namespace kx::test
