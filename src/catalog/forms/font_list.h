#pragma once

#include <QString>
#include <QStringList>

namespace catalog {

// At most this many of the screen's font names are looked at.
inline constexpr int kMaxFontNames = 400;

// The font dialog's list from the screen's font names, in their order: a
// vertical-writing name ("@" first) counts without its "@", blank names are
// skipped, each name is kept once; the well-known names come first in a fixed
// order (when present), then the rest in the screen's order.
QStringList FontListNames(const QStringList& screenNames);

// The font dialog's sample from the drive rows' current row: its name (blank:
// "KIBAKO"), its date (cell 2, else cell 3, else "0123456789"), one blank and
// its target (blank: "漢字：キバコ" alone), and "Windows98", separated by CR.
// Blank means empty once leading and trailing blanks are removed; other
// values are used as they are.
QString FontSampleText(const QString& name, const QString& date, const QString& otherDate,
                       const QString& target);

// The size label: the size with one or two decimals ("#.0#") and " Point".
QString FontSizeLabel(double points);

}  // namespace catalog
