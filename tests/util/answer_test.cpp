#include "util/answer.h"
#include "util/message_sink.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

using util::Answer;
using util::Buttons;

struct ButtonSet {
    Buttons buttons;
    std::vector<Answer> answers;  // in the order the buttons stand
    Answer changingNothing;
};

const ButtonSet kButtonSets[] = {
    {Buttons::Ok, {Answer::Ok}, Answer::Ok},
    {Buttons::OkCancel, {Answer::Ok, Answer::Cancel}, Answer::Cancel},
    {Buttons::YesNo, {Answer::Yes, Answer::No}, Answer::No},
    {Buttons::YesNoCancel, {Answer::Yes, Answer::No, Answer::Cancel}, Answer::Cancel},
};

// Nobody is there to answer: every question takes the answer that changes
// nothing, whatever its default button says.
TEST(Answers, TheConsoleAnswersWhatChangesNothingForEveryButtonSet) {
    util::ConsoleMessageSink console;
    for (const ButtonSet& set : kButtonSets) {
        SCOPED_TRACE(static_cast<int>(set.buttons));
        EXPECT_EQ(util::AnswersOf(set.buttons), set.answers);
        EXPECT_EQ(util::AnswerChangingNothing(set.buttons), set.changingNothing);
        for (const Answer asked : set.answers) {
            EXPECT_EQ(console.StandardMessage(QStringLiteral("質問"), set.buttons, asked),
                      set.changingNothing);
        }
    }
}

TEST(Answers, ADefaultThatNoButtonGivesMeansTheFirstButton) {
    for (const ButtonSet& set : kButtonSets) {
        SCOPED_TRACE(static_cast<int>(set.buttons));
        for (const Answer asked : set.answers) {
            EXPECT_EQ(util::DefaultAnswerOf(set.buttons, asked), asked);
        }
    }
    EXPECT_EQ(util::DefaultAnswerOf(Buttons::YesNo, Answer::Ok), Answer::Yes);
    EXPECT_EQ(util::DefaultAnswerOf(Buttons::YesNoCancel, Answer::Ok), Answer::Yes);
    EXPECT_EQ(util::DefaultAnswerOf(Buttons::Ok, Answer::Cancel), Answer::Ok);
    EXPECT_EQ(util::DefaultAnswerOf(Buttons::OkCancel, Answer::No), Answer::Ok);
}

}  // namespace
