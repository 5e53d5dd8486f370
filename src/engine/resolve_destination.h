#pragma once

#include "engine/engine.h"

#include <QString>

namespace engine {

// The real path of a destination. A plain path comes back unchanged; a
// removable destination "(E)TITLE\path" is looked for by its media title
// (through the title cache, then in its own drive), and the drive-selection
// dialog asks for the medium when it is not found. Empty text means: do not
// back this entry up now.
QString ResolveDestination(Engine& engine, Owner owner, const QString& destination);

// The media key of a removable destination: the text before its first "\",
// upper-cased ("(E)PHOTOS").
QString MediaKeyOf(const QString& destination);

}  // namespace engine
