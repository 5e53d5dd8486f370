#include "util/answer.h"

#include <algorithm>

namespace util {

std::vector<Answer> AnswersOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return {Answer::Ok};
        case Buttons::OkCancel:
            return {Answer::Ok, Answer::Cancel};
        case Buttons::YesNo:
            return {Answer::Yes, Answer::No};
        case Buttons::YesNoCancel:
            return {Answer::Yes, Answer::No, Answer::Cancel};
    }
    return {Answer::Ok};
}

Answer DefaultAnswerOf(Buttons buttons, Answer asked) {
    const std::vector<Answer> answers = AnswersOf(buttons);
    return std::find(answers.begin(), answers.end(), asked) != answers.end() ? asked
                                                                             : answers.front();
}

Answer AnswerChangingNothing(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
    }
    return Answer::Cancel;
}

}  // namespace util
