#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/plot/analysis_plot.h"
#include "render/plot_export.h"
#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;

namespace kx::ui {

class PlotPicture;

// The plot window "ＰＬＯＴ画面": the analysis plot of the prepared data and,
// while fit results are current, of the fitted curves. The user sets the X
// range and the scales, redraws, writes the parameter values onto the plot,
// returns to the standard range, prints, and saves the plot as a PDF, SVG or
// PNG file through the save window. Opened from the program-generation
// window, which stays disabled until this window goes back.
class PlotWindow : public ChildWindow {
    Q_OBJECT
public:
    PlotWindow(Workspace& workspace, QWidget* mainWindow);
    ~PlotWindow() override;

    const PlotPicture& picture() const { return *picture_; }
    // What the picture shows: the layout of its last pass (none while closed).
    const std::optional<core::PlotPass>& lastPass() const { return lastPass_; }
    bool labelsShown() const { return labelsShown_; }
    // The boxes and checks of the picture shown last.
    const core::PlotSettings& shownSettings() const { return lastSettings_; }
    // What a session keeps: the boxes and checks as they stand and whether the
    // parameter values are written on; while the window is closed, those of
    // the picture it showed last.
    core::PlotSettings CurrentSettings() const;
    bool CurrentLabels() const;
    // A session's settings, taken by the boxes and checks at once when the
    // window is open, or at its next opening in place of the data's range;
    // settings without an X range leave the opening to the data.
    void RestoreSettings(const core::PlotSettings& settings, bool labels);

    // The plot on a printer, as "Print" draws it on the default printer; the
    // page is ended (printed) here. False, with the message shown, when the
    // printer cannot be started.
    bool PrintOn(QPrinter& printer);
    // What the picture shows, written into a file as SavePlot writes it,
    // without a message: the save window tells how it went.
    render::PlotFileResult WritePicture(const std::string& path);

public slots:
    void Redraw();                // "再 描 画"
    void ShowParameterLabels();   // "Para表示"
    void RestoreStandardRange();  // "標準座標"
    void Print();                 // "Print": on the default printer
    // Writes what the picture shows into a PDF, SVG or PNG file, by the
    // name's extension; the message line tells how it went.
    bool SavePlot(const QString& path);

signals:
    void saveRequested();  // "File保存": the save window names the file

protected:
    void Opening() override;
    bool CanReturn() override { return !drawing_; }
    void Returning() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class PassObserver;

    core::PlotSettings BoxSettings() const;
    void SetLogChecksFromAxes();
    // A pass onto a new picture of the picture's size, with or without the
    // parameter labels. A pass asked for while one runs (a resize while the
    // pass lets events run) is drawn again when that one ends.
    void DrawPicture(const core::PlotSettings& settings, bool labels);
    void DrawLabelsOnPicture();
    void Arrange();
    void ShowMessage(const QString& text, bool fault);
    // The test before a pass; a refused logarithmic X axis is said.
    bool PassAccepted(const core::PlotSettings& settings);

    Workspace& workspace_;
    PlotPicture* picture_;
    QLineEdit* xMinBox_;
    QLineEdit* xMaxBox_;
    QLineEdit* yMinBox_;
    QLineEdit* yMaxBox_;
    QCheckBox* xLogBox_;
    QCheckBox* yLogBox_;
    QLabel* message_;
    std::vector<QWidget*> boxRow_;     // the captions, boxes and checks, from the left
    std::vector<QWidget*> buttonRow_;  // the buttons from the left; "戻 る" stands at the right
    QWidget* backButton_;
    std::unique_ptr<PassObserver> observer_;

    float standardXMin_ = 0.0f;  // the X range found at opening, for "標準座標"
    float standardXMax_ = 0.0f;
    std::optional<core::PlotPass> lastPass_;
    core::PlotSettings lastSettings_;  // of the picture shown
    bool labelsShown_ = false;
    bool labelsLeft_ = false;  // the labels of the picture shown when the window went
    // A session's settings waiting for the next opening.
    std::optional<core::PlotSettings> restored_;
    bool restoredLabels_ = false;
    bool drawing_ = false;
    bool redrawWanted_ = false;
};

}  // namespace kx::ui
