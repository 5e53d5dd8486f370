#pragma once

// Name-case helpers the grid needs while drawing. They belong to the shared
// text helpers of the util layer and move there once it exists; keep their
// behaviour identical to util's when replacing them.

#include <QString>
#include <QStringView>

namespace kibako::grid {

QString AsciiUpper(QStringView text);
QString AsciiLower(QStringView text);
QString CapitalizeWord(QStringView text);
QString CapitalizeWords(QStringView text);
QString CapitalizePath(QStringView path);

// Applies a column's name-case rule (NameCaseRule of grid_state.h): 0 as
// stored, 1 lower, 2 upper (platform case conversion), 3 CapitalizeWord,
// 4 CapitalizeWords, -1 CapitalizePath. Unknown rules leave the text as stored.
QString ApplyNameCase(QStringView text, int rule);

}  // namespace kibako::grid
