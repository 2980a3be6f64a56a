// The save window in the running program: the collected data saved from the
// DataSet window and loaded back, the listings of the program-generation
// window against what kuvatelix-fit writes, and the checks of a name on the
// way to the disk.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "ui/files/load_window.h"
#include "ui/files/save_window.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void PutBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString TextOf(QWidget& window, const char* name) {
    if (auto* button = window.findChild<QPushButton*>(name)) return button->text();
    if (auto* label = window.findChild<QLabel*>(name)) return label->text();
    if (auto* box = window.findChild<QLineEdit*>(name)) return box->text();
    ADD_FAILURE() << name;
    return {};
}

QColor TextColour(QWidget& window, const char* name) {
    return Find<QWidget>(window, name)->palette().color(QPalette::WindowText);
}

// The list entries as a listing holds them, one CR LF ended record each.
QByteArray Records(const QStringList& entries) {
    std::string text;
    for (const QString& entry : entries) text += entry.toStdString() + "\r\n";
    return QByteArray::fromStdString(core::Utf8ToCp932(text).text);
}

// Root writes into any folder: the save is made as an ordinary user then.
class OrdinaryUser {
public:
    OrdinaryUser() : switched_(::geteuid() == 0) {
        if (switched_) {
            EXPECT_TRUE(::setegid(65534) == 0 && ::seteuid(65534) == 0);
        }
    }
    ~OrdinaryUser() {
        if (switched_) {
            EXPECT_TRUE(::seteuid(0) == 0 && ::setegid(0) == 0);
        }
    }

private:
    bool switched_;
};

class SaveWindowTest : public WindowTest {
protected:
    SaveWindowTest() { d.workspace.files.folderName = Native(dir.path()).toStdString(); }

    QString Native(const QString& path) const { return QDir::toNativeSeparators(path); }
    QString Path(const QString& name) const { return Native(dir.filePath(name)); }
    QPlainTextEdit* PointBox(int index) {
        return Find<QPlainTextEdit>(d.dataSet(), ArrayName(data_set::kPointBox, index));
    }
    // Capture runs with lines 1 and 2 typed into their boxes.
    void CollectTwoLines() {
        d.StartCapture();
        d.ClickDataSet(ArrayName(data_set::kLineOption, 0));
        PointBox(0)->setPlainText("10.5,2.25\n20.5,4.75\n30.5,6.5\n");
        d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "10");
        d.ClickDataSet(ArrayName(data_set::kLineOption, 1));
        PointBox(1)->setPlainText("1,2\n2,3\n3,5\n4,8\n");
        d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "0.50");
        d.ClickDataSet(ArrayName(data_set::kLineOption, 0));
    }

    QTemporaryDir dir;
    Session d;
};

TEST_F(SaveWindowTest, AllLinesSavedFromTheDataSetWindowLoadBackAsTheyWere) {
    CollectTwoLines();
    ui::SaveWindow& save = d.save();
    d.ClickDataSet(data_set::kSaveAllButton);
    ASSERT_TRUE(save.isVisible());
    EXPECT_EQ(save.opener(), &d.dataSet());
    EXPECT_FALSE(d.dataSet().isEnabled());
    EXPECT_EQ(TextOf(save, fw::kHeading), "採取ﾃﾞｰﾀ全保存");
    EXPECT_EQ(TextOf(save, sn::kSaveButton), "入力ﾃﾞｰﾀの保存");
    EXPECT_EQ(TextOf(save, sn::kFilterBox), "*.DA*;*.TX*;*.DO*;*.WR*");
    EXPECT_EQ(TextOf(save, fw::kNameBox), "");
    EXPECT_EQ(save.browser().folder(), Native(dir.path()));

    // A relative name lies in the folder shown; a new file is not asked for.
    d.panel().StopLiveTimer();
    SaveAs(save, "family.da");
    EXPECT_FALSE(save.isVisible());
    EXPECT_TRUE(d.dataSet().isVisible());
    EXPECT_TRUE(d.dataSet().isEnabled());
    EXPECT_TRUE(d.panel().liveTimerRunning());
    EXPECT_EQ(d.workspace.files.fileName, Path("family.da").toStdString());
    EXPECT_EQ(d.workspace.files.fileTitle, "family.da");

    const core::DataSet saved = d.workspace.data;
    d.ClickDataSet(data_set::kResetAllButton);
    ASSERT_EQ(d.workspace.data.pointCount[1], 0);

    // The load window opens at the saved file; a double click loads it.
    ui::LoadWindow& load = d.load();
    d.ClickDataSet(data_set::kLoadButton);
    ASSERT_TRUE(load.isVisible());
    EXPECT_EQ(load.loadMode(), ui::LoadWindow::kDataForDataSet);
    EXPECT_EQ(TextOf(load, fw::kHeading), "数値ﾃﾞｰﾀ呼込み");
    EXPECT_EQ(TextOf(load, fw::kNameBox), Path("family.da"));
    EXPECT_FALSE(d.dataSet().isEnabled());
    ASSERT_TRUE(ClickFile(load, "family.da", true));
    EXPECT_FALSE(load.isVisible());
    EXPECT_EQ(load.loadMode(), ui::LoadWindow::kNoLoad);

    // Lines 1 and 2 as they were; the others in their reset state.
    const core::DataSet& loaded = d.workspace.data;
    for (int line = 1; line <= core::kMaxLines; ++line) {
        SCOPED_TRACE(line);
        const std::string text = line <= 2 ? saved.pointText[line] : "";
        EXPECT_EQ(loaded.pointText[line], text);
        EXPECT_EQ(loaded.pointCount[line], line <= 2 ? saved.pointCount[line] : 0);
        EXPECT_EQ(PointBox(line - 1)->toPlainText(),
                  QString::fromStdString(text).replace("\r\n", "\n"));
        if (line > 2) {
            EXPECT_EQ(loaded.parameterText[line], std::to_string(line));
        }
    }
    EXPECT_EQ(loaded.pointCount[2], 4);
    EXPECT_EQ(loaded.parameterText[1], "10");
    EXPECT_EQ(loaded.parameterText[2], ".5");  // the file holds the value, "0.50"
    EXPECT_EQ(d.dataSet().windowTitle(), "DataSet <family.da>");
    EXPECT_TRUE(
        d.dataSetControl<QAbstractButton>(ArrayName(data_set::kLineOption, 0))->isChecked());
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kParameterBox)->text(), "10");
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kLineBox)->text(), "1");
    EXPECT_EQ(d.dataSetControl<QLineEdit>(data_set::kPointCountBox)->text(), "3");
    EXPECT_EQ(d.main().windowTitle(), "Kuvatelix");
    EXPECT_TRUE(d.dataSet().isEnabled());
}

TEST_F(SaveWindowTest, SelectedLineIsSavedWithItsParameterBox) {
    CollectTwoLines();
    d.ClickDataSet(ArrayName(data_set::kLineOption, 1));
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), "7.5");
    d.ClickDataSet(data_set::kSaveSelectedButton);
    ui::SaveWindow& save = d.save();
    ASSERT_TRUE(save.isVisible());
    EXPECT_EQ(save.saveKind(), core::kSaveSelectedLine);
    EXPECT_EQ(TextOf(save, fw::kHeading), "採取ﾃﾞｰﾀ選択保存");
    EXPECT_EQ(TextOf(save, sn::kSaveButton), "採取ﾃﾞｰﾀ選択保存");
    SaveAs(save, Path("one.da"));
    EXPECT_FALSE(save.isVisible());
    EXPECT_EQ(Bytes(Path("one.da")), "7.5, 1 , 4\r\n1,2\r\n2,3\r\n3,5\r\n4,8\r\n");
}

TEST_F(SaveWindowTest, NamesAreCheckedAndAnExistingFileIsAskedFor) {
    CollectTwoLines();
    PutBytes(Path("old.da"), "1, 1 , 2\r\n1,1\r\n2,2\r\n");
    ui::SaveWindow& save = d.save();
    d.ClickDataSet(data_set::kSaveAllButton);
    ASSERT_TRUE(save.isVisible());

    // Too short behind the point: refused in red, the save button stays.
    SaveAs(save, "a.d");
    EXPECT_TRUE(save.messageShown());
    EXPECT_EQ(save.messageText(), "ﾌｧｲﾙ名が不適当");
    EXPECT_EQ(TextColour(save, sn::kMessageBox), QColor(255, 0, 0));
    EXPECT_TRUE(save.messageTimer().isActive());
    EXPECT_FALSE(save.offering());
    save.HideMessages();  // Timer1's tick
    EXPECT_FALSE(save.messageShown());
    EXPECT_FALSE(save.messageTimer().isActive());

    // Typing names a new file; "ab.da" and "x.txt" pass without a question.
    for (const char* name : {"ab.da", "x.txt"}) {
        SCOPED_TRACE(name);
        auto* box = Find<QLineEdit>(save, fw::kNameBox);
        box->selectAll();
        QTest::keyClicks(box, name);
        EXPECT_EQ(TextOf(save, sn::kSaveButton), "新規保存");
        Click(save, sn::kSaveButton);
        EXPECT_TRUE(save.offering());
        EXPECT_FALSE(save.messageShown());
        Click(save, sn::kRejectButton);
        EXPECT_FALSE(save.offering());
    }

    // An existing file: the question, in green; "ＮＧ" takes it back.
    ASSERT_TRUE(ClickFile(save, "old.da"));
    EXPECT_EQ(TextOf(save, fw::kNameBox), Path("old.da"));
    EXPECT_EQ(TextOf(save, sn::kSaveButton), "変更保存");
    EXPECT_EQ(d.workspace.files.fileName, Path("old.da").toStdString());
    QTest::mouseClick(Find<QWidget>(save, fw::kNameBox), Qt::LeftButton);
    EXPECT_EQ(TextOf(save, sn::kSaveButton), "上書き保存");
    Click(save, sn::kSaveButton);
    EXPECT_TRUE(save.offering());
    EXPECT_EQ(save.messageText(), "保存ﾌｧｲﾙ名はこれでＯＫ？");
    EXPECT_EQ(TextColour(save, sn::kMessageBox), QColor(0, 128, 0));
    EXPECT_FALSE(Find<QWidget>(save, sn::kSaveButton)->isVisible());
    Click(save, sn::kRejectButton);
    EXPECT_EQ(save.messageText(), "");
    EXPECT_TRUE(Find<QWidget>(save, sn::kSaveButton)->isVisible());

    // Editing the name withdraws an offer: the new name is checked first.
    Click(save, sn::kSaveButton);
    ASSERT_TRUE(save.offering());
    QTest::keyClick(Find<QWidget>(save, fw::kNameBox), Qt::Key_Backspace);
    EXPECT_FALSE(save.offering());

    // Written over when confirmed; "保存中" blinks on the event loop first.
    ASSERT_TRUE(ClickFile(save, "old.da"));
    Click(save, sn::kSaveButton);
    Click(save, sn::kConfirmButton);
    EXPECT_TRUE(save.saving());
    EXPECT_EQ(save.messageText(), "保存中");
    EXPECT_FALSE(Find<QWidget>(save, sn::kCancelButton)->isEnabled());
    EXPECT_FALSE(save.close());  // not while it saves
    save.BlinkSavingMessage();
    EXPECT_EQ(save.messageText(), "");
    FinishSaving(save);
    EXPECT_FALSE(save.isVisible());
    EXPECT_EQ(Bytes(Path("old.da")),
              QByteArray::fromStdString(core::AllLinesDataText(d.workspace.data)));
}

TEST_F(SaveWindowTest, OnlyADataSaveRefusesAFileOfOtherRecords) {
    CollectTwoLines();
    PutBytes(Path("NOTES.TXT"), "Meeting notes\r\n");
    PutBytes(Path("notes.txt"), "Meeting notes\r\n");
    PutBytes(Path("old.txt"), "5, 1 , 2\r\n1,2\r\n3,4\r\n");
    ui::SaveWindow& save = d.save();
    d.ClickDataSet(data_set::kSaveAllButton);
    ASSERT_TRUE(ClickFile(save, "NOTES.TXT"));
    EXPECT_EQ(save.messageText(), "不適切なファイル名");
    EXPECT_TRUE(save.messageShown());
    EXPECT_EQ(TextOf(save, fw::kNameBox), Path("NOTES.TXT"));  // shown, not taken over
    EXPECT_EQ(d.workspace.files.fileName, "");
    EXPECT_NE(TextOf(save, sn::kSaveButton), "変更保存");
    // Whatever its name, a file that holds no data is not replaced by data;
    // a data file is.
    ASSERT_TRUE(ClickFile(save, "notes.txt"));
    EXPECT_TRUE(save.messageShown());
    EXPECT_EQ(save.messageText(), "不適切なファイル名");
    ASSERT_TRUE(ClickFile(save, "old.txt"));
    EXPECT_FALSE(save.messageShown());
    EXPECT_EQ(TextOf(save, sn::kSaveButton), "変更保存");
    Click(save, sn::kBackButton);

    // A listing may replace any file.
    d.program().OpenFrom(&d.dataSet());
    Find<QAction>(d.program(), pn::kSaveProgramEntry)->trigger();
    ASSERT_TRUE(save.isVisible());
    EXPECT_EQ(save.opener(), &d.program());
    EXPECT_EQ(TextOf(save, fw::kHeading), "計算ﾌﾟﾛｸﾞﾗﾑの保存");
    ASSERT_TRUE(ClickFile(save, "NOTES.TXT"));
    EXPECT_FALSE(save.messageShown());
    EXPECT_EQ(TextOf(save, sn::kSaveButton), "変更保存");
    EXPECT_EQ(d.workspace.files.fileName, Path("NOTES.TXT").toStdString());
}

TEST_F(SaveWindowTest, CancelForgetsTheNameAndBackKeepsIt) {
    CollectTwoLines();
    ui::SaveWindow& save = d.save();
    ui::LoadWindow& load = d.load();
    d.ClickDataSet(data_set::kSaveAllButton);
    SaveAs(save, "kept.da");
    ASSERT_FALSE(save.isVisible());

    d.ClickDataSet(data_set::kSaveAllButton);
    EXPECT_EQ(TextOf(save, fw::kNameBox), Path("kept.da"));
    Click(save, sn::kBackButton);
    EXPECT_TRUE(d.dataSet().isEnabled());
    d.ClickDataSet(data_set::kLoadButton);
    EXPECT_EQ(TextOf(load, fw::kNameBox), Path("kept.da"));
    Click(load, ln::kBackButton);
    EXPECT_EQ(d.workspace.files.fileName, Path("kept.da").toStdString());

    d.ClickDataSet(data_set::kSaveAllButton);
    Click(save, sn::kCancelButton);
    EXPECT_EQ(d.workspace.files.fileName, "");
    EXPECT_EQ(d.workspace.files.folderName, "");
    d.ClickDataSet(data_set::kSaveAllButton);
    EXPECT_EQ(TextOf(save, fw::kNameBox), "");
    Click(save, sn::kCancelButton);
    d.ClickDataSet(data_set::kLoadButton);
    EXPECT_EQ(TextOf(load, fw::kNameBox), "");
    Click(load, ln::kCancelButton);
    EXPECT_TRUE(d.dataSet().isVisible());
    EXPECT_TRUE(d.dataSet().isEnabled());
}

TEST_F(SaveWindowTest, AFailedWriteKeepsTheOldFileAndTheWindowOpen) {
    CollectTwoLines();
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString old = Native(folder + "/keep.da");
    PutBytes(old, "5, 1 , 2\r\n1,1\r\n2,2\r\n");
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), open));
    ASSERT_TRUE(QFile::setPermissions(folder, open & ~QFile::WriteOwner));

    ui::SaveWindow& save = d.save();
    d.ClickDataSet(data_set::kSaveAllButton);
    auto* box = Find<QLineEdit>(save, fw::kNameBox);
    box->setFocus();
    QTest::keyClicks(box, old);
    Click(save, sn::kSaveButton);
    ASSERT_TRUE(save.offering());
    Click(save, sn::kConfirmButton);
    {
        const OrdinaryUser user;
        FinishSaving(save);
    }
    EXPECT_TRUE(save.isVisible());
    EXPECT_TRUE(save.messageShown());
    EXPECT_EQ(save.messageText(), "書込めません。");
    EXPECT_EQ(TextColour(save, sn::kMessageBox), QColor(255, 0, 0));
    EXPECT_FALSE(save.offering());
    EXPECT_TRUE(Find<QWidget>(save, sn::kCancelButton)->isEnabled());
    EXPECT_EQ(Bytes(old), "5, 1 , 2\r\n1,1\r\n2,2\r\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"keep.da"});
    EXPECT_FALSE(d.dataSet().isEnabled());

    // Another name is taken as usual.
    SaveAs(save, Path("elsewhere.da"));
    EXPECT_FALSE(save.isVisible());
    EXPECT_EQ(Bytes(Path("elsewhere.da")),
              QByteArray::fromStdString(core::AllLinesDataText(d.workspace.data)));
    QFile::setPermissions(folder, open);
}

// The family loaded from the panel, fitted in the program-generation window
// and every list saved: the bytes are those of kuvatelix-fit for the same
// file and settings. The listings hold the lists as shown, whatever the
// settings are now.
TEST_F(SaveWindowTest, ListingsAreTheShownListsAsTheCommandLineWritesThem) {
    ASSERT_TRUE(QFile::copy(KX_SAMPLE_FILE, dir.filePath("family.dat")));
    Find<QAction>(d.panel(), panel::kNumericDataEntry)->trigger();
    ASSERT_TRUE(d.load().isVisible());
    ASSERT_TRUE(ClickFile(d.load(), "family.dat", true));
    ASSERT_TRUE(d.dataSet().isVisible());
    d.ClickDataSet(data_set::kGenerateButton);
    ui::ProgramWindow& program = d.program();
    ASSERT_TRUE(program.isVisible()) << d.dataSet().messageText().toStdString();
    Click(program, pn::kCalculateButton);
    ASSERT_GT(Items(program, pn::kList[4]).size(), 0);

    ui::SaveWindow& save = d.save();
    struct Listing {
        const char* entry;  // the menu entry, or none for the double click on Label2
        const char* heading;
        const char* file;
        const char* cliFile;
    };
    const Listing listings[] = {
        {pn::kSaveProgramEntry, "計算ﾌﾟﾛｸﾞﾗﾑの保存", "prog.txt", "program.txt"},
        {pn::kSaveSummaryEntry, "計算適応式保存", "eq.txt", "equations.txt"},
        {pn::kSaveAllEntry, "計算結果全保存", "all.txt", "results.txt"},
        {nullptr, "履歴保存", "hist.txt", "history.txt"}};
    for (const Listing& listing : listings) {
        SCOPED_TRACE(listing.file);
        if (listing.entry != nullptr) {
            Find<QAction>(program, listing.entry)->trigger();
        } else {
            QTest::mouseDClick(Find<QWidget>(program, pn::kHistoryLabel), Qt::LeftButton);
        }
        ASSERT_TRUE(save.isVisible());
        EXPECT_EQ(TextOf(save, fw::kHeading), listing.heading);
        EXPECT_EQ(TextOf(save, sn::kSaveButton), listing.heading);
        SaveAs(save, listing.file);
        EXPECT_FALSE(save.isVisible());
        EXPECT_TRUE(program.isVisible());
        EXPECT_TRUE(program.isEnabled());
    }

    QProcess fit;
    fit.start(KX_FIT_PROGRAM, {"--mode", "2", "--cutoff", "0.00076", "--out", dir.filePath("cli"),
                               dir.filePath("family.dat")});
    ASSERT_TRUE(fit.waitForFinished(120000));
    ASSERT_EQ(fit.exitCode(), 0) << fit.readAllStandardError().toStdString();
    for (const Listing& listing : listings) {
        SCOPED_TRACE(listing.file);
        const QByteArray written = Bytes(Path(listing.file));
        EXPECT_GT(written.size(), 0);
        EXPECT_EQ(written, Bytes(dir.filePath("cli/") + listing.cliFile));
    }

    // The error mode changed since the run: the details as shown are saved,
    // not those the new mode would give ("最大誤差=").
    d.workspace.settings.errorMode = 0;
    Find<QAction>(program, pn::kSaveAllEntry)->trigger();
    SaveAs(save, "all-again.txt");
    EXPECT_EQ(Bytes(Path("all-again.txt")), Bytes(Path("all.txt")));
    EXPECT_FALSE(Bytes(Path("all-again.txt")).contains(Records({"最大誤差="}).chopped(2)));
}

TEST_F(SaveWindowTest, AStoppedRunSavesWhatItShows) {
    d.workspace.data = PreparedFamily({60, 60, 60});
    ui::ProgramWindow& program = d.program();
    program.OpenFrom(&d.panel());
    program.observer().SetEventInterval(0);
    auto* stopper = new QTimer(&program);
    stopper->setInterval(0);
    QObject::connect(stopper, &QTimer::timeout, [&] {
        if (d.workspace.results.partitionCounter < 20) return;
        stopper->stop();
        Click(d.desktop.gauge(), gn::kStopButton);
    });
    stopper->start();
    Click(program, pn::kCalculateButton);
    ASSERT_FALSE(d.workspace.results.completed);
    const QStringList history = Items(program, pn::kList[1]);
    ASSERT_FALSE(history.isEmpty());

    QTest::mouseDClick(Find<QWidget>(program, pn::kHistoryLabel), Qt::LeftButton);
    SaveAs(d.save(), Path("stopped.txt"));
    EXPECT_EQ(Bytes(Path("stopped.txt")), Records(history));
    Find<QAction>(program, pn::kSaveAllEntry)->trigger();
    SaveAs(d.save(), Path("stopped-all.txt"));
    const QString separator(40, '*');
    EXPECT_EQ(Bytes(Path("stopped-all.txt")),
              Records(Items(program, pn::kList[2]) + QStringList{separator} +
                      Items(program, pn::kList[3]) + QStringList{separator} +
                      Items(program, pn::kList[4])));
}

}  // namespace
}  // namespace kx::test
