#include "dialogs/input_form.h"

#include "dialogs/dialog_font.h"
#include "util/line_breaks.h"
#include "widgets/dialog_wait.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace dialogs {
namespace {

// Window size in twips; the height grows with a long prompt.
constexpr int kWidth = 5400;
constexpr int kMinimumHeight = 1800;
constexpr int kButtonWidth = 1095;

QPushButton* MakeButton(QWidget* parent, const QString& caption, const char* name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

InputForm::InputForm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      prompt_(new QLabel(this)),
      input_(new QLineEdit(this)),
      okButton_(MakeButton(this, QStringLiteral("OK"), "CMDOK")),
      cancelButton_(MakeButton(this, QStringLiteral("ｷｬﾝｾﾙ"), "CMDCAN")) {
    setObjectName(QStringLiteral("InputForm"));
    setFont(MsgBoxFont());
    prompt_->setObjectName(QStringLiteral("PRMDSP"));
    prompt_->setWordWrap(true);
    prompt_->setTextFormat(Qt::PlainText);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    input_->setObjectName(QStringLiteral("INPLIN"));
    input_->setFont(InputLineFont());
    okButton_->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(prompt_, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(input_, 1, 0, 1, 2);
    grid->setRowStretch(0, 1);

    connect(okButton_, &QPushButton::clicked, this, &InputForm::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &InputForm::reject);
}

InputForm::~InputForm() {
    if (wait_ != nullptr) wait_->Finish(util::Answer::Cancel);
}

void InputForm::Prepare(const QString& prompt, const QString& title, const QString& defaultText) {
    winId();  // the native window knows the frame the dialog will get
    dialogClosed_.reset();
    setWindowTitle(title);
    prompt_->setText(util::WithLineBreaks(prompt));
    input_->setText(defaultText);
    input_->setSelection(0, static_cast<int>(defaultText.size()));
    // A click on CMDCAN last time may have made it the default meanwhile.
    okButton_->setDefault(true);

    const widgets::Twips twips = widgets::TwipsOf(screen());
    okButton_->setMinimumWidth(twips.X(kButtonWidth));
    cancelButton_->setMinimumWidth(twips.X(kButtonWidth));
    const int width = twips.X(kWidth);
    layout()->activate();
    const int fitted = hasHeightForWidth() ? heightForWidth(width) : sizeHint().height();
    setFixedSize(width, std::max(twips.Y(kMinimumHeight), fitted));
}

QString InputForm::Text() const { return input_->text(); }

void InputForm::FocusInput() { input_->setFocus(Qt::OtherFocusReason); }

void InputForm::SetClosed(util::Answer how) {
    dialogClosed_ = how;
    if (wait_ != nullptr) wait_->Finish(how);
}

void InputForm::accept() { SetClosed(util::Answer::Ok); }

void InputForm::reject() { SetClosed(util::Answer::Cancel); }

void InputForm::closeEvent(QCloseEvent* event) {
    SetClosed(util::Answer::Cancel);
    // The title-bar close only cancels and hides; the window stays for the
    // next question. Any other close (the program ending) goes ahead.
    if (event->spontaneous()) {
        event->ignore();
        hide();
    } else {
        event->accept();
    }
}

}  // namespace dialogs
