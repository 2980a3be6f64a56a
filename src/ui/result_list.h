#pragma once

#include <QListWidget>

namespace kx::ui {

// One of the four lists of the program-generation window. Every press is
// announced first (the window clears the other lists' selections); a right
// press on a list that copies asks for the copy and leaves the selection as it
// is; a left double click on a list that can be enlarged asks for that.
class ResultList : public QListWidget {
    Q_OBJECT
public:
    ResultList(const char* name, bool copies, bool enlarges, QWidget* parent);

signals:
    void pressed();
    void copyRequested();
    void enlargeRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool copies_;
    bool enlarges_;
};

}  // namespace kx::ui
