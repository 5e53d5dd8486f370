#pragma once

namespace catalog {

class ListForm;

// 設定を削除: deletes the registration of the folder grid's current row, without
// asking; a registration made with its sub-folders takes the registrations
// below it along. The rows on screen follow at once: the drive view shows the
// folders as unregistered (or as covered by a whole-tree registration above
// them), the settings view drops the rows a fresh build would not show. The
// destination view refuses with a message; a row without a registration beeps.
void DeleteRegistration(ListForm& form);

}  // namespace catalog
