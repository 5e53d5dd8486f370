#pragma once

#include <vector>

namespace util {

// A person's answer to a message box or a question.
enum class Answer { Ok, Cancel, Yes, No };

// The buttons of a message box.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

// The answers of the buttons, in the order the buttons stand.
std::vector<Answer> AnswersOf(Buttons buttons);

// The answer of the default button: `asked` when one of the buttons gives it,
// else the first button's.
Answer DefaultAnswerOf(Buttons buttons, Answer asked);

// The answer that changes nothing: OK alone, else No or Cancel (Cancel when
// there is such a button).
Answer AnswerChangingNothing(Buttons buttons);

}  // namespace util
