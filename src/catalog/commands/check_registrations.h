#pragma once

namespace catalog {

class ListForm;

// 登録済みフォルダーの確認: every registered source folder on the hard disks is
// looked for; for each one that is gone the user may rewrite its
// registrations to where it was moved (found on another hard disk, or typed
// in) or forget them. The changes go to a copy of the definitions, which is
// saved under a new definition-file name when the user agrees, and only then
// becomes the catalog's list. Cancel at any question changes nothing.
void CheckRegistrations(ListForm& form);

}  // namespace catalog
