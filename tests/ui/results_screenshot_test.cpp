// Pictures of the program-generation windows for a look by eye; run by
// tools/screenshot_results.sh, skipped unless KX_SCREENSHOT_DIR names a folder.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "results_support.h"
#include "ui/conditions_window.h"
#include "ui/control_names.h"
#include "ui/exclusion_window.h"
#include "ui/gauge_window.h"
#include "ui/keyboard_window.h"
#include "ui/program_window.h"

namespace kx::test {
namespace {

class ResultsScreenshots : public WindowTest {
protected:
    void SetUp() override {
        folder = qEnvironmentVariable("KX_SCREENSHOT_DIR");
        if (folder.isEmpty()) GTEST_SKIP() << "KX_SCREENSHOT_DIR not set";
        QDir().mkpath(folder);
    }
    void Save(QWidget& widget, const char* name) {
        QApplication::processEvents();
        const QString file = folder + "/" + name + ".png";
        EXPECT_TRUE(widget.grab().save(file)) << file.toStdString();
    }
    QString folder;
    ui::Workspace workspace;
    QWidget opener;
};

TEST_F(ResultsScreenshots, Windows) {
    ui::ProgramWindow program(workspace);
    ui::KeyboardWindow keyboard(workspace, program);
    keyboard.openFrom(&opener);
    for (int i = 0; i < 3; ++i) {
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(CurveRows(12 + i, 5, 1.2 + 0.2 * i, 0.01, "\t", 5u + i)));
        auto* box = Find<QPlainTextEdit>(keyboard, ui::ArrayName("Text2", i));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        if (i < 2) Click(keyboard, "Command2");
    }
    Save(keyboard, "keyboard_entry");
    Click(keyboard, "Command5");
    Save(keyboard, "keyboard_entry_help");
    Click(keyboard, "Command3");  // no line 4: program generation opens
    Save(program, "program_first_open");
    program.timer1Tick();
    Click(program, "Command1");
    Save(program, "program_after_run");
    // The clearing hint over the button, then the copy message beside List3.
    auto* button = Find<QPushButton>(program, "Command1");
    QMouseEvent move(QEvent::MouseMove, QPointF(button->rect().center()),
                     QPointF(button->mapToGlobal(button->rect().center())), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    Save(program, "program_clearing_hint");
    auto* list3 = Find<QListWidget>(program, "List3");
    QTest::mouseClick(list3->viewport(), Qt::LeftButton, {},
                      list3->visualItemRect(list3->item(1)).center());
    QTest::mousePress(list3->viewport(), Qt::RightButton, {},
                      list3->visualItemRect(list3->item(1)).center());
    Save(program, "program_copied");
    program.timer3Tick();

    Find<QAction>(program, "SEIDO")->trigger();
    Save(*program.conditionsWindow(), "conditions");
    auto* precision = Find<QLineEdit>(*program.conditionsWindow(), "Text2");
    precision->selectAll();
    QTest::keyClicks(precision, "0.9");
    QTest::keyClicks(Find<QLineEdit>(*program.conditionsWindow(), "Text1"), "7");
    Click(*program.conditionsWindow(), "Command1");
    Save(*program.conditionsWindow(), "conditions_input_errors");
    Click(*program.conditionsWindow(), "Command3");

    Find<QAction>(program, "HAITA")->trigger();
    ui::ExclusionWindow& exclusion = *program.exclusionWindow();
    for (int i = 0; i < 7; ++i) Tick(exclusion, ui::ArrayName("Check1", i));
    Click(exclusion, "Command2");
    Save(exclusion, "exclusion_none_left");
    Click(exclusion, "Command3");
    Save(exclusion, "exclusion_help");
    Click(exclusion, "Command1");
    Click(exclusion, "Command2");

    // A long run: the gauge part way, then stopped.
    workspace.data = PreparedFamily({100, 100, 100, 100});
    program.openFrom(&opener);
    auto* timer = new QTimer(&program);
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        if (workspace.results.partitionCounter < workspace.data.progressTotal / 2) return;
        timer->stop();
        program.gauge().timer1Tick();
        Save(program.gauge(), "gauge_half_way");
        Save(program, "program_running");
        Click(program.gauge(), "Command1");
    });
    timer->start();
    Click(program, "Command1");
    Save(program, "program_stopped");

    // Back to the keyboard entry (the long family's fourth line gone): page 5
    // typed with page 4 left empty.
    Click(program, "Command2");
    core::ResetLine(workspace.data, 4);
    keyboard.openFrom(&opener);
    QTest::mouseClick(Find<QPlainTextEdit>(keyboard, "Text4")->viewport(), Qt::LeftButton);
    Find<QPlainTextEdit>(keyboard, ui::ArrayName("Text2", 4))->setPlainText("1,2\n2,3\n3,5\n");
    Click(keyboard, "Command3");
    Save(keyboard, "keyboard_message");
}

}  // namespace
}  // namespace kx::test
