#pragma once

#include <QRect>

class QColor;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// Makers of the windows' controls at their places, named as the system names
// them (control_names.h), and the one way their colours and weights are set:
// the palette and the font, never a style sheet.
namespace kx::ui {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect geometry);
QLineEdit* Box(QWidget* parent, const char* name, QRect geometry);
QLabel* Caption(QWidget* parent, const char* text, QRect geometry);
QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text, QRect geometry);
QGroupBox* Frame(QWidget* parent, const char* title, QRect geometry);
// A window's heading in bold dark blue.
QLabel* Title(QWidget* parent, const char* name, const char* text, QRect geometry);

// The text colour of a label, box or button.
void SetTextColour(QWidget* widget, const QColor& colour);
// The background of a label (filled from then on) or of a box.
void SetBackground(QWidget* widget, const QColor& colour);
QColor BackgroundOf(const QWidget* widget);
void SetBold(QWidget* widget, bool bold = true);

}  // namespace kx::ui
