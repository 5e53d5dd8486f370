#include "tetoru/command_line.h"

namespace tetoru {

const util::OptionSpec kStatusOption{
    "--status", nullptr,
    "show each registration's last result and last good backup, from the run log, and exit"};
const util::OptionSpec kMaxAgeOption{
    "--max-age", "DAYS", "with --status: also fail when a backup is older than DAYS days"};

namespace {

const util::OptionSpec kOptions[] = {
    util::kHelpOption,
    util::kVersionOption,
    util::kDrivesOption,
    {"--verify", nullptr, "compare each registration's backup with its source"},
    {"--content", nullptr, "with --verify: compare the data as well"},
    {"--restore", "SOURCE-FOLDER", "restore the backup of a registered folder"},
    {"--to", "FOLDER", "with --restore: restore into FOLDER instead"},
    {"--dry-run", nullptr, "with --restore: list what would be written"},
    {"--overwrite", nullptr, "with --restore: replace files that differ"},
    {"--at", "'YYYY-MM-DD HH:MM'", "with --restore: the backup as it was then, from its history"},
    kStatusOption,
    kMaxAgeOption,
};

}  // namespace

const util::ProgramSpec kProgram{
    "tetoru", "[DEFINITION-FILE]",
    "Backs up the registered folders once, as Kibako's Tetoru options say (every\n"
    "registration or only the changed ones), saves the new backup times and ends;\n"
    "with AutoPowerOff set it then asks for the machine to be powered off. With a\n"
    "display it shows its progress window; without one (cron, a systemd timer) it\n"
    "writes one line per registration and a summary to standard output.\n"
    "\n"
    "DEFINITION-FILE is the registrations to back up, in drive form (C:\\...) or as\n"
    "an absolute path (/home/...); the words after the options make one name.\n"
    "Without it: the file of the setting CatalogName when it exists, else\n"
    "Kibako.Def in the program folder. A named file that does not exist is an\n"
    "error: nothing is backed up.\n"
    "\n"
    "--verify reads every registration's backup and its source and prints one line\n"
    "per registration and one per difference: missing in the backup, older in the\n"
    "backup, different size or time, different content (--content: bytes of folder\n"
    "copies, decoded data and CRC of archive members), a backup that fails its test.\n"
    "--restore SOURCE-FOLDER (drive form or host path) puts the backup of the\n"
    "registration holding that folder back into it, or into --to FOLDER: missing\n"
    "files are written, equal ones left alone, and files that differ are kept and\n"
    "listed unless --overwrite is given. Each file is written whole or not at all,\n"
    "with the time its backup has. Neither asks anything. With --at it restores the\n"
    "backup as it was at that local time, taking each file from the backup or from\n"
    "the history of replaced and deleted backups (the setting HistoryDays): the\n"
    "newest version not later than that time; files the backup did not hold then\n"
    "are left alone.\n"
    "\n"
    "With --status it changes nothing: it prints each registration's last result\n"
    "from the run log (Kibako.log in the program folder, written by every run of\n"
    "either program) and when its backup was last known to be current, and exits\n"
    "with 1 when a registration's last run failed or, with --max-age, when one was\n"
    "not backed up (nor found unchanged) for more than DAYS days; a monitor can\n"
    "call it.\n",
    "  0   every registration that was due was backed up (--verify: every backup\n"
    "      matches; --restore: no file failed)\n"
    "  1   a registration failed (--verify: a backup differs or cannot be read;\n"
    "      --restore: a file failed or the backup cannot be read)\n"
    "  2   the run was stopped (the abort button, SIGTERM or SIGINT after the\n"
    "      current file, or an archive that could not be written)\n"
    "  3   the clock says a year before 2000: nothing was touched\n"
    "  4   the progress window was closed: nothing was saved\n"
    "  64  the command line cannot be read\n"
    "  66  the named definition file does not exist\n",
    kOptions};

util::CommandLine ReadCommandLine(int argc, char* argv[]) {
    return util::ParseCommandLine(util::ArgumentsOf(argc, argv), kOptions);
}

}  // namespace tetoru
