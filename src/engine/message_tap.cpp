#include "engine/message_tap.h"

#include "util/line_breaks.h"

namespace engine {

QString MessageTap::TakeMessages() {
    const QString messages = messages_.join(u'\n');
    messages_.clear();
    return messages;
}

util::Answer MessageTap::StandardMessage(const QString& text, util::Buttons buttons,
                                         util::Answer defaultAnswer) {
    Keep(text);
    return user_.StandardMessage(text, buttons, defaultAnswer);
}

util::Answer MessageTap::StandardMessageWithIcon(const QString& text, util::Buttons buttons,
                                                 util::Answer defaultAnswer, MessageIcon icon) {
    Keep(text);
    return user_.StandardMessageWithIcon(text, buttons, defaultAnswer, icon);
}

void MessageTap::Keep(const QString& text) {
    messages_.append(util::WithLineBreaks(text).simplified());
}

}  // namespace engine
