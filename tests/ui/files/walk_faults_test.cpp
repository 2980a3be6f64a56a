// Faults found on a walk through the program that lost or destroyed what the
// user had made: a picture replaced by a data file, an empty data file, an
// undo on a line the window did not show, the program ended by the frame of a
// window that waited behind another.
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "core/files/data_file.h"
#include "core/files/save_file.h"
#include "ui/digitizer/canvas.h"
#include "ui/files/load_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WalkFaults : public WindowTest {
protected:
    WalkFaults() { d.workspace.files.folderName = Native(dir.path()).toStdString(); }

    QString Native(const QString& path) const { return QDir::toNativeSeparators(path); }
    QString Path(const QString& name) const { return Native(dir.filePath(name)); }
    QString NameBox(QWidget& window) { return Find<QLineEdit>(window, fw::kNameBox)->text(); }
    QString PointCountShown() {
        return d.dataSetControl<QLineEdit>(data_set::kPointCountBox)->text();
    }

    QTemporaryDir dir;
    Session d;
};

TEST_F(WalkFaults, ASaveNeverReplacesThePictureNorOffersItsName) {
    ASSERT_TRUE(BlankPicture(QSize(320, 200)).save(dir.filePath("victim.png")));
    const QByteArray picture = Bytes(dir.filePath("victim.png"));
    d.ClickPanel(panel::kPictureFileButton);
    ASSERT_TRUE(ClickFile(d.load(), "victim.png"));
    Click(d.load(), ln::kLoadButton);
    ASSERT_TRUE(d.canvas().hasPicture());
    core::AppendPoint(d.workspace.data, 1, "1", "2");
    core::AppendPoint(d.workspace.data, 1, "3", "4");

    // The panel's save and a listing's save alike.
    for (int kind : {core::kSaveAllLines, core::kSaveEquations}) {
        if (kind == core::kSaveAllLines) {
            d.ClickPanel(panel::kSaveButton);
        } else {
            d.save().OpenToSave(kind, &d.panel(), [] { return std::string("listing\r\n"); });
        }
        ui::SaveWindow& save = d.save();
        ASSERT_TRUE(save.isVisible()) << kind;
        EXPECT_NE(NameBox(save), Path("victim.png")) << kind;
        SaveAs(save, Path("victim.png"));  // typed by hand, asked for and confirmed
        EXPECT_TRUE(save.isVisible()) << kind;
        EXPECT_EQ(save.messageText(), "不適切なファイル名") << kind;
        EXPECT_EQ(Bytes(dir.filePath("victim.png")), picture) << kind;
        Click(save, sn::kBackButton);
    }
}

TEST_F(WalkFaults, ThePanelsSaveWithoutPointsWritesNothing) {
    d.Calibrate(BlankPicture());
    d.ClickPanel(panel::kSaveButton);
    EXPECT_FALSE(d.save().isVisible());
    EXPECT_TRUE(d.panel().messageShown());
    EXPECT_EQ(d.panel().messageText(), "データが無い");
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Lines 1 and 2 are captured, then the same lines are loaded from a data
// file; on line 1 one point is captured and undone twice.
TEST_F(WalkFaults, AnUndoActsOnlyOnTheShownLineAndNotAcrossALoad) {
    d.StartCapture();
    for (int index : {0, 1}) {
        Tick(d.dataSet(), ArrayName(data_set::kLineOption, index));
        d.ClickCanvasPixel(QPoint(300, 300 - 40 * index));
        d.ClickCanvasPixel(QPoint(350, 280 - 40 * index));
    }
    const core::DataSet captured = d.workspace.data;
    const std::string file = Path("same.dat").toStdString();
    ASSERT_EQ(core::SaveText(file, core::AllLinesDataText(captured)).status,
              core::SaveStatus::kSaved);
    d.ClickDataSet(data_set::kLoadButton);
    ASSERT_TRUE(ClickFile(d.load(), "same.dat", true));
    ASSERT_FALSE(d.load().isVisible());
    ASSERT_EQ(d.workspace.data.pointText[2], captured.pointText[2]);

    Tick(d.dataSet(), ArrayName(data_set::kLineOption, 0));
    d.ClickCanvasPixel(QPoint(400, 260));
    ASSERT_EQ(d.workspace.data.pointCount[1], 3);
    d.panel().UndoCapture();
    d.panel().UndoCapture();  // nothing before the load to take back
    EXPECT_EQ(d.workspace.data.pointText[1], captured.pointText[1]);
    EXPECT_EQ(d.workspace.data.pointText[2], captured.pointText[2]);
    EXPECT_EQ(PointCountShown(), "2");
    EXPECT_TRUE(d.panelControl<QRadioButton>(ArrayName(panel::kLineOption, 0))->isChecked());

    // A step of line 2 undone while line 1 is selected selects line 2 first.
    Tick(d.dataSet(), ArrayName(data_set::kLineOption, 1));
    d.ClickCanvasPixel(QPoint(420, 200));
    Tick(d.dataSet(), ArrayName(data_set::kLineOption, 0));
    d.panel().UndoCapture();
    EXPECT_TRUE(d.panelControl<QRadioButton>(ArrayName(panel::kLineOption, 1))->isChecked());
    EXPECT_EQ(d.workspace.data.pointText[2], captured.pointText[2]);
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kLineBox)->text(), "2");
    EXPECT_EQ(PointCountShown(), "2");
}

TEST_F(WalkFaults, AMainWindowDisabledBehindAnotherIsNotClosed) {
    d.Calibrate(BlankPicture());
    d.ClickPanel(panel::kPictureFileButton);  // the load window waits in front
    ASSERT_FALSE(d.main().isEnabled());
    QCloseEvent close;
    QApplication::sendEvent(&d.main(), &close);
    EXPECT_FALSE(close.isAccepted());
    Click(d.load(), ln::kBackButton);
    EXPECT_TRUE(d.main().isEnabled());
}

}  // namespace
}  // namespace kx::test
