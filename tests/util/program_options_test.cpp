// How the programs read their command line: options first, then the words of
// the definition file's name.
#include "util/program_options.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace {

using util::ParseCommandLine;

using testing_support::S;

const util::OptionSpec kOptions[] = {
    util::kHelpOption, util::kVersionOption, {"--drives", "FILE", "a drive table"}};

TEST(CommandLineTest, OptionsComeFirstAndTheRestIsTheFileName) {
    auto line = ParseCommandLine({S("--version"), S("C:\\my"), S("-list.def")}, kOptions);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_TRUE(line.Has("--version"));
    EXPECT_FALSE(line.Has("--help"));
    EXPECT_EQ(line.words, QStringList({S("C:\\my"), S("-list.def")}));

    line = ParseCommandLine({S("--"), S("--help")}, kOptions);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_FALSE(line.Has("--help"));
    EXPECT_EQ(line.words, QStringList{S("--help")});

    line = ParseCommandLine({S("-")}, kOptions);  // a name, not an option
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.words, QStringList{S("-")});

    line = ParseCommandLine({}, kOptions);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_TRUE(line.words.isEmpty());
    // Quotes stay part of the name, as the shell handed them over.
    line = ParseCommandLine({S("\"C:\\a.def\"")}, kOptions);
    EXPECT_EQ(line.words, QStringList{S("\"C:\\a.def\"")});
}

TEST(CommandLineTest, ValuesFollowOrAreJoinedWithEquals) {
    auto line = ParseCommandLine({S("--drives"), S("/tmp/d.ini"), S("C:\\a.def")}, kOptions);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.Value("--drives"), S("/tmp/d.ini"));
    EXPECT_EQ(line.words, QStringList{S("C:\\a.def")});

    line = ParseCommandLine({S("--drives=/tmp/a=b.ini")}, kOptions);
    EXPECT_EQ(line.Value("--drives"), S("/tmp/a=b.ini"));
    EXPECT_TRUE(line.words.isEmpty());
}

TEST(CommandLineTest, WhatCannotBeReadIsAnError) {
    const struct {
        QStringList arguments;
        const char* error;
    } cases[] = {
        {{S("--hlep")}, "unknown option '--hlep'"},
        {{S("-h")}, "unknown option '-h'"},
        {{S("--help"), S("--frobnicate"), S("a.def")}, "unknown option '--frobnicate'"},
        {{S("--help=yes")}, "option '--help' takes no value"},
        {{S("--drives")}, "option '--drives' needs a value"},
    };
    for (const auto& c : cases) {
        const auto line = ParseCommandLine(c.arguments, kOptions);
        EXPECT_EQ(line.error, S(c.error)) << c.arguments.join(u' ').toStdString();
    }
}

TEST(CommandLineTest, HelpTellsTheProgramFolderAndTheExitStatuses) {
    const util::ProgramSpec program{"tetoru", "[DEFINITION-FILE]", "Backs up.\n",
                                    "  0   done\n  64  the command line cannot be read\n",
                                    kOptions};
    const QString help = util::HelpText(program);
    EXPECT_TRUE(help.startsWith(S("usage: tetoru [OPTION]... [DEFINITION-FILE]\n")));
    EXPECT_TRUE(help.contains(S("  --drives FILE     a drive table\n"))) << help.toStdString();
    EXPECT_TRUE(help.contains(S("KIBAKO_HOME")));
    EXPECT_TRUE(help.contains(S("~/.local/share/kibako")));
    EXPECT_TRUE(help.contains(S("64  the command line cannot be read")));
    const QString folderLine = help.section(S("Program folder: "), 1).section(u'\n', 0, 0);
    EXPECT_FALSE(folderLine.isEmpty());
    EXPECT_TRUE(folderLine.startsWith(u'/')) << folderLine.toStdString();
}

}  // namespace
