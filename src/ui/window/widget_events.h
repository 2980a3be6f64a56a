#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace kx::ui {

// The events of one widget that a window reacts to, as signals: a window
// connects them with its other signals instead of dispatching them in an
// event filter. Nothing is consumed; the widget handles every event as usual.
class WidgetEvents : public QObject {
    Q_OBJECT
public:
    // The signals of `widget`, made on the first call. For a box that scrolls
    // (a text box, a list) the mouse events come from its viewport.
    static WidgetEvents& Of(QWidget* widget);
    // No more signals from the widgets of `window`: called as a window starts
    // to go, since its widgets still lose the focus or hide while the
    // toolkit takes them down, when the window's own part is gone.
    static void Silence(QWidget* window);

signals:
    void entered();               // the pointer came over the widget
    void moved(QPoint position);  // the pointer moved over it
    void pressed(Qt::MouseButton button);
    void doubleClicked(Qt::MouseButton button);
    void keyPressed(int key);
    void focusLost(Qt::FocusReason reason);
    void resized();
    void windowMoved();  // a window moved on the screen (or its frame came)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WidgetEvents(QWidget* widget);
};

}  // namespace kx::ui
