#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace widgets {
template <typename Result>
class AnswerWait;
}

namespace engine {
class Engine;
}

namespace store {
class Settings;
}

namespace catalog {

// What the catalog hands the registration dialog and reads back from it.
struct RegistrationValues {
    QString source;       // shown, never edited
    QString destination;  // may be empty for a new registration
    bool subFolders = false;
    bool lock = false;
    bool deleteMissing = false;
};

inline const QString kInsideSourceText =
    QStringLiteral("保存先が元フォルダーの中にあります。|元フォルダーの外の保存先を指定して下さい");
inline const QString kNoDriveText = QStringLiteral(
    "このフォルダーはドライブ表のどのドライブにもありません。|"
    "ドライブ表にあるドライブのフォルダーを選択して下さい");

// A place in the browse dialog's sidebar: a drive's root folder and the name
// it goes by there, its label and letter ("SYSTEM (C:)").
struct SidebarPlace {
    QUrl url;
    QString label;
};

// Registers a folder for backup: to which folder or archive it is copied and
// with which options; it can also back the folder up at once.
//
// The registration dialog "バックアップ登録". Created once and hidden, not
// destroyed, between uses: the three destination fields, the option and the
// lock box keep what the previous use left, and the last destination folder
// lives as long as the dialog. It changes no backup entry: the caller stores
// the answer. 保存BTN calls saveNow, which runs while the dialog stays open.
class EntryForm : public QDialog {
    Q_OBJECT
  public:
    enum class Outcome { Registered, Cancelled };

    explicit EntryForm(QWidget* parent = nullptr);
    ~EntryForm() override;

    // Fills the dialog, disables `owner`, shows the dialog (not modal to the
    // platform) and waits for 登録BTN or CANBTN (closing the window counts as
    // CANBTN); then copies the results back. The caller places the dialog.
    Outcome Inp(QWidget* owner, RegistrationValues& values);

    // The two halves of Inp, for callers and tests that drive the dialog.
    void Fill(const RegistrationValues& values);
    void CopyBack(Outcome outcome, RegistrationValues& values);

    void SelectOption(int index);  // 圧縮OPT(index)
    int SelectedOption() const;
    QString DestinationText(int index) const;  // 保存先LIN(index)
    QString ChosenDestination() const { return DestinationText(SelectedOption()); }
    bool SubFoldersChecked() const;
    bool DeleteMissingChecked() const;
    const QString& Source() const { return source_; }

    void Register();  // 登録BTN
    void Cancel();    // CANBTN
    void Browse();    // 参照BTN
    // Steps of the browse after the dialog gave the host path `hostPath`:
    // false (with the standard message) for a path under no drive.
    bool TakeBrowsedHostPath(const QString& hostPath);
    // The same from a path already in Windows form.
    void TakeBrowsedPath(QString path);

    const QString& LastDestinationFolder() const { return lastDestinationFolder_; }
    void SetLastDestinationFolder(const QString& folder) { lastDestinationFolder_ = folder; }
    // The folder last browsed to (the setting BackupDir, kept by the caller).
    const QString& BrowseFolder() const { return browseFolder_; }
    void SetBrowseFolder(const QString& folder) { browseFolder_ = folder; }

    // Where the system-restore caution is counted (WinMeCaution, written at
    // once) and where removable-media titles are read; either may be null.
    void SetSettings(const store::Settings* settings, int cautionCount);
    int CautionCount() const { return cautionCount_; }
    void SetEngine(engine::Engine* engine) { engine_ = engine; }

    // 保存BTN: the immediate backup of the current values.
    std::function<void()> saveNow;
    // The host file dialog: start folder and sidebar in, chosen host path out
    // (nothing when cancelled). Tests put a function of their own here.
    std::function<std::optional<QString>(const QString& startFolder,
                                         const QList<SidebarPlace>& sidebar)>
        chooseHostPath;
    // The drive table's drives with a root folder, in letter order.
    static QList<SidebarPlace> DrivePlaces();

    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void SetOutcome(Outcome outcome);
    void ShowCaution(const QString& destination);
    QString BrowseStartFolder() const;

    QLabel* sourceLabel_ = nullptr;  // 元フォルダーDSP
    std::array<QRadioButton*, 3> options_{};
    std::array<QLineEdit*, 3> fields_{};
    QPushButton* browseButton_ = nullptr;
    QCheckBox* subFolders_ = nullptr;
    QCheckBox* deleteMissing_ = nullptr;
    QCheckBox* lock_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* registerButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;

    QString source_;
    QString lastDestinationFolder_;
    QString browseFolder_;
    const store::Settings* settings_ = nullptr;
    int cautionCount_ = 0;
    bool cautionShown_ = false;
    engine::Engine* engine_ = nullptr;
    widgets::AnswerWait<Outcome>* wait_ = nullptr;
};

}  // namespace catalog
