#include "support/scripted_ui.h"

namespace testing_support {

ScriptedUi::ScriptedUi() { util::SetMessageSink(this); }
ScriptedUi::~ScriptedUi() { util::SetMessageSink(nullptr); }

util::Answer ScriptedUi::StandardMessage(const QString& text, util::Buttons,
                                         util::Answer defaultAnswer) {
    messages.append(text);
    calls.append(QStringLiteral("message: ") + text);
    if (messageAnswers.empty()) return defaultAnswer;
    const util::Answer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

void ScriptedUi::LetEventsRun() {
    if (onEvents) onEvents();
}

util::Answer ScriptedUi::AskOlderFile(const engine::OlderFile& file) {
    calls.append(QStringLiteral("older: ") + file.fileName);
    if (!olderAnswers.empty()) {
        lastOlderAnswer_ = olderAnswers.front();
        olderAnswers.pop_front();
    }
    return lastOlderAnswer_;
}

engine::DriveChoice ScriptedUi::AskDrive(engine::Owner, const QString& title,
                                         const QString& kindText, const QString& defaultDrive,
                                         bool unattended) {
    calls.append(QStringLiteral("drive: %1|%2|%3%4")
                     .arg(title, kindText, defaultDrive,
                          unattended ? QStringLiteral("|unattended") : QString()));
    if (driveAnswers.empty()) return {};
    const engine::DriveChoice choice = driveAnswers.front();
    driveAnswers.pop_front();
    return choice;
}

std::optional<QString> ScriptedUi::AskText(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    calls.append(QStringLiteral("text: ") + title + u'|' + defaultText);
    (void)prompt;
    if (textAnswers.empty()) return std::nullopt;
    const auto answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

}  // namespace testing_support
