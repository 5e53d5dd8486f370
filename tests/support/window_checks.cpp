#include "support/window_checks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGlyphRun>
#include <QLabel>
#include <QTextLayout>

namespace testing_support {
namespace {

bool HasMissingGlyph(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (run.glyphIndexes().contains(0)) return true;
    }
    return false;
}

}  // namespace

QStringList TextsWithMissingGlyphs(const QWidget& widget, const QStringList& texts) {
    QStringList missing;
    for (const QString& text : texts) {
        if (HasMissingGlyph(widget.font(), text)) missing.append(text);
    }
    return missing;
}

QStringList CaptionsOf(const QWidget& window) {
    QStringList captions{window.windowTitle()};
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) captions.append(label->text());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        captions.append(button->text());
    }
    return captions;
}

HangGuard::HangGuard(int ms) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] {
        ADD_FAILURE() << "a window was still waiting for an answer";
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    });
    timer_.start(ms);
}

}  // namespace testing_support
