#pragma once

#include <QString>

#include <vector>

namespace dialogs {

// A message text uses "|" as its line break and the character codes 0 to 8 as
// formatting codes: 0 to 6 choose the text colour, 7 ends bold, 8 starts bold.

// Highest formatting code; codes 0..kLastColourCode are colours.
inline constexpr int kLastColourCode = 6;
inline constexpr int kBoldOffCode = 7;
inline constexpr int kBoldOnCode = 8;

// A piece of one line drawn in one colour and weight.
struct TextRun {
    QString text;
    int colour = 0;  // 0..6
    bool bold = false;
};

struct MessageLine {
    std::vector<TextRun> runs;

    // The line's characters without formatting codes.
    QString Visible() const;
};

struct MessageText {
    std::vector<MessageLine> lines;
    // Code 8 occurs somewhere: every line is measured in bold.
    bool measureBold = false;
};

// CR LF, lone CR and lone LF become "|"; a text not ending in "|" gets one, so
// every line ends with "|". The empty text stays empty (no lines).
QString NormaliseMessageText(const QString& text);

// Splits a message into lines of runs. The text starts black and not bold;
// colour and bold carry over line breaks until the next code changes them.
MessageText ParseMessageText(const QString& text);

// The text as the standard message box shows it: each formatting code becomes
// a blank, "|" and every line-end form become a line break ("\n").
QString StandardBoxText(const QString& text);

bool IsFormattingCode(QChar c);

}  // namespace dialogs
