#include "dialogs/msg_box_form.h"

#include "dialogs/dialog_font.h"
#include "dialogs/message_box.h"
#include "dialogs/message_colours.h"

#include "util/message_sink.h"
#include "widgets/dialog_wait.h"
#include "widgets/window_frame.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace dialogs {
namespace {

using kibako::widgets::Twips;
using util::kAnswerCancel;
using util::kAnswerNo;
using util::kAnswerOk;
using util::kAnswerYes;

// Smallest button size in twips; a wider caption widens its button.
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;
constexpr int kIconSize = 32;

QPushButton* MakeButton(QWidget* parent, const QString& caption, const char* name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(true);
    button->hide();
    return button;
}

}  // namespace

MsgBoxForm::MsgBoxForm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      okButton_(MakeButton(this, QStringLiteral("OK"), "OKBTN")),
      yesButton_(MakeButton(this, QStringLiteral("はい(&Y)"), "YESBTN")),
      noButton_(MakeButton(this, QStringLiteral("いいえ(&N)"), "NOBTN")),
      cancelButton_(MakeButton(this, QStringLiteral("キャンセル"), "CANBTN")),
      icon_(new QLabel(this)) {
    setObjectName(QStringLiteral("MsgBoxForm"));
    setFont(MsgBoxFont());
    icon_->setObjectName(QStringLiteral("ICOIMG"));
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize));
    icon_->setFixedSize(kIconSize, kIconSize);
    connect(okButton_, &QPushButton::clicked, this, [this] { Answer(kAnswerOk); });
    connect(yesButton_, &QPushButton::clicked, this, [this] { Answer(kAnswerYes); });
    connect(noButton_, &QPushButton::clicked, this, [this] { Answer(kAnswerNo); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { Answer(kAnswerCancel); });
}

MsgBoxForm::~MsgBoxForm() {
    if (wait_ != nullptr) wait_->Finish(CloseAnswer());
}

std::vector<QPushButton*> MsgBoxForm::ButtonsOf(int flags) const {
    switch (flags & kMsgButtonMask) {
        case kMsgOkCancel:
            return {okButton_, cancelButton_};
        case kMsgYesNoCancel:
            return {yesButton_, noButton_, cancelButton_};
        case kMsgYesNo:
            return {yesButton_, noButton_};
        default:
            return {okButton_};
    }
}

void MsgBoxForm::ChooseDefault(const std::vector<QPushButton*>& shown, int flags) {
    size_t index = 0;
    if ((flags & kMsgDefaultSecond) != 0 && shown.size() >= 2) index = 1;
    if ((flags & kMsgDefaultThird) != 0 && shown.size() >= 3) index = 2;
    for (QPushButton* button : {okButton_, yesButton_, noButton_, cancelButton_}) {
        button->setDefault(false);
    }
    shown[index]->setDefault(true);
    shown[index]->setFocus(Qt::OtherFocusReason);
}

void MsgBoxForm::SizeButtons(const Twips& twips) {
    const std::initializer_list<QPushButton*> all{okButton_, yesButton_, noButton_, cancelButton_};
    // All buttons share one height, which the layout takes from OKBTN.
    int height = twips.Y(kButtonHeight);
    for (QPushButton* button : all) height = std::max(height, button->sizeHint().height());
    for (QPushButton* button : all) {
        button->hide();
        button->resize(std::max(twips.X(kButtonWidth), button->sizeHint().width()), height);
    }
}

QFont MsgBoxForm::MeasureFont() const {
    QFont measure = font();
    measure.setBold(message_.measureBold);
    return measure;
}

MsgBoxMetrics MsgBoxForm::Measure(const std::vector<QPushButton*>& shown, const QRect& ownerRect,
                                  const QScreen* screen) const {
    MsgBoxMetrics m;
    m.twips = kibako::widgets::TwipsOf(screen);
    m.lineCount = static_cast<int>(message_.lines.size());
    m.lineHeight = QFontMetrics(font()).height() + 2;
    // Lines are measured without their formatting codes, which are never drawn.
    const QFontMetrics measure(MeasureFont());
    for (const MessageLine& line : message_.lines) {
        m.widestLine = std::max(m.widestLine, measure.horizontalAdvance(line.Visible()));
    }
    for (const QPushButton* button : shown) m.buttonWidths.push_back(button->width());
    m.buttonHeight = okButton_->height();
    m.frame = kibako::widgets::FrameMargins(this);
    m.owner = ownerRect;
    m.screen = screen != nullptr ? screen->geometry() : QRect(ownerRect.topLeft(), QSize(1, 1));
    return m;
}

void MsgBoxForm::Prepare(const QString& text, int flags, const QString& caption,
                         const QRect& ownerRect, const QScreen* screen) {
    winId();  // the native window knows the frame the box will get
    setWindowTitle(caption);
    message_ = ParseMessageText(text);
    highColour_ = ScreenHasHighColour(screen);

    SizeButtons(kibako::widgets::TwipsOf(screen));
    const std::vector<QPushButton*> shown = ButtonsOf(flags);

    layout_ = LayoutMsgBox(Measure(shown, ownerRect, screen));
    setFixedSize(layout_.inner);
    kibako::widgets::MoveOuterTo(this, layout_.position);
    icon_->move(layout_.icon);
    for (size_t i = 0; i < shown.size(); ++i) {
        shown[i]->move(layout_.buttons[i]);
        shown[i]->show();
    }
    ChooseDefault(shown, flags);
    update();
}

int MsgBoxForm::CloseAnswer() const {
    if (cancelButton_->isVisibleTo(this)) return kAnswerCancel;
    if (okButton_->isVisibleTo(this)) return kAnswerOk;
    return kAnswerNo;
}

void MsgBoxForm::Answer(int answer) {
    if (wait_ != nullptr) wait_->Finish(answer);
}

void MsgBoxForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    QFont plain = font();
    QFont bold = font();
    bold.setBold(true);
    const int ascent = QFontMetrics(plain).ascent();
    int y = layout_.textTop;
    for (const MessageLine& line : message_.lines) {
        int x = layout_.textLeft;
        for (const TextRun& run : line.runs) {
            const QFont& runFont = run.bold ? bold : plain;
            painter.setFont(runFont);
            painter.setPen(MessageTextColour(run.colour, highColour_));
            painter.drawText(x, y + ascent, run.text);
            x += QFontMetrics(runFont).horizontalAdvance(run.text);
        }
        y += layout_.lineHeight;
    }
}

void MsgBoxForm::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::ShiftModifier;
    if (mods == Qt::NoModifier) {
        if (event->key() == Qt::Key_Y && yesButton_->isVisibleTo(this)) {
            Answer(kAnswerYes);
            return;
        }
        if (event->key() == Qt::Key_N && noButton_->isVisibleTo(this)) {
            Answer(kAnswerNo);
            return;
        }
    }
    // Enter presses the default (or focused) button, Escape calls reject().
    QDialog::keyPressEvent(event);
}

void MsgBoxForm::reject() {
    if (cancelButton_->isVisibleTo(this)) {
        cancelButton_->click();
    } else if (okButton_->isVisibleTo(this)) {
        Answer(kAnswerOk);
    }
}

void MsgBoxForm::closeEvent(QCloseEvent* event) {
    Answer(CloseAnswer());
    // A close from the window manager only ends the wait; the wait hides the
    // box. Any other close (the program ending) goes ahead.
    if (event->spontaneous()) {
        event->ignore();
    } else {
        event->accept();
    }
}

}  // namespace dialogs
