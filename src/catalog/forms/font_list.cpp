#include "catalog/forms/font_list.h"

#include <QSet>

#include <cmath>

namespace catalog {
namespace {

const char* const kPreferredNames[] = {
    "System",        "FixedSys",        "Terminal",  "MS UI Gothic", "ＭＳ Ｐゴシック",
    "ＭＳ ゴシック", "ＭＳ Ｐ明朝",     "ＭＳ 明朝", "Arial",        "MS Sans Serif",
    "Courier",       "Times New Roman", "MS Serif",
};

bool IsBlank(const QString& text) { return text.trimmed().isEmpty(); }

}  // namespace

QStringList FontListNames(const QStringList& screenNames) {
    // Names of any length are kept whole; a name is found again by an exact
    // comparison.
    QStringList kept;
    QSet<QString> seen;
    const qsizetype count = std::min<qsizetype>(screenNames.size(), kMaxFontNames);
    for (qsizetype i = 0; i < count; ++i) {
        QString name = screenNames[i];
        if (name.startsWith(u'@')) name.remove(0, 1);
        if (IsBlank(name) || seen.contains(name)) continue;
        seen.insert(name);
        kept.append(name);
    }
    QStringList list;
    for (const char* preferred : kPreferredNames) {
        const QString name = QString::fromUtf8(preferred);
        if (kept.removeOne(name)) list.append(name);
    }
    list.append(kept);
    return list;
}

QString FontSampleText(const QString& name, const QString& date, const QString& otherDate,
                       const QString& target) {
    const QChar lineBreak(13);
    QString dateText = !IsBlank(date) ? date : otherDate;
    if (IsBlank(dateText)) dateText = QStringLiteral("0123456789");
    const QString targetText = IsBlank(target) ? QStringLiteral("漢字：キバコ") : u' ' + target;
    return (IsBlank(name) ? QStringLiteral("KIBAKO") : name) + lineBreak + dateText + lineBreak +
           targetText + lineBreak + QStringLiteral("Windows98");
}

QString FontSizeLabel(double points) {
    QString text = QString::number(std::round(points * 100) / 100, 'f', 2);
    if (text.endsWith(u'0')) text.chop(1);
    return text + QStringLiteral(" Point");
}

}  // namespace catalog
