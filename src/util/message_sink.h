#pragma once

#include "util/answer.h"

#include <QString>

namespace util {

// Where the engine and the programs send the platform's standard message box
// and the beep; the utilities show nothing, they return what happened. The
// windows install a Qt implementation; without a display the console one
// writes to standard error and answers with what changes nothing.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // `text` uses "\n" between lines; `defaultAnswer` is the answer of the
    // default button.
    virtual Answer StandardMessage(const QString& text, Buttons buttons, Answer defaultAnswer) = 0;
    virtual void Beep() = 0;
};

// The sink in use (never null). The caller keeps ownership of an installed sink
// and must reinstall (or pass nullptr for the console one) before it dies.
MessageSink& Messages();
void SetMessageSink(MessageSink* sink);

// The program's title: "キバコ" in Kibako, "TETORU" in Tetoru.
QString ProgramTitle();
void SetProgramTitle(const QString& title);

class ConsoleMessageSink final : public MessageSink {
  public:
    Answer StandardMessage(const QString& text, Buttons buttons, Answer defaultAnswer) override;
    void Beep() override;
};

}  // namespace util
