#include "ui/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

QGroupBox* Frame(QWidget* parent, const char* title, QRect geometry) {
    auto* frame = new QGroupBox(QString::fromUtf8(title), parent);
    frame->setGeometry(geometry);
    frame->setMouseTracking(true);
    return frame;
}

}  // namespace kx::ui
