#include "catalog/forms/versions_form.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace catalog {
namespace {

// "時刻 (&T)" and the time to restore to, now unless changed, under `layout`.
QDateTimeEdit* AddTimeRow(QWidget* owner, QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("時刻 (&T)"), owner);
    auto* at = new QDateTimeEdit(QDateTime::currentDateTime(), owner);
    at->setObjectName(QStringLiteral("時刻LIN"));
    at->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm"));
    label->setBuddy(at);
    row->addWidget(label);
    row->addWidget(at);
    row->addStretch();
    layout->addLayout(row);
    return at;
}

const QString kTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

QString VersionPlace(const engine::FileVersion& version) {
    if (!version.inHistory) return QStringLiteral("バックアップ");
    return QStringLiteral("履歴（%1 に置き換え・削除）")
        .arg(version.keptSince.toString(kTimeFormat));
}

VersionsForm::VersionsForm(QWidget* parent, const QString& fileName,
                           const std::vector<engine::FileVersion>& versions)
    : QDialog(parent) {
    setObjectName(QStringLiteral("VersionsForm"));
    setWindowTitle(QStringLiteral("以前の版"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("ファイル：　") + fileName, this));
    table_ = new QTableWidget(static_cast<int>(versions.size()), 3, this);
    table_->setObjectName(QStringLiteral("版LST"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("日時"), QStringLiteral("サイズ"), QStringLiteral("保存場所")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    const QLocale locale(QLocale::Japanese, QLocale::Japan);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const engine::FileVersion& version = versions[static_cast<size_t>(row)];
        const QDateTime time = QDateTime::fromMSecsSinceEpoch(version.item.timeNs / 1'000'000);
        table_->setItem(row, 0, Cell(time.toString(kTimeFormat)));
        table_->setItem(row, 1, Cell(locale.toString(version.item.size), Qt::AlignRight));
        table_->setItem(row, 2, Cell(VersionPlace(version)));
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumSize(560, 200);
    if (table_->rowCount() > 0) table_->selectRow(0);
    layout->addWidget(table_);
    if (versions.empty()) {
        layout->addWidget(
            new QLabel(QStringLiteral("このファイルのバックアップはありません。"), this));
    }

    at_ = AddTimeRow(this, layout);

    auto* buttons = new QHBoxLayout;
    auto* one = new QPushButton(QStringLiteral("この版を復元 (&R)"), this);
    one->setObjectName(QStringLiteral("版復元BTN"));
    one->setEnabled(!versions.empty());
    auto* asOf = new QPushButton(QStringLiteral("この時刻の状態を復元 (&A)"), this);
    asOf->setObjectName(QStringLiteral("時刻復元BTN"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("閉じるBTN"));
    buttons->addWidget(one);
    buttons->addWidget(asOf);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(one, &QPushButton::clicked, this, [this] {
        const int row = table_->currentRow();
        if (row < 0) return;
        choice_ = {VersionChoice::Kind::Version, static_cast<std::size_t>(row), {}};
        accept();
    });
    connect(asOf, &QPushButton::clicked, this, [this] {
        choice_ = {VersionChoice::Kind::AsOf, 0, at_->dateTime()};
        accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

AsOfForm::AsOfForm(QWidget* parent, const QString& sourceFolder) : QDialog(parent) {
    setWindowTitle(QStringLiteral("日時を指定して復元"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral(
            "%1 のファイルを、指定した時刻の状態に戻します。\n"
            "各ファイルは、その時刻までの最も新しい版（バックアップか履歴）から復元します。")
            .arg(sourceFolder),
        this));
    at_ = AddTimeRow(this, layout);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("復元 (&R)"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("復元BTN"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("キャンセルBTN"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    at_->setFocus();
}

QDateTime AsOfForm::At() const { return at_->dateTime(); }

}  // namespace catalog
