#pragma once

#include "engine/engine.h"
#include "platform/path_kinds.h"

#include <QString>

namespace engine {

// Whether a medium that is not found may be asked for.
enum class MediumQuestion { Ask, DoNotAsk };

// The drive path of a destination as a registration stores it. A plain path
// comes back unchanged; a
// removable destination "(E)TITLE\path" is looked for by its media title
// (through the title cache, then in its own drive), and the drive-selection
// dialog asks for the medium when it is not found (unless SkipRemovable is
// set or `question` is DoNotAsk). An empty title is found on a medium without
// a title or with the placeholder title. An empty path means: do not back
// this entry up now.
platform::DrivePath ResolveDestination(Engine& engine, Owner owner, const QString& destination,
                                       MediumQuestion question = MediumQuestion::Ask);

// The media key of a removable destination: the text before its first "\",
// upper-cased ("(E)PHOTOS").
QString MediaKeyOf(const platform::DrivePath& destination);

}  // namespace engine
