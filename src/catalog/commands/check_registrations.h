#pragma once

#include <QString>

#include <optional>

#include "platform/path_kinds.h"
#include "util/answer.h"
#include "widgets/box_message.h"

namespace store {
class Settings;
}

namespace catalog {

class CatalogModel;

// What the check asks of the person: the window shows its message box and
// input dialog.
class CheckQuestions {
  public:
    // A message box; the answer of the button pressed.
    virtual util::Answer Ask(const widgets::BoxMessage& message) = 0;
    // One line of text; nothing when cancelled.
    virtual std::optional<QString> AskText(const QString& prompt, const QString& title,
                                           const QString& text) = 0;
    // The beep of a save that had nothing to do.
    virtual void Beep() = 0;

  protected:
    ~CheckQuestions() = default;
};

// 登録済みフォルダーの確認: every registered source folder on the hard disks is
// looked for; for each one that is gone the user may rewrite its
// registrations to where it was moved (found on another hard disk, or typed
// in) or forget them. The changes go to a copy of the definitions, which is
// saved under a new definition-file name (in `programFolder` unless the name
// says otherwise) when the user agrees, else in the current file, and only
// then becomes the model's list; the settings' CatalogName names the file.
// Cancel at any question changes nothing.
void CheckRegistrations(CatalogModel& model, CheckQuestions& questions,
                        const store::Settings& settings, const platform::DrivePath& programFolder);

}  // namespace catalog
