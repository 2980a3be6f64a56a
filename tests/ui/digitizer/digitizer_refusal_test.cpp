// Refusals and resets of the digitizer windows: placing guards, unsuitable
// values, the confirmation's messages, the preparation's messages, the line
// limit, and a press on a large scan.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/data_set_window.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

const QString kBlanks23(23, QLatin1Char(' '));

// Keys typed into a box, a line break as the Return key.
void TypeLines(QWidget* box, const QString& text) {
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(box, Qt::Key_Return);
        if (!lines[i].isEmpty()) QTest::keyClicks(box, lines[i]);
    }
}

TEST(DigitizerRefusal, PlacingGuards) {
    Session d;
    core::AxisCalibration& cal = d.workspace.calibration;
    d.PastePicture(BlankPicture());
    d.PlacePoint(1, QPoint(100, 500));

    const int marks = d.canvas().markCount();
    d.PlacePoint(2, QPoint(90, 500));  // left of the origin
    EXPECT_EQ(d.panel().messageText(), "<Plot Error>" + kBlanks23 + "X1MIN! <> 0 And X1MIN! >= X");
    EXPECT_TRUE(d.panel().messageShown());
    EXPECT_EQ(cal.X1MAX, 0);
    EXPECT_EQ(cal.xMaxSet, 0);
    EXPECT_EQ(d.canvas().markCount(), marks);
    // The next press places nothing, so the label beside the pointer names nothing.
    EXPECT_TRUE(d.canvas().floatingLabel().text().isEmpty());

    d.ClickPanel(panel::kPointBox[2]);  // off again
    d.PlacePoint(4, QPoint(100, 520));  // below the origin
    EXPECT_EQ(d.panel().messageText(), "<Plot Error>" + kBlanks23 + "Y1MIN! <> 0 And Y1MIN! <= Y");
    EXPECT_EQ(cal.Y1MAX, 0);

    // The message goes with its timer.
    d.panel().HideMessages();
    EXPECT_FALSE(d.panel().messageShown());

    // A double click before the calibration stands wipes the points.
    QTest::mouseDClick(&d.canvas(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_EQ(cal.X1MIN, 0);
    EXPECT_EQ(cal.Y1MIN, 0);
    EXPECT_EQ(d.canvas().markCount(), 0);
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kPointBox[1])->isChecked());
}

TEST(DigitizerRefusal, UnsuitableValuesAndAxisTypes) {
    Session d;
    core::AxisCalibration& cal = d.workspace.calibration;
    d.PastePicture(BlankPicture());
    d.PlacePoint(1, QPoint(100, 500));

    d.TypeInto(panel::kValueBox[1], "1,5");
    EXPECT_EQ(d.panel().messageText(), "不適切な文字");
    EXPECT_EQ(cal.Xmin, 1);  // the leading number
    // A box that says so is not confirmed: mended.
    d.TypeInto(panel::kValueBox[1], "1");

    // Log(Y) with the stored Ymin not positive is refused while a point box is on.
    d.TypeInto(panel::kValueBox[3], "0");
    d.ClickPanel(ArrayName(panel::kLogOption, 1));
    EXPECT_EQ(d.panel().messageText(), "<Select Error>" + kBlanks23 + "Ｙmax<= 0 Or Ｙmin<= 0");
    EXPECT_TRUE(d.panelControl<QRadioButton>(ArrayName(panel::kLinearOption, 1))->isChecked());
    EXPECT_EQ(cal.logY, 0);
    d.ClickPanel(ArrayName(panel::kLogOption, 0));
    EXPECT_EQ(d.panel().messageText(), "<Select Error>" + kBlanks23 + "Ｘmax<= 0 Or Ｘmin<= 0");

    // A non-positive value on a logarithmic axis keeps the stored value.
    d.TypeInto(panel::kValueBox[3], "2");
    d.TypeInto(panel::kValueBox[4], "50");
    d.PlacePoint(4, QPoint(100, 100));
    d.ClickPanel(ArrayName(panel::kLogOption, 1));
    EXPECT_EQ(cal.logY, 1);
    d.TypeInto(panel::kValueBox[3], "-5");
    EXPECT_EQ(d.panel().messageText(), "対数座標には不適切");
    EXPECT_EQ(cal.Ymin, 2);
    d.PlacePoint(2, QPoint(700, 500));
    d.TypeInto(panel::kValueBox[2], "60");
    EXPECT_EQ(cal.calibrationConfirmed, 0);
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());
    d.ClickPanel(panel::kConfirmButton);
    EXPECT_EQ(cal.calibrationInvalid, 1);
    d.TypeInto(panel::kValueBox[3], "1");
    EXPECT_EQ(cal.calibrationConfirmed, 1);

    // A mid point on a logarithmic axis needs a positive value.
    d.Type(d.panelControl<QLineEdit>(panel::kMidValueBox[1]), "-3");
    d.ClickPanel(panel::kMidPointBox[1]);
    EXPECT_EQ(d.panel().messageText(), "対数座標は不可");
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kMidPointBox[1])->isChecked());
    EXPECT_EQ(cal.yMidArmed, 0);
}

TEST(DigitizerRefusal, ConfirmationMessages) {
    Session d;
    d.PastePicture(BlankPicture());
    d.PlacePoint(1, QPoint(100, 500));
    d.ClickPanel(panel::kConfirmButton);
    EXPECT_EQ(d.panel().messageText(), "X / Y の Max / Min が未確定");
    d.PlacePoint(2, QPoint(700, 500));
    d.PlacePoint(4, QPoint(100, 100));
    d.ClickPanel(panel::kConfirmButton);
    EXPECT_EQ(d.panel().messageText(), "Min,Max の数値が未確定");
    d.TypeInto(panel::kValueBox[1], "10");
    d.TypeInto(panel::kValueBox[2], "10");
    d.TypeInto(panel::kValueBox[3], "0");
    d.TypeInto(panel::kValueBox[4], "5");
    d.ClickPanel(panel::kConfirmButton);
    EXPECT_EQ(d.panel().messageText(), "Xmax <= Xmin ");
    d.TypeInto(panel::kValueBox[2], "20");
    d.TypeInto(panel::kValueBox[4], "-1");
    d.ClickPanel(panel::kConfirmButton);
    EXPECT_EQ(d.panel().messageText(), "Ymax <= Ymin ");
    EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 0);
    d.TypeInto(panel::kValueBox[4], "5");
    EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 1);
    EXPECT_FALSE(d.panel().messageShown());
}

TEST(DigitizerRefusal, ResetCaptureStartAndHelp) {
    Session d;
    core::AxisCalibration& cal = d.workspace.calibration;

    // Unconfirmed: "データ採取開始" only names the DataSet window.
    d.panel().findChild<QAbstractButton*>(panel::kCaptureButton)->click();
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    EXPECT_FALSE(d.dataSet().isVisible());

    d.Calibrate(BlankPicture());
    // A mid point armed and placed before the reset.
    d.ClickPanel(panel::kMidPointBox[0]);
    d.TypeInto(panel::kMidValueBox[0], "30");
    d.ClickCanvasPixel(QPoint(420, 300));
    ASSERT_EQ(cal.xMidPos, 420 * 15);
    d.ClickPanel(panel::kResetButton);
    EXPECT_EQ(cal.calibrationConfirmed, 0);
    EXPECT_EQ(cal.xMidArmed, 0);
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kMidPointBox[0])->isChecked());
    EXPECT_EQ(cal.X1MIN + cal.X1MAX + cal.Y1MIN + cal.Y1MAX, 0);
    EXPECT_EQ(d.canvas().markCount(), 0);
    for (int box = 1; box <= 4; ++box) {
        EXPECT_FALSE(d.panel()
                         .findChild<QAbstractButton*>(QStringLiteral("Check%1").arg(box))
                         ->isChecked());
    }
    EXPECT_EQ(d.panelControl<QLineEdit>(panel::kValueBox[2])->text(), "60");  // values stay
    EXPECT_FALSE(d.panelControl<QLineEdit>(panel::kXSampleBox)->isVisible());
    EXPECT_FALSE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());

    // Clicking the four points again brings the calibration back.
    d.PlacePoint(1, QPoint(100, 500));
    EXPECT_EQ(cal.X1MIN, 1500);  // a calibration press, not a mid-point press
    EXPECT_EQ(cal.Y1MIN, 7500);
    d.PlacePoint(2, QPoint(700, 500));
    d.PlacePoint(4, QPoint(100, 100));
    EXPECT_EQ(cal.calibrationConfirmed, 1);

    // Turning a point box off undoes the confirmation.
    d.ClickPanel(panel::kPointBox[4]);
    EXPECT_EQ(cal.calibrationConfirmed, 0);
    EXPECT_EQ(cal.Y1MAX, 0);
    EXPECT_EQ(cal.X1MIN, 1500);  // the origin keeps its place

    auto* help = d.panel().findChild<QAction*>(panel::kHelpEntry);
    ASSERT_NE(help, nullptr);
    help->trigger();
    EXPECT_TRUE(d.panel().messageText().startsWith("先ず画像データを呼込みます。"));
    EXPECT_TRUE(d.panel().messageText().endsWith("クリックします。" + QString(12, ' ')));
    help->trigger();
    EXPECT_FALSE(d.panel().messageShown());
    help->trigger();
    auto* text7 = d.panel().findChild<QTextEdit*>(panel::kMessageBox);
    QTest::mouseClick(text7->viewport(), Qt::LeftButton);
    EXPECT_FALSE(d.panel().messageShown());
    help->trigger();
    EXPECT_TRUE(d.panel().messageShown());
}

TEST(DigitizerRefusal, HintsAndWindowsBuiltElsewhere) {
    Session d;
    auto* hint = d.panel().findChild<QLabel*>(panel::kHintBox);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(d.panel().findChild<QWidget*>(panel::kExponentBox), &enter);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "数値表示の変更(通常 or 指数)");
    d.panel().HideMessages();
    EXPECT_FALSE(hint->isVisible());

    // Over "基本座標の確定" once the setup is complete, until it is confirmed.
    d.Calibrate(BlankPicture());
    QApplication::sendEvent(d.panel().findChild<QWidget*>(panel::kConfirmButton), &enter);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "基本ﾃﾞｰﾀ入力完了(自由修正可)");
    d.panel().HideMessages();
    d.panel().ConfirmCalibration();
    QApplication::sendEvent(d.panel().findChild<QWidget*>(panel::kConfirmButton), &enter);
    EXPECT_FALSE(hint->isVisible());

    // The keyboard-entry window and the load window for numeric data are there.
    auto* keyboard = d.panel().findChild<QAction*>(panel::kKeyboardEntry);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_TRUE(keyboard->isEnabled());
    EXPECT_TRUE(d.panel().findChild<QAction*>(panel::kNumericDataEntry)->isEnabled());
    int requests = 0;
    QObject::connect(&d.panel(), &ui::DigitizerPanel::keyboardEntryRequested, [&] { ++requests; });
    keyboard->trigger();
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(d.keyboard().isVisible());
    EXPECT_FALSE(d.panel().isEnabled());
    EXPECT_FALSE(d.main().isEnabled());
}

TEST(DigitizerRefusal, PreparationMessages) {
    Session d;
    d.Calibrate(BlankPicture());
    d.ClickPanel(panel::kCaptureButton);
    ui::DataSetWindow& window = d.dataSet();
    auto* box1 = window.findChild<QPlainTextEdit*>(ArrayName(data_set::kPointBox, 0));
    auto* box3 = window.findChild<QPlainTextEdit*>(ArrayName(data_set::kPointBox, 2));
    auto* message = window.findChild<QLabel*>(data_set::kMessageLine);
    auto* generate = window.findChild<QAbstractButton*>(data_set::kGenerateButton);

    Click(generate);
    EXPECT_EQ(window.messageText(), "データが無い");
    EXPECT_EQ(message->geometry().topLeft(), QPoint(8, 349));
    EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(255, 0, 255));

    // Editing a box: empty text lines go, the commas count.
    box1->setFocus();
    TypeLines(box1, "\n1,2\n\n3,4\n");
    EXPECT_EQ(d.workspace.data.pointText[1], "1,2\r\n3,4\r\n");
    EXPECT_EQ(d.workspace.data.pointCount[1], 2);
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kPointCountBox)->text(), "2");
    Click(generate);
    EXPECT_EQ(window.messageText(), "データが少ない");

    TypeLines(box1, "5,6");
    box3->setPlainText("1,1\n2,2\n3,3\n");
    Click(generate);
    EXPECT_EQ(window.messageText(), "データが無いパラメータ存在");

    box3->clear();
    box1->setPlainText("1.5;2\n3,4\n5,6\n");
    Click(generate);
    EXPECT_EQ(window.messageText(), "X,Yデータがどちらか欠損");
    box1->setPlainText("1.5, 2a\n3,4\n5,6\n");
    Click(generate);
    EXPECT_EQ(window.messageText(), "数値として判断されない");

    box1->setPlainText("1,2\n3,4\n5,6\n");
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "10 K");
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 0)));
    Click(generate);
    EXPECT_EQ(window.messageText(), "パラメータが数値でない (Line 1)");
    EXPECT_TRUE(window.isEnabled());

    // "選択保存" prepares the selected line alone, even behind an empty line.
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "10");
    box3->setPlainText("1,1\n2,2\n3,3\n");
    box1->clear();
    Click(d.dataSetControl<QAbstractButton>(data_set::kSaveAllButton));
    EXPECT_EQ(window.messageText(), "データが無い");
    box1->setPlainText("1,2\n3,4\n5,6\n");
    Click(d.dataSetControl<QAbstractButton>(data_set::kSaveAllButton));
    EXPECT_EQ(window.messageText(), "データが無いパラメータ存在");
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 2)));
    Click(d.dataSetControl<QAbstractButton>(data_set::kSaveSelectedButton));
    EXPECT_TRUE(d.save().isVisible());
    EXPECT_EQ(d.save().opener(), &window);
    EXPECT_EQ(d.workspace.data.saveKind, 1);
    EXPECT_EQ(d.workspace.data.selectedLine, 0);
    EXPECT_EQ(d.workspace.data.lineCount, 3);
    EXPECT_EQ(d.workspace.data.preparedCount[3], 3);
    EXPECT_EQ(d.workspace.data.xText[1][1], "");
    EXPECT_FALSE(window.isEnabled());
    d.save().ReturnToOpener();
    EXPECT_TRUE(window.isEnabled());
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 0)));

    // Resets: the selected line, then all.
    Click(d.dataSetControl<QAbstractButton>(data_set::kResetLineButton));
    EXPECT_EQ(d.workspace.data.pointText[1], "");
    EXPECT_EQ(d.workspace.data.parameterText[1], "1");
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kParameterBox)->text(), "1");
    box3->setPlainText("1,1\n");
    Click(d.dataSetControl<QAbstractButton>(data_set::kResetAllButton));
    EXPECT_EQ(d.workspace.data.pointCount[3], 0);
    EXPECT_EQ(d.workspace.data.parameterText[3], "3");
    EXPECT_TRUE(box3->toPlainText().isEmpty());

    // "戻 る" ends capture: presses no longer add points.
    Click(d.dataSetControl<QAbstractButton>(data_set::kBackButton));
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    d.ClickCanvasPixel(QPoint(300, 300));
    EXPECT_EQ(d.workspace.data.pointCount[1], 0);
    EXPECT_TRUE(d.panelControl<QAbstractButton>(panel::kCaptureButton)->isEnabled());
}

TEST(DigitizerRefusal, LineHoldsAtMostOneHundredPoints) {
    Session d;
    d.Calibrate(BlankPicture());
    // The panel's line option chooses the line the capture starts with.
    d.ClickPanel(ArrayName(panel::kLineOption, 6));
    d.ClickPanel(panel::kCaptureButton);
    EXPECT_EQ(d.workspace.data.captureLine, 7);
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kLineBox)->text(), "7");
    EXPECT_TRUE(
        d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 6))->isChecked());
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 0)));
    for (int i = 0; i < 99; ++i) core::AppendPoint(d.workspace.data, 1, "1", "2");
    d.ClickCanvasPixel(QPoint(400, 300));
    EXPECT_EQ(d.workspace.data.pointCount[1], 100);
    const std::string full = d.workspace.data.pointText[1];
    EXPECT_TRUE(full.ends_with("30,20\r\n"));
    // The hundred-and-first press is refused: the text and count stay.
    d.ClickCanvasPixel(QPoint(500, 300));
    EXPECT_EQ(d.workspace.data.pointCount[1], 100);
    EXPECT_EQ(d.workspace.data.pointText[1], full);
    // Other lines still take points.
    Click(d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 1)));
    d.ClickCanvasPixel(QPoint(500, 300));
    EXPECT_EQ(d.workspace.data.pointText[2], "40,20\r\n");
}

TEST(DigitizerRefusal, MidPointPressCapturesNothing) {
    Session d;
    d.Calibrate(BlankPicture());
    d.ClickPanel(panel::kMidPointBox[0]);
    d.TypeInto(panel::kMidValueBox[0], "30");
    d.ClickPanel(panel::kCaptureButton);
    d.ClickCanvasPixel(QPoint(420, 300));  // places the mid point
    EXPECT_EQ(d.workspace.calibration.xMidPos, 420 * 15);
    EXPECT_EQ(d.workspace.data.pointCount[1], 0);
    d.ClickCanvasPixel(QPoint(500, 300));
    EXPECT_EQ(d.workspace.data.pointCount[1], 1);
    // 30 at pixel 420: the upper segment runs from there to 60 at pixel 700;
    // six significant digits.
    EXPECT_EQ(d.workspace.data.pointText[1], "38.5714,20\r\n");
}

TEST(DigitizerRefusal, PressOnALargeScanConvertsBeyondSixteenBits) {
    Session d;
    const QSize size(6000, 8000);
    d.Calibrate(BlankPicture(size),
                {{100, 7900}, {5900, 7900}, {100, 100}, "0", "100", "0", "100"});
    ASSERT_EQ(d.canvas().picture().size(), size);
    EXPECT_EQ(d.canvas().size(), size);  // unscaled, the window scrolls
    // Canvas units far beyond 16 bits convert correctly.
    d.ClickPanel(panel::kCaptureButton);
    QCoreApplication::processEvents();

    qint64 slowest = 0;
    for (int i = 0; i < 20; ++i) {
        const QPoint pixel(3000 + 10 * i, 4000);
        d.MovePointer(pixel);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(&d.canvas(), Qt::LeftButton, {}, pixel);
        QCoreApplication::processEvents();  // includes the repaint
        slowest = std::max(slowest, timer.nsecsElapsed());
    }
    // A figure for the record, not a timed assertion: shared machines vary.
    std::printf("slowest press on a 6000 x 8000 scan: %lld us\n",
                static_cast<long long>(slowest / 1000));
    const auto points = PointsOf(d.workspace.data.pointText[1]);
    ASSERT_EQ(points.size(), 20u);
    EXPECT_NEAR(points[0].first, 2900.0 / 5800 * 100, 1e-4);
    EXPECT_NEAR(points[0].second, 3900.0 / 7800 * 100, 1e-4);
}

TEST(DigitizerRefusal, PictureFiles) {
    Session d;
    QTemporaryDir dir;
    const QString good = dir.filePath("graph.png");
    ASSERT_TRUE(BlankPicture(QSize(320, 200)).save(good));
    d.workspace.data.pointText[2] = "1,2\r\n";
    d.workspace.data.pointCount[2] = 1;
    // The caption names the file by its full name.
    const QString caption = "Kuvatelix <" + QDir::toNativeSeparators(good) + ">";
    EXPECT_EQ(d.panel().LoadPictureFile(good), QString());
    EXPECT_EQ(d.main().windowTitle(), caption);
    EXPECT_EQ(d.canvas().picture().size(), QSize(320, 200));
    EXPECT_EQ(d.workspace.data.pointCount[2], 0);  // a new picture resets the lines
    EXPECT_EQ(d.workspace.data.parameterText[2], "2");

    // A large scan from a file: a one-bit picture as scanners write them.
    QImage scan(6000, 8000, QImage::Format_Mono);
    scan.fill(1);
    const QString large = dir.filePath("scan.bmp");
    ASSERT_TRUE(scan.save(large));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(d.panel().LoadPictureFile(large), QString());
    std::printf("6000 x 8000 one-bit BMP loaded in %lld ms\n",
                static_cast<long long>(timer.elapsed()));
    EXPECT_EQ(d.canvas().picture().size(), QSize(6000, 8000));
    d.PlacePoint(1, QPoint(5000, 7000));
    EXPECT_EQ(d.workspace.calibration.X1MIN, 75000);  // beyond 16 bits

    const QString bad = dir.filePath("broken.jpg");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    // The reader's reason goes to the load window, which shows it.
    EXPECT_FALSE(d.panel().LoadPictureFile(bad).isEmpty());
    EXPECT_EQ(d.canvas().picture().size(), QSize(6000, 8000));  // the old picture stays
}

}  // namespace
}  // namespace kx::test
