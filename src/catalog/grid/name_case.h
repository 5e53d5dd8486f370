#pragma once

#include <QString>
#include <QStringView>

namespace catalog::grid {

// Applies a column's name-case rule (NameCaseRule of grid_state.h): 0 as
// stored, 1 lower, 2 upper (platform case conversion), 3 CapitalizeWord,
// 4 CapitalizeWords, -1 CapitalizePath. Unknown rules leave the text as stored.
QString ApplyNameCase(QStringView text, int rule);

}  // namespace catalog::grid
