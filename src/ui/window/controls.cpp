#include "ui/window/controls.h"

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QString>

namespace kx::ui {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QLineEdit* Box(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

QLabel* Caption(QWidget* parent, const char* text, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(geometry);
    return label;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QGroupBox* Frame(QWidget* parent, const char* title, QRect geometry) {
    auto* frame = new QGroupBox(QString::fromUtf8(title), parent);
    frame->setGeometry(geometry);
    frame->setMouseTracking(true);
    return frame;
}

QLabel* Title(QWidget* parent, const char* name, const char* text, QRect geometry) {
    QLabel* title = NamedLabel(parent, name, QString::fromUtf8(text), geometry);
    SetTextColour(title, QColor(0, 0, 160));
    SetBold(title);
    return title;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    if (qobject_cast<QLabel*>(widget) != nullptr) widget->setAutoFillBackground(true);
}

QColor BackgroundOf(const QWidget* widget) {
    const QPalette::ColorRole role =
        qobject_cast<const QLabel*>(widget) != nullptr ? QPalette::Window : QPalette::Base;
    return widget->palette().color(role);
}

void SetBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace kx::ui
