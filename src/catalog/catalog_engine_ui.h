#pragma once

#include <QPointer>
#include <QWidget>

#include "engine/engine_ui.h"

namespace kibako::catalog {

// The engine's user in the catalog window until the engine's own windows
// take over: messages in the platform's box over the window, the run's
// progress as text in a status line, the older-file question in the system's
// own box, no medium chosen when one is asked for, pending events run between
// files.
class CatalogEngineUi final : public engine::EngineUi {
  public:
    explicit CatalogEngineUi(QWidget* owner) : owner_(owner) {}
    // Where the progress text goes (CONSOL); may stay unset.
    void SetStatusLine(QWidget* statusLine) { status_ = statusLine; }

    int StandardMessage(const QString& text, util::Buttons buttons, int defaultAnswer) override;
    void Beep() override;
    void ShowProgress() override;
    void HideProgress() override;
    void SetSourceText(const QString& text) override;
    void SetDestinationText(const QString&) override {}
    void SetCountText(const QString&) override {}
    void SetFileProgress(qint64, qint64) override {}
    void LetEventsRun() override;
    void SetBusyCursor(bool busy) override;
    int AskOlderFile(const engine::OlderFileQuestion& question) override;
    engine::DriveChoice AskDrive(engine::Owner, const QString&, const QString&, const QString&,
                                 bool) override {
        return {};
    }
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;

  private:
    void SetStatus(const QString& text);

    QPointer<QWidget> owner_;
    QPointer<QWidget> status_;
    bool busy_ = false;
};

}  // namespace kibako::catalog
