// Parsing of the archiver command lines, the library's front door for outside callers.
// Words are separated by blanks; a word is either bare (no quotation mark in it) or wholly
// enclosed in double quotation marks, which are dropped; the text ends at the first
// character of code 0. Only a bare word beginning with "-" is a switch. Text that cannot be
// read in exactly one way (a quotation mark inside a word, text joined to a closing mark,
// an unclosed mark) is refused rather than guessed at.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "archiver/commands.h"

namespace archiver {

// nullopt with `error` on an unknown command or switch, a missing or surplus operand, or
// quotation marks that cannot be read unambiguously.
std::optional<UnlhaCommand> ParseUnlhaCommand(const std::string& text, std::string& error);
std::optional<ZipCommand> ParseZipCommand(const std::string& text, std::string& error);

struct CommandWord {
    std::string text;
    bool quoted = false;
};

// Splits into words; nullopt with `error` when the quotation marks are not as above.
std::optional<std::vector<CommandWord>> SplitCommandWords(const std::string& text,
                                                          std::string& error);

}  // namespace archiver
