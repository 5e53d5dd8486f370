#pragma once

// The platform's standard message box (QMessageBox) with typed buttons: the
// one box every window uses for a plain message or question, apart from the
// system's own message box, which is a window of its own.

#include "widgets/box_message.h"

#include <QMessageBox>

#include <chrono>
#include <memory>

class QWidget;

namespace widgets {

// The box, built but not shown: titled with the message's title (the
// program's title when it has none), plain text with "\n", "\r\n" and "\r"
// as line breaks, the asked default button (else the first), and kept above
// every other window when the environment check's message style holds 4096.
std::unique_ptr<QMessageBox> MakeStandardBox(const BoxMessage& message, QWidget* parent = nullptr);

// Shows a box made by MakeStandardBox, waits for it, and returns the answer.
// A box closed without a button answers what changes nothing
// (util::AnswerChangingNothing).
util::Answer RunStandardBox(QMessageBox& box, util::Buttons buttons);

// Nobody may be there to answer: the text also goes to standard error, and
// the box closes itself after `after` with the answer that changes nothing.
struct Unattended {
    bool on = false;
    std::chrono::milliseconds after{0};
};

// Asks: a preset answer first (preset_answers.h), else the box, modal over
// `parent`, with the arrow pointer over it even while a run shows the busy
// one.
util::Answer ShowStandardBox(const BoxMessage& message, QWidget* parent = nullptr,
                             Unattended unattended = {});

}  // namespace widgets
