#include "ui/keyboard_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <algorithm>
#include <string>

#include "core/data/preparation.h"
#include "ui/control_names.h"
#include "ui/controls.h"
#include "ui/japanese_font.h"
#include "ui/program_window.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

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

KeyboardWindow::KeyboardWindow(Workspace& workspace, ProgramWindow& programWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace), programWindow_(programWindow) {
    setObjectName("Form50");
    setWindowTitle("ﾃﾞｰﾀ入力");
    setFont(JapaneseFont(9));
    setFixedSize(TwipsToPixels(6360), TwipsToPixels(7260));

    auto* title = Caption(this, "キーボード入力", TwipsRect(240, 120, 3000, 330));
    title->setStyleSheet("QLabel { color: rgb(0, 0, 160); font-weight: bold; }");

    auto* previous = Button(this, "Command1", "←", TwipsRect(240, 540, 600, 420));
    connect(previous, &QPushButton::clicked, this, &KeyboardWindow::command1Click);
    label6_ = new QLabel("1", this);
    label6_->setObjectName("Label6");
    label6_->setAlignment(Qt::AlignCenter);
    label6_->setFrameShape(QFrame::Panel);
    label6_->setFrameShadow(QFrame::Sunken);
    label6_->setGeometry(TwipsRect(900, 570, 720, 360));
    auto* next = Button(this, "Command2", "→", TwipsRect(1680, 540, 600, 420));
    connect(next, &QPushButton::clicked, this, &KeyboardWindow::command2Click);

    Caption(this, "Parameter 変更", TwipsRect(240, 1080, 2400, 300));
    Caption(this, "Parameter", TwipsRect(240, 1440, 1200, 330));
    Caption(this, "Ｘ、Ｙデータ", TwipsRect(240, 1920, 2000, 300));
    Caption(this, "ﾃﾞｰﾀ数", TwipsRect(240, 6210, 900, 330));

    // The ten pages lie on top of each other; only the current one is shown.
    for (int i = 0; i < 10; ++i) {
        auto* page = new QWidget(this);
        page->setGeometry(TwipsRect(0, 1380, 3450, 5220));
        auto* parameter = new QLineEdit(QString::number(i + 1), page);
        parameter->setObjectName(ArrayName("Text1", i));
        parameter->setGeometry(TwipsRect(1440, 30, 1800, 360));
        auto* dataBox = new QPlainTextEdit(page);
        dataBox->setObjectName(ArrayName("Text2", i));
        dataBox->setGeometry(TwipsRect(240, 870, 3060, 3870));
        dataBox->setLineWrapMode(QPlainTextEdit::NoWrap);
        dataBox->setTabChangesFocus(false);
        dataBox->installEventFilter(this);
        auto* count = new QLineEdit("0", page);
        count->setObjectName(ArrayName("Text3", i));
        count->setGeometry(TwipsRect(1200, 4800, 900, 360));
        connect(parameter, &QLineEdit::returnPressed, dataBox,
                [dataBox] { dataBox->setFocus(Qt::OtherFocusReason); });
        connect(dataBox, &QPlainTextEdit::textChanged, this, [this, i] { dataEdited(i); });
        page->setVisible(i == 0);
        page_[i] = page;
        text1_[i] = parameter;
        text2_[i] = dataBox;
        text3_[i] = count;
    }

    auto* generate =
        Button(this, "Command3", "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成", TwipsRect(3900, 2250, 2280, 480));
    connect(generate, &QPushButton::clicked, this, &KeyboardWindow::command3Click);
    auto* help = Button(this, "Command5", "？", TwipsRect(3900, 2880, 600, 420));
    connect(help, &QPushButton::clicked, this, &KeyboardWindow::command5Click);
    auto* back = Button(this, "Command4", "戻る", TwipsRect(3900, 5640, 1500, 480));
    connect(back, &QPushButton::clicked, this, &KeyboardWindow::command4Click);

    QString instructions;
    for (const char* line : kInstructions) instructions += QString(line) + "\n";
    text4_ = new QPlainTextEdit(instructions, this);
    text4_->setObjectName("Text4");
    text4_->setReadOnly(true);
    text4_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text4_->setGeometry(TwipsRect(240, 2250, 3600, 3000));
    text4_->setStyleSheet("QPlainTextEdit { background: rgb(255, 255, 210); }");
    text4_->viewport()->installEventFilter(this);
    text4_->hide();

    text5_ = new QLabel(kPresetMessage, this);
    text5_->setObjectName("Text5");
    text5_->setGeometry(TwipsRect(240, 6720, 5880, 360));
    text5_->setStyleSheet("QLabel { color: rgb(255, 0, 255); font-weight: bold; }");
    text5_->installEventFilter(this);
    text5_->hide();

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(4000);
    connect(&timer1_, &QTimer::timeout, this, &KeyboardWindow::timer1Tick);
}

void KeyboardWindow::openFrom(QWidget* opener) {
    opener_ = opener;
    if (opener != nullptr) opener->setEnabled(false);
    if (!loaded_) {
        loaded_ = true;
        move(TwipsToPixels(6300), 0);
        timer1_.start();
    }
    takeDataBoxes();
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

void KeyboardWindow::takeDataBoxes() {
    core::DataSet& dataSet = workspace_.data;
    if (text2_[0]->toPlainText().isEmpty()) {
        dataSet.lineCount = 1;
        return;
    }
    int count = 0;
    while (count < 10 && !text2_[count]->toPlainText().isEmpty()) {
        dataSet.pointText[count + 1] = ToCrLf(text2_[count]->toPlainText());
        ++count;
    }
    dataSet.lineCount = static_cast<int16_t>(count);
}

void KeyboardWindow::showPage(int page) {
    currentPage_ = page;
    for (int i = 0; i < 10; ++i) page_[i]->setVisible(i == page);
    label6_->setText(QString::number(page + 1));
}

void KeyboardWindow::command1Click() {
    showPage(std::max(currentPage_ - 1, 0));
}

void KeyboardWindow::command2Click() {
    showPage((currentPage_ + 1) % 10);
}

void KeyboardWindow::dataEdited(int page) {
    if (normalising_) return;
    QPlainTextEdit* box = text2_[page];
    const QString typed = box->toPlainText();
    core::KeyboardBox normal = core::NormaliseKeyboardBox(ToCrLf(typed));
    // The box takes the normalised text back when an empty text line was
    // removed or only line breaks were left, again until nothing changes; the
    // rounds run on the text, and the box is set once. The CR LF the
    // normalising appends stays out of the box.
    QString shown = typed;
    int cursor = box->textCursor().position();
    for (int round = 0; round < 200; ++round) {
        QString next = FromCrLf(normal.text);
        if (!shown.endsWith('\n') && next.endsWith('\n')) next.chop(1);
        if (next == shown) break;
        cursor = std::clamp(cursor - static_cast<int>(shown.size() - next.size()), 0,
                            static_cast<int>(next.size()));
        shown = next;
        normal = core::NormaliseKeyboardBox(ToCrLf(shown));
    }
    if (shown != typed) {
        normalising_ = true;
        box->setPlainText(shown);
        normalising_ = false;
        QTextCursor moved = box->textCursor();
        moved.setPosition(cursor);
        box->setTextCursor(moved);
    }
    core::DataSet& dataSet = workspace_.data;
    text3_[page]->setText(QString::number(normal.count));
    // An emptied box leaves the line without pairs.
    dataSet.pointCount[page + 1] = normal.count;
    if (page != currentPage_) showPage(page);
    dataSet.pointText[page + 1] = normal.text;
}

void KeyboardWindow::command3Click() {
    timer1_.stop();
    emit canvasHideRequested();
    core::KeyboardPages pages;
    for (int j = 1; j <= 10; ++j) {
        pages[j].parameterText = text1_[j - 1]->text().toStdString();
        pages[j].countText = text3_[j - 1]->text().toStdString();
    }
    const int16_t message = core::PrepareKeyboardEntry(workspace_.data, pages);
    if (message == core::kKeyboardNothingParsed) {
        text5_->show();
        timer1_.start();
        return;
    }
    if (message != core::kKeyboardPrepared) {
        showMessage(message);
        return;
    }
    programWindow_.openFrom(this);
}

void KeyboardWindow::showMessage(int number) {
    text5_->setText(MessageText(number));
    text5_->show();
    timer1_.start();
}

void KeyboardWindow::command4Click() {
    close();
}

void KeyboardWindow::closeEvent(QCloseEvent* event) {
    // The window stays loaded and keeps its pages; it is only hidden.
    event->accept();
    QWidget* opener = opener_;
    if (opener != nullptr) {
        opener->setEnabled(true);
        opener->show();
        opener->raise();
    }
    emit returnedToDigitizer(opener);
}

void KeyboardWindow::command5Click() {
    text4_->show();
    text4_->raise();
}

void KeyboardWindow::timer1Tick() {
    text5_->clear();
    text5_->hide();
}

bool KeyboardWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && loaded_) takeDataBoxes();
    return QWidget::event(event);
}

bool KeyboardWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        if (watched == text4_->viewport()) text4_->hide();
        if (watched == text5_) text5_->hide();
        return false;
    }
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        for (int i = 0; i < 10; ++i) {
            if (watched != text2_[i]) continue;
            // Return confirms the pairs typed so far.
            const int16_t count =
                core::CountKeyboardPairs(ToCrLf(text2_[i]->toPlainText()) + "\r\n");
            text3_[i]->setText(QString::number(count));
            workspace_.data.pointCount[i + 1] = count;
        }
    }
    return false;
}

}  // namespace kx::ui
