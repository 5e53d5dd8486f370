#include "catalog/commands/check_registrations.h"

#include <QDate>

#include <optional>
#include <utility>

#include "catalog/model/catalog_model.h"
#include "catalog/model/registration_check.h"
#include "store/definition_file.h"
#include "store/settings.h"
#include "store/settings_keys.h"
#include "util/file_ops.h"
#include "util/message_sink.h"
#include "util/text_case.h"

namespace catalog {
namespace {

// Emphasis codes of the message box: 8 … 7 bold, 1 … 0 and 5 … 0 colours.
const QChar kBold(8);
const QChar kBoldEnd(7);
const QChar kBlue(1);
const QChar kRed(5);
const QChar kColourEnd(0);

const QString kNothingFoundText =
    QStringLiteral("設定されたフォルダーに、矛盾は見つかりませんでした");
const QString kSaveQuestion =
    QStringLiteral("修正したバックアップ定義データを、名前を変えて保存しますか？");
const QString kNamePrompt = QStringLiteral("新しい定義ファイルの名前を入力して下さい");
const QString kNameTitle = QStringLiteral("バックアップ定義の新規保存");
const QString kLocationPrompt = QStringLiteral("現在のフォルダー名を入力してください");

QString MovedText(const QString& missing, const QString& candidate) {
    return kBold + missing + kBoldEnd + QStringLiteral(" は、|") + kBold + kBlue + candidate +
           kBoldEnd + kColourEnd + QStringLiteral(" へ") + kRed + QStringLiteral("移動されている") +
           kColourEnd + QStringLiteral("と思われます||設定を書き換えますか？");
}

QString ForgetText(const QString& missing) {
    return kBold + missing + kBoldEnd + QStringLiteral(" の登録を抹消しますか？");
}

QString GoneText(const QString& missing) {
    return kBold + missing + kBoldEnd +
           QStringLiteral(" は、現在 存在しません||登録を抹消していいですか？");
}

QString OverwriteText(const QString& path) {
    return kBold + path + kBoldEnd +
           QStringLiteral(" は、すでに存在します||上書きしていいですか？");
}

// The copy of the definitions the check works on, and whom it asks.
struct CheckCopy {
    store::DefinitionList list;
    CheckQuestions& questions;
    bool changed = false;
};

// The folder's present place as typed by the user: asked again until it names
// an existing folder; nothing for an empty answer or a cancel.
std::optional<QString> AskPresentLocation(CheckQuestions& questions, const QString& missing) {
    for (;;) {
        const std::optional<QString> answer =
            questions.AskText(kLocationPrompt, util::ProgramTitle(), missing);
        if (!answer || answer->trimmed().isEmpty()) return std::nullopt;
        if (util::FolderExists(platform::DrivePath(*answer))) return *answer;
    }
}

// One missing folder; false when the user cancelled the check.
bool ResolveMissing(const QString& missing, const FolderProbe& probe, CheckCopy& copy) {
    if (const auto candidate = MovedFolderCandidate(missing, probe)) {
        const util::Answer answer =
            copy.questions.Ask({MovedText(missing, *candidate), util::Buttons::YesNoCancel});
        if (answer == util::Answer::Yes) {
            copy.list.MoveFolder(missing, *candidate);
            copy.changed = true;
        } else if (answer == util::Answer::No) {
            if (copy.questions.Ask({ForgetText(missing), util::Buttons::YesNo, util::Answer::No}) ==
                util::Answer::Yes) {
                copy.list.ForgetFolder(missing);
                copy.changed = true;
            }
        } else {
            return false;
        }
        return true;
    }
    const util::Answer answer = copy.questions.Ask({GoneText(missing), util::Buttons::YesNoCancel});
    if (answer == util::Answer::Yes) {
        copy.list.ForgetFolder(missing);
    } else if (answer == util::Answer::No) {
        const std::optional<QString> present = AskPresentLocation(copy.questions, missing);
        if (!present) return false;
        copy.list.MoveFolder(missing, *present);
    } else {
        return false;
    }
    copy.changed = true;
    return true;
}

// Where the corrected list goes and whom the check asks.
struct SavePlace {
    CatalogModel& model;
    CheckQuestions& questions;
    const store::Settings& settings;
    const platform::DrivePath& programFolder;
};

// A new name for the corrected list, asked until one is given; `name` is
// proposed and becomes the name given. Nothing when the user cancels the name,
// an empty path when the name is of an existing file the user would not
// overwrite.
std::optional<QString> AskNewDefinitionPath(const SavePlace& place, QString& name) {
    std::optional<QString> answer;
    do {
        answer = place.questions.AskText(kNamePrompt, kNameTitle, name);
        if (!answer) return std::nullopt;
    } while (answer->trimmed().isEmpty());
    name = answer->trimmed();
    const QString path = NewDefinitionPath(name, place.programFolder);
    if (util::FileExists(platform::DrivePath(path)) &&
        place.questions.Ask({OverwriteText(path), util::Buttons::YesNo}) != util::Answer::Yes)
        return QString();
    return path;
}

// The path to save the corrected list under: a new name, or the current
// definition file when the user declines one; nothing when the user cancels
// the name.
std::optional<QString> AskDefinitionPath(const SavePlace& place, QString& name) {
    for (;;) {
        if (place.questions.Ask({kSaveQuestion, util::Buttons::YesNo}) != util::Answer::Yes)
            return place.model.DefinitionPath();
        const std::optional<QString> path = AskNewDefinitionPath(place, name);
        if (!path || !path->isEmpty()) return path;
    }
}

// After a refused save: the name again, and only the name.
std::optional<QString> AskOtherDefinitionPath(const SavePlace& place, QString& name) {
    for (;;) {
        const std::optional<QString> path = AskNewDefinitionPath(place, name);
        if (!path || !path->isEmpty()) return path;
    }
}

QString CannotSaveText(const QString& path, const QString& error) {
    return QStringLiteral("定義ファイルを保存できません||") + error +
           QStringLiteral("|ファイル：　") + kBold + path + kBoldEnd +
           QStringLiteral("||別の名前を入力してください");
}

// The corrected list, sorted, becomes the catalog's list in its file. A save
// that fails changes nothing and says why in `error`.
bool SaveCorrectedList(const SavePlace& place, const QString& path, store::DefinitionList corrected,
                       QString& error) {
    CatalogModel& model = place.model;
    corrected.SortBySource();
    corrected.SetModified(true);
    // Into the catalog's own file go only the corrections and the window's
    // unsaved edits, merged with what is there now; a file chosen by name is
    // replaced whole.
    corrected.SetChanges(util::SameKey(path, model.DefinitionPath())
                             ? store::DefinitionChanges::Between(model.Definitions(), corrected)
                             : store::DefinitionChanges::ReplacingWith(corrected));
    const store::SaveResult saved = store::SaveDefinitions(path, corrected, &error);
    if (!saved) return false;
    if (saved.nothingToDo) place.questions.Beep();
    place.settings.PutSettingText(store::Key::CatalogName, path);
    model.ReplaceDefinitions(std::move(corrected), path);
    return true;
}

}  // namespace

void CheckRegistrations(CatalogModel& model, CheckQuestions& questions,
                        const store::Settings& settings, const platform::DrivePath& programFolder) {
    const FolderProbe probe = SystemFolderProbe();
    CheckCopy copy{model.Definitions(), questions};
    const MissingFolders missing = FindMissingFolders(copy.list, probe);
    for (const QStringList& folders : missing) {
        for (const QString& folder : folders) {
            if (!copy.list.HasSourceIn(folder)) continue;
            if (!ResolveMissing(folder, probe, copy)) return;
        }
    }
    if (!copy.changed) {
        questions.Ask(kNothingFoundText);
        return;
    }
    // A name that cannot be used (a folder that does not exist, a name too
    // long) loses none of the answers: the reason is shown and the name asked
    // for again, until a save succeeds or the user cancels.
    const SavePlace place{model, questions, settings, programFolder};
    QString name = DefaultDefinitionName(QDate::currentDate());
    std::optional<QString> path = AskDefinitionPath(place, name);
    while (path) {
        QString error;
        if (SaveCorrectedList(place, *path, copy.list, error)) return;
        questions.Ask(CannotSaveText(*path, error));
        path = AskOtherDefinitionPath(place, name);
    }
}

}  // namespace catalog
