#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "ui/data_set_window.h"
#include "ui/digitizer_panel.h"
#include "ui/workspace.h"

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace kx::ui {
class Canvas;
class MainWindow;
}  // namespace kx::ui

namespace kx::test {

// The digitizer windows of one program start, on the offscreen platform.
struct Digitizer {
    Digitizer();
    ~Digitizer();

    ui::Workspace workspace;
    std::unique_ptr<ui::MainWindow> main;
    std::unique_ptr<ui::DigitizerPanel> panel;

    ui::Canvas& canvas();
    ui::DataSetWindow& dataSet();

    // A control of the panel (or of the DataSet window) by its name.
    template <typename T>
    T* panelControl(const QString& name) const {
        T* control = panel->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    template <typename T>
    T* dataSetControl(const QString& name) const {
        T* control = panel->dataSetWindow().findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    void Click(QAbstractButton* button);
    void ClickPanel(const QString& name);
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
};

// A graph picture: white, black axes from `origin` to the right by `width`
// and up by `height` pixels, and the curves drawn through `curvePixelY` (the
// y pixel of a curve at each x pixel of the X axis).
QImage DrawGraph(QSize size, QPoint origin, int width, int height,
                 const std::vector<std::function<double(int)>>& curvePixelY);

// The "X,Y" records of a point text.
std::vector<std::pair<double, double>> PointsOf(const std::string& pointText);

}  // namespace kx::test
