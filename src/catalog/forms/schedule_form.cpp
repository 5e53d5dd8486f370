#include "catalog/forms/schedule_form.h"

#include "util/message_sink.h"
#include "widgets/standard_box.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace catalog {
namespace {

enum Choice { kNone = 0, kDaily = 1, kWeekly = 2 };

const char* const kWeekdayNames[] = {"月曜日", "火曜日", "水曜日", "木曜日",
                                     "金曜日", "土曜日", "日曜日"};

}  // namespace

ScheduleForm::ScheduleForm(platform::UserTimer timer, platform::HostPath tetoru,
                           platform::HostPath programFolder, QWidget* parent)
    : QDialog(parent),
      timer_(std::move(timer)),
      tetoru_(std::move(tetoru)),
      programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("ScheduleForm"));
    setWindowTitle(QStringLiteral("Tetoru の実行スケジュール"));
    managerMissing_ = timer_.ManagerMissing().value_or(QString());
    BuildControls();
    Choose(timer_.Installed());
    ShowState();
}

void ScheduleForm::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Tetoru が自動でバックアップする日時を選んでください。"), this));
    auto* grid = new QGridLayout;
    every_ = new QButtonGroup(this);
    const char* const captions[] = {"自動では実行しない (&N)", "毎日 (&D)", "毎週 (&W)"};
    for (int choice = kNone; choice <= kWeekly; ++choice) {
        auto* button = new QRadioButton(QString::fromUtf8(captions[choice]), this);
        button->setObjectName(QStringLiteral("実行OPT%1").arg(choice));
        every_->addButton(button, choice);
        grid->addWidget(button, choice, 0);
    }
    weekday_ = new QComboBox(this);
    weekday_->setObjectName(QStringLiteral("曜日LST"));
    for (const char* name : kWeekdayNames) weekday_->addItem(QString::fromUtf8(name));
    grid->addWidget(weekday_, kWeekly, 1);
    auto* timeLabel = new QLabel(QStringLiteral("時刻 (&T)"), this);
    time_ = new QTimeEdit(this);
    time_->setObjectName(QStringLiteral("時刻LIN"));
    time_->setDisplayFormat(QStringLiteral("HH:mm"));
    timeLabel->setBuddy(time_);
    grid->addWidget(timeLabel, kWeekly + 1, 0);
    grid->addWidget(time_, kWeekly + 1, 1);
    layout->addLayout(grid);
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("状態DSP"));
    state_->setWordWrap(true);
    layout->addWidget(state_);
    handInstall_ = new QPlainTextEdit(this);
    handInstall_->setObjectName(QStringLiteral("ユニットLST"));
    handInstall_->setReadOnly(true);
    handInstall_->setMinimumSize(520, 260);
    handInstall_->setVisible(!managerMissing_.isEmpty());
    layout->addWidget(handInstall_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("OKBTN"));
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CANBTN"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ScheduleForm::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(every_, &QButtonGroup::idClicked, this, &ScheduleForm::ShowHandInstall);
    connect(weekday_, &QComboBox::currentIndexChanged, this, &ScheduleForm::ShowHandInstall);
    connect(time_, &QTimeEdit::timeChanged, this, &ScheduleForm::ShowHandInstall);
}

std::optional<platform::TimerSchedule> ScheduleForm::Chosen() const {
    const int choice = every_->checkedId();
    if (choice != kDaily && choice != kWeekly) return std::nullopt;
    platform::TimerSchedule schedule;
    schedule.every = choice == kDaily ? platform::TimerSchedule::Every::Day
                                      : platform::TimerSchedule::Every::Week;
    schedule.weekday = weekday_->currentIndex() + 1;
    schedule.time = time_->time();
    return schedule;
}

void ScheduleForm::Choose(const std::optional<platform::TimerSchedule>& schedule) {
    const platform::TimerSchedule shown = schedule.value_or(platform::TimerSchedule{});
    const int choice = !schedule                                                ? kNone
                       : schedule->every == platform::TimerSchedule::Every::Day ? kDaily
                                                                                : kWeekly;
    every_->button(choice)->setChecked(true);
    weekday_->setCurrentIndex(shown.weekday - 1);
    time_->setTime(shown.time);
    ShowHandInstall();
}

void ScheduleForm::ShowState() {
    if (!managerMissing_.isEmpty()) {
        state_->setText(
            QStringLiteral("systemctl --user でユーザーのサービス・マネージャーに接続できません"
                           "（%1）。下の 2 つのファイルを %2 に置き、"
                           "「systemctl --user enable --now tetoru.timer」を実行してください。")
                .arg(managerMissing_, timer_.UnitFolder().text()));
        return;
    }
    const QString next = timer_.Installed() ? timer_.NextRun() : QString();
    state_->setText(!timer_.Installed() ? QStringLiteral("スケジュールは設定されていません。")
                    : next.isEmpty() ? QStringLiteral("次回の実行：　（未定）")
                                     : QStringLiteral("次回の実行：　") + next);
}

void ScheduleForm::ShowHandInstall() {
    weekday_->setEnabled(every_->checkedId() == kWeekly);
    time_->setEnabled(every_->checkedId() != kNone);
    if (managerMissing_.isEmpty()) return;
    const auto schedule = Chosen();
    handInstall_->setPlainText(
        !schedule ? QStringLiteral("（自動では実行しません：%1 の tetoru.timer と tetoru.service "
                                   "を削除してください）")
                        .arg(timer_.UnitFolder().text())
                  : QStringLiteral("# %1/tetoru.service\n").arg(timer_.UnitFolder().text()) +
                        platform::ServiceUnitText(tetoru_, programFolder_) +
                        QStringLiteral("\n# %1/tetoru.timer\n").arg(timer_.UnitFolder().text()) +
                        platform::TimerUnitText(*schedule));
}

std::optional<QString> ScheduleForm::Apply() {
    if (!managerMissing_.isEmpty()) return std::nullopt;  // the person installs by hand
    const auto schedule = Chosen();
    return schedule ? timer_.Install(*schedule, tetoru_, programFolder_) : timer_.Remove();
}

void ScheduleForm::Accept() {
    if (const auto error = Apply()) {
        widgets::ShowStandardBox(
            {QStringLiteral("スケジュールを設定できませんでした。\n\n") + *error, util::Buttons::Ok,
             util::Answer::Ok, widgets::BoxIcon::Exclamation},
            this);
        ShowState();
        return;
    }
    accept();
}

}  // namespace catalog
