#include "ui/results/keyboard_window.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <string>

#include "core/data/keyboard_text.h"
#include "core/data/preparation.h"
#include "ui/results/results_names.h"
#include "ui/window/clipboard_memory.h"
#include "ui/window/controls.h"
#include "ui/window/refusal_line.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {

// A data box that does not paste what the clipboard memory calls stale.
class PairBox : public QPlainTextEdit {
public:
    PairBox(const ClipboardMemory& clipboard, QWidget* parent)
        : QPlainTextEdit(parent), clipboard_(clipboard) {}

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override {
        return clipboard_.MayPasteText(source) && QPlainTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (clipboard_.MayPasteText(source)) QPlainTextEdit::insertFromMimeData(source);
    }

private:
    const ClipboardMemory& clipboard_;
};

namespace {

namespace n = names::keyboard;

const char* const kInstructions[10] = {
    "先ず、採取するﾊﾟﾗﾒｰﾀ値を入力", "した後、Ｘ、Ｙﾃﾞｰﾀをｶﾝﾏ区切り",
    "、ﾌﾞﾗﾝｸ区切りで、ｷｰﾎﾞｰﾄﾞから", "入力します。",
    "ﾃﾞｰﾀ入力後はリターンキーでそ", "れぞれの組を確定します。",
    "また、この画面ではExcelや",    "ｴﾃﾞｨﾀ等からのCOPY/PASTE機能を",
    "利用出来ます。この画面を消す", "には表示域をマウスでクリックします。"};

const char* const kPresetMessage = "採取ﾃﾞｰﾀにｶﾝﾏが有りません";

const char* MessageText(int number) {
    switch (number) {
        case core::kKeyboardBlankValue: return "ﾌﾞﾗﾝｸﾃﾞｰﾀが存在します";
        case core::kKeyboardBadX: return "X値が異常";
        case core::kKeyboardBadY: return "Y値が異常";
        case core::kKeyboardGap: return "ﾃﾞｰﾀの無いParameterが有る";
        case core::kKeyboardTooFewPairs: return "X,Yﾃﾞｰﾀの組が少ない";
        case core::kKeyboardNoSeparator: return "X,Yﾃﾞｰﾀ異常";
        // The window has no text of its own for a parameter it cannot use.
        case core::kKeyboardBadParameter: return "パラメータが数値でない";
        default: return "";
    }
}

// A text box holds its lines with LF; the data set holds them with CR LF.
std::string ToCrLf(const QString& text) {
    QString out = text;
    out.replace(QChar::ParagraphSeparator, QChar('\n'));
    out.replace("\r\n", "\n");
    out.replace('\r', '\n');
    out.replace("\n", "\r\n");
    return out.toStdString();
}

QString FromCrLf(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace("\r\n", "\n");
    return out;
}

}  // namespace

KeyboardWindow::KeyboardWindow(Workspace& workspace, const ClipboardMemory& clipboard,
                               QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("ﾃﾞｰﾀ入力")), workspace_(workspace) {
    setFixedSize(TwipsToPixels(6360), TwipsToPixels(7260));

    Title(this, "", "キーボード入力", TwipsRect(240, 120, 3000, 330));
    auto* previous = Button(this, n::kPreviousButton, "←", TwipsRect(240, 540, 600, 420));
    pageLabel_ = NamedLabel(this, n::kPageLabel, "1", TwipsRect(900, 570, 720, 360));
    pageLabel_->setAlignment(Qt::AlignCenter);
    pageLabel_->setFrameShape(QFrame::Panel);
    pageLabel_->setFrameShadow(QFrame::Sunken);
    auto* next = Button(this, n::kNextButton, "→", TwipsRect(1680, 540, 600, 420));

    Caption(this, "Parameter 変更", TwipsRect(240, 1080, 2400, 300));
    Caption(this, "Parameter", TwipsRect(240, 1440, 1200, 330));
    Caption(this, "Ｘ、Ｙデータ", TwipsRect(240, 1920, 2000, 300));
    Caption(this, "ﾃﾞｰﾀ数", TwipsRect(240, 6210, 900, 330));

    // The ten pages lie on top of each other; only the current one is shown.
    for (int i = 0; i < 10; ++i) {
        auto* page = new QWidget(this);
        page->setGeometry(TwipsRect(0, 1380, 3450, 5220));
        auto* parameter = Box(page, "", TwipsRect(1440, 30, 1800, 360));
        parameter->setObjectName(ArrayName(n::kParameterBox, i));
        parameter->setText(QString::number(i + 1));
        auto* dataBox = new PairBox(clipboard, page);
        dataBox->setObjectName(ArrayName(n::kDataBox, i));
        dataBox->setGeometry(TwipsRect(240, 870, 3060, 3870));
        dataBox->setLineWrapMode(QPlainTextEdit::NoWrap);
        dataBox->setTabChangesFocus(false);
        auto* count = Box(page, "", TwipsRect(1200, 4800, 900, 360));
        count->setObjectName(ArrayName(n::kCountBox, i));
        count->setText("0");
        page->setVisible(i == 0);
        page_[i] = page;
        parameterBox_[i] = parameter;
        dataBox_[i] = dataBox;
        countBox_[i] = count;
    }

    auto* generate =
        Button(this, n::kGenerateButton, "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成", TwipsRect(3900, 2250, 2280, 480));
    auto* help = Button(this, n::kHelpButton, "？", TwipsRect(3900, 2880, 600, 420));
    auto* back = Button(this, n::kBackButton, "戻る", TwipsRect(3900, 5640, 1500, 480));

    QString instructions;
    for (const char* line : kInstructions) instructions += QString(line) + "\n";
    instructions_ = new QPlainTextEdit(instructions, this);
    instructions_->setObjectName(n::kInstructions);
    instructions_->setReadOnly(true);
    instructions_->setLineWrapMode(QPlainTextEdit::NoWrap);
    instructions_->setGeometry(TwipsRect(240, 2250, 3600, 3000));
    SetBackground(instructions_, QColor(255, 255, 210));
    instructions_->hide();

    messageLine_ =
        NamedLabel(this, n::kMessageLine, kPresetMessage, TwipsRect(240, 6720, 5880, 360));
    SetTextColour(messageLine_, QColor(255, 0, 255));
    SetBold(messageLine_);
    messageLine_->hide();
    SetUpMessageTimer(n::kMessageTimer, 4000, true);
    AddMessageBox(messageLine_, true);

    connect(previous, &QPushButton::clicked, this, &KeyboardWindow::ShowPreviousPage);
    connect(next, &QPushButton::clicked, this, &KeyboardWindow::ShowNextPage);
    connect(generate, &QPushButton::clicked, this, &KeyboardWindow::GenerateProgram);
    connect(help, &QPushButton::clicked, this, &KeyboardWindow::ShowInstructions);
    connect(back, &QPushButton::clicked, this, &KeyboardWindow::ReturnToOpener);
    for (int i = 0; i < 10; ++i) {
        connect(parameterBox_[i], &QLineEdit::returnPressed, dataBox_[i],
                [box = dataBox_[i]] { box->setFocus(Qt::OtherFocusReason); });
        connect(dataBox_[i], &QPlainTextEdit::textChanged, this, [this, i] { DataEdited(i); });
        connect(&WidgetEvents::Of(dataBox_[i]), &WidgetEvents::keyPressed, this,
                [this, i](int key) {
                    if (key == Qt::Key_Return || key == Qt::Key_Enter) CountTypedPairs(i);
                });
    }
    connect(&WidgetEvents::Of(instructions_), &WidgetEvents::pressed, instructions_,
            &QWidget::hide);
    connect(&WidgetEvents::Of(messageLine_), &WidgetEvents::pressed, messageLine_, &QWidget::hide);
}

void KeyboardWindow::Opening() {
    if (!loaded_) {
        loaded_ = true;
        move(TwipsToPixels(6300), 0);
    }
    TakeDataBoxes();
}

void KeyboardWindow::TakeDataBoxes() {
    core::DataSet& dataSet = workspace_.data;
    if (dataBox_[0]->toPlainText().isEmpty()) {
        dataSet.lineCount = 1;
        return;
    }
    int count = 0;
    while (count < 10 && !dataBox_[count]->toPlainText().isEmpty()) {
        dataSet.pointText[count + 1] =
            core::KeyboardPointText(ToCrLf(dataBox_[count]->toPlainText()));
        ++count;
    }
    dataSet.lineCount = static_cast<int16_t>(count);
}

void KeyboardWindow::ShowPage(int page) {
    currentPage_ = page;
    for (int i = 0; i < 10; ++i) page_[i]->setVisible(i == page);
    pageLabel_->setText(QString::number(page + 1));
}

void KeyboardWindow::ShowPreviousPage() {
    ShowPage(std::max(currentPage_ - 1, 0));
}

void KeyboardWindow::ShowNextPage() {
    ShowPage((currentPage_ + 1) % 10);
}

void KeyboardWindow::DataEdited(int page) {
    QPlainTextEdit* box = dataBox_[page];
    const QString typed = box->toPlainText();
    // The box takes the normalised text back when an empty text line was
    // removed or only line breaks were left, again until nothing changes; the
    // rounds run on the text, and the box is set once. The CR LF the
    // normalising appends stays out of the box.
    QString shown = typed;
    int cursor = box->textCursor().position();
    // A Return inside the text splits its line there: the empty line it
    // leaves under the cursor is where the next pair is typed.
    const QTextBlock block = box->textCursor().block();
    const int typingLine = block.text().isEmpty() && block.next().isValid() ? block.blockNumber()
                                                                            : core::kNoTypingLine;
    core::KeyboardBox normal = core::NormaliseKeyboardBox(ToCrLf(typed), typingLine);
    for (int round = 0; round < 200; ++round) {
        QString next = FromCrLf(normal.text);
        if (!shown.endsWith('\n') && next.endsWith('\n')) next.chop(1);
        if (next == shown) break;
        cursor = std::clamp(cursor - static_cast<int>(shown.size() - next.size()), 0,
                            static_cast<int>(next.size()));
        shown = next;
        normal = core::NormaliseKeyboardBox(ToCrLf(shown), typingLine);
    }
    if (shown != typed) {
        const QSignalBlocker ownText(box);
        box->setPlainText(shown);
        QTextCursor moved = box->textCursor();
        moved.setPosition(cursor);
        box->setTextCursor(moved);
    }
    core::DataSet& dataSet = workspace_.data;
    countBox_[page]->setText(QString::number(normal.count));
    // An emptied box leaves the line without pairs.
    dataSet.pointCount[page + 1] = normal.count;
    if (page != currentPage_) ShowPage(page);
    // The pairs past a line's 100 are not taken: said, as a 101st click is.
    if (core::KeyboardPairsBeyondLimit(normal.text)) {
        messageLine_->setText(QStringLiteral("ﾃﾞｰﾀ数が100点を超えます"));
        ShowMessageBox(messageLine_);
    }
    // The data set holds the pairs as the DataSet window shows and prepares
    // them, one "X,Y" a line.
    dataSet.pointText[page + 1] = core::KeyboardPointText(normal.text);
}

void KeyboardWindow::CountTypedPairs(int page) {
    // Return confirms the pairs typed so far.
    const int16_t count = core::CountKeyboardPairs(ToCrLf(dataBox_[page]->toPlainText()) + "\r\n");
    countBox_[page]->setText(QString::number(count));
    workspace_.data.pointCount[page + 1] = count;
}

void KeyboardWindow::GenerateProgram() {
    messageTimer().stop();
    emit canvasHideRequested();
    core::KeyboardPages pages;
    for (int j = 1; j <= 10; ++j) {
        pages[j].parameterText = parameterBox_[j - 1]->text().toStdString();
        pages[j].countText = countBox_[j - 1]->text().toStdString();
    }
    const int16_t message = core::PrepareKeyboardEntry(workspace_.data, pages);
    if (message == core::kKeyboardNothingParsed) {
        ShowMessageBox(messageLine_);
        return;
    }
    if (message != core::kKeyboardPrepared) {
        ShowMessage(message);
        return;
    }
    // An earlier refusal has been mended: its message goes.
    HideMessages();
    emit programGenerationRequested();
}

void KeyboardWindow::ShowMessage(int number) {
    QString text = QString::fromUtf8(MessageText(number));
    if (number == core::kKeyboardBadParameter)
        text = ParameterRefusalText(text, workspace_.data.refusal);
    messageLine_->setText(text);
    ShowMessageBox(messageLine_);
}

void KeyboardWindow::ShowInstructions() {
    instructions_->show();
    instructions_->raise();
}

void KeyboardWindow::changeEvent(QEvent* event) {
    ChildWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && loaded_) {
        TakeDataBoxes();
    }
}

}  // namespace kx::ui
