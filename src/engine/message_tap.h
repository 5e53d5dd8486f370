#pragma once

#include "engine/engine_ui.h"

#include <QStringList>

namespace engine {

// Stands between a run and its user for the length of one run: passes every
// call on unchanged, and keeps the texts of the messages shown, so that the
// run can say in its log why an entry failed without each failure having to
// be reported twice.
class MessageTap final : public EngineUi {
  public:
    explicit MessageTap(EngineUi& user) : user_(user) {}
    MessageTap(const MessageTap&) = delete;
    MessageTap& operator=(const MessageTap&) = delete;

    // The messages shown since the last call, one per line, each on one line.
    QString TakeMessages();

    util::Answer StandardMessage(const QString& text, util::Buttons buttons,
                                 util::Answer defaultAnswer) override;
    util::Answer StandardMessageWithIcon(const QString& text, util::Buttons buttons,
                                         util::Answer defaultAnswer, MessageIcon icon) override;
    void Beep() override { user_.Beep(); }
    void ShowProgress() override { user_.ShowProgress(); }
    void HideProgress() override { user_.HideProgress(); }
    void SetSourceText(const QString& text) override { user_.SetSourceText(text); }
    void SetDestinationText(const QString& text) override { user_.SetDestinationText(text); }
    void SetCountText(const QString& text) override { user_.SetCountText(text); }
    void SetFileProgress(qint64 done, qint64 total) override { user_.SetFileProgress(done, total); }
    void LetEventsRun() override { user_.LetEventsRun(); }
    void SetBusyCursor(bool busy) override { user_.SetBusyCursor(busy); }
    util::Answer AskOlderFile(const OlderFile& file) override { return user_.AskOlderFile(file); }
    DriveChoice AskDrive(Owner owner, const QString& title, const QString& kindText,
                         const QString& defaultDrive, bool unattended) override {
        return user_.AskDrive(owner, title, kindText, defaultDrive, unattended);
    }
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override {
        return user_.AskText(prompt, title, defaultText);
    }
    void EntryFinished(const EntryReport& report) override { user_.EntryFinished(report); }

  private:
    void Keep(const QString& text);

    EngineUi& user_;
    QStringList messages_;
};

}  // namespace engine
