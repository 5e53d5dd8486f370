#include "catalog/forms/entry_form.h"

#include "engine/destination_check.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "dialogs/message_box.h"
#include "engine/media_titles.h"
#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "store/settings.h"
#include "util/environment.h"
#include "util/message_sink.h"
#include "util/path_names.h"
#include "util/text_case.h"
#include "widgets/beep.h"
#include "widgets/dialog_wait.h"
#include "widgets/standard_box.h"

namespace catalog {
namespace {

const QString kCaption = QStringLiteral("バックアップ登録");
const QString kPlaceholderName = QStringLiteral("保存先フォルダー名、または圧縮ファイル名");
const QString kBrowseTitle = QStringLiteral("保存先の指定");
constexpr int kCautionLimit = 6;

struct OptionText {
    const char* caption;
    const char* tip;
    const char* fieldTip;
};
const OptionText kOptionTexts[3] = {
    {"そのまま保存",
     "ファイルをそのままコピーします。　高速ですがバックアップのサイズも大きくなります",
     "保存先フォルダー名を指定します"},
    {"LZH に圧縮して保存",
     "LZH形式で圧縮するため、バックアップに多少の時間がかかりますが、バックアップ･"
     "サイズは小さくなります",
     "保存先の圧縮ファイル名（LZH）　を指定します"},
    {"ZIP に圧縮して保存",
     "ZIP形式で圧縮するため、バックアップに多少の時間がかかりますが、バックアップ･"
     "サイズは小さくなります",
     "保存先の圧縮ファイル名（ZIP）　を指定します"},
};

bool IsArchiveExtension(const QString& extension) {
    return extension == u"LZH" || extension == u"ZIP";
}

// The name a destination takes from its source; a drive root has no name
// of its own and gives "Cドライブ".
QString NameForSource(const QString& source) {
    const QString name = util::FileNameOf(source);
    if (!name.isEmpty() || source.isEmpty()) return name;
    return source.left(1).toUpper() + QStringLiteral("ドライブ");
}

// The caution with the message box's codes written as {n}.
QString CautionText() {
    QString text = QStringLiteral(
        "{8}Windows-Me{7}標準の{4}{8}「システムの復元」{7}{0}を使用すると、|{8}{5}LZH{0}{7} 形式や "
        "{8}{5}ZIP{0}{7}形式で圧縮したファイルも、{1}過去の|復元ポイントの状態まで戻ってしまい、{0}"
        "最新のバックアップは|失われてしまいます。||"
        "「システムの復元」を利用する可能性がある場合は、"
        "{8}LZH{7}|や {8}ZIP{7} はリムーバブル･ディスクに保存するか、{2}圧縮無しで|{0}"
        "ハードディスクに保存して下さい{0}");
    for (int code = 0; code <= 8; ++code) {
        text.replace(QStringLiteral("{%1}").arg(code), QString(QChar(code)));
    }
    return text;
}

// Where Qt's sidebar keeps a place's folder (its model's UrlRole).
constexpr int kSidebarUrlRole = Qt::UserRole + 1;

// Names the sidebar's places by their drives. Qt names a place after its
// folder and names it again whenever the folder changes on disk, so the
// labels are put back each time.
void LabelSidebar(QFileDialog& dialog, const QList<SidebarPlace>& places) {
    auto* view = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    if (view == nullptr || view->model() == nullptr) return;
    QAbstractItemModel* model = view->model();
    const auto label = [model, places] {
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const QUrl url = index.data(kSidebarUrlRole).toUrl();
            // Two letters on one folder share one place: the first names it.
            const auto place = std::find_if(places.begin(), places.end(),
                                            [&url](const SidebarPlace& p) { return p.url == url; });
            if (place != places.end() && index.data().toString() != place->label) {
                model->setData(index, place->label, Qt::DisplayRole);
            }
        }
    };
    label();
    QObject::connect(model, &QAbstractItemModel::dataChanged, view, label);
}

// "SYSTEM (C:)", or for a drive without a label what kind of drive it is.
QString PlaceLabel(const platform::Drive& drive) {
    const QString letter = QStringLiteral("(%1:)").arg(drive.letter);
    if (!drive.label.isEmpty()) return drive.label + u' ' + letter;
    switch (drive.type) {
        case platform::DriveType::Fixed:
            return QStringLiteral("ローカル ディスク ") + letter;
        case platform::DriveType::Removable:
            return QStringLiteral("リムーバブル ディスク ") + letter;
        case platform::DriveType::CdRom:
            return QStringLiteral("CD ドライブ ") + letter;
        default:
            return QStringLiteral("ドライブ ") + letter;
    }
}

std::optional<QString> RunFileDialog(QWidget* parent, const QString& startFolder,
                                     const QList<SidebarPlace>& sidebar) {
    QFileDialog dialog(parent, kBrowseTitle, startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);  // the sidebar needs Qt's own
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("総てのファイル (*)"));
    QList<QUrl> urls;
    for (const SidebarPlace& place : sidebar) urls.append(place.url);
    dialog.setSidebarUrls(urls);
    LabelSidebar(dialog, sidebar);
    dialog.selectFile(kPlaceholderName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// The nearest existing folder at or above a host path.
QString ExistingFolder(QString hostPath) {
    while (!hostPath.isEmpty() && !QFileInfo(hostPath).isDir()) {
        const QString parent = QFileInfo(hostPath).path();
        if (parent == hostPath) return {};
        hostPath = parent;
    }
    return hostPath;
}

}  // namespace

EntryForm::EntryForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EntryForm"));
    setWindowTitle(kCaption);
    CreateControls();
    chooseHostPath = [this](const QString& start, const QList<SidebarPlace>& sidebar) {
        return RunFileDialog(this, start, sidebar);
    };
    SelectOption(0);
}

EntryForm::~EntryForm() {
    if (wait_ != nullptr) wait_->Finish(Outcome::Cancelled);
}

void EntryForm::CreateControls() {
    auto* grid = new QGridLayout(this);
    auto* heading = new QLabel(QStringLiteral("バックアップ対象の元フォルダー"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    sourceLabel_ = new QLabel(this);
    sourceLabel_->setObjectName(QStringLiteral("元フォルダーDSP"));
    sourceLabel_->setToolTip(QStringLiteral("バックアップされるフォルダー名"));
    sourceLabel_->setFrameShape(QFrame::Panel);
    sourceLabel_->setFrameShadow(QFrame::Sunken);
    grid->addWidget(heading, 0, 0, 1, 3);
    grid->addWidget(sourceLabel_, 1, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        const auto index = static_cast<size_t>(i);
        options_[index] = new QRadioButton(QString::fromUtf8(kOptionTexts[i].caption), this);
        options_[index]->setObjectName(QStringLiteral("圧縮OPT%1").arg(i));
        options_[index]->setToolTip(QString::fromUtf8(kOptionTexts[i].tip));
        fields_[index] = new QLineEdit(this);
        fields_[index]->setObjectName(QStringLiteral("保存先LIN%1").arg(i));
        fields_[index]->setToolTip(QString::fromUtf8(kOptionTexts[i].fieldTip));
        fields_[index]->setMinimumWidth(360);
        fields_[index]->installEventFilter(this);
        grid->addWidget(options_[index], 2 + i, 0);
        grid->addWidget(fields_[index], 2 + i, 1);
        connect(options_[index], &QRadioButton::clicked, this, [this, i] { SelectOption(i); });
    }
    browseButton_ = new QPushButton(QStringLiteral("参照"), this);
    browseButton_->setObjectName(QStringLiteral("参照BTN"));
    browseButton_->setToolTip(QStringLiteral(
        "保存先のフォルダー名を選択します　（ファイル名を入力する必要はありません）"));
    grid->addWidget(browseButton_, 2, 2);

    subFolders_ = new QCheckBox(QStringLiteral("下位フォルダーも対象とする"), this);
    subFolders_->setObjectName(QStringLiteral("下位SEL"));
    subFolders_->setToolTip(QStringLiteral(
        "上記フォルダーに含まれる下位フォルダーも　同時にバックアップする場合は　チェックします"));
    deleteMissing_ = new QCheckBox(QStringLiteral("元フォルダーに無いファイルは削除"), this);
    deleteMissing_->setObjectName(QStringLiteral("削除SEL"));
    deleteMissing_->setToolTip(
        QStringLiteral("上記フォルダーから削除されたファイルを　保存先のバックアップからも削除す"
                       "る場合はチェックします"));
    lock_ = new QCheckBox(QStringLiteral("パスワードでロックする"), this);
    lock_->setObjectName(QStringLiteral("ロックSEL"));
    lock_->setToolTip(QStringLiteral("現在のバージョンでは使用できません"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("PASLIN"));
    password_->setToolTip(QStringLiteral("現在のバージョンでは使用できません"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setEnabled(false);
    grid->addWidget(subFolders_, 5, 0, 1, 3);
    grid->addWidget(deleteMissing_, 6, 0, 1, 3);
    grid->addWidget(lock_, 7, 0);
    grid->addWidget(password_, 7, 1);

    registerButton_ = new QPushButton(QStringLiteral("登録"), this);
    registerButton_->setObjectName(QStringLiteral("登録BTN"));
    registerButton_->setToolTip(QStringLiteral("上記の設定を　リストに登録します"));
    cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancelButton_->setObjectName(QStringLiteral("CANBTN"));
    saveButton_ = new QPushButton(QStringLiteral("今すぐ保存"), this);
    saveButton_->setObjectName(QStringLiteral("保存BTN"));
    saveButton_->setToolTip(
        QStringLiteral("上記の設定で、このフォルダーを　今すぐバックアップします"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton_);
    buttons->addStretch(1);
    buttons->addWidget(registerButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 8, 0, 1, 3);

    connect(registerButton_, &QPushButton::clicked, this, &EntryForm::Register);
    connect(cancelButton_, &QPushButton::clicked, this, &EntryForm::Cancel);
    connect(browseButton_, &QPushButton::clicked, this, &EntryForm::Browse);
    connect(saveButton_, &QPushButton::clicked, this, [this] {
        if (saveNow) saveNow();
    });
}

EntryForm::Outcome EntryForm::Inp(QWidget* owner, RegistrationValues& values) {
    Fill(values);
    const widgets::OwnerLock lock(owner);
    widgets::AnswerWait<Outcome> wait(Outcome::Cancelled);
    wait_ = &wait;
    show();
    raise();
    activateWindow();
    fields_[static_cast<size_t>(SelectedOption())]->setFocus(Qt::OtherFocusReason);
    const Outcome outcome = wait.Run();
    wait_ = nullptr;
    hide();
    CopyBack(outcome, values);
    return outcome;
}

void EntryForm::Fill(const RegistrationValues& values) {
    source_ = values.source;
    sourceLabel_->setText(values.source);
    QString destination = values.destination;
    bool lock = values.lock;
    if (destination.isEmpty() && !lastDestinationFolder_.isEmpty()) {
        destination = lastDestinationFolder_ + u'\\' + NameForSource(source_);
        if (SelectedOption() == 1) destination += QStringLiteral(".LZH");
        if (SelectedOption() == 2) destination += QStringLiteral(".ZIP");
    }
    if (destination.isEmpty() && !lock) lock = lock_->isChecked();
    if (!destination.isEmpty()) {
        const QString parent = util::ParentPath(destination) + u'\\';
        if (!IsArchiveExtension(util::ExtensionOf(destination))) {
            const QString name = NameForSource(source_);
            fields_[0]->setText(destination);
            fields_[1]->setText(parent + name + QStringLiteral(".LZH"));
            fields_[2]->setText(parent + name + QStringLiteral(".ZIP"));
            SelectOption(0);
        } else {
            const QString base = util::BaseNameOf(destination);
            fields_[0]->setText(util::DropRight(destination, 4));
            fields_[1]->setText(parent + base + QStringLiteral(".LZH"));
            fields_[2]->setText(parent + base + QStringLiteral(".ZIP"));
            SelectOption(destination.right(1).toUpper() == u"H" ? 1 : 2);
        }
    }
    subFolders_->setChecked(values.subFolders);
    lock_->setChecked(lock);
    deleteMissing_->setChecked(values.deleteMissing);
}

void EntryForm::CopyBack(Outcome outcome, RegistrationValues& values) {
    if (outcome == Outcome::Registered) {
        values.destination = ChosenDestination();
        lastDestinationFolder_ = util::ParentPath(values.destination);
    }
    values.subFolders = subFolders_->isChecked();
    values.lock = lock_->isChecked();
    values.deleteMissing = deleteMissing_->isChecked();
}

void EntryForm::SelectOption(int index) {
    if (index < 0 || index > 2) return;
    for (QLineEdit* field : fields_) field->setEnabled(false);
    if (index < 2) {
        lock_->setEnabled(false);
        deleteMissing_->setEnabled(true);
    } else {
        deleteMissing_->setEnabled(false);
    }
    options_[static_cast<size_t>(index)]->setChecked(true);
    fields_[static_cast<size_t>(index)]->setEnabled(true);
}

int EntryForm::SelectedOption() const {
    for (int i = 0; i < 3; ++i) {
        if (options_[static_cast<size_t>(i)]->isChecked()) return i;
    }
    return 0;
}

QString EntryForm::DestinationText(int index) const {
    if (index < 0 || index > 2) return {};
    return fields_[static_cast<size_t>(index)]->text();
}

bool EntryForm::SubFoldersChecked() const { return subFolders_->isChecked(); }

bool EntryForm::DeleteMissingChecked() const { return deleteMissing_->isChecked(); }

void EntryForm::Register() {
    QLineEdit* field = fields_[static_cast<size_t>(SelectedOption())];
    const QString destination = field->text();
    if (destination.trimmed().isEmpty()) {
        widgets::Beep();
        field->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A backup into its own source would copy itself again at every run; an
    // archive inside its source is left out of its own walk.
    if (SelectedOption() == 0 &&
        engine::DestinationInsideSource(platform::DrivePath(source_),
                                        platform::DrivePath(destination), SubFoldersChecked())) {
        dialogs::ShowMessage(this, kInsideSourceText);
        field->setFocus(Qt::OtherFocusReason);
        return;
    }
    ShowCaution(destination);
    hide();
    SetOutcome(Outcome::Registered);
}

void EntryForm::ShowCaution(const QString& destination) {
    if (SelectedOption() == 0 || !util::CurrentEnvironment().windowsMe || cautionShown_) return;
    if (platform::CurrentDrives().TypeOf(destination.at(0)) != platform::DriveType::Fixed) return;
    if (cautionCount_ >= kCautionLimit) return;
    cautionShown_ = true;
    ++cautionCount_;
    if (settings_ != nullptr) settings_->PutSettingNumber(store::Key::WinMeCaution, cautionCount_);
    dialogs::ShowMessage(this, CautionText());
}

void EntryForm::SetSettings(const store::Settings* settings, int cautionCount) {
    settings_ = settings;
    cautionCount_ = cautionCount;
}

void EntryForm::Cancel() {
    hide();
    SetOutcome(Outcome::Cancelled);
}

void EntryForm::reject() { Cancel(); }

void EntryForm::SetOutcome(Outcome outcome) {
    if (wait_ != nullptr) wait_->Finish(outcome);
}

void EntryForm::closeEvent(QCloseEvent* event) {
    // The window manager's close cancels, so that nothing is registered; the
    // window itself stays for the next use.
    SetOutcome(Outcome::Cancelled);
    if (event->spontaneous()) {
        event->ignore();
        hide();
    } else {
        QDialog::closeEvent(event);
    }
}

bool EntryForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            registerButton_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString EntryForm::BrowseStartFolder() const {
    for (const QString& start : {ChosenDestination(), browseFolder_}) {
        if (start.isEmpty()) continue;
        const auto host = platform::ToHostPath(platform::DrivePath(start));
        if (!host) continue;
        const QString folder = ExistingFolder(host->text());
        if (!folder.isEmpty()) return folder;
    }
    return QDir::homePath();
}

void EntryForm::Browse() {
    fields_[static_cast<size_t>(SelectedOption())]->setFocus(Qt::OtherFocusReason);
    const std::optional<QString> chosen = chooseHostPath(BrowseStartFolder(), DrivePlaces());
    if (chosen) TakeBrowsedHostPath(*chosen);
}

QList<SidebarPlace> EntryForm::DrivePlaces() {
    QList<SidebarPlace> places;
    for (const platform::Drive& drive : platform::CurrentDrives().MappedDrives()) {
        if (!drive.root.isEmpty())
            places.append({QUrl::fromLocalFile(drive.root.text()), PlaceLabel(drive)});
    }
    return places;
}

bool EntryForm::TakeBrowsedHostPath(const QString& hostPath) {
    const std::optional<platform::DrivePath> drive =
        platform::ToDrivePath(platform::HostPath(hostPath));
    const std::optional<QString> path =
        drive ? std::optional<QString>(drive->text()) : std::nullopt;
    if (!path) {
        widgets::ShowStandardBox(
            {kNoDriveText, util::Buttons::Ok, util::Answer::Ok, widgets::BoxIcon::Exclamation},
            this);
        return false;
    }
    TakeBrowsedPath(*path);
    return true;
}

void EntryForm::TakeBrowsedPath(QString path) {
    browseFolder_ = util::ParentPath(path);
    const QChar letter = path.isEmpty() ? QChar() : path.at(0).toUpper();
    if (engine_ != nullptr &&
        platform::CurrentDrives().TypeOf(letter) == platform::DriveType::Removable) {
        const QString title = engine::ReadMediaTitle(*engine_, platform::DrivePath(path));
        path = u'(' + letter + u')' + title + path.mid(2);
    }
    const QString folder = util::ParentPath(path);
    const QString extension = util::ExtensionOf(path);
    if (IsArchiveExtension(extension)) {
        const QString base = folder + u'\\' + util::BaseNameOf(path);
        fields_[0]->setText(base);
        fields_[1]->setText(base + QStringLiteral(".LZH"));
        fields_[2]->setText(base + QStringLiteral(".ZIP"));
        SelectOption(extension == u"LZH" ? 1 : 2);
        return;
    }
    const QString name = NameForSource(source_);
    const bool sameName = util::SameKey(util::FileNameOf(folder), name);
    fields_[0]->setText(sameName ? folder : folder + u'\\' + name);
    fields_[1]->setText(folder + u'\\' + name + QStringLiteral(".LZH"));
    fields_[2]->setText(folder + u'\\' + name + QStringLiteral(".ZIP"));
}

}  // namespace catalog
