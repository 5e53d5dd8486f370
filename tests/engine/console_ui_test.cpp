#include "engine/console_ui.h"
#include "support/text.h"

#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

namespace {

using testing_support::S;
using util::Answer;
using util::Buttons;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

QString ReadBack(std::FILE* file) {
    std::rewind(file);
    QByteArray bytes;
    char buffer[512];
    while (const size_t read = std::fread(buffer, 1, sizeof buffer, file))
        bytes.append(buffer, read);
    return QString::fromUtf8(bytes);
}

// A run without a display has nobody to answer: each question is answered
// with what changes nothing, the default button notwithstanding, and is
// written where someone may read it later.
TEST(ConsoleUi, AnswersEveryQuestionWithWhatChangesNothing) {
    const std::unique_ptr<std::FILE, FileCloser> out(std::tmpfile());
    const std::unique_ptr<std::FILE, FileCloser> err(std::tmpfile());
    ASSERT_TRUE(out && err);
    engine::ConsoleUi console(out.get(), err.get());
    const std::pair<Buttons, Answer> cases[] = {{Buttons::Ok, Answer::Ok},
                                                {Buttons::OkCancel, Answer::Cancel},
                                                {Buttons::YesNo, Answer::No},
                                                {Buttons::YesNoCancel, Answer::Cancel}};
    for (const auto& [buttons, expected] : cases) {
        EXPECT_EQ(console.StandardMessage(S("続けますか"), buttons, Answer::Yes), expected);
        EXPECT_EQ(console.StandardMessageWithIcon(S("続けますか"), buttons, Answer::Ok,
                                                  engine::MessageIcon::Exclamation),
                  expected);
    }
    engine::OlderFile older;
    older.fileName = S("a.txt");
    older.sourceFolder = S("C:\\src");
    EXPECT_EQ(console.AskOlderFile(older), Answer::No);

    const QString written = ReadBack(err.get());
    EXPECT_EQ(written.count(S("続けますか")), 8);
    EXPECT_TRUE(written.endsWith(S("older than its backup, left alone: C:\\src\\a.txt\n")));
    EXPECT_TRUE(ReadBack(out.get()).isEmpty());
}

}  // namespace
