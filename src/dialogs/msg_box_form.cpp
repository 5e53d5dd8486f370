#include "dialogs/msg_box_form.h"

#include "dialogs/dialog_font.h"
#include "dialogs/message_colours.h"

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

using util::Answer;
using widgets::Twips;

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
    connect(okButton_, &QPushButton::clicked, this, [this] { GiveAnswer(Answer::Ok); });
    connect(yesButton_, &QPushButton::clicked, this, [this] { GiveAnswer(Answer::Yes); });
    connect(noButton_, &QPushButton::clicked, this, [this] { GiveAnswer(Answer::No); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { GiveAnswer(Answer::Cancel); });
}

MsgBoxForm::~MsgBoxForm() {
    if (wait_ != nullptr) wait_->Finish(CloseAnswer());
}

QPushButton* MsgBoxForm::ButtonOf(Answer answer) const {
    switch (answer) {
        case Answer::Ok:
            return okButton_;
        case Answer::Cancel:
            return cancelButton_;
        case Answer::Yes:
            return yesButton_;
        case Answer::No:
            return noButton_;
    }
    return okButton_;
}

void MsgBoxForm::ChooseDefault(QPushButton* chosen) {
    for (QPushButton* button : {okButton_, yesButton_, noButton_, cancelButton_}) {
        button->setDefault(false);
    }
    chosen->setDefault(true);
    chosen->setFocus(Qt::OtherFocusReason);
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
    m.twips = widgets::TwipsOf(screen);
    m.lineCount = static_cast<int>(message_.lines.size());
    m.lineHeight = QFontMetrics(font()).height() + 2;
    // Lines are measured without their formatting codes, which are never drawn.
    const QFontMetrics measure(MeasureFont());
    for (const MessageLine& line : message_.lines) {
        m.widestLine = std::max(m.widestLine, measure.horizontalAdvance(line.Visible()));
    }
    for (const QPushButton* button : shown) m.buttonWidths.push_back(button->width());
    m.buttonHeight = okButton_->height();
    m.frame = widgets::FrameMargins(this);
    m.owner = ownerRect;
    m.screen = screen != nullptr ? screen->geometry() : QRect(ownerRect.topLeft(), QSize(1, 1));
    return m;
}

void MsgBoxForm::Prepare(const QString& text, util::Buttons buttons, Answer defaultAnswer,
                         const QString& caption, const QRect& ownerRect, const QScreen* screen) {
    winId();  // the native window knows the frame the box will get
    setWindowTitle(caption);
    message_ = ParseMessageText(text);
    highColour_ = ScreenHasHighColour(screen);

    SizeButtons(widgets::TwipsOf(screen));
    buttons_ = buttons;
    std::vector<QPushButton*> shown;
    for (const Answer answer : util::AnswersOf(buttons)) shown.push_back(ButtonOf(answer));

    layout_ = LayoutMsgBox(Measure(shown, ownerRect, screen));
    setFixedSize(layout_.inner);
    widgets::MoveOuterTo(this, layout_.position);
    icon_->move(layout_.icon);
    for (size_t i = 0; i < shown.size(); ++i) {
        shown[i]->move(layout_.buttons[i]);
        shown[i]->show();
    }
    ChooseDefault(ButtonOf(util::DefaultAnswerOf(buttons, defaultAnswer)));
    update();
}

void MsgBoxForm::GiveAnswer(Answer answer) {
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
            GiveAnswer(Answer::Yes);
            return;
        }
        if (event->key() == Qt::Key_N && noButton_->isVisibleTo(this)) {
            GiveAnswer(Answer::No);
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
        GiveAnswer(Answer::Ok);
    }
}

void MsgBoxForm::closeEvent(QCloseEvent* event) {
    GiveAnswer(CloseAnswer());
    // A close from the window manager only ends the wait; the wait hides the
    // box. Any other close (the program ending) goes ahead.
    if (event->spontaneous()) {
        event->ignore();
    } else {
        event->accept();
    }
}

}  // namespace dialogs
