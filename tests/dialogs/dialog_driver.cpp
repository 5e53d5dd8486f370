#include "dialog_driver.h"

#include "dialogs/input_dialog.h"
#include "dialogs/message_box.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QGlyphRun>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <memory>

namespace dialogs_test {

QWidget* VisibleWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible()) return widget;
    }
    return nullptr;
}

void WhenShown(const QString& name, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, name, act] {
        if (QWidget* window = VisibleWindow(name)) {
            timer->stop();
            timer->deleteLater();
            act(window);
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no visible window " << name.toStdString();
            dialogs::CloseMessageBox();
            dialogs::CloseInputForm();
        }
    });
    timer->start(5);
}

void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

bool RendersWithoutMissingGlyphs(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 index : run.glyphIndexes()) {
            if (index == 0) return false;
            ++glyphs;
        }
    }
    return glyphs > 0;
}

OwnerWindow::OwnerWindow(const QRect& geometry) {
    setWindowTitle(QStringLiteral("owner"));
    setGeometry(geometry);
    show();
}

}  // namespace dialogs_test
