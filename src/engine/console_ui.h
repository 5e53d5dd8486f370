#pragma once

#include "engine/engine_ui.h"

#include <cstdio>
#include <functional>

namespace engine {

// The engine's user for runs without a display (a timer, cron): one line per
// entry on standard output, messages on standard error, and every question
// answered with what changes nothing (No to replacing with an older file,
// no medium, no title).
class ConsoleUi final : public EngineUi {
  public:
    explicit ConsoleUi(std::FILE* out = stdout, std::FILE* err = stderr) : out_(out), err_(err) {}

    util::Answer StandardMessage(const QString& text, util::Buttons buttons,
                                 util::Answer defaultAnswer) override;
    void Beep() override {}
    void ShowProgress() override {}
    void HideProgress() override {}
    void SetSourceText(const QString&) override {}
    void SetDestinationText(const QString&) override {}
    void SetCountText(const QString&) override {}
    void SetFileProgress(qint64, qint64) override {}
    void LetEventsRun() override {
        if (onEvents) onEvents();
    }
    void SetBusyCursor(bool) override {}
    util::Answer AskOlderFile(const OlderFile& file) override;
    DriveChoice AskDrive(Owner, const QString& title, const QString& kindText, const QString&,
                         bool unattended) override;
    std::optional<QString> AskText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void EntryFinished(const EntryReport& report) override;

    // Runs where a window would let its events run: the place to notice a
    // stop request (a signal) and abort the run.
    std::function<void()> onEvents;

  private:
    std::FILE* out_;
    std::FILE* err_;
};

// The line a console shows for an entry.
QString EntryReportLine(const EntryReport& report);

}  // namespace engine
