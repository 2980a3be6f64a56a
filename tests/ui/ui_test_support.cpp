#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "ui/canvas.h"
#include "ui/data_set_window.h"
#include "ui/digitizer_panel.h"
#include "ui/main_window.h"

namespace kx::test {
namespace {

// One application for the whole test program, made before the first test.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kx_ui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

Digitizer::Digitizer() {
    main = std::make_unique<ui::MainWindow>(workspace);
    main->move(0, 0);
    panel = std::make_unique<ui::DigitizerPanel>(workspace, *main);
    panel->show();
    QCoreApplication::processEvents();
}

Digitizer::~Digitizer() {
    panel.reset();
    main.reset();
}

ui::Canvas& Digitizer::canvas() {
    return main->canvas();
}

ui::DataSetWindow& Digitizer::dataSet() {
    return panel->dataSetWindow();
}

void Digitizer::Click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void Digitizer::ClickPanel(const QString& name) {
    Click(panelControl<QAbstractButton>(name));
}

void Digitizer::MovePointer(QPoint pixel) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pixel), canvas().mapToGlobal(QPointF(pixel)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas(), &move);
    // The live display runs its conversion on every second tick.
    panel->onLiveTick();
    panel->onLiveTick();
}

void Digitizer::ClickCanvasPixel(QPoint pixel) {
    MovePointer(pixel);
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, pixel);
}

void Digitizer::Type(QLineEdit* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
        return;
    }
    QTest::keyClicks(box, text);
}

void Digitizer::TypeInto(const QString& name, const QString& text) {
    Type(panelControl<QLineEdit>(name), text);
}

void Digitizer::PastePicture(const QImage& picture) {
    QApplication::clipboard()->setImage(picture);
    ClickPanel("Command1");
}

void Digitizer::PlacePoint(int box, QPoint pixel) {
    ClickPanel(QStringLiteral("Check%1").arg(box));
    ClickCanvasPixel(pixel);
}

QImage DrawGraph(QSize size, QPoint origin, int width, int height,
                 const std::vector<std::function<double(int)>>& curvePixelY) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
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

}  // namespace kx::test
