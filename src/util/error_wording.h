#pragma once

#include <QString>

namespace util {

// The descriptions of failures that reach a message from below (the C
// library's error texts, libzip's, a few of our own lower layers) come in
// English. A person reads them in Japanese: each known description in `text`
// is replaced by our wording, wherever it stands; the rest of the text, paths
// included, is left as it is.
QString InJapaneseWording(QString text);

}  // namespace util
