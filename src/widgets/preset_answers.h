#pragma once

// Lets tests answer the programs' questions without a person: preset answers
// are taken in order by the next questions, which then show nothing and are
// recorded. Both message boxes (the standard box and the system's own) and
// the input dialog take them. User-interface thread only.

#include "widgets/box_message.h"

#include <QString>

#include <optional>
#include <vector>

namespace widgets::presets {

// The next message box returns this answer.
void SetNextAnswer(util::Answer answer);
// The next input dialog returns this (no value = cancelled).
void SetNextInput(std::optional<QString> input);
// Drops presets not yet taken and what was recorded.
void ClearPresets();

struct AnsweredMessage {
    BoxMessage message;  // as it was asked
    util::Answer answer = util::Answer::Ok;
};
// The messages that took a preset, oldest first; taking them clears the record.
std::vector<AnsweredMessage> TakeAnsweredMessages();

struct AnsweredInput {
    QString prompt;
    QString title;
    QString defaultText;
    std::optional<QString> result;
};
std::vector<AnsweredInput> TakeAnsweredInputs();

// The boxes' side: the preset answer for this message, if one is waiting;
// the message is recorded.
std::optional<util::Answer> TakePresetAnswer(const BoxMessage& message);
// The input dialog's side: true when an input was preset; it is stored in
// *result and recorded.
bool TakePresetInput(const QString& prompt, const QString& title, const QString& defaultText,
                     std::optional<QString>* result);

}  // namespace widgets::presets
