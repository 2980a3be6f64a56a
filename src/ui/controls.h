#pragma once

#include <QRect>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Makers of the digitizer windows' controls at their places, named as the
// system names them so that tests find them.
namespace kx::ui {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect geometry);
QLineEdit* Box(QWidget* parent, const char* name, QRect geometry);
QLabel* Caption(QWidget* parent, const char* text, QRect geometry);
QGroupBox* Frame(QWidget* parent, const char* title, QRect geometry);

}  // namespace kx::ui
