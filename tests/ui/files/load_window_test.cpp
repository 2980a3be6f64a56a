// The load window in the running program: pictures for the canvas, data files
// for the DataSet window, the lists with their filters and drives, and the
// files that cannot be loaded.
#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextEdit>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/picture_reading.h"
#include "ui/files/load_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

using namespace std::chrono_literals;

constexpr char kAbsentVolume[] = "/kx-absent-volume";

// The root of the file system, and a volume that is not ready.
std::vector<ui::Drive> TwoDrives() {
    return {{QDir::toNativeSeparators(QDir::rootPath()), QString(), true},
            {QDir::toNativeSeparators(kAbsentVolume), QStringLiteral("CD"), false}};
}

void PutBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString BoxText(QWidget& window, const char* name) {
    return Find<QLineEdit>(window, name)->text();
}

class LoadWindowTest : public WindowTest {
protected:
    LoadWindowTest() { d.workspace.files.folderName = Native(dir.path()).toStdString(); }

    QString Native(const QString& path) const { return QDir::toNativeSeparators(path); }
    QString Path(const QString& name) const { return Native(dir.filePath(name)); }

    QTemporaryDir dir;
    Session d{TwoDrives};
    ui::LoadWindow& load = d.load();
};

TEST_F(LoadWindowTest, PicturesAreListedAndLoadedOntoTheCanvas) {
    ASSERT_TRUE(BlankPicture(QSize(320, 200)).save(dir.filePath("graph.PNG")));
    ASSERT_TRUE(BlankPicture(QSize(300, 180)).save(dir.filePath("scan.bmp")));
    ASSERT_TRUE(BlankPicture(QSize(200, 100)).save(dir.filePath("plate.tiff")));
    PutBytes(dir.filePath("broken.jpg"), "not a picture");
    PutBytes(dir.filePath("family.dat"), "1, 1 , 2\r\n1,1\r\n2,2\r\n");
    d.workspace.data.pointText[1] = "1,2\r\n";
    d.workspace.data.pointCount[1] = 1;

    d.ClickPanel(panel::kPictureFileButton);
    ASSERT_TRUE(load.isVisible());
    EXPECT_EQ(load.loadMode(), ui::LoadWindow::kPicture);
    EXPECT_EQ(load.windowTitle(), "データ呼込み");
    EXPECT_EQ(Find<QLabel>(load, fw::kHeading)->text(), "画像呼込み");
    EXPECT_EQ(BoxText(load, ln::kFilterBox), "*.BMP;*.JPG;*.JPEG;*.PNG;*.TIF*");
    EXPECT_EQ(BoxText(load, fw::kNameBox), Native(dir.path()));
    EXPECT_EQ(Items(load, fw::kFileList),
              QStringList({"broken.jpg", "graph.PNG", "plate.tiff", "scan.bmp"}));
    EXPECT_FALSE(d.panel().isEnabled());
    EXPECT_FALSE(d.main().isEnabled());

    // A file that is no picture: the reader's reason, the window stays.
    ASSERT_TRUE(ClickFile(load, "broken.jpg", true));
    EXPECT_TRUE(load.isVisible());
    EXPECT_TRUE(load.messageShown());
    EXPECT_FALSE(load.messageText().isEmpty());
    EXPECT_FALSE(d.canvas().hasPicture());
    load.HideMessages();  // Timer1's tick empties and hides the box
    EXPECT_FALSE(load.messageShown());
    EXPECT_EQ(load.messageText(), "");

    ASSERT_TRUE(ClickFile(load, "graph.PNG"));
    EXPECT_EQ(BoxText(load, fw::kNameBox), Path("graph.PNG"));
    // Enter in the name box loads, as the load button does.
    QTest::keyClick(Find<QLineEdit>(load, fw::kNameBox), Qt::Key_Return);
    EXPECT_FALSE(load.isVisible());
    EXPECT_EQ(d.canvas().picture().size(), QSize(320, 200));
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix <" + Path("graph.PNG") + ">");
    EXPECT_EQ(d.workspace.data.pointCount[1], 0);  // the lines start afresh
    EXPECT_TRUE(d.panel().isVisible());
    EXPECT_TRUE(d.panel().isEnabled());
    EXPECT_TRUE(d.main().isEnabled());
    EXPECT_EQ(d.workspace.files.fileTitle, "graph.PNG");

    // The menu entry opens it again at the last picture.
    Find<QAction>(d.panel(), panel::kPictureFileEntry)->trigger();
    EXPECT_EQ(BoxText(load, fw::kNameBox), Path("graph.PNG"));
    Click(load, ln::kBackButton);
    EXPECT_TRUE(d.panel().isEnabled());
}

// A reload lets the old picture go before it decodes the new one: a file that
// is no picture leaves the shown one and its collected lines; a picture broken
// after a sound header leaves an empty canvas, the lines kept.
TEST_F(LoadWindowTest, AFailedReloadLosesNoCollectedLines) {
    ASSERT_TRUE(BlankPicture(QSize(320, 200)).save(dir.filePath("graph.png")));
    PutBytes(dir.filePath("broken.png"), "not a picture");
    QFile whole(dir.filePath("graph.png"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    PutBytes(dir.filePath("cut.png"), whole.read(100));
    ASSERT_TRUE(d.panel().LoadPictureFile(Path("graph.png")).isEmpty());
    d.workspace.data.pointText[1] = "1,2\r\n";
    d.workspace.data.pointCount[1] = 1;

    // The reasons are the window's own Japanese texts, not the toolkit's.
    EXPECT_EQ(d.panel().LoadPictureFile(Path("broken.png")), "画像ﾌｧｲﾙとして読めません");
    EXPECT_EQ(d.panel().LoadPictureFile(Path("none.png")), "ﾌｧｲﾙ名不正");
    EXPECT_EQ(d.canvas().picture().size(), QSize(320, 200));
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix <" + Path("graph.png") + ">");

    EXPECT_EQ(d.panel().LoadPictureFile(Path("cut.png")), "画像ﾃﾞｰﾀが壊れています");
    EXPECT_FALSE(d.canvas().hasPicture());
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix");
    EXPECT_EQ(d.workspace.calibration.calibrationConfirmed, 0);
    EXPECT_EQ(d.workspace.data.pointCount[1], 1);
    EXPECT_EQ(d.workspace.data.pointText[1], "1,2\r\n");

    ASSERT_TRUE(d.panel().LoadPictureFile(Path("graph.png")).isEmpty());
    EXPECT_EQ(d.canvas().picture().size(), QSize(320, 200));
}

// A BMP header of a 24-bit picture of width x height, without its pixels.
QByteArray BmpHeader(int width, int height) {
    QByteArray header(54, '\0');
    const auto put = [&header](int at, quint32 value, int size) {
        for (int i = 0; i < size; ++i) header[at + i] = static_cast<char>(value >> (8 * i));
    };
    header[0] = 'B';
    header[1] = 'M';
    put(10, 54, 4);  // the pixels follow the header
    put(14, 40, 4);
    put(18, static_cast<quint32>(width), 4);
    put(22, static_cast<quint32>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return header;
}

// Pictures the reader would take silently or never return from: a named pipe
// is refused without waiting, a picture too large to show before it is
// decoded, and a file cut short is shown as far as it goes, and the user told.
TEST_F(LoadWindowTest, PipesHugePicturesAndPicturesCutShort) {
    const QString pipe = dir.filePath("fifo.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    PutBytes(dir.filePath("huge.bmp"), BmpHeader(16000, 16000));
    // A picture of detail everywhere, so that every scan of a JPEG has data.
    QImage detailed(320, 200, QImage::Format_RGB32);
    for (int y = 0; y < detailed.height(); ++y) {
        for (int x = 0; x < detailed.width(); ++x) {
            detailed.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
        }
    }
    QByteArray whole[2];
    for (int progressive = 0; progressive < 2; ++progressive) {
        QBuffer buffer(&whole[progressive]);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(progressive == 1);
        ASSERT_TRUE(writer.write(detailed));
    }
    ASSERT_TRUE(BlankPicture(QSize(320, 200))
                    .convertToFormat(QImage::Format_RGB888)
                    .save(dir.filePath("whole.bmp")));
    QFile bmp(dir.filePath("whole.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    PutBytes(dir.filePath("cut.bmp"), bmp.read(bmp.size() / 2));
    PutBytes(dir.filePath("whole.jpg"), whole[0]);
    PutBytes(dir.filePath("cut.jpg"), whole[0].left(whole[0].size() * 3 / 5));
    PutBytes(dir.filePath("progressive.jpg"), whole[1]);
    // Cut inside the last scan: a cut among the tables of a progressive JPEG
    // is a broken picture, not a short one.
    const qsizetype lastScan = whole[1].lastIndexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(lastScan, 0);
    ASSERT_LT(lastScan + 200, whole[1].size());
    PutBytes(dir.filePath("cut-progressive.jpg"), whole[1].left(lastScan + 100));

    // Should the open wait on the pipe, a writer coming late lets it go on.
    std::atomic<bool> loaded{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 50 && !loaded; ++i) std::this_thread::sleep_for(100ms);
        if (!loaded) ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY));
    });
    QElapsedTimer timer;
    timer.start();
    d.ClickPanel(panel::kPictureFileButton);
    // The file list shows no pipe: its name is typed.
    auto* name = Find<QLineEdit>(load, fw::kNameBox);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "fifo.png");
    Click(load, ln::kLoadButton);
    loaded = true;
    watchdog.join();
    EXPECT_LT(timer.elapsed(), 5000) << "the load waited on the named pipe";
    EXPECT_TRUE(load.isVisible());
    EXPECT_EQ(load.messageText(), "ﾌｧｲﾙ名不正");
    EXPECT_FALSE(d.canvas().hasPicture());

    ASSERT_TRUE(ClickFile(load, "huge.bmp", true));
    EXPECT_TRUE(load.isVisible());
    EXPECT_EQ(load.messageText(),
              "画像が大きすぎます (16000 x 16000, 表示に 977 MB; 上限 512 MB)");
    Click(load, ln::kBackButton);

    auto* panelMessage = d.panel().findChild<QTextEdit*>(panel::kMessageBox);
    const struct {
        const char* name;
        bool cutShort;
    } pictures[] = {{"whole.bmp", false},       {"cut.bmp", true},
                    {"whole.jpg", false},       {"cut.jpg", true},
                    {"progressive.jpg", false}, {"cut-progressive.jpg", true}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        d.panel().HideMessages();
        d.ClickPanel(panel::kPictureFileButton);
        ASSERT_TRUE(ClickFile(load, picture.name, true));
        EXPECT_FALSE(load.isVisible()) << "the picture is loaded, the user may keep it";
        EXPECT_EQ(d.canvas().picture().size(), QSize(320, 200));
        EXPECT_EQ(panelMessage->isVisible(), picture.cutShort);
        if (picture.cutShort) {
            EXPECT_EQ(panelMessage->toPlainText(), ui::kPictureCutShort);
        }
    }
}

TEST_F(LoadWindowTest, FiltersDrivesAndFoldersAreBrowsed) {
    PutBytes(dir.filePath("family.dat"), "1, 1 , 2\r\n1,1\r\n2,2\r\n");
    PutBytes(dir.filePath("NOTES.TXT"), "text\r\n");
    PutBytes(dir.filePath("graph.png"), "");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    PutBytes(dir.filePath("sub/inner.da"), "");

    Find<QAction>(d.panel(), panel::kNumericDataEntry)->trigger();
    ASSERT_TRUE(load.isVisible());
    EXPECT_EQ(load.loadMode(), ui::LoadWindow::kDataFromPanel);
    EXPECT_EQ(d.workspace.data.captureMode, 1);
    // "*.DA*" lists family.dat: the filter ignores case.
    EXPECT_EQ(Items(load, fw::kFileList), QStringList({"family.dat", "NOTES.TXT"}));

    // Enter applies an edited filter, which the window keeps for data.
    auto* filter = Find<QLineEdit>(load, ln::kFilterBox);
    filter->setFocus();
    filter->selectAll();
    QTest::keyClicks(filter, "*.tx?");
    EXPECT_EQ(Items(load, fw::kFileList), QStringList({"family.dat", "NOTES.TXT"}));
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(Items(load, fw::kFileList), QStringList({"NOTES.TXT"}));
    EXPECT_EQ(d.workspace.files.dataFilter, "*.tx?");

    // A volume that is not ready: the message, and back to the folder's drive.
    auto* drives = Find<QComboBox>(load, fw::kDriveList);
    ASSERT_EQ(drives->count(), 2);
    EXPECT_EQ(drives->currentIndex(), 0);
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_Down);
    EXPECT_TRUE(load.messageShown());
    EXPECT_EQ(load.messageText(), "ドライブの準備が出来ていません");
    EXPECT_EQ(drives->currentIndex(), 0);
    EXPECT_EQ(load.browser().folder(), Native(dir.path()));
    // The pointer over the message box takes it away, and its timer.
    MoveOver(Find<QWidget>(load, ln::kMessageBox));
    EXPECT_FALSE(load.messageShown());
    EXPECT_FALSE(load.messageTimer().isActive());

    // A click opens a folder: the lists follow, the name box shows it, and it
    // is remembered; the way back up is in the same list.
    ASSERT_TRUE(ClickFolder(load, Path("sub")));
    EXPECT_EQ(load.browser().folder(), Path("sub"));
    EXPECT_EQ(BoxText(load, fw::kNameBox), Path("sub"));
    EXPECT_EQ(d.workspace.files.folderName, Path("sub").toStdString());
    EXPECT_TRUE(Items(load, fw::kFileList).isEmpty());
    ASSERT_TRUE(ClickFolder(load, Native(dir.path())));
    EXPECT_EQ(load.browser().folder(), Native(dir.path()));
    // The root's entry gives the root's name once: "/" + "x" is "/x".
    ASSERT_TRUE(ClickFolder(load, Native(QDir::rootPath())));
    EXPECT_EQ(BoxText(load, fw::kNameBox), Native(QDir::rootPath()));

    // Back keeps the folder; nothing was loaded, so capture is off again.
    Click(load, ln::kBackButton);
    EXPECT_EQ(d.workspace.files.folderName, Native(QDir::rootPath()).toStdString());
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    EXPECT_FALSE(d.dataSet().isVisible());
    EXPECT_TRUE(d.panel().isEnabled());
}

TEST_F(LoadWindowTest, DataFilesThatCannotBeLoadedKeepTheWindowOpen) {
    PutBytes(dir.filePath("half.da"),
             "10, 1 , 2\r\n1,1\r\n2,2\r\n20, 2 , 10\r\n1,1\r\n");  // a second header refused
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(d.workspace.data, line);
    core::SetPointText(d.workspace.data, 1, "7,7\r\n8,8\r\n9,9\r\n");

    Find<QAction>(d.panel(), panel::kNumericDataEntry)->trigger();
    // A name that opens nothing: the collected lines are not given up.
    auto* name = Find<QLineEdit>(load, fw::kNameBox);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "missing.da");
    EXPECT_EQ(d.workspace.files.fileName, Path("missing.da").toStdString());
    Click(load, ln::kLoadButton);
    EXPECT_TRUE(load.isVisible());
    EXPECT_EQ(load.messageText(), "ﾌｧｲﾙ名不正");
    EXPECT_EQ(d.workspace.data.pointText[1], "7,7\r\n8,8\r\n9,9\r\n");

    // Content refused part way: the lines read so far are loaded and shown.
    ASSERT_TRUE(ClickFile(load, "half.da", true));
    EXPECT_TRUE(load.isVisible());
    EXPECT_EQ(load.messageText(), "ﾌｧｲﾙ内容不正");
    EXPECT_TRUE(load.messageTimer().isActive());
    EXPECT_EQ(d.workspace.data.pointText[1], "1,1\r\n2,2\r\n");
    EXPECT_EQ(d.workspace.data.parameterText[2], "2");
    EXPECT_EQ(Find<QPlainTextEdit>(d.dataSet(), ArrayName(data_set::kPointBox, 0))->toPlainText(),
              "1,1\n2,2\n");

    // A typed name too short to be one is noted but not shown.
    QApplication::setActiveWindow(&load);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "ab");
    load.HideMessages();
    Find<QWidget>(load, fw::kFileList)->setFocus();
    EXPECT_EQ(load.messageText(), "ファイル名が不正");
    EXPECT_FALSE(load.messageShown());

    // Cancel forgets the file and gives the panel back.
    Click(load, ln::kCancelButton);
    EXPECT_EQ(d.workspace.files.fileName, "");
    EXPECT_EQ(d.workspace.data.captureMode, 0);
    EXPECT_TRUE(d.panel().isEnabled());
    EXPECT_TRUE(d.main().isEnabled());
}

TEST_F(LoadWindowTest, DataFromThePanelOpensTheDataSetWindowInItsPlace) {
    PutBytes(dir.filePath("pair.DAT"),
             "25, 1 , 3\r\n1,2\r\n2,3\r\n3,5\r\n-5, 1 , 2\r\n1,1\r\n2,4\r\n");
    d.main().setWindowTitle("Kuvatelix <graph.png>");
    Find<QAction>(d.panel(), panel::kNumericDataEntry)->trigger();
    ASSERT_TRUE(ClickFile(load, "pair.DAT", true));
    EXPECT_FALSE(load.isVisible());
    ui::DataSetWindow& dataSet = d.dataSet();
    ASSERT_TRUE(dataSet.isVisible());
    EXPECT_EQ(dataSet.pos(), d.panel().pos());
    EXPECT_EQ(dataSet.windowTitle(), "DataSet <pair.DAT>");
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix");
    EXPECT_FALSE(d.panel().isEnabled());
    EXPECT_EQ(d.workspace.data.captureMode, 1);
    EXPECT_EQ(d.workspace.data.pointCount[2], 2);
    EXPECT_EQ(Find<QPlainTextEdit>(dataSet, ArrayName(data_set::kPointBox, 1))->toPlainText(),
              "1,1\n2,4\n");
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kParameterBox)->text(), "25");
    // Going back from the DataSet window gives the panel back.
    d.ClickDataSet(data_set::kBackButton);
    EXPECT_TRUE(d.panel().isEnabled());
    EXPECT_EQ(d.workspace.data.captureMode, 0);
}

TEST_F(LoadWindowTest, BackFromTheDataSetWindowsLoadPutsItWhereThePanelStands) {
    d.StartCapture();
    d.dataSet().move(d.panel().pos() + QPoint(40, 40));
    d.ClickDataSet(data_set::kLoadButton);
    ASSERT_TRUE(load.isVisible());
    EXPECT_FALSE(d.dataSet().isEnabled());
    Click(load, ln::kBackButton);
    EXPECT_TRUE(d.dataSet().isVisible());
    EXPECT_TRUE(d.dataSet().isEnabled());
    EXPECT_EQ(d.dataSet().pos(), d.panel().pos());
    EXPECT_FALSE(d.panel().isVisible());
    EXPECT_EQ(d.workspace.data.captureMode, 1);
}

// Not a timed test: the figure is printed for the report.
TEST_F(LoadWindowTest, AFolderOfThousandsOfFilesListsAtOnce) {
    constexpr int kFiles = 5000;
    for (int i = 0; i < kFiles; ++i) {
        QFile file(dir.filePath(QString("f%1.dat").arg(i, 4, 10, QChar('0'))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QElapsedTimer timer;
    timer.start();
    d.ClickPanel(panel::kPictureFileButton);
    const qint64 pictureMode = timer.restart();
    Click(load, ln::kBackButton);
    Find<QAction>(d.panel(), panel::kNumericDataEntry)->trigger();
    const qint64 dataMode = timer.elapsed();
    EXPECT_EQ(Find<QListWidget>(load, fw::kFileList)->count(), kFiles);
    std::printf(
        "folder of %d files: opened in picture mode (none listed) in %lld ms, "
        "in data mode (all listed) in %lld ms\n",
        kFiles, static_cast<long long>(pictureMode), static_cast<long long>(dataMode));
}

}  // namespace
}  // namespace kx::test
