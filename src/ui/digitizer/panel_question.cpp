#include "ui/digitizer/panel_question.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "render/japanese_font.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/window/array_name.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"

namespace kx::ui {
namespace {

namespace n = names::panel;

constexpr int kChoices = 3;
constexpr int kWidth = 3000;  // twips, the panel's width less its margins

}  // namespace

PanelQuestion::PanelQuestion(QWidget* panel) : QFrame(panel) {
    setObjectName(n::kQuestion);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    text_ = NamedLabel(this, n::kQuestionText, QString(), TwipsRect(90, 60, kWidth - 180, 600));
    text_->setWordWrap(true);
    text_->setFont(render::JapaneseFont(9));
    SetTextColour(text_, QColor(0, 128, 0));
    const int width = (kWidth - 180 - (kChoices - 1) * 60) / kChoices;
    for (int i = 0; i < kChoices; ++i) {
        QPushButton* button =
            Button(this, "", "", TwipsRect(90 + i * (width + 60), 720, width, 360));
        button->setObjectName(ArrayName(n::kQuestionButton, i));
        connect(button, &QPushButton::clicked, this, [this, i] { Answer(i); });
        buttons_.push_back(button);
    }
    resize(TwipsToPixels(kWidth), TwipsToPixels(1170));
    hide();
}

void PanelQuestion::Ask(const QString& text, const QStringList& choices, Answered answered) {
    text_->setText(text);
    // The row shares the width by the captions' lengths, so that a longer
    // caption shows whole beside short ones.
    const int count = static_cast<int>(std::min<qsizetype>(choices.size(), kChoices));
    const int left = TwipsToPixels(90), gap = TwipsToPixels(60);
    const int room = width() - 2 * left - (count - 1) * gap;
    int needed = 0;
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) {
        widths.push_back(
            buttons_[static_cast<std::size_t>(i)]->fontMetrics().horizontalAdvance(choices[i]) +
            TwipsToPixels(150));
        needed += widths.back();
    }
    const int spare = std::max(0, room - needed) / std::max(1, count);
    int x = left;
    for (int i = 0; i < kChoices; ++i) {
        QPushButton* button = buttons_[static_cast<std::size_t>(i)];
        button->setVisible(i < count);
        if (i >= count) continue;
        button->setText(choices[i]);
        const int w = widths[static_cast<std::size_t>(i)] + spare;
        button->setGeometry(x, button->y(), w, button->height());
        x += w + gap;
    }
    answered_ = std::move(answered);
    show();
    raise();
    buttons_.front()->setFocus();
}

QString PanelQuestion::text() const {
    return text_->text();
}

void PanelQuestion::Answer(int choice) {
    hide();
    emit closed();
    // The answer may ask the next question at once.
    if (Answered answered = std::move(answered_)) answered(choice);
}

}  // namespace kx::ui
