#include "widgets/dialog_wait.h"

#include "support/window_checks.h"
#include "util/answer.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

#include <gtest/gtest.h>

namespace widgets {
namespace {

using testing_support::HangGuard;

TEST(DialogWait, TheFirstFinishAnswersAndWaitsNest) {
    HangGuard guard;
    AnswerWait<util::Answer> outer(util::Answer::Ok);
    std::optional<util::Answer> inner;
    QTimer::singleShot(0, [&] {
        AnswerWait<util::Answer> wait(util::Answer::Ok);
        QTimer::singleShot(0, [&wait] {
            wait.Finish(util::Answer::No);
            wait.Finish(util::Answer::Yes);
        });
        inner = wait.Run();
        // The outer wait was finished first, but returns only after this one.
        EXPECT_TRUE(outer.Finished());
    });
    QTimer::singleShot(0, [&outer] { outer.Finish(util::Answer::Cancel); });
    EXPECT_EQ(outer.Run(), util::Answer::Cancel);
    EXPECT_EQ(inner, util::Answer::No);
    // A finished wait returns at once.
    EXPECT_EQ(outer.Run(), util::Answer::Cancel);
}

TEST(DialogWait, WaitUntilHiddenEndsWithTheWindow) {
    HangGuard guard;
    QWidget hidden;
    WaitUntilHidden(hidden);  // not visible: returns at once

    QWidget window;
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.hide(); });
    WaitUntilHidden(window);
    EXPECT_FALSE(window.isVisible());

    auto* doomed = new QWidget;
    doomed->show();
    QTimer::singleShot(0, doomed, [doomed] { delete doomed; });
    WaitUntilHidden(*doomed);
}

TEST(DialogWait, OwnerLockDisablesAndGivesEverythingBack) {
    QWidget owner;
    auto* field = new QLineEdit(&owner);
    new QVBoxLayout(&owner);
    owner.layout()->addWidget(field);
    owner.show();
    field->setFocus();
    {
        const OwnerLock lock(&owner);
        EXPECT_FALSE(owner.isEnabled());
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    }
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(owner.focusWidget(), field);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A disabled owner stays disabled; a deleted one is let go.
    owner.setEnabled(false);
    { const OwnerLock lock(&owner); }
    EXPECT_FALSE(owner.isEnabled());
    auto* gone = new QWidget;
    {
        const OwnerLock lock(gone);
        delete gone;
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace widgets
