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

bool SplitOperands(const std::vector<CommandWord>& commandWords, Operands& operands,
                   std::string& error) {
    std::vector<std::string> words;
    for (const CommandWord& word : commandWords) words.push_back(word.text);
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

std::optional<std::vector<CommandWord>> SplitCommandWords(const std::string& text,
                                                          std::string& error) {
    const std::string line = text.substr(0, text.find('\0'));
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::vector<CommandWord> words;
    std::size_t at = 0;
    while (at < line.size()) {
        if (isBlank(line[at])) {
            ++at;
            continue;
        }
        CommandWord word;
        if (line[at] == '"') {
            const std::size_t close = line.find('"', at + 1);
            if (close == std::string::npos) {
                error = "unbalanced quotation mark";
                return std::nullopt;
            }
            if (close + 1 < line.size() && !isBlank(line[close + 1])) {
                error = "a quotation mark inside a word cannot be read unambiguously: " +
                        line.substr(at);
                return std::nullopt;
            }
            word = CommandWord{line.substr(at + 1, close - at - 1), true};
            at = close + 1;
        } else {
            std::size_t end = at;
            while (end < line.size() && !isBlank(line[end])) ++end;
            word = CommandWord{line.substr(at, end - at), false};
            if (word.text.find('"') != std::string::npos) {
                error = "a quotation mark inside a word cannot be read unambiguously: " + word.text;
                return std::nullopt;
            }
            at = end;
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<UnlhaCommand> ParseUnlhaCommand(const std::string& text, std::string& error) {
    const std::optional<std::vector<CommandWord>> words = SplitCommandWords(text, error);
    if (!words) return std::nullopt;
    if (words->empty()) {
        error = "empty command line";
        return std::nullopt;
    }
    UnlhaCommand command;
    const std::string verb = (*words)[0].quoted ? std::string() : (*words)[0].text;
    if (verb == "u" || verb == "U") {
        command.verb = UnlhaVerb::kUpdate;
    } else if (verb == "d" || verb == "D") {
        command.verb = UnlhaVerb::kDeleteMissing;
    } else if (verb == "t" || verb == "T") {
        command.verb = UnlhaVerb::kTest;
    } else {
        error = "unknown command " + (*words)[0].text;
        return std::nullopt;
    }
    UnlhaSwitches switches;
    std::vector<CommandWord> rest;
    for (std::size_t i = 1; i < words->size(); ++i) {
        const CommandWord& word = (*words)[i];
        if (!word.quoted && word.text[0] == '-') {
            if (!ParseUnlhaSwitch(word.text, switches, error)) return std::nullopt;
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
    const std::optional<std::vector<CommandWord>> words = SplitCommandWords(text, error);
    if (!words) return std::nullopt;
    if (words->empty() || (*words)[0].quoted || (*words)[0].text[0] != '-') {
        error = "the command line must begin with a switch word";
        return std::nullopt;
    }
    ZipCommand command;
    const std::string& switchWord = (*words)[0].text;
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
    const std::vector<CommandWord> rest(words->begin() + 1, words->end());
    for (const CommandWord& word : rest) {
        if (!word.quoted && word.text[0] == '-') {
            error = "unexpected switch " + word.text;
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

namespace {

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

// The folder operand ends with "\"; a drive's root ("C:\") already does.
std::string QuotedFolder(const std::string& folder) {
    const bool root = folder.size() >= 2 && folder.compare(folder.size() - 2, 2, ":\\") == 0;
    return Quoted(root ? folder : folder + '\\');
}

// Patterns stay bare ("*.*") unless a bare word would read otherwise.
std::string PatternWords(const std::vector<std::string>& patterns) {
    std::string words;
    for (const std::string& pattern : patterns) {
        const bool bare = !pattern.empty() && pattern[0] != '-' &&
                          pattern.find_first_of(" \t\r\n") == std::string::npos;
        words += ' ' + (bare ? pattern : Quoted(pattern));
    }
    return words;
}

}  // namespace

std::string UnlhaCommandLine(const UnlhaCommand& command) {
    switch (command.verb) {
        case UnlhaVerb::kUpdate:
            return (command.recursive ? "u -r2x1a2 " : "u ") + Quoted(command.archive) + ' ' +
                   QuotedFolder(command.baseFolder) + PatternWords(command.patterns);
        case UnlhaVerb::kDeleteMissing:
            return "d -jn " + Quoted(command.archive) + ' ' + QuotedFolder(command.baseFolder) +
                   PatternWords(command.patterns);
        case UnlhaVerb::kTest:
            return "t " + Quoted(command.archive);
    }
    return std::string();
}

std::string ZipCommandLine(const ZipCommand& command) {
    std::string switchWord = "-";
    if (command.updateOnly) switchWord += 'u';
    if (command.recursive) switchWord += 'r';
    return switchWord + ' ' + Quoted(command.archive) + ' ' + QuotedFolder(command.baseFolder) +
           PatternWords(command.patterns);
}

}  // namespace archiver
