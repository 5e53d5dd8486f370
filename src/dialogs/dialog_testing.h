#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Lets tests answer the system's questions without a person, as a later test
// of a window that asks them would: preset answers are taken in order by the
// next calls, which then show nothing. User-interface thread only.
namespace dialogs::presets {

// The next ShowMessage call returns this answer (1, 2, 6 or 7).
void SetNextAnswer(int answer);
// The next InputDialog call returns this (no value = cancelled).
void SetNextInput(std::optional<QString> input);
// Drops presets not yet taken and what was recorded.
void ClearPresets();

// The calls that took a preset, oldest first; taking them clears the record.
struct AnsweredMessage {
    QString text;
    int flags = 0;
    QString title;
    int answer = 0;
};
std::vector<AnsweredMessage> TakeAnsweredMessages();

struct AnsweredInput {
    QString prompt;
    QString title;
    QString defaultText;
    std::optional<QString> result;
};
std::vector<AnsweredInput> TakeAnsweredInputs();

// Replaces the system beep of the message box; an empty function restores it.
void SetBeepForTesting(std::function<void()> beep);

}  // namespace dialogs::presets
