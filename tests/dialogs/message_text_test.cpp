#include "dialogs/message_text.h"
#include "dialogs/message_colours.h"

#include <gtest/gtest.h>

namespace dialogs {
namespace {

QString Codes(std::initializer_list<QChar> chars) { return QString(chars.begin(), chars.size()); }

TEST(MessageText, EveryLineEndFormBecomesBar) {
    for (const QString& text :
         {QStringLiteral("A|B"), QStringLiteral("A\r\nB"), QStringLiteral("A\rB"),
          QStringLiteral("A\nB"), QStringLiteral("A|B|"), QStringLiteral("A\r\nB\r\n")}) {
        EXPECT_EQ(NormaliseMessageText(text), QStringLiteral("A|B|")) << text.toStdString();
    }
    EXPECT_EQ(NormaliseMessageText(QStringLiteral("A\n\r\nB")), QStringLiteral("A||B|"));
    EXPECT_EQ(NormaliseMessageText(QString()), QString());
    EXPECT_EQ(ParseMessageText(QString()).lines.size(), 0u);
    EXPECT_EQ(ParseMessageText(QStringLiteral("|")).lines.size(), 1u);
}

TEST(MessageText, CodesChooseColourAndBoldAcrossLines) {
    // "\1blue|\10bold blue\7|plain blue\0black"
    const QString text = QStringLiteral("\x01") + "blue|" + QChar(8) + "bold blue" + QChar(7) +
                         "|plain blue" + QChar(0) + "black";
    const MessageText parsed = ParseMessageText(text);
    ASSERT_EQ(parsed.lines.size(), 3u);
    EXPECT_TRUE(parsed.measureBold);

    ASSERT_EQ(parsed.lines[0].runs.size(), 1u);
    EXPECT_EQ(parsed.lines[0].runs[0].colour, 1);
    EXPECT_FALSE(parsed.lines[0].runs[0].bold);

    ASSERT_EQ(parsed.lines[1].runs.size(), 1u);
    EXPECT_EQ(parsed.lines[1].runs[0].text, QStringLiteral("bold blue"));
    EXPECT_EQ(parsed.lines[1].runs[0].colour, 1);
    EXPECT_TRUE(parsed.lines[1].runs[0].bold);

    ASSERT_EQ(parsed.lines[2].runs.size(), 2u);
    EXPECT_EQ(parsed.lines[2].runs[0].colour, 1);
    EXPECT_FALSE(parsed.lines[2].runs[0].bold);
    EXPECT_EQ(parsed.lines[2].runs[1].text, QStringLiteral("black"));
    EXPECT_EQ(parsed.lines[2].runs[1].colour, 0);
    EXPECT_EQ(parsed.lines[2].Visible(), QStringLiteral("plain blueblack"));
}

TEST(MessageText, BoldMeasuringOnlyWhenCodeEightOccurs) {
    EXPECT_FALSE(ParseMessageText(Codes({u'a', QChar(7), u'b'})).measureBold);
    EXPECT_TRUE(ParseMessageText(Codes({u'a', u'|', u'b', QChar(8)})).measureBold);
}

TEST(MessageText, StandardBoxShowsCodesAsBlanksAndBarsAsBreaks) {
    const QString text = Codes({u'A', QChar(1), u'B', u'|', QChar(0), u'C', QChar(8)});
    EXPECT_EQ(StandardBoxText(text), QStringLiteral("A B\n C "));
    EXPECT_EQ(StandardBoxText(QStringLiteral("x\r\ny\rz")), QStringLiteral("x\ny\nz"));
}

TEST(MessageColours, BothTables) {
    const char* high[] = {"#000000", "#0000e0", "#007000", "#003090",
                          "#a00040", "#900090", "#c05030"};
    const char* low[] = {"#000000", "#000080", "#008000", "#008080",
                         "#800000", "#800080", "#808000"};
    for (int code = 0; code <= 6; ++code) {
        EXPECT_EQ(MessageTextColour(code, true).name(), QString::fromLatin1(high[code])) << code;
        EXPECT_EQ(MessageTextColour(code, false).name(), QString::fromLatin1(low[code])) << code;
    }
    EXPECT_EQ(MessageTextColour(9, true).name(), QStringLiteral("#000000"));
}

}  // namespace
}  // namespace dialogs
