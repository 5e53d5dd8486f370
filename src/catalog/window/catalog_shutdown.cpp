// The catalog window's shut-down: the definitions saved without asking, the
// dialogs closed, the settings and the catalog's work files written.
#include <QCloseEvent>

#include "catalog/commands/registration_editor.h"
#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
#include "store/definition_file.h"
#include "util/file_ops.h"
#include "util/folder_tree.h"
#include "util/message_sink.h"
#include "util/path_names.h"
#include "util/program_folder.h"

namespace catalog {

void ListForm::closeEvent(QCloseEvent* event) {
    // The definitions are saved once the run has written its times.
    if (DeferCloseToRunEnd()) {
        event->ignore();
        return;
    }
    if (!closed_ && settings_ != nullptr && !Shutdown()) {
        // The registrations exist only in this window now: it stays open.
        event->ignore();
        return;
    }
    closed_ = true;
    event->accept();
}

bool ListForm::Shutdown() {
    if (model_.Definitions().Modified()) {
        QString error;
        const store::SaveResult saved =
            store::SaveDefinitions(model_.DefinitionPath(), model_.Definitions(), &error);
        if (!saved) {
            util::Messages().StandardMessage(QStringLiteral("定義ファイルを保存できません\n\n") +
                                                 error + QStringLiteral("\nファイル：　") +
                                                 model_.DefinitionPath(),
                                             util::Buttons::Ok, util::Answer::Ok);
            return false;
        }
        if (saved.nothingToDo) util::Messages().Beep();
    }
    dialogs::CloseMessageBox();
    registration_->Close();
    hide();
    // The window's place and options are worth a word when they are lost,
    // but not worth keeping the window open for.
    QStringList unsaved;
    if (!WriteClosingSettings()) unsaved.append(settings_->FilePath());
    const platform::HostPath catalogDrives =
        util::HostProgramFolder().Below(QStringLiteral("CATDRV.DAT"));
    if (!WriteCatalogDriveFile(catalogDrives, catalogDrives_)) unsaved.append(catalogDrives.text());
    for (const QString& file : unsaved) {
        util::Messages().StandardMessage(
            QStringLiteral("設定を保存できません\nファイル：　") + file, util::Buttons::Ok,
            util::Answer::Ok);
    }
    const platform::DrivePath tempFolder =
        util::JoinPath(programFolder_, QStringLiteral("TempFile"));
    if (util::FolderExists(tempFolder)) {
        util::MessageSink& person = util::Messages();
        for (const QString& failure : util::DeleteFolderTree(tempFolder, person).failures) {
            person.StandardMessage(failure, util::Buttons::Ok, util::Answer::Ok);
        }
    }
    return true;
}

bool ListForm::WriteClosingSettings() {
    const store::Settings& s = *settings_;
    bool ok = s.PutSettingNumber(store::Key::NewFileOnly, options_.newFileOnly);
    ok &= s.PutSettingNumber(store::Key::AutoPowerOff, options_.autoPowerOff);
    ok &= s.PutSettingNumber(store::Key::SkipRemovable, options_.skipRemovable);
    ok &= s.PutSettingNumber(store::Key::WindowX, static_cast<qint64>(x()) * scale_.tpx);
    ok &= s.PutSettingNumber(store::Key::WindowY, static_cast<qint64>(y()) * scale_.tpy);
    ok &= s.PutSettingNumber(store::Key::FolderPercent, layout_.folderPercent);
    ok &= s.PutSettingNumber(store::Key::WIDTH, static_cast<qint64>(width()) * scale_.tpx);
    ok &= s.PutSettingNumber(store::Key::HEIGHT, static_cast<qint64>(height()) * scale_.tpy);
    // The three folder widths first, then the three file widths.
    for (int i = 0; i < 3; ++i)
        ok &= s.PutSettingNumber(store::DirColWidthKey(i),
                                 folderSide_.widths[static_cast<size_t>(i)]);
    for (int i = 0; i < 3; ++i)
        ok &=
            s.PutSettingNumber(store::FileColWidthKey(i), fileSide_.widths[static_cast<size_t>(i)]);
    if (!backupDir_.isEmpty()) ok &= s.PutSettingText(store::Key::BackupDir, backupDir_);
    return ok;
}

}  // namespace catalog
