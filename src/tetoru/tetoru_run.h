#pragma once

#include "engine/engine.h"

#include <QStringList>

#include <functional>

namespace store {
class Settings;
}

namespace tetoru {

// How a run of Tetoru ended, as its exit status.
enum ExitStatus {
    kAllBackedUp = 0,        // every entry that was due was backed up
    kEntryFailed = 1,        // some copy or archive update failed
    kAborted = 2,            // 中止BTN, or an archive that could not be written
    kWrongDate = 3,          // the clock says a year before 2000: nothing was touched
    kWindowClosed = 4,       // the progress window was closed: nothing was saved
    kNoDefinitionFile = 66,  // the definition file named on the command line is not there
};

// The program's window side: where the progress window goes.
struct TetoruHooks {
    // Places the progress window at WindowX, WindowY (twips, negatives as 0).
    std::function<void(const store::Settings&)> placeProgressWindow;
};

// Tetoru from start to end: date check, program folder and settings, the
// environment check, the definition file (the command line, else CatalogName,
// else Kibako.Def beside the program; a named file that is not there ends Tetoru
// before the run with a message on standard error), one backup run with nobody at the
// machine, the save when a time changed, and the power-off request when the
// run was not aborted and AutoPowerOff is set.
ExitStatus RunTetoru(engine::Engine& engine, const QStringList& arguments,
                     const TetoruHooks& hooks);

}  // namespace tetoru
