#include "support/recording_messages.h"

namespace testing_support {

RecordingMessages::RecordingMessages() { util::SetMessageSink(this); }
RecordingMessages::~RecordingMessages() { util::SetMessageSink(nullptr); }

int RecordingMessages::StandardMessage(const QString& text, util::Buttons, int defaultAnswer) {
    texts.append(text);
    if (answers.empty()) return defaultAnswer;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace testing_support
