#pragma once

#include <QString>

namespace util {

// Answers of a message box, as the platform numbers them.
enum Answer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

// Where the utilities and the engine send the platform's standard message box
// and the beep. The windows install a Qt implementation; without a display the
// console one writes to standard error and answers with what changes nothing.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // `text` uses "\n" between lines; `defaultAnswer` is the answer of the
    // default button. Returns one of Answer.
    virtual int StandardMessage(const QString& text, Buttons buttons, int defaultAnswer) = 0;
    virtual void Beep() = 0;
};

// The sink in use (never null). The caller keeps ownership of an installed sink
// and must reinstall (or pass nullptr for the console one) before it dies.
MessageSink& Messages();
void SetMessageSink(MessageSink* sink);

// The program's title: "キバコ" in Kibako, "TETORU" in Tetoru.
QString ProgramTitle();
void SetProgramTitle(const QString& title);

// The answer that changes nothing: OK alone, else No or Cancel.
int AnswerChangingNothing(Buttons buttons);

class ConsoleMessageSink final : public MessageSink {
  public:
    int StandardMessage(const QString& text, Buttons buttons, int defaultAnswer) override;
    void Beep() override;
};

}  // namespace util
