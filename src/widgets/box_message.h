#pragma once

#include "util/answer.h"

#include <QString>

#include <utility>

namespace widgets {

enum class BoxIcon { None, Stop, Question, Exclamation, Information };

// What a message box is asked to show, and what a preset answer records.
struct BoxMessage {
    // Not explicit: callers write {text, buttons, defaultAnswer, icon}. A
    // default answer that none of the buttons gives means the first button.
    BoxMessage(QString messageText = QString(), util::Buttons messageButtons = util::Buttons::Ok,
               util::Answer defaultButtonAnswer = util::Answer::Ok,
               BoxIcon messageIcon = BoxIcon::None, QString messageTitle = QString())
        : text(std::move(messageText)),
          buttons(messageButtons),
          defaultAnswer(util::DefaultAnswerOf(messageButtons, defaultButtonAnswer)),
          icon(messageIcon),
          title(std::move(messageTitle)) {}

    QString text;
    util::Buttons buttons = util::Buttons::Ok;
    util::Answer defaultAnswer = util::Answer::Ok;  // the answer of the default button
    BoxIcon icon = BoxIcon::None;
    QString title;  // empty: the program's title
};

}  // namespace widgets
