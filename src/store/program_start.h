#pragma once

#include "platform/path_kinds.h"
#include "store/settings.h"

#include <QString>

namespace store {

// What both programs check and load before anything else.

// True when the clock reads a year before 2000: backup times would be
// wrong, so neither program goes on.
bool ClockIsWrong();
// The text shown when the clock is wrong.
QString WrongDateText();

struct ProgramStart {
    platform::DrivePath programFolder;  // without a trailing "\"
    Settings settings;
    // Why newly detected drive letters were not remembered; empty when they
    // were (or none were new). The program goes on either way.
    QString driveError;
    // Set when the settings file is there but is no file to read (a FIFO, a
    // device, an absurdly large file): the program must not go on, since
    // reading it could hang and saving over it would lose it.
    QString settingsRefused;
};

// Makes the drive table from the settings file current (the program folder's
// Windows form depends on it), then finds the program folder and its
// settings file and runs the environment check. When the settings file is
// refused, nothing else is done and `settingsRefused` says why.
ProgramStart StartProgram();

}  // namespace store
