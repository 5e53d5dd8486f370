#include "widgets/preset_answers.h"

#include <deque>
#include <utility>

namespace widgets::presets {
namespace {

struct Presets {
    std::deque<util::Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::vector<AnsweredMessage> answeredMessages;
    std::vector<AnsweredInput> answeredInputs;
};

Presets& State() {
    static Presets state;
    return state;
}

}  // namespace

void SetNextAnswer(util::Answer answer) { State().answers.push_back(answer); }

void SetNextInput(std::optional<QString> input) { State().inputs.push_back(std::move(input)); }

void ClearPresets() { State() = Presets{}; }

std::vector<AnsweredMessage> TakeAnsweredMessages() {
    return std::exchange(State().answeredMessages, {});
}

std::vector<AnsweredInput> TakeAnsweredInputs() {
    return std::exchange(State().answeredInputs, {});
}

std::optional<util::Answer> TakePresetAnswer(const BoxMessage& message) {
    Presets& state = State();
    if (state.answers.empty()) return std::nullopt;
    const util::Answer answer = state.answers.front();
    state.answers.pop_front();
    state.answeredMessages.push_back({message, answer});
    return answer;
}

bool TakePresetInput(const QString& prompt, const QString& title, const QString& defaultText,
                     std::optional<QString>* result) {
    Presets& state = State();
    if (state.inputs.empty()) return false;
    *result = std::move(state.inputs.front());
    state.inputs.pop_front();
    state.answeredInputs.push_back({prompt, title, defaultText, *result});
    return true;
}

}  // namespace widgets::presets
