#pragma once

#include <QStringList>

#include <optional>

namespace tetoru {

// `tetoru --status [--max-age DAYS] [DEFINITION-FILE]`: prints, for each
// registration, the result of its last run with the reason of a failure, and
// when its backup was last known to be current; then a summary line. Returns
// 0 when all is well, 1 when a registration's last run failed or (with
// `maxAgeDays`) one was not backed up nor found unchanged within that many
// days, 66 when the named definition file does not exist. Changes nothing.
int PrintStatus(const QStringList& arguments, std::optional<int> maxAgeDays);

}  // namespace tetoru
