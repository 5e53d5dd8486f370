#include "support/recording_messages.h"

namespace testing_support {

RecordingMessages::RecordingMessages() { util::SetMessageSink(this); }
RecordingMessages::~RecordingMessages() { util::SetMessageSink(nullptr); }

util::Answer RecordingMessages::StandardMessage(const QString& text, util::Buttons,
                                                util::Answer defaultAnswer) {
    texts.append(text);
    if (answers.empty()) return defaultAnswer;
    const util::Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace testing_support
