#include "dialog_driver.h"

#include "dialogs/dialog_font.h"
#include "dialogs/message_box.h"
#include "dialogs/msg_box_form.h"
#include "util/message_sink.h"
#include "widgets/beep.h"
#include "widgets/preset_answers.h"
#include "widgets/twips.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <optional>

namespace dialogs {
namespace {

namespace presets = widgets::presets;
using util::Answer;
using widgets::Twips;
using widgets::TwipsOf;

using dialogs_test::OwnerWindow;
using dialogs_test::PressKey;
using dialogs_test::WhenShown;

const QString kForm = QStringLiteral("MsgBoxForm");

QPushButton* Button(QWidget* form, const QString& name) {
    return form->findChild<QPushButton*>(name);
}

QPushButton* Button(QWidget* form, const char* name) {
    return Button(form, QString::fromLatin1(name));
}

// What a test saw of the box while it waited.
struct Seen {
    QRect geometry;  // client area
    QRect outer;     // with the window manager's frame
    QString caption;
    QString focus;
    QString defaultButton;
    QStringList shown;
    bool ownerEnabled = true;
    bool topmost = false;
    bool arrowCursor = false;
    bool measureBold = false;
    QImage image;
    MsgBoxForm* form = nullptr;
};

Seen Look(QWidget* window, QWidget* owner) {
    auto* form = static_cast<MsgBoxForm*>(window);
    Seen seen;
    seen.form = form;
    seen.geometry = form->geometry();
    seen.outer = form->frameGeometry();
    seen.caption = form->windowTitle();
    if (form->focusWidget() != nullptr) seen.focus = form->focusWidget()->objectName();
    for (const char* name : {"OKBTN", "YESBTN", "NOBTN", "CANBTN"}) {
        QPushButton* button = Button(form, name);
        if (!button->isVisible()) continue;
        seen.shown << button->objectName();
        if (button->isDefault()) seen.defaultButton = button->objectName();
    }
    seen.ownerEnabled = owner == nullptr || owner->isEnabled();
    seen.topmost = form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    seen.measureBold = form->MeasureFont().bold();
    const QCursor* cursor = QGuiApplication::overrideCursor();
    seen.arrowCursor = cursor != nullptr && cursor->shape() == Qt::ArrowCursor;
    seen.image = form->grab().toImage();
    return seen;
}

class MsgBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        presets::ClearPresets();
        widgets::SetBeepForTesting([this] { ++beeps_; });
        owner_ = std::make_unique<OwnerWindow>(QRect(100, 50, 500, 400));
    }
    void TearDown() override {
        widgets::SetBeepForTesting({});
        owner_.reset();
    }

    // Shows the message; once the box is up, looks at it and presses the key.
    Answer ShowAndPress(const QString& text, util::Buttons buttons, Qt::Key key,
                        Seen* seen = nullptr) {
        WhenShown(kForm, [this, key, seen](QWidget* form) {
            if (seen != nullptr) *seen = Look(form, owner_.get());
            PressKey(form, key);
        });
        return ShowMessage(owner_.get(), {text, buttons});
    }

    std::unique_ptr<OwnerWindow> owner_;
    int beeps_ = 0;
};

TEST_F(MsgBoxTest, JapaneseFontRendersEveryCaptionAndMessage) {
    const QFont font = MsgBoxFont();
    EXPECT_FALSE(font.family().isEmpty());
    for (const QString& text :
         {QStringLiteral("バックアップが完了しました"), QStringLiteral("はい(&Y)"),
          QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル"),
          QStringLiteral("登録を解除しますか？ 日付・時刻")}) {
        EXPECT_TRUE(dialogs_test::RendersWithoutMissingGlyphs(text, font))
            << font.family().toStdString() << ": " << text.toStdString();
    }
}

TEST_F(MsgBoxTest, FontIsTheFirstInstalledFamilyElseJapaneseSans) {
    const QString missing = QStringLiteral("Kibako No Such Font");
    ASSERT_FALSE(QFontDatabase::hasFamily(missing));
    const QString fallback = PickFamily({missing});
    EXPECT_TRUE(QFontDatabase::writingSystems(fallback).contains(QFontDatabase::Japanese))
        << fallback.toStdString();
    if (QFontDatabase::hasFamily(QStringLiteral("IPAPGothic"))) {
        EXPECT_EQ(PickFamily({missing, QStringLiteral("IPAPGothic")}),
                  QStringLiteral("IPAPGothic"));
    }
}

TEST_F(MsgBoxTest, EmptyTextGivesMinimumHeightAndRoomForButtons) {
    Seen seen;
    EXPECT_EQ(ShowAndPress(QString(), util::Buttons::Ok, Qt::Key_Return, &seen), Answer::Ok);
    const Twips twips = TwipsOf(owner_->screen());
    EXPECT_EQ(seen.outer.height(), twips.Y(1410));
    EXPECT_EQ(seen.outer.width(), Button(seen.form, "OKBTN")->width() + twips.X(900));
    EXPECT_EQ(seen.caption, QStringLiteral("キバコ"));
    EXPECT_EQ(beeps_, 1);
}

TEST_F(MsgBoxTest, SizeFollowsLinesAndWidestLine) {
    const QString line = QStringLiteral("バックアップが完了しました。保存先を確認して下さい");
    const QString text = QStringList(8, line).join(u'|');
    Seen seen;
    ShowAndPress(text, util::Buttons::Ok, Qt::Key_Return, &seen);
    const Twips twips = TwipsOf(owner_->screen());
    const QFontMetrics metrics(seen.form->font());
    const int lineHeight = metrics.height() + 2;
    const int okHeight = Button(seen.form, "OKBTN")->height();
    EXPECT_EQ(seen.geometry.height(), 8 * lineHeight + twips.Y(210) + okHeight + twips.Y(120));
    EXPECT_EQ(seen.geometry.width(), metrics.horizontalAdvance(line) + twips.X(840));
}

TEST_F(MsgBoxTest, CodeEightAnywhereMeasuresEveryLineInBold) {
    const QString line = QStringLiteral("バックアップが完了しました。保存先を確認して下さい");
    Seen plain;
    Seen bold;
    ShowAndPress(line + QStringLiteral("|x"), util::Buttons::Ok, Qt::Key_Return, &plain);
    ShowAndPress(line + QStringLiteral("|") + QChar(8) + QStringLiteral("x"), util::Buttons::Ok,
                 Qt::Key_Return, &bold);
    QFont boldFont = plain.form->font();
    boldFont.setBold(true);
    EXPECT_FALSE(plain.measureBold);
    EXPECT_TRUE(bold.measureBold);
    // A font whose bold face is synthesised may keep the same advances.
    EXPECT_EQ(bold.geometry.width() - plain.geometry.width(),
              QFontMetrics(boldFont).horizontalAdvance(line) -
                  QFontMetrics(plain.form->font()).horizontalAdvance(line));
}

TEST_F(MsgBoxTest, CornerFourFifthsAcrossTheOwnerAndKeptOnScreen) {
    Seen seen;
    ShowAndPress(QStringLiteral("位置"), util::Buttons::Ok, Qt::Key_Return, &seen);
    const QRect owner = owner_->frameGeometry();
    EXPECT_EQ(seen.outer.topLeft(),
              QPoint(owner.left() + owner.width() / 5 * 4, owner.top() + owner.height() / 5 * 4));

    const QRect screen = owner_->screen()->geometry();
    owner_->setGeometry(screen.right() - 150, screen.bottom() - 100, 200, 120);
    Seen edge;
    ShowAndPress(QStringLiteral("画面の端|二行目|三行目"), util::Buttons::YesNo, Qt::Key_Y, &edge);
    EXPECT_EQ(edge.outer.right(), screen.right());
    EXPECT_EQ(edge.outer.bottom() + 1, screen.bottom() + 1 - 60);
}

// Finds pixels of exactly this colour in a band of the image.
int CountColour(const QImage& image, QRect band, QColor colour) {
    int count = 0;
    band = band.intersected(image.rect());
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb()) ++count;
        }
    }
    return count;
}

int FirstColumnOf(const QImage& image, QRect band, QColor colour) {
    band = band.intersected(image.rect());
    for (int x = band.left(); x <= band.right(); ++x) {
        for (int y = band.top(); y <= band.bottom(); ++y) {
            if (image.pixelColor(x, y).rgb() == colour.rgb()) return x;
        }
    }
    return -1;
}

int CountDark(const QImage& image, QRect band) {
    int count = 0;
    band = band.intersected(image.rect());
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) ++count;
        }
    }
    return count;
}

QRect LineBand(const MsgBoxForm* form, int line) {
    const MsgBoxLayout& layout = form->Layout();
    return QRect(layout.textLeft, layout.textTop + line * layout.lineHeight, 2000,
                 layout.lineHeight);
}

TEST_F(MsgBoxTest, CodesPaintTheirColoursAndBold) {
    // Line 0 blue (code 1), line 1 still blue, then red-violet (code 4);
    // line 2 black; line 3 bold black.
    const QString text = QChar(1) + QStringLiteral("■■■|■■") + QChar(4) + QStringLiteral("■■|") +
                         QChar(0) + QStringLiteral("漢字かな|") + QChar(8) +
                         QStringLiteral("漢字かな");
    Seen seen;
    ShowAndPress(text, util::Buttons::Ok, Qt::Key_Return, &seen);
    const QColor blue(0x00, 0x00, 0xE0);
    const QColor violet(0xA0, 0x00, 0x40);
    ASSERT_EQ(seen.image.size(), seen.geometry.size());
    EXPECT_GT(CountColour(seen.image, LineBand(seen.form, 0), blue), 50);
    EXPECT_EQ(CountColour(seen.image, LineBand(seen.form, 0), violet), 0);
    EXPECT_GT(CountColour(seen.image, LineBand(seen.form, 1), blue), 20);
    EXPECT_GT(CountColour(seen.image, LineBand(seen.form, 1), violet), 20);
    EXPECT_EQ(CountColour(seen.image, LineBand(seen.form, 2), blue), 0);
    // The same characters in bold carry clearly more ink.
    const int plainInk = CountDark(seen.image, LineBand(seen.form, 2));
    const int boldInk = CountDark(seen.image, LineBand(seen.form, 3));
    EXPECT_GT(plainInk, 20);
    EXPECT_GT(boldInk, plainInk * 11 / 10);
    // No code is drawn: the blue squares start at the text column.
    EXPECT_LE(FirstColumnOf(seen.image, LineBand(seen.form, 0), blue),
              seen.form->Layout().textLeft + 2);
}

struct KeyCase {
    util::Buttons buttons;
    Answer defaultAnswer;  // one no button gives: the first button
    Qt::Key key;
    std::optional<Answer> answer;  // none: the key does nothing
    const char* focus;             // the button that starts with the focus
    QStringList shown;
};

TEST_F(MsgBoxTest, KeysAndDefaultButtons) {
    using util::Buttons;
    const QStringList okCancel{"OKBTN", "CANBTN"};
    const QStringList yesNoCancel{"YESBTN", "NOBTN", "CANBTN"};
    const QStringList yesNo{"YESBTN", "NOBTN"};
    const KeyCase cases[] = {
        {Buttons::Ok, Answer::Ok, Qt::Key_Return, Answer::Ok, "OKBTN", {"OKBTN"}},
        {Buttons::Ok, Answer::Ok, Qt::Key_Escape, Answer::Ok, "OKBTN", {"OKBTN"}},
        {Buttons::Ok, Answer::Ok, Qt::Key_N, std::nullopt, "OKBTN", {"OKBTN"}},
        {Buttons::Ok, Answer::Ok, Qt::Key_Y, std::nullopt, "OKBTN", {"OKBTN"}},
        {Buttons::OkCancel, Answer::Ok, Qt::Key_Escape, Answer::Cancel, "OKBTN", okCancel},
        {Buttons::OkCancel, Answer::Ok, Qt::Key_Enter, Answer::Ok, "OKBTN", okCancel},
        {Buttons::OkCancel, Answer::Cancel, Qt::Key_Return, Answer::Cancel, "CANBTN", okCancel},
        {Buttons::YesNoCancel, Answer::Yes, Qt::Key_Y, Answer::Yes, "YESBTN", yesNoCancel},
        {Buttons::YesNoCancel, Answer::Yes, Qt::Key_N, Answer::No, "YESBTN", yesNoCancel},
        {Buttons::YesNoCancel, Answer::Yes, Qt::Key_Escape, Answer::Cancel, "YESBTN", yesNoCancel},
        {Buttons::YesNoCancel, Answer::Yes, Qt::Key_Return, Answer::Yes, "YESBTN", yesNoCancel},
        {Buttons::YesNoCancel, Answer::No, Qt::Key_Return, Answer::No, "NOBTN", yesNoCancel},
        {Buttons::YesNoCancel, Answer::Cancel, Qt::Key_Return, Answer::Cancel, "CANBTN",
         yesNoCancel},
        {Buttons::YesNoCancel, Answer::Ok, Qt::Key_Return, Answer::Yes, "YESBTN", yesNoCancel},
        {Buttons::YesNo, Answer::Yes, Qt::Key_Escape, std::nullopt, "YESBTN", yesNo},
        {Buttons::YesNo, Answer::No, Qt::Key_Return, Answer::No, "NOBTN", yesNo},
        {Buttons::YesNo, Answer::Cancel, Qt::Key_Y, Answer::Yes, "YESBTN", yesNo},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "buttons " << static_cast<int>(c.buttons) << " default "
                     << static_cast<int>(c.defaultAnswer) << " key " << c.key);
        Seen seen;
        bool stillWaiting = false;
        WhenShown(kForm, [&](QWidget* form) {
            seen = Look(form, owner_.get());
            PressKey(form, c.key);
            if (c.answer) return;
            // A key that does nothing leaves the box waiting; a click ends it.
            QTest::qWait(20);
            stillWaiting = form->isVisible();
            QTest::mouseClick(Button(form, c.shown.back()), Qt::LeftButton);
        });
        const Answer answer =
            ShowMessage(owner_.get(), {QStringLiteral("キー"), c.buttons, c.defaultAnswer});
        EXPECT_EQ(seen.shown, c.shown);
        EXPECT_EQ(seen.focus, QString::fromLatin1(c.focus));
        EXPECT_EQ(seen.defaultButton, QString::fromLatin1(c.focus));
        if (c.answer) {
            EXPECT_EQ(answer, *c.answer);
        } else {
            EXPECT_TRUE(stillWaiting);
            EXPECT_EQ(answer, c.shown.back() == "NOBTN" ? Answer::No : Answer::Ok);
        }
    }
}

TEST_F(MsgBoxTest, ButtonsAnswerTheirCodes) {
    const std::pair<const char*, Answer> cases[] = {
        {"YESBTN", Answer::Yes}, {"NOBTN", Answer::No}, {"CANBTN", Answer::Cancel}};
    for (const auto& [name, expected] : cases) {
        WhenShown(kForm, [name = name](QWidget* form) {
            QTest::mouseClick(Button(form, name), Qt::LeftButton);
        });
        EXPECT_EQ(ShowMessage(owner_.get(), {QStringLiteral("押す"), util::Buttons::YesNoCancel}),
                  expected);
    }
}

TEST_F(MsgBoxTest, OwnerDisabledAndBoxTopmostOnlyWhileWaiting) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Seen seen;
    ShowAndPress(QStringLiteral("待つ"), util::Buttons::Ok, Qt::Key_Return, &seen);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_TRUE(seen.arrowCursor);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(seen.topmost);
    EXPECT_TRUE(owner_->isEnabled());
    EXPECT_FALSE(seen.form->isVisible());
    EXPECT_FALSE(seen.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // The same window serves the next message; a disabled owner stays disabled.
    owner_->setEnabled(false);
    Seen next;
    ShowAndPress(QStringLiteral("次"), util::Buttons::Ok, Qt::Key_Return, &next);
    EXPECT_EQ(next.form, seen.form);
    EXPECT_FALSE(owner_->isEnabled());
}

TEST_F(MsgBoxTest, WindowManagerCloseAnswersCancelElseOkElseNo) {
    const std::pair<util::Buttons, Answer> cases[] = {{util::Buttons::OkCancel, Answer::Cancel},
                                                      {util::Buttons::Ok, Answer::Ok},
                                                      {util::Buttons::YesNo, Answer::No},
                                                      {util::Buttons::YesNoCancel, Answer::Cancel}};
    for (const auto& [buttons, expected] : cases) {
        WhenShown(kForm, [](QWidget* form) { form->windowHandle()->close(); });
        EXPECT_EQ(ShowMessage(owner_.get(), {QStringLiteral("閉じる"), buttons}), expected);
    }
}

TEST_F(MsgBoxTest, ClosingTheBoxAtProgramEndEndsItsWait) {
    WhenShown(kForm, [](QWidget*) { CloseMessageBox(); });
    EXPECT_EQ(ShowMessage(owner_.get(), {QStringLiteral("終了"), util::Buttons::YesNoCancel}),
              Answer::Cancel);
    EXPECT_TRUE(owner_->isEnabled());
    // The next message builds the window again.
    EXPECT_EQ(ShowAndPress(QStringLiteral("再び"), util::Buttons::YesNo, Qt::Key_N), Answer::No);
}

TEST_F(MsgBoxTest, MessageFromInsideAWaitGetsItsOwnBox) {
    MsgBoxForm* outerForm = nullptr;
    MsgBoxForm* innerForm = nullptr;
    std::optional<Answer> innerAnswer;
    WhenShown(kForm, [&](QWidget* outer) {
        outerForm = static_cast<MsgBoxForm*>(outer);
        WhenShown(kForm, [&](QWidget*) {
            // Both boxes are visible; the newer one is the one without focus history.
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == kForm && w->isVisible() && w != outerForm) {
                    innerForm = static_cast<MsgBoxForm*>(w);
                }
            }
            ASSERT_NE(innerForm, nullptr);
            QTest::mouseClick(Button(innerForm, "NOBTN"), Qt::LeftButton);
        });
        innerAnswer = ShowMessage(outer, {QStringLiteral("内側"), util::Buttons::YesNo});
        EXPECT_TRUE(outer->isEnabled());
        EXPECT_FALSE(owner_->isEnabled());
        QTest::mouseClick(Button(outer, "OKBTN"), Qt::LeftButton);
    });
    EXPECT_EQ(ShowMessage(owner_.get(), {QStringLiteral("外側"), util::Buttons::OkCancel}),
              Answer::Ok);
    EXPECT_EQ(innerAnswer, Answer::No);
    EXPECT_NE(innerForm, outerForm);
    EXPECT_TRUE(owner_->isEnabled());
}

TEST_F(MsgBoxTest, PresetAnswersShowNothing) {
    presets::SetNextAnswer(Answer::No);
    presets::SetNextAnswer(Answer::Yes);
    EXPECT_EQ(
        ShowMessage(owner_.get(), {QStringLiteral("一つ目"), util::Buttons::YesNo, Answer::No}),
        Answer::No);
    EXPECT_EQ(ShowMessage(nullptr, {QStringLiteral("二つ目"), util::Buttons::YesNo, Answer::Yes,
                                    widgets::BoxIcon::None, QStringLiteral("T")}),
              Answer::Yes);
    EXPECT_EQ(beeps_, 0);
    const auto answered = presets::TakeAnsweredMessages();
    ASSERT_EQ(answered.size(), 2u);
    EXPECT_EQ(answered[0].message.text, QStringLiteral("一つ目"));
    EXPECT_EQ(answered[0].message.buttons, util::Buttons::YesNo);
    EXPECT_EQ(answered[0].message.defaultAnswer, Answer::No);
    EXPECT_EQ(answered[1].message.title, QStringLiteral("T"));
    EXPECT_TRUE(presets::TakeAnsweredMessages().empty());
}

TEST_F(MsgBoxTest, WithoutOwnerTheStandardBoxShowsTheText) {
    owner_.reset();
    if (!QTest::qWaitFor([] { return QApplication::activeWindow() == nullptr; }, 500)) {
        GTEST_SKIP() << "the platform keeps a hidden window active";
    }
    const QString text = QStringLiteral("一行目|二") + QChar(1) + QStringLiteral("行目");
    for (const util::Buttons buttons : {util::Buttons::YesNo, util::Buttons::Ok}) {
        QString shownText;
        QString shownTitle;
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shownText = box->text();
            shownTitle = box->windowTitle();
            box->button(buttons == util::Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes)->click();
        });
        EXPECT_EQ(ShowMessage(nullptr, {text, buttons}),
                  buttons == util::Buttons::Ok ? Answer::Ok : Answer::Yes);
        EXPECT_EQ(shownText, QStringLiteral("一行目\n二 行目"));
        EXPECT_EQ(shownTitle, QStringLiteral("キバコ"));
    }
}

}  // namespace
}  // namespace dialogs
