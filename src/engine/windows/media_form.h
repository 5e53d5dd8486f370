#pragma once

#include <QDialog>
#include <QList>

#include <chrono>

class QComboBox;
class QLabel;
class QTimer;

namespace engine::windows {

// Asks the person to insert the removable medium a backup goes to and to
// pick the drive it is in.
//
// The drive-selection dialog "ドライブの選択": asks for the medium with a
// title (LBLDSP) of a kind (MSGDSP) and answers the drive chosen in DRVBOX.
// It is created for one question and destroyed after it, so DRVBOX always
// lists the drive table as it stands.
class MediaForm final : public QDialog {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kUnattendedTimeout{60'000};

    // Lists the drives of the current drive table in DRVBOX, each entry
    // beginning with its letter and a colon ("E: [PHOTOS]"), and selects the
    // last ready removable drive but the first entry, else C:. `timeout` is the
    // self-close time of unattended runs.
    explicit MediaForm(std::chrono::milliseconds timeout = kUnattendedTimeout,
                       QWidget* parent = nullptr);

    void SetTitle(const QString& title);  // LBLDSP
    void SetKind(const QString& kind);    // MSGDSP

    // Selects the entry of `defaultDrive` ("E:\"; letter case does not
    // matter), disables `owner` (may be null) with the arrow pointer, starts
    // the self-close timer (Timer1) when `unattended`, centres the dialog over
    // the owner, beeps, and lets events run until the dialog is hidden; then
    // stops the timer and gives the owner its enabled state back.
    void Disp(QWidget* owner, const QString& defaultDrive, bool unattended);

    // "E:" after OKBTN; empty after CANBTN, the close box or the timeout.
    QString SelectedDrive() const { return selected_; }
    // The self-close timer closed the dialog (as CANBTN).
    bool TimedOut() const { return timedOut_; }

  private:
    void PreselectRemovable();
    void SelectLetter(QChar letter);
    void OnOk();
    void OnCancel();
    void OnTimeout();

    struct Entry {
        QChar letter;
        bool removable = false;
        bool ready = false;  // the drive's folder is there: a medium is inserted
    };
    QList<Entry> entries_;
    QLabel* title_;
    QLabel* kind_;
    QComboBox* drives_;
    QTimer* selfClose_;
    QString selected_;
    bool timedOut_ = false;
};

}  // namespace engine::windows
