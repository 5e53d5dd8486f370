#include "dialogs/dialog_font.h"

#include <QFontDatabase>

namespace dialogs {
namespace {

constexpr int kPointSize = 9;

// The families fontconfig chooses for Japanese sans-serif text on the usual
// desktops, in its order of preference.
const QStringList& JapaneseSansFamilies() {
    static const QStringList families{
        QStringLiteral("IPAGothic"),        QStringLiteral("IPAPGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
        QStringLiteral("TakaoPGothic"),     QStringLiteral("VL PGothic"),
    };
    return families;
}

QString FirstInstalled(const QStringList& families) {
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family)) return family;
    }
    return {};
}

QString AnyJapaneseFamily() {
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (!QFontDatabase::isFixedPitch(family)) return family;
    }
    return {};
}

QFont WithFamily(const QString& family) {
    QFont font(family);
    font.setPointSize(kPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QString PickFamily(const QStringList& preferred) {
    QString family = FirstInstalled(preferred);
    if (family.isEmpty()) family = FirstInstalled(JapaneseSansFamilies());
    if (family.isEmpty()) family = AnyJapaneseFamily();
    if (family.isEmpty()) family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return family;
}

QFont MsgBoxFont() {
    return WithFamily(
        PickFamily({QStringLiteral("MS UI Gothic"), QStringLiteral("ＭＳ Ｐゴシック")}));
}

QFont InputLineFont() { return WithFamily(PickFamily({QStringLiteral("ＭＳ Ｐゴシック")})); }

}  // namespace dialogs
