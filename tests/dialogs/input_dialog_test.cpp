#include "dialog_driver.h"

#include "dialogs/dialog_font.h"
#include "dialogs/input_dialog.h"
#include "widgets/preset_answers.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace dialogs {
namespace {

namespace presets = widgets::presets;

using dialogs_test::OwnerWindow;
using dialogs_test::PressKey;
using dialogs_test::WhenShown;

const QString kForm = QStringLiteral("InputForm");

QLineEdit* Line(QWidget* form) { return form->findChild<QLineEdit*>(QStringLiteral("INPLIN")); }

class InputDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        presets::ClearPresets();
        owner_ = std::make_unique<OwnerWindow>(QRect(100, 100, 500, 300));
    }

    std::optional<QString> Ask(const QString& defaultText = QStringLiteral("既定の名前")) {
        return InputDialog(owner_.get(), QStringLiteral("メディアの名前を入力して下さい"),
                           QStringLiteral("名前"), defaultText);
    }

    std::unique_ptr<OwnerWindow> owner_;
};

TEST_F(InputDialogTest, ShowsPromptAndDefaultTextWhollySelected) {
    QString prompt, caption, selected, focus;
    bool ownerEnabled = true;
    WhenShown(kForm, [&](QWidget* form) {
        prompt = form->findChild<QLabel*>(QStringLiteral("PRMDSP"))->text();
        caption = form->windowTitle();
        selected = Line(form)->selectedText();
        focus = form->focusWidget() != nullptr ? form->focusWidget()->objectName() : QString();
        ownerEnabled = owner_->isEnabled();
        // Typing replaces the selected default.
        QTest::keyClicks(Line(form), QStringLiteral("PHOTOS"));
        PressKey(form, Qt::Key_Return);
    });
    EXPECT_EQ(Ask(), QStringLiteral("PHOTOS"));
    EXPECT_EQ(prompt, QStringLiteral("メディアの名前を入力して下さい"));
    EXPECT_EQ(caption, QStringLiteral("名前"));
    EXPECT_EQ(selected, QStringLiteral("既定の名前"));
    EXPECT_EQ(focus, QStringLiteral("INPLIN"));
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(owner_->isEnabled());
}

TEST_F(InputDialogTest, OkOnAnEmptyFieldIsAnEmptyStringNotCancel) {
    WhenShown(kForm, [](QWidget* form) {
        Line(form)->clear();
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CMDOK")), Qt::LeftButton);
    });
    const std::optional<QString> result = Ask();
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->isEmpty());
}

TEST_F(InputDialogTest, EscapeCancelButtonAndTitleBarCloseAllCancel) {
    const std::function<void(QWidget*)> cancels[] = {
        [](QWidget* form) { PressKey(form, Qt::Key_Escape); },
        [](QWidget* form) {
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CMDCAN")),
                              Qt::LeftButton);
        },
        [](QWidget* form) { form->windowHandle()->close(); },
    };
    QWidget* first = nullptr;
    for (const auto& cancel : cancels) {
        QWidget* seen = nullptr;
        WhenShown(kForm, [&](QWidget* form) {
            seen = form;
            cancel(form);
        });
        EXPECT_EQ(Ask(), std::nullopt);
        // The window is kept, hidden, for the next question.
        ASSERT_NE(seen, nullptr);
        if (first == nullptr) first = seen;
        EXPECT_EQ(seen, first);
        EXPECT_FALSE(seen->isVisible());
        EXPECT_TRUE(owner_->isEnabled());
    }
}

TEST_F(InputDialogTest, CentredOnTheOwnersBottomEdge) {
    QRect geometry;
    WhenShown(kForm, [&](QWidget* form) {
        geometry = form->frameGeometry();
        PressKey(form, Qt::Key_Escape);
    });
    Ask();
    EXPECT_EQ(geometry.topLeft(), InputDialogPosition(owner_->frameGeometry(), geometry.size()));
    EXPECT_EQ(geometry.bottom(), owner_->frameGeometry().bottom());

    // A short owner puts the dialog's top above the owner's top.
    owner_->setGeometry(100, 300, 500, 40);
    WhenShown(kForm, [&](QWidget* form) {
        geometry = form->frameGeometry();
        PressKey(form, Qt::Key_Escape);
    });
    Ask();
    EXPECT_LT(geometry.top(), 300);
    EXPECT_EQ(geometry.bottom(), owner_->frameGeometry().bottom());
}

TEST_F(InputDialogTest, QuestionFromInsideAWaitGetsItsOwnDialog) {
    std::optional<QString> inner;
    WhenShown(kForm, [&](QWidget* outer) {
        Line(outer)->insert(QStringLiteral("外"));
        WhenShown(kForm, [&](QWidget*) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == kForm && w->isVisible() && w != outer) {
                    Line(w)->insert(QStringLiteral("内"));
                    PressKey(w, Qt::Key_Return);
                }
            }
        });
        inner = InputDialog(outer, QStringLiteral("内側"), QStringLiteral("T"), QString());
        EXPECT_EQ(outer->focusWidget(), Line(outer));
        PressKey(outer, Qt::Key_Return);
    });
    EXPECT_EQ(Ask(), QStringLiteral("外"));
    EXPECT_EQ(inner, QStringLiteral("内"));
    EXPECT_TRUE(owner_->isEnabled());
}

TEST_F(InputDialogTest, ClosingTheDialogAtProgramEndCancels) {
    WhenShown(kForm, [](QWidget*) { CloseInputForm(); });
    EXPECT_EQ(Ask(), std::nullopt);
    EXPECT_TRUE(owner_->isEnabled());
    WhenShown(kForm, [](QWidget* form) { PressKey(form, Qt::Key_Enter); });
    EXPECT_EQ(Ask(QStringLiteral("again")), QStringLiteral("again"));
}

TEST_F(InputDialogTest, PresetInputsShowNothing) {
    presets::SetNextInput(std::nullopt);
    presets::SetNextInput(QString());
    EXPECT_EQ(Ask(), std::nullopt);
    EXPECT_EQ(Ask(QStringLiteral("x")), QString());
    const auto answered = presets::TakeAnsweredInputs();
    ASSERT_EQ(answered.size(), 2u);
    EXPECT_EQ(answered[1].defaultText, QStringLiteral("x"));
    EXPECT_EQ(dialogs_test::VisibleWindow(kForm), nullptr);
}

// The media-title prompt breaks its lines with CR: four lines, one blank.
TEST_F(InputDialogTest, CarriageReturnsInThePromptBreakItsLines) {
    const QString prompt = QStringLiteral("一行目\r\r二行目\r\n三行目");
    int promptHeight = 0;
    int lineSpacing = 0;
    QString shown;
    WhenShown(kForm, [&](QWidget* form) {
        auto* label = form->findChild<QLabel*>(QStringLiteral("PRMDSP"));
        shown = label->text();
        lineSpacing = label->fontMetrics().lineSpacing();
        promptHeight = label->heightForWidth(label->width());
        PressKey(form, Qt::Key_Escape);
    });
    InputDialog(owner_.get(), prompt, QStringLiteral("T"), QString());
    EXPECT_FALSE(shown.contains(u'\r'));
    EXPECT_EQ(shown.split(u'\n'),
              QStringList({QStringLiteral("一行目"), QString(), QStringLiteral("二行目"),
                           QStringLiteral("三行目")}));
    EXPECT_GE(promptHeight, 4 * lineSpacing);
}

TEST_F(InputDialogTest, JapaneseRendersInTheInputLine) {
    EXPECT_TRUE(dialogs_test::RendersWithoutMissingGlyphs(
        QStringLiteral("ｷｬﾝｾﾙ 写真のバックアップ"), InputLineFont()));
}

}  // namespace
}  // namespace dialogs
