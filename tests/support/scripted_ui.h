#pragma once

#include "engine/engine_ui.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

// The engine's user in tests: answers every question from lists and records
// every call as a line of text ("message: ...", "drive: TITLE|KIND|E:\",
// "older: NAME", "progress shown", ...). An empty older-file list repeats
// the previous answer (yes at first); an empty drive list
// cancels; an empty message list takes the default button.
class ScriptedUi final : public engine::EngineUi {
  public:
    ScriptedUi();
    ~ScriptedUi() override;

    util::Answer StandardMessage(const QString& text, util::Buttons buttons,
                                 util::Answer defaultAnswer) override;
    void Beep() override { calls.append(QStringLiteral("beep")); }
    void ShowProgress() override { calls.append(QStringLiteral("progress shown")); }
    void HideProgress() override { calls.append(QStringLiteral("progress hidden")); }
    void SetSourceText(const QString& text) override { source = text; }
    void SetDestinationText(const QString& text) override { destination = text; }
    void SetCountText(const QString& text) override { count = text; }
    void SetFileProgress(qint64, qint64) override { ++fileProgressCalls; }
    void LetEventsRun() override;
    void SetBusyCursor(bool) override {}
    util::Answer AskOlderFile(const engine::OlderFile& file) override;
    engine::DriveChoice AskDrive(engine::Owner owner, const QString& title, const QString& kindText,
                                 const QString& defaultDrive, bool unattended) override;
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
    void EntryFinished(const engine::EntryReport& report) override { reports.push_back(report); }

    std::deque<util::Answer> messageAnswers;
    std::deque<util::Answer> olderAnswers;
    std::deque<engine::DriveChoice> driveAnswers;
    std::deque<std::optional<QString>> textAnswers;
    // Runs each time the engine lets events run (where 中止BTN would be pressed).
    std::function<void()> onEvents;

    QStringList calls;
    QStringList messages;
    std::vector<engine::EntryReport> reports;
    QString source, destination, count;
    int fileProgressCalls = 0;

  private:
    util::Answer lastOlderAnswer_ = util::Answer::Yes;
};

}  // namespace testing_support
