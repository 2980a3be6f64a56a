#pragma once

#include <QApplication>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/data/preparation.h"

// Shared pieces of the program-generation window tests: the application on
// the offscreen platform, finding controls by their names, and test families.
namespace kx::test {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "results_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own globals may already be gone.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Base of the window tests: the application exists before any member widget.
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

inline void Click(const QObject& root, const QString& name) {
    QWidget* widget = Find<QWidget>(root, name);
    if (widget != nullptr) QTest::mouseClick(widget, Qt::LeftButton);
}

// Clicks a check box or option button on its indicator.
inline void Tick(const QObject& root, const QString& name) {
    QWidget* widget = Find<QWidget>(root, name);
    if (widget != nullptr) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
    }
}

inline QStringList Items(const QObject& root, const QString& list) {
    QStringList out;
    if (const QListWidget* widget = Find<QListWidget>(root, list)) {
        for (int i = 0; i < widget->count(); ++i) out << widget->item(i)->text();
    }
    return out;
}

inline QStringList ToQ(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out;
}

// Rows "X<separator>Y" of a curve Y = (a + b X^1.3) (1 + noise), CR LF ended.
inline std::string CurveRows(int points, double a, double b, double noise, const char* separator,
                             unsigned seed = 7) {
    std::mt19937 random(seed);
    std::normal_distribution<double> jitter(0.0, 1.0);
    std::string text;
    for (int i = 0; i < points; ++i) {
        const double x = 1.0 + 0.5 * i;
        const double y = (a + b * std::pow(x, 1.3)) * (1.0 + noise * jitter(random));
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "%.6g%s%.6g\r\n", x, separator, y);
        text += buffer;
    }
    return text;
}

// A family prepared as the DataSet window prepares it: line k has points[k-1]
// points and the parameter 10 k.
inline core::DataSet PreparedFamily(const std::vector<int>& points, double noise = 0.01) {
    core::DataSet data;
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(data, line);
    for (std::size_t k = 0; k < points.size(); ++k) {
        const int line = static_cast<int>(k) + 1;
        data.parameterText[line] = std::to_string(10 * line);
        core::SetPointText(data, line,
                           CurveRows(points[k], 5.0, 1.0 + 0.2 * line, noise, ",", 11u + k));
    }
    EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared);
    return data;
}

}  // namespace kx::test
