#include "archiver/command_line.h"

#include <cctype>

namespace archiver {
namespace {

bool Fail(std::string& error, const std::string& text) {
    error = text;
    return false;
}

// The operands after the switches: archive, base folder (ending with "\"), patterns.
struct Operands {
    std::string archive;
    std::string baseFolder;
    bool hasBaseFolder = false;
    std::vector<std::string> patterns;
};

bool SplitOperands(const std::vector<std::string>& words, Operands& operands, std::string& error) {
    if (words.empty()) return Fail(error, "no archive given");
    operands.archive = words[0];
    if (operands.archive.empty()) return Fail(error, "empty archive name");
    if (words.size() == 1) return true;
    const std::string& folder = words[1];
    if (folder.empty() || folder.back() != '\\') {
        return Fail(error, "the base folder must end with \\: " + folder);
    }
    operands.baseFolder = folder.substr(0, folder.size() - 1);
    // "C:\" names the root of a drive; "C:" alone would not.
    if (!operands.baseFolder.empty() && operands.baseFolder.back() == ':')
        operands.baseFolder += '\\';
    operands.hasBaseFolder = true;
    if (operands.baseFolder.empty()) return Fail(error, "empty base folder");
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i].empty()) return Fail(error, "empty file pattern");
        operands.patterns.push_back(words[i]);
    }
    return true;
}

struct UnlhaSwitches {
    bool recursive = false;
    bool deleteMissing = false;
};

// Switch letters: r, x and a with an optional digit 0..2, and "jn".
bool ParseUnlhaSwitch(const std::string& word, UnlhaSwitches& switches, std::string& error) {
    std::size_t i = 1;
    if (word.size() == 1) return Fail(error, "empty switch");
    while (i < word.size()) {
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(word[i++])));
        if (letter == 'r' || letter == 'x' || letter == 'a') {
            int value = 1;
            if (i < word.size() && word[i] >= '0' && word[i] <= '2') value = word[i++] - '0';
            if (letter == 'r') switches.recursive = value > 0;
        } else if (letter == 'j' && i < word.size() &&
                   std::tolower(static_cast<unsigned char>(word[i])) == 'n') {
            ++i;
            switches.deleteMissing = true;
        } else {
            return Fail(error, "unknown switch " + word);
        }
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::string>> SplitCommandWords(const std::string& text) {
    const std::string line = text.substr(0, text.find('\0'));
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) return std::nullopt;
    if (inWord) words.push_back(word);
    return words;
}

std::optional<UnlhaCommand> ParseUnlhaCommand(const std::string& text, std::string& error) {
    const std::optional<std::vector<std::string>> words = SplitCommandWords(text);
    if (!words) {
        error = "unbalanced quotation mark";
        return std::nullopt;
    }
    if (words->empty()) {
        error = "empty command line";
        return std::nullopt;
    }
    UnlhaCommand command;
    const std::string verb = (*words)[0];
    if (verb == "u" || verb == "U") {
        command.verb = UnlhaVerb::kUpdate;
    } else if (verb == "d" || verb == "D") {
        command.verb = UnlhaVerb::kDeleteMissing;
    } else if (verb == "t" || verb == "T") {
        command.verb = UnlhaVerb::kTest;
    } else {
        error = "unknown command " + verb;
        return std::nullopt;
    }
    UnlhaSwitches switches;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < words->size(); ++i) {
        const std::string& word = (*words)[i];
        if (!word.empty() && word[0] == '-') {
            if (!ParseUnlhaSwitch(word, switches, error)) return std::nullopt;
        } else {
            rest.push_back(word);
        }
    }
    Operands operands;
    if (!SplitOperands(rest, operands, error)) return std::nullopt;
    command.recursive = switches.recursive;
    command.archive = operands.archive;
    command.baseFolder = operands.baseFolder;
    command.patterns = operands.patterns;
    switch (command.verb) {
        case UnlhaVerb::kUpdate:
            if (switches.deleteMissing) error = "-jn is not an update switch";
            if (!operands.hasBaseFolder) error = "no base folder given";
            break;
        case UnlhaVerb::kDeleteMissing:
            // Deleting named members is not offered: only members whose files are gone.
            if (!switches.deleteMissing) error = "d needs -jn";
            if (!operands.hasBaseFolder) error = "no base folder given";
            break;
        case UnlhaVerb::kTest:
            if (operands.hasBaseFolder || switches.recursive || switches.deleteMissing) {
                error = "t takes only the archive";
            }
            break;
    }
    if (!error.empty()) return std::nullopt;
    return command;
}

std::optional<ZipCommand> ParseZipCommand(const std::string& text, std::string& error) {
    const std::optional<std::vector<std::string>> words = SplitCommandWords(text);
    if (!words) {
        error = "unbalanced quotation mark";
        return std::nullopt;
    }
    if (words->empty() || (*words)[0].empty() || (*words)[0][0] != '-') {
        error = "the command line must begin with a switch word";
        return std::nullopt;
    }
    ZipCommand command;
    const std::string& switchWord = (*words)[0];
    for (std::size_t i = 1; i < switchWord.size(); ++i) {
        const char letter = switchWord[i];
        if (letter == 'u' || letter == 'U') {
            command.updateOnly = true;
        } else if (letter == 'r' || letter == 'R') {
            command.recursive = true;
        } else {
            error = "unknown switch " + switchWord;
            return std::nullopt;
        }
    }
    const std::vector<std::string> rest(words->begin() + 1, words->end());
    for (const std::string& word : rest) {
        if (!word.empty() && word[0] == '-') {
            error = "unexpected switch " + word;
            return std::nullopt;
        }
    }
    Operands operands;
    if (!SplitOperands(rest, operands, error)) return std::nullopt;
    if (!operands.hasBaseFolder) {
        error = "no base folder given";
        return std::nullopt;
    }
    command.archive = operands.archive;
    command.baseFolder = operands.baseFolder;
    command.patterns = operands.patterns;
    return command;
}

}  // namespace archiver
