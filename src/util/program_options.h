#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace util {

// The exit status for a command line that cannot be read (sysexits EX_USAGE).
inline constexpr int kUsageError = 64;

// One option a program understands. A value option is given as "--name VALUE"
// or "--name=VALUE"; a flag takes no value.
struct OptionSpec {
    const char* name;       // "--help"
    const char* valueName;  // "FILE" for a value option, nullptr for a flag
    const char* help;       // one line for the option list of --help
};

// What a program is told when it is asked for help.
struct ProgramSpec {
    const char* name;     // "tetoru"
    const char* operand;  // "[DEFINITION-FILE]"
    const char* about;    // what the program does; several lines
    const char* exits;    // the exit statuses, one per line
    std::span<const OptionSpec> options;
};

// The options --help and --version, which every program has.
inline constexpr OptionSpec kHelpOption{"--help", nullptr, "show this help and exit"};
inline constexpr OptionSpec kVersionOption{"--version", nullptr, "show the version and exit"};
inline constexpr OptionSpec kDrivesOption{"--drives", nullptr,
                                          "show which drive letter is which disk and exit"};

struct CommandLine {
    QMap<QString, QString> options;  // each option given, with its value ("" for a flag)
    QStringList words;               // what follows the options, as given
    QString error;                   // why the command line cannot be read; empty when it can

    bool Has(const char* name) const { return options.contains(QString::fromLatin1(name)); }
    QString Value(const char* name) const { return options.value(QString::fromLatin1(name)); }
};

// The program's arguments without its name, as the shell handed them over.
QStringList ArgumentsOf(int argc, char* argv[]);

// Options come first: every word that begins with "-" (but is not "-" alone)
// up to the first other word is an option, and must be one of `options`;
// "--" ends the options. The remaining words are kept as they are, even those
// that begin with "-", since a definition file's name may hold a blank.
CommandLine ParseCommandLine(const QStringList& arguments, std::span<const OptionSpec> options);

// What every program does with its command line before anything else: --help
// and --version print to standard output and give 0, an unreadable command
// line prints the error and the usage line to standard error and gives
// kUsageError. Nothing when the program should go on.
std::optional<int> AnswerCommonOptions(const CommandLine& line, const ProgramSpec& program);

// Prints why the command line cannot be read and the usage line to standard
// error; gives kUsageError.
int RefuseCommandLine(const ProgramSpec& program, const QString& error);

// The --help text: usage, what the program does, its options, the program
// folder it uses now and how that is chosen, the environment, the exit statuses.
QString HelpText(const ProgramSpec& program);

}  // namespace util
