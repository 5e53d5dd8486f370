#pragma once

#include "engine/engine_ui.h"
#include "engine/windows/back_form.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace engine {
class Engine;
}

namespace engine::windows {

class OverwriteForm;

// The engine's user on a desktop: the progress window, the older-file
// question, the drive-selection dialog and the standard message box. User-
// interface thread only; a QApplication must exist.
//
// The engine is made with this object (Engine(EngineUi&)), so the way back
// from 中止BTN to the engine is set afterwards with AttachEngine:
//
//     QtEngineUi ui(BackForm::Variant::Tetoru);
//     Engine engine(ui);
//     ui.AttachEngine(&engine);
//
// The windows library depends on the engine, never the other way round.
class QtEngineUi final : public EngineUi {
  public:
    // Creates the progress window (hidden, not yet placed: the program calls
    // Progress().PlaceFromSettings once).
    explicit QtEngineUi(BackForm::Variant variant);
    ~QtEngineUi() override;
    QtEngineUi(const QtEngineUi&) = delete;
    QtEngineUi& operator=(const QtEngineUi&) = delete;

    // The progress window; Tetoru connects its closeRequested().
    BackForm& Progress() { return *progress_; }

    // 中止BTN calls engine->RequestAbort(); nullptr detaches. The engine must
    // stay alive while attached.
    void AttachEngine(Engine* engine) { engine_ = engine; }

    // The windows the drive-selection dialog is centred over and disables:
    // Owner::Caller (the catalog window) and Owner::Registration (the
    // registration dialog). Owner::Progress is always the progress window;
    // setting it is ignored. The windows may be deleted meanwhile.
    void SetOwnerWindow(Owner owner, QWidget* window);
    QWidget* OwnerWindow(Owner owner) const;

    // The media-title question; Kibako installs its input dialog. Without it
    // the question has no answer.
    using TextQuestion = std::function<std::optional<QString>(
        const QString& prompt, const QString& title, const QString& defaultText)>;
    void SetTextQuestion(TextQuestion ask) { askText_ = std::move(ask); }

    // The self-close time of the drive-selection dialog in unattended runs.
    void SetDriveTimeout(std::chrono::milliseconds timeout) { driveTimeout_ = timeout; }
    // The same for the older-file question (set before its first question).
    void SetOlderFileTimeout(std::chrono::milliseconds timeout) { olderFileTimeout_ = timeout; }
    // The same for the standard message box: in an unattended run nobody may
    // be there to press its button, so it closes itself with the answer that
    // changes nothing, and its text also goes to standard error.
    static constexpr std::chrono::milliseconds kUnattendedMessageTimeout{60'000};
    void SetMessageTimeout(std::chrono::milliseconds timeout) { messageTimeout_ = timeout; }
    // LetEventsRun lets events run at most once in this time, except right
    // after the window was shown and after each chunk of a large file.
    static constexpr std::chrono::milliseconds kEventInterval{10};
    void SetEventInterval(std::chrono::milliseconds interval) { eventInterval_ = interval; }

    // The older-file question window, once it has been asked.
    OverwriteForm* OverwriteWindow() const { return overwrite_.get(); }

    util::Answer StandardMessage(const QString& text, util::Buttons buttons,
                                 util::Answer defaultAnswer) override;
    util::Answer StandardMessageWithIcon(const QString& text, util::Buttons buttons,
                                         util::Answer defaultAnswer, MessageIcon icon) override;
    void Beep() override;
    void ShowProgress() override;
    void HideProgress() override;
    void SetSourceText(const QString& text) override;
    void SetDestinationText(const QString& text) override;
    void SetCountText(const QString& text) override;
    void SetFileProgress(qint64 done, qint64 total) override;
    void LetEventsRun() override;
    void SetBusyCursor(bool busy) override;
    util::Answer AskOlderFile(const OlderFile& file) override;
    DriveChoice AskDrive(Owner owner, const QString& title, const QString& kindText,
                         const QString& defaultDrive, bool unattended) override;
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;

  private:
    QWidget* MessageParent() const;

    std::unique_ptr<BackForm> progress_;
    std::unique_ptr<OverwriteForm> overwrite_;
    Engine* engine_ = nullptr;
    QPointer<QWidget> caller_;
    QPointer<QWidget> registration_;
    TextQuestion askText_;
    std::chrono::milliseconds driveTimeout_;
    std::chrono::milliseconds olderFileTimeout_;
    std::chrono::milliseconds messageTimeout_ = kUnattendedMessageTimeout;
    bool busy_ = false;
    std::chrono::milliseconds eventInterval_ = kEventInterval;
    QElapsedTimer sinceEvents_;
    bool eventsDue_ = true;
};

}  // namespace engine::windows
