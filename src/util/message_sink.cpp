#include "util/message_sink.h"

#include "util/error_wording.h"

#include <cstdio>

namespace util {
namespace {

ConsoleMessageSink& Console() {
    static ConsoleMessageSink console;
    return console;
}

MessageSink*& Installed() {
    static MessageSink* sink = nullptr;
    return sink;
}

QString& Title() {
    static QString title = QStringLiteral("キバコ");
    return title;
}

}  // namespace

MessageSink& Messages() { return Installed() ? *Installed() : Console(); }
void SetMessageSink(MessageSink* sink) { Installed() = sink; }

QString ProgramTitle() { return Title(); }
void SetProgramTitle(const QString& title) { Title() = title; }

Answer ConsoleMessageSink::StandardMessage(const QString& text, Buttons buttons, Answer) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(ProgramTitle()),
                 qUtf8Printable(InJapaneseWording(text).replace(u'\n', QLatin1String("\n  "))));
    std::fflush(stderr);
    return AnswerChangingNothing(buttons);
}

void ConsoleMessageSink::Beep() {}

}  // namespace util
