#include "engine/windows/qt_engine_ui.h"

#include "engine/engine.h"
#include "engine/windows/media_form.h"
#include "engine/windows/overwrite_form.h"
#include "util/message_sink.h"
#include "widgets/beep.h"
#include "widgets/dialog_placement.h"
#include "widgets/standard_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <utility>

namespace engine::windows {

QtEngineUi::QtEngineUi(BackForm::Variant variant)
    : progress_(std::make_unique<BackForm>(variant)),
      driveTimeout_(MediaForm::kUnattendedTimeout),
      olderFileTimeout_(OverwriteForm::kUnattendedTimeout) {
    QObject::connect(progress_.get(), &BackForm::abortRequested, progress_.get(), [this] {
        if (engine_ != nullptr) engine_->RequestAbort();
    });
}

QtEngineUi::~QtEngineUi() { SetBusyCursor(false); }

void QtEngineUi::SetOwnerWindow(Owner owner, QWidget* window) {
    switch (owner) {
        case Owner::Progress:
            break;
        case Owner::Caller:
            caller_ = window;
            break;
        case Owner::Registration:
            registration_ = window;
            break;
    }
}

QWidget* QtEngineUi::OwnerWindow(Owner owner) const {
    switch (owner) {
        case Owner::Progress:
            return progress_.get();
        case Owner::Caller:
            return caller_;
        case Owner::Registration:
            return registration_;
    }
    return nullptr;
}

util::Answer QtEngineUi::StandardMessage(const QString& text, util::Buttons buttons,
                                         util::Answer defaultAnswer) {
    return StandardMessageWithIcon(text, buttons, defaultAnswer, MessageIcon::None);
}

util::Answer QtEngineUi::StandardMessageWithIcon(const QString& text, util::Buttons buttons,
                                                 util::Answer defaultAnswer, MessageIcon icon) {
    const widgets::BoxIcon boxIcon =
        icon == MessageIcon::Exclamation ? widgets::BoxIcon::Exclamation : widgets::BoxIcon::None;
    const bool unattended = engine_ != nullptr && engine_->Unattended();
    return widgets::ShowStandardBox({text, buttons, defaultAnswer, boxIcon}, MessageParent(),
                                    {unattended, messageTimeout_});
}

QWidget* QtEngineUi::MessageParent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    return progress_->isVisible() ? progress_.get() : nullptr;
}

void QtEngineUi::Beep() { widgets::Beep(); }

void QtEngineUi::ShowProgress() {
    eventsDue_ = true;
    progress_->ClearFileProgress();
    progress_->show();
    progress_->raise();
}

void QtEngineUi::HideProgress() {
    progress_->ClearFileProgress();
    progress_->hide();
}

void QtEngineUi::SetSourceText(const QString& text) { progress_->SetSource(text); }

void QtEngineUi::SetDestinationText(const QString& text) { progress_->SetDestination(text); }

void QtEngineUi::SetCountText(const QString& text) { progress_->SetCount(text); }

void QtEngineUi::SetFileProgress(qint64 done, qint64 total) {
    progress_->SetFileProgress(done, total);
    // Chunks of a large file are few and far between: each is shown.
    eventsDue_ = true;
}

void QtEngineUi::LetEventsRun() {
    // After every small file the window would be repainted more often than a
    // screen can show, at a cost near that of the copy itself.
    if (!eventsDue_ && sinceEvents_.isValid() && sinceEvents_.elapsed() < eventInterval_.count())
        return;
    eventsDue_ = false;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void QtEngineUi::SetBusyCursor(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

util::Answer QtEngineUi::AskOlderFile(const OlderFile& file) {
    if (!overwrite_) overwrite_ = std::make_unique<OverwriteForm>(olderFileTimeout_);
    overwrite_->SetOlderFile(file);
    overwrite_->adjustSize();
    widgets::PlaceDialog(*overwrite_, progress_->isVisible() ? progress_.get() : nullptr);
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    // Tetoru's run has nobody to answer: the question closes itself, as the
    // drive question does; Kibako waits for its user.
    const util::Answer answer = overwrite_->Ask(engine_ != nullptr && engine_->Unattended());
    QGuiApplication::restoreOverrideCursor();
    return answer;
}

DriveChoice QtEngineUi::AskDrive(Owner owner, const QString& title, const QString& kindText,
                                 const QString& defaultDrive, bool unattended) {
    MediaForm form(driveTimeout_);
    form.SetTitle(title);
    form.SetKind(kindText);
    form.Disp(OwnerWindow(owner), defaultDrive, unattended);
    return DriveChoice{form.SelectedDrive(), form.TimedOut()};
}

std::optional<QString> QtEngineUi::AskText(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    if (!askText_) return std::nullopt;
    return askText_(prompt, title, defaultText);
}

}  // namespace engine::windows
