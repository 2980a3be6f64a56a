#include "ui/window/desktop.h"

#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "core/codegen/program_listing.h"
#include "core/files/listing.h"
#include "ui/digitizer/canvas.h"
#include "ui/window/pointers.h"
#include "ui/window/screen_place.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

// A shown window whose frame the window manager has not drawn yet would take
// a position as its client's, its title bar above it; it is placed once the
// frame is there.
bool AwaitsItsFrame(const QWidget& window, const QWidget& framed) {
    return window.isVisible() && window.windowHandle() != nullptr &&
           framed.windowHandle() != nullptr && window.windowHandle()->frameMargins().top() == 0 &&
           framed.windowHandle()->frameMargins().top() > 0;
}

// A plot file's outcome as the save window reports a write.
core::SaveOutcome SavedPlotOutcome(const render::PlotFileResult& result) {
    core::SaveOutcome outcome;
    if (!result.ok()) {
        outcome.status = core::SaveStatus::kCannotWrite;
        outcome.file = result.file;
    }
    return outcome;
}

core::ProgramLanguage SourceLanguageOf(int saveKind) {
    switch (saveKind) {
        case core::kSavePythonProgram: return core::ProgramLanguage::kPython;
        case core::kSaveMatlabProgram: return core::ProgramLanguage::kMatlab;
        case core::kSaveJavaScriptProgram: return core::ProgramLanguage::kJavaScript;
        case core::kSaveCSharpProgram: return core::ProgramLanguage::kCSharp;
        case core::kSaveFortranProgram: return core::ProgramLanguage::kFortran;
        default: return core::ProgramLanguage::kC;
    }
}

}  // namespace

Desktop::Desktop(Workspace& workspace, DriveSource drives, const QString& recoveryFolder)
    : workspace_(workspace),
      dataSet_(workspace, &main_),
      panel_(workspace, main_, clipboard_),
      gauge_(workspace),
      program_(workspace, gauge_, &main_),
      keyboard_(workspace, clipboard_, &main_),
      conditions_(workspace, &main_),
      exclusion_(workspace, &main_),
      plot_(workspace, &main_),
      validation_(workspace, &main_),
      load_(workspace, &main_, drives),
      save_(workspace, &main_, drives),
      recorder_([this](bool withPicture) { return SessionOfWork(withPicture); },
                workspace.pictureGeneration, recoveryFolder) {
    Connect();
    ConnectFileWindows();
    ConnectSessions();
}

void Desktop::Start() {
    // What the clipboard holds now was put there before this program ran.
    clipboard_.MarkPictureStale();
    dataSet_.EmptyPointBoxes();
    // Placed before it is shown, so that its frame stands where it is put.
    FollowMainWindow(main_.RightEdgeTop());
    panel_.Start();
    recorder_.Start();
    if (recorder_.cannotRecord())
        panel_.ShowMessageText(QStringLiteral("作業の記録を書込めません。"));
    OfferLeftWork();
}

void Desktop::FollowMainWindow(QPoint rightEdgeTop) {
    rightEdgeTop_ = rightEdgeTop;
    PlaceBesideMainWindow(panel_);
    PlaceBesideMainWindow(dataSet_);
}

void Desktop::PlaceBesideMainWindow(QWidget& window) {
    if (AwaitsItsFrame(window, main_)) {
        awaitingFrame_.insert(&window);
        return;
    }
    awaitingFrame_.remove(&window);
    PlaceOnScreen(window, rightEdgeTop_);
    // Beside a main window grown to the screen's edge it stands over it.
    if (window.isVisible()) window.raise();
}

void Desktop::Connect() {
    QObject::connect(&main_, &MainWindow::rightEdgeChanged, &panel_, [this](QPoint rightEdgeTop) {
        if (mainWindowReturning_ && main_.pos() != hiddenMainWindowAt_) {
            main_.move(hiddenMainWindowAt_);
            return;
        }
        FollowMainWindow(rightEdgeTop);
    });
    mainWindowReturnEnds_.setSingleShot(true);
    mainWindowReturnEnds_.setInterval(1000);
    QObject::connect(&mainWindowReturnEnds_, &QTimer::timeout, &main_,
                     [this] { mainWindowReturning_ = false; });
    for (QWidget* window : {static_cast<QWidget*>(&panel_), static_cast<QWidget*>(&dataSet_)}) {
        QObject::connect(&WidgetEvents::Of(window), &WidgetEvents::windowMoved, window,
                         [this, window] {
                             if (awaitingFrame_.contains(window)) PlaceBesideMainWindow(*window);
                         });
    }

    // The panel and the DataSet window during capture.
    QObject::connect(&panel_, &DigitizerPanel::captureStartPressed, &dataSet_,
                     [this] { dataSet_.setWindowTitle("DataSet"); });
    QObject::connect(&panel_, &DigitizerPanel::captureRequested, &dataSet_,
                     [this](int index) { dataSet_.StartCapture(&panel_, index); });
    QObject::connect(&panel_, &DigitizerPanel::lineOptionClicked, &dataSet_,
                     &DataSetWindow::FollowPanelLine);
    QObject::connect(&panel_, &DigitizerPanel::lineOptionChanged, &dataSet_,
                     &DataSetWindow::TrackPanelLine);
    QObject::connect(&panel_, &DigitizerPanel::liveValuesShown, &dataSet_,
                     &DataSetWindow::SetLiveValues);
    QObject::connect(&panel_, &DigitizerPanel::pointCaptured, &dataSet_,
                     &DataSetWindow::ShowCapturedPoint);
    QObject::connect(&panel_, &DigitizerPanel::captureRefused, &dataSet_,
                     &DataSetWindow::ShowCaptureRefusal);
    QObject::connect(&panel_, &DigitizerPanel::linesReset, &dataSet_,
                     &DataSetWindow::EmptyPointBoxes);
    QObject::connect(&dataSet_, &DataSetWindow::panelLineSelected, &panel_,
                     &DigitizerPanel::SelectLineOption);
    QObject::connect(&dataSet_, &DataSetWindow::captureStartAllowed, &panel_,
                     [this] { panel_.SetCaptureStartEnabled(true); });
    QObject::connect(&dataSet_, &DataSetWindow::panelTimersStopRequested, &panel_,
                     &DigitizerPanel::StopLiveTimer);
    QObject::connect(&dataSet_, &ChildWindow::returned, &panel_,
                     [this] { panel_.ReturnFromCapture(dataSet_.pos()); });

    // Program generation, from the DataSet or the keyboard-entry window.
    QObject::connect(&dataSet_, &DataSetWindow::programGenerationRequested, &program_,
                     [this] { program_.OpenFrom(&dataSet_); });
    QObject::connect(&keyboard_, &KeyboardWindow::programGenerationRequested, &program_,
                     [this] { program_.OpenFrom(&keyboard_); });
    QObject::connect(&program_, &ChildWindow::returned, &dataSet_, [this](QWidget* opener) {
        // The list copied last is not pasted into the window gone back to.
        clipboard_.MarkTextStale();
        if (opener == &dataSet_) dataSet_.RefreshPointBoxesFromData();
    });
    QObject::connect(&program_, &ProgramWindow::panelTimersStopRequested, &panel_,
                     &DigitizerPanel::StopLiveTimer);
    QObject::connect(&program_, &ProgramWindow::conditionsRequested, &conditions_,
                     [this] { conditions_.OpenFrom(&program_); });
    QObject::connect(&program_, &ProgramWindow::exclusionRequested, &exclusion_,
                     [this] { exclusion_.OpenFrom(&program_); });
    QObject::connect(&program_, &ProgramWindow::plotRequested, &plot_,
                     [this] { plot_.OpenFrom(&program_); });
    program_.SetPlotAvailable(true);
    QObject::connect(&program_, &ProgramWindow::validationRequested, &validation_,
                     [this] { validation_.OpenFrom(&program_); });
    // What the canvas draws over the picture follows the points edited in the
    // DataSet window (or loaded into it), and the run's results, at once.
    QObject::connect(&dataSet_, &DataSetWindow::pointsChanged, &panel_,
                     &DigitizerPanel::FollowPictureData);
    QObject::connect(&program_, &ProgramWindow::resultsCurrentChanged, &panel_,
                     &DigitizerPanel::FollowPictureData);
    // One switch of the curves over the picture, in two menus.
    QObject::connect(&program_, &ProgramWindow::curvesOverPictureSwitched, &panel_,
                     &DigitizerPanel::SetCurvesOverPicture);
    QObject::connect(&panel_, &DigitizerPanel::curvesOverPictureChanged, &program_,
                     &ProgramWindow::ShowCurvesOverPicture);

    // Keyboard entry from the panel; it hides the canvas window for program
    // generation and shows it again on its way back.
    QObject::connect(&panel_, &DigitizerPanel::keyboardEntryRequested, &keyboard_,
                     [this] { keyboard_.OpenFrom(&panel_); });
    QObject::connect(&keyboard_, &KeyboardWindow::canvasHideRequested, &main_, [this] {
        if (main_.isVisible()) hiddenMainWindowAt_ = main_.pos();
        main_.hide();
    });
    QObject::connect(&keyboard_, &ChildWindow::returned, &main_, [this] {
        main_.setEnabled(true);
        // Shown again, a window is placed anew by the window system: it
        // comes back where it stood, and the panel with it.
        if (!main_.isVisible()) {
            main_.move(hiddenMainWindowAt_);
            mainWindowReturning_ = true;
            mainWindowReturnEnds_.start();
        }
        main_.show();
        main_.canvas().setCursor(CrossPointer());
        // The panel given back stands over the main window beside it.
        panel_.raise();
    });
    panel_.SetKeyboardEntryAvailable(true);
}

void Desktop::ConnectFileWindows() {
    // Loading: numeric data for the DataSet window or from the panel, or a
    // picture for the canvas.
    QObject::connect(&dataSet_, &DataSetWindow::loadRequested, &load_,
                     [this] { load_.OpenInMode(LoadWindow::kDataForDataSet, &dataSet_); });
    QObject::connect(&panel_, &DigitizerPanel::loadRequested, &load_, [this](int mode) {
        load_.OpenInMode(static_cast<LoadWindow::Mode>(mode), &panel_);
    });
    load_.SetPictureLoader([this](const QString& file) { return panel_.LoadPictureFile(file); });
    QObject::connect(&load_, &LoadWindow::linesReplaced, &dataSet_,
                     &DataSetWindow::RefreshPointBoxesFromData);
    // The steps of capture described the lines before the load or the reset.
    QObject::connect(&load_, &LoadWindow::linesReplaced, &panel_,
                     &DigitizerPanel::ForgetCaptureSteps);
    QObject::connect(&dataSet_, &DataSetWindow::linesReset, &panel_,
                     &DigitizerPanel::ForgetCaptureSteps);
    QObject::connect(&load_, &ChildWindow::returned, &panel_, [this] { FinishLoad(); });

    // Saving: the collected data from the DataSet window or the panel, the
    // lists of the program-generation window.
    QObject::connect(&dataSet_, &DataSetWindow::saveRequested, &save_,
                     [this] { OpenSaveWindow(workspace_.data.saveKind, &dataSet_); });
    QObject::connect(&panel_, &DigitizerPanel::saveRequested, &save_,
                     [this] { OpenSaveWindow(core::kSaveAllLines, &panel_); });
    QObject::connect(&program_, &ProgramWindow::saveRequested, &save_,
                     [this](int saveKind) { OpenSaveWindow(saveKind, &program_); });
    QObject::connect(&validation_, &ValidationWindow::saveRequested, &save_,
                     [this] { OpenSaveWindow(core::kSaveValidation, &validation_); });
    QObject::connect(&plot_, &PlotWindow::saveRequested, &save_,
                     [this] { OpenSaveWindow(core::kSavePlot, &plot_); });
    QObject::connect(&save_, &ChildWindow::returned, &panel_, [this] {
        // Back from a data save the live display runs again.
        if (save_.saveKind() == core::kSaveAllLines || save_.saveKind() == core::kSaveSelectedLine)
            panel_.StartLiveTimer();
    });
}

void Desktop::OpenSaveWindow(int saveKind, QWidget* opener) {
    SaveWindow::TextSource text;
    switch (saveKind) {
        case core::kSaveAllLines:
        case core::kSaveSelectedLine:
            text = [this, saveKind] { return dataSet_.SavedDataText(saveKind); };
            break;
        case core::kSaveCProgram:
        case core::kSavePythonProgram:
        case core::kSaveMatlabProgram:
        case core::kSaveJavaScriptProgram:
        case core::kSaveCSharpProgram:
        case core::kSaveFortranProgram: {
            // The sources as kuvatelix-fit --lang writes them. The entries are
            // offered only while the run's results are current; a family the
            // generators cannot take is no empty file.
            const core::ProgramLanguage language = SourceLanguageOf(saveKind);
            save_.OpenToWrite(saveKind, opener, [this, language](const std::string& path) {
                const core::ProgramListing listing =
                    core::ProgramListingOf(language, workspace_.data, workspace_.results);
                if (listing.status != core::CalcFamilyStatus::kReady)
                    return core::SaveOutcome{core::SaveStatus::kCannotWrite, 0, {}};
                return core::SaveText(path, core::SourceText(listing.lines));
            });
            return;
        }
        case core::kSaveValidation:
            text = [this] { return core::RecordsText(validation_.listing()); };
            break;
        case core::kSavePlot:
            save_.OpenToWrite(saveKind, opener, [this](const std::string& path) {
                return SavedPlotOutcome(plot_.WritePicture(path));
            });
            return;
        default:
            text = [this, saveKind] { return core::ListingText(saveKind, program_.ShownLists()); };
            break;
    }
    save_.OpenToSave(saveKind, opener, std::move(text));
}

void Desktop::FinishLoad() {
    const LoadWindow::Mode mode = load_.endedMode();
    panel_.EndLoad();
    const bool loaded = load_.ending() == LoadWindow::Ending::kLoaded;
    if (mode == LoadWindow::kPicture || mode == LoadWindow::kSession) return;
    if (!loaded) {
        if (mode == LoadWindow::kDataForDataSet) {
            dataSet_.move(panel_.pos());
            panel_.hide();
        } else if (mode == LoadWindow::kDataFromPanel) {
            // Nothing was loaded from the panel: no capture without the
            // DataSet window.
            workspace_.data.captureMode = 0;
        }
        return;
    }
    main_.setWindowTitle(QStringLiteral("Kuvatelix"));
    if (mode == LoadWindow::kDataFromPanel) {
        dataSet_.move(panel_.pos());
        dataSet_.OpenFrom(&panel_);
    }
    dataSet_.ShowLoadedData(QString::fromStdString(workspace_.files.fileTitle));
}

}  // namespace kx::ui
