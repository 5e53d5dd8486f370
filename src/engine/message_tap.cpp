#include "engine/message_tap.h"

#include "util/line_breaks.h"

namespace engine {

MessageTap::MessageTap(EngineUi& user) : user_(user), utilities_(*this, util::Messages()) {
    util::SetMessageSink(&utilities_);
}

MessageTap::~MessageTap() { util::SetMessageSink(&utilities_.Next()); }

QString MessageTap::TakeMessages() {
    const QString messages = messages_.join(u'\n');
    messages_.clear();
    return messages;
}

int MessageTap::StandardMessage(const QString& text, util::Buttons buttons, int defaultAnswer) {
    Keep(text);
    return user_.StandardMessage(text, buttons, defaultAnswer);
}

int MessageTap::StandardMessageWithIcon(const QString& text, util::Buttons buttons,
                                        int defaultAnswer, MessageIcon icon) {
    Keep(text);
    return user_.StandardMessageWithIcon(text, buttons, defaultAnswer, icon);
}

void MessageTap::Keep(const QString& text) {
    messages_.append(util::WithLineBreaks(text).simplified());
}

}  // namespace engine
