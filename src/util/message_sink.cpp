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

int ConsoleMessageSink::StandardMessage(const QString& text, Buttons buttons, int) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(ProgramTitle()),
                 qUtf8Printable(InJapaneseWording(text).replace(u'\n', QLatin1String("\n  "))));
    std::fflush(stderr);
    return AnswerChangingNothing(buttons);
}

int AnswerChangingNothing(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return kAnswerOk;
        case Buttons::OkCancel:
            return kAnswerCancel;
        case Buttons::YesNo:
            return kAnswerNo;
        case Buttons::YesNoCancel:
            return kAnswerCancel;
    }
    return kAnswerCancel;
}

void ConsoleMessageSink::Beep() {}

}  // namespace util
