#pragma once

#include "util/message_sink.h"

#include <QStringList>

#include <deque>

namespace testing_support {

// Answers standard messages from a list (the default button's answer when the
// list is empty) and records every message and beep. Installs itself while it
// lives.
class RecordingMessages final : public util::MessageSink {
  public:
    RecordingMessages();
    ~RecordingMessages() override;
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    util::Answer StandardMessage(const QString& text, util::Buttons buttons,
                                 util::Answer defaultAnswer) override;
    void Beep() override { ++beeps; }

    std::deque<util::Answer> answers;
    QStringList texts;
    int beeps = 0;
};

}  // namespace testing_support
