#pragma once

#include "util/message_sink.h"

#include <QString>

#include <utility>

namespace kibako::widgets {

enum class BoxIcon { None, Stop, Question, Exclamation, Information };

// What a message box is asked to show, and what a preset answer records.
struct BoxMessage {
    // Not explicit: callers write {text, buttons, defaultAnswer, icon}.
    BoxMessage(QString messageText = QString(), util::Buttons messageButtons = util::Buttons::Ok,
               int defaultButtonAnswer = util::kAnswerOk, BoxIcon messageIcon = BoxIcon::None,
               QString messageTitle = QString())
        : text(std::move(messageText)),
          buttons(messageButtons),
          defaultAnswer(defaultButtonAnswer),
          icon(messageIcon),
          title(std::move(messageTitle)) {}

    QString text;
    util::Buttons buttons = util::Buttons::Ok;
    int defaultAnswer = util::kAnswerOk;  // util::Answer of the default button
    BoxIcon icon = BoxIcon::None;
    QString title;  // empty: the program's title
};

}  // namespace kibako::widgets
