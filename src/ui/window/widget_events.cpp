#include "ui/window/widget_events.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace kx::ui {

WidgetEvents::WidgetEvents(QWidget* widget) : QObject(widget) {
    setObjectName("WidgetEvents");
    widget->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        area->viewport()->installEventFilter(this);
        area->viewport()->setMouseTracking(true);
    }
    widget->setMouseTracking(true);
}

WidgetEvents& WidgetEvents::Of(QWidget* widget) {
    auto* events = widget->findChild<WidgetEvents*>("WidgetEvents", Qt::FindDirectChildrenOnly);
    return events != nullptr ? *events : *new WidgetEvents(widget);
}

void WidgetEvents::Silence(QWidget* window) {
    for (WidgetEvents* events : window->findChildren<WidgetEvents*>()) events->blockSignals(true);
}

bool WidgetEvents::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter: emit entered(); break;
        case QEvent::MouseMove:
            emit moved(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseButtonPress:
            emit pressed(static_cast<QMouseEvent*>(event)->button());
            break;
        case QEvent::MouseButtonDblClick:
            emit doubleClicked(static_cast<QMouseEvent*>(event)->button());
            break;
        case QEvent::KeyPress: emit keyPressed(static_cast<QKeyEvent*>(event)->key()); break;
        case QEvent::FocusOut: emit focusLost(static_cast<QFocusEvent*>(event)->reason()); break;
        case QEvent::Resize: emit resized(); break;
        case QEvent::Move: emit windowMoved(); break;
        default: break;
    }
    return false;
}

}  // namespace kx::ui
