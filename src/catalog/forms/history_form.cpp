#include "catalog/forms/history_form.h"

#include "engine/backup_history.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace catalog {
namespace {

constexpr int kSuggestedDays = 30;

}  // namespace

HistoryForm::HistoryForm(int days, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HistoryForm"));
    setWindowTitle(QStringLiteral("バックアップの履歴"));
    auto* layout = new QVBoxLayout(this);
    auto* text =
        new QLabel(QStringLiteral("バックアップで置き換えたファイルや削除したファイルを、\n"
                                  "バックアップ先の隠しフォルダー「.kibako-history」に残します。\n"
                                  "残したファイルは、時刻を指定した復元で取り出せます。"),
                   this);
    layout->addWidget(text);
    keep_ = new QCheckBox(QStringLiteral("置き換え・削除したファイルを残す (&K)"), this);
    keep_->setObjectName(QStringLiteral("履歴CHK"));
    layout->addWidget(keep_);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("残す日数 (&D)"), this);
    days_ = new QSpinBox(this);
    days_->setObjectName(QStringLiteral("日数LIN"));
    days_->setRange(1, engine::kMostHistoryDays);
    days_->setSuffix(QStringLiteral(" 日間"));
    label->setBuddy(days_);
    row->addWidget(label);
    row->addWidget(days_);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(new QLabel(
        QStringLiteral("これより古い履歴は、次のバックアップの初めに削除します。\n"
                       "ディスクがいっぱいのときは、古い履歴から削除して空きを作ります。"),
        this));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("OKBTN"));
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CANBTN"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    keep_->setChecked(days > 0);
    days_->setValue(days > 0 ? days : kSuggestedDays);
    days_->setEnabled(days > 0);
    connect(keep_, &QCheckBox::toggled, days_, &QWidget::setEnabled);
}

int HistoryForm::Days() const { return keep_->isChecked() ? days_->value() : 0; }

}  // namespace catalog
