#include "ui/window/child_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "render/japanese_font.h"
#include "ui/window/screen_place.h"
#include "ui/window/widget_events.h"

namespace kx::ui {

ChildWindow::ChildWindow(QWidget* mainWindow, const char* name, const QString& caption)
    : QWidget(nullptr, Qt::Window), mainWindow_(mainWindow) {
    setObjectName(name);
    setWindowTitle(caption);
    setFont(render::JapaneseFont(9));
    connect(&messageTimer_, &QTimer::timeout, this, &ChildWindow::HideMessages);
}

ChildWindow::~ChildWindow() {
    WidgetEvents::Silence(this);
}

void ChildWindow::OpenFrom(QWidget* opener) {
    opener_ = opener;
    if (opener != nullptr) opener->setEnabled(false);
    // The main window is given back on return only when this opening took it.
    disabledMainWindow_ = false;
    if (!KeepsCanvasUsable() && mainWindow_ != nullptr && mainWindow_->isVisible() &&
        mainWindow_->isEnabled()) {
        mainWindow_->setEnabled(false);
        disabledMainWindow_ = true;
    }
    Opening();
    if (timerRunsWhileOpen_) messageTimer_.start();
    setEnabled(true);
    // Wherever it was put (or last stood), it opens wholly on its screen.
    KeepOnScreen(*this, mainWindow_ != nullptr ? mainWindow_ : opener);
    show();
    KeepOnScreen(*this, mainWindow_ != nullptr ? mainWindow_ : opener);
    raise();
    activateWindow();
}

bool ChildWindow::ReturnToOpener() {
    return close();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (!CanReturn()) {
        event->ignore();
        return;
    }
    Returning();
    messageTimer_.stop();
    event->accept();
    if (disabledMainWindow_ && mainWindow_ != nullptr) mainWindow_->setEnabled(true);
    disabledMainWindow_ = false;
    QWidget* opener = opener_;
    if (opener != nullptr) {
        opener->setEnabled(true);
        opener->show();
        opener->raise();
        opener->activateWindow();
    }
    emit returned(opener);
}

void ChildWindow::SetUpMessageTimer(const char* name, int intervalMs, bool runsWhileOpen) {
    messageTimer_.setObjectName(name);
    messageTimer_.setInterval(intervalMs);
    timerRunsWhileOpen_ = runsWhileOpen;
}

void ChildWindow::AddMessageBox(QWidget* box, bool emptiedOnTick) {
    messageBoxes_.push_back({box, emptiedOnTick});
}

void ChildWindow::ShowMessageBox(QWidget* box) {
    box->show();
    box->raise();
    messageTimer_.start();
}

void ChildWindow::HideMessages() {
    for (const MessageBox& message : messageBoxes_) {
        if (message.emptied) {
            if (auto* label = qobject_cast<QLabel*>(message.box)) label->clear();
            if (auto* text = qobject_cast<QPlainTextEdit*>(message.box)) text->clear();
            if (auto* text = qobject_cast<QTextEdit*>(message.box)) text->clear();
        }
        message.box->hide();
    }
    if (!timerRunsWhileOpen_) messageTimer_.stop();
}

}  // namespace kx::ui
