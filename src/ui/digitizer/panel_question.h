#pragma once

#include <QFrame>
#include <QStringList>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;

namespace kx::ui {

// A question the panel asks over its controls, as the program's windows ask
// theirs: the text in the message place, an answer button for each choice
// below it. It stays until it is answered; the panel's controls and the
// canvas wait meanwhile.
class PanelQuestion : public QFrame {
    Q_OBJECT
public:
    using Answered = std::function<void(int choice)>;

    explicit PanelQuestion(QWidget* panel);

    // Shows `text` with a button for each of `choices` (at most three);
    // `answered` gets the index of the one pressed.
    void Ask(const QString& text, const QStringList& choices, Answered answered);
    bool asking() const { return !isHidden(); }
    QString text() const;

signals:
    void closed();  // answered: the panel's controls may act again

private:
    void Answer(int choice);

    QLabel* text_;
    std::vector<QPushButton*> buttons_;
    Answered answered_;
};

}  // namespace kx::ui
