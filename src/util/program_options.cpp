#include "util/program_options.h"

#include <algorithm>

#include "platform/host_name.h"
#include "platform/host_program_folder.h"

#include <cstdio>

namespace util {
namespace {

const OptionSpec* FindOption(std::span<const OptionSpec> options, const QString& name) {
    for (const OptionSpec& option : options) {
        if (name == QLatin1String(option.name)) return &option;
    }
    return nullptr;
}

QString UsageLine(const ProgramSpec& program) {
    return QStringLiteral("usage: %1 [OPTION]... %2\n")
        .arg(QLatin1String(program.name), QLatin1String(program.operand));
}

QString OptionList(std::span<const OptionSpec> options) {
    const auto nameOf = [](const OptionSpec& option) {
        QString name = QLatin1String(option.name);
        if (option.valueName) name += u' ' + QLatin1String(option.valueName);
        return name;
    };
    // The help texts start in one column, after the longest name.
    qsizetype width = 16;
    for (const OptionSpec& option : options) width = std::max(width, nameOf(option).size());
    QString text = QStringLiteral("Options:\n");
    for (const OptionSpec& option : options) {
        text += QStringLiteral("  %1  %2\n")
                    .arg(nameOf(option), -static_cast<int>(width))
                    .arg(QLatin1String(option.help));
    }
    return text;
}

const char kProgramFolderRule[] =
    "  It holds the settings (Kibako.INI), the registrations (Kibako.Def) and\n"
    "  the catalog's work files. It is the folder named by KIBAKO_HOME when that\n"
    "  is set; else the program's own folder when it can be written (a build or\n"
    "  a portable copy, not under /usr nor an installation's bin); else\n"
    "  $XDG_DATA_HOME/kibako (~/.local/share/kibako),\n"
    "  made on the first start (an installed copy).\n";

const char kEnvironment[] =
    "Environment:\n"
    "  KIBAKO_HOME      the program folder\n"
    "  XDG_DATA_HOME    where the program folder of an installed copy lies\n"
    "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM\n"
    "                   the display the windows are shown on\n";

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

}  // namespace

QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << platform::HostText(argv[i]);
    return arguments;
}

CommandLine ParseCommandLine(const QStringList& arguments, std::span<const OptionSpec> options) {
    CommandLine line;
    qsizetype at = 0;
    for (; at < arguments.size(); ++at) {
        const QString& word = arguments[at];
        if (word == u"--") {
            ++at;
            break;
        }
        if (!word.startsWith(u'-') || word == u"-") break;
        const qsizetype equals = word.indexOf(u'=');
        const QString name = equals < 0 ? word : word.left(equals);
        const OptionSpec* option = FindOption(options, name);
        if (!option) {
            line.error = QStringLiteral("unknown option '%1'").arg(word);
            return line;
        }
        if (!option->valueName) {
            if (equals >= 0) {
                line.error = QStringLiteral("option '%1' takes no value").arg(name);
                return line;
            }
            line.options.insert(name, QString());
        } else if (equals >= 0) {
            line.options.insert(name, word.mid(equals + 1));
        } else if (at + 1 < arguments.size()) {
            line.options.insert(name, arguments[++at]);
        } else {
            line.error = QStringLiteral("option '%1' needs a value").arg(name);
            return line;
        }
    }
    line.words = arguments.mid(at);
    return line;
}

QString HelpText(const ProgramSpec& program) {
    const QString folder =
        platform::ChooseProgramFolder(platform::ProgramFolderPlacesNow(), platform::MayKeepFilesIn)
            .text();
    return UsageLine(program) + u'\n' + QString::fromUtf8(program.about) + u'\n' +
           OptionList(program.options) + QStringLiteral("\nProgram folder: %1\n").arg(folder) +
           QString::fromUtf8(kProgramFolderRule) + u'\n' + QString::fromUtf8(kEnvironment) +
           QStringLiteral("\nExit status:\n") + QString::fromUtf8(program.exits);
}

int RefuseCommandLine(const ProgramSpec& program, const QString& error) {
    Print(stderr, QStringLiteral("%1: %2\n").arg(QLatin1String(program.name), error) +
                      UsageLine(program) +
                      QStringLiteral("Try '%1 --help'.\n").arg(QLatin1String(program.name)));
    return kUsageError;
}

std::optional<int> AnswerCommonOptions(const CommandLine& line, const ProgramSpec& program) {
    if (!line.error.isEmpty()) return RefuseCommandLine(program, line.error);
    if (line.Has(kHelpOption.name)) {
        Print(stdout, HelpText(program));
        return 0;
    }
    if (line.Has(kVersionOption.name)) {
        Print(stdout, QStringLiteral("%1 (Kibako) %2\n")
                          .arg(QLatin1String(program.name), QStringLiteral(KIBAKO_VERSION)));
        return 0;
    }
    return std::nullopt;
}

}  // namespace util
