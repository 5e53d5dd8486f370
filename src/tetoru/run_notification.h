#pragma once

#include "engine/engine_ui.h"

#include <QString>

#include <optional>
#include <vector>

namespace tetoru {

// A desktop notification about a finished run.
struct RunNotice {
    QString summary;
    QString body;
    bool urgent = false;  // a failure: shown until the person closes it
};

// What to tell the desktop after a run: a failure always (naming the failed
// registrations and the first reason), a good run only when `notifySuccess`.
// Nothing for a stopped run, nor a good one that is not to be told.
std::optional<RunNotice> NoticeOfRun(const std::vector<engine::EntryReport>& failed, int backedUp,
                                     bool aborted, bool notifySuccess);

// Sends the notice to the desktop's notification server (the freedesktop
// org.freedesktop.Notifications interface on the session bus). Without a
// session bus nothing is tried; when the bus or its server refuses, the reason
// is returned. A notice that cannot be shown never fails a run.
std::optional<QString> SendNotice(const RunNotice& notice);

}  // namespace tetoru
