#include "widgets/standard_box.h"

#include "util/error_wording.h"

#include "widgets/preset_answers.h"

#include "util/environment.h"
#include "util/line_breaks.h"
#include "util/message_sink.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <utility>
#include <vector>

namespace widgets {
namespace {

using Button = QMessageBox::StandardButton;

Button ButtonOf(util::Answer answer) {
    switch (answer) {
        case util::Answer::Ok:
            return QMessageBox::Ok;
        case util::Answer::Cancel:
            return QMessageBox::Cancel;
        case util::Answer::Yes:
            return QMessageBox::Yes;
        case util::Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return QMessageBox::NoIcon;
        case BoxIcon::Stop:
            return QMessageBox::Critical;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(const BoxMessage& message) {
    return message.title.isEmpty() ? util::ProgramTitle() : message.title;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeStandardBox(const BoxMessage& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(IconOf(message.icon), TitleOf(message),
                                             util::WithLineBreaks(message.text),
                                             QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("StandardBox"));
    box->setTextFormat(Qt::PlainText);
    for (const util::Answer answer : util::AnswersOf(message.buttons)) {
        box->addButton(ButtonOf(answer));
    }
    box->setDefaultButton(ButtonOf(util::DefaultAnswerOf(message.buttons, message.defaultAnswer)));
    if ((util::CurrentEnvironment().messageStyle & util::kSystemModalStyle) != 0) {
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    return box;
}

util::Answer RunStandardBox(QMessageBox& box, util::Buttons buttons) {
    box.exec();
    const auto* clicked = qobject_cast<QAbstractButton*>(box.clickedButton());
    for (const util::Answer answer : util::AnswersOf(buttons)) {
        if (clicked != nullptr && clicked == box.button(ButtonOf(answer))) return answer;
    }
    return util::AnswerChangingNothing(buttons);
}

util::Answer ShowStandardBox(const BoxMessage& asked, QWidget* parent, Unattended unattended) {
    BoxMessage message = asked;
    message.text = util::InJapaneseWording(asked.text);
    if (const std::optional<util::Answer> preset = presets::TakePresetAnswer(message)) {
        return *preset;
    }
    const auto box = MakeStandardBox(message, parent);
    QTimer selfClose;
    if (unattended.on) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(TitleOf(message)),
                     qPrintable(util::WithLineBreaks(message.text)));
        selfClose.setSingleShot(true);
        QObject::connect(&selfClose, &QTimer::timeout, box.get(), [&box] { box->done(0); });
        selfClose.start(unattended.after);
    }
    // The hourglass of a run must not hide the arrow over the buttons.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const util::Answer answer = RunStandardBox(*box, message.buttons);
    QGuiApplication::restoreOverrideCursor();
    return answer;
}

}  // namespace widgets
