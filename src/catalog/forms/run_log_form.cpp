#include "catalog/forms/run_log_form.h"

#include "util/error_wording.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace catalog {
namespace {

QString OutcomeText(engine::EntryOutcome outcome) {
    switch (outcome) {
        case engine::EntryOutcome::BackedUp:
            return QStringLiteral("成功");
        case engine::EntryOutcome::Unchanged:
            return QStringLiteral("変更なし");
        case engine::EntryOutcome::MediumSkipped:
            return QStringLiteral("省略");
        case engine::EntryOutcome::NoDestination:
            return QStringLiteral("媒体なし");
        case engine::EntryOutcome::Failed:
            return QStringLiteral("失敗");
    }
    return QString();
}

}  // namespace

QString RunLogLineText(const engine::RunLogRecord& record) {
    const QString start = record.time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + u' ' +
                          record.program.leftJustified(6) + u' ';
    if (record.kind == engine::RunLogRecord::Kind::HistoryRemoved) {
        return start + QStringLiteral("  履歴：") + util::InJapaneseWording(record.historyLine);
    }
    if (record.kind == engine::RunLogRecord::Kind::RunSummary) {
        return start + QStringLiteral("── 実行終了：成功 %1、失敗 %2%3")
                           .arg(record.backedUp)
                           .arg(record.failed)
                           .arg(record.aborted ? QStringLiteral("（中止）") : QString());
    }
    QString line = start + OutcomeText(record.outcome) + u' ' + record.source +
                   QStringLiteral(" → ") + record.destination;
    const engine::RunCounts& c = record.counts;
    if (c.copied || c.replaced || c.deleted || c.failed) {
        line += QStringLiteral("（新規 %1、置換 %2、削除 %3、失敗 %4）")
                    .arg(c.copied)
                    .arg(c.replaced)
                    .arg(c.deleted)
                    .arg(c.failed);
    }
    for (const QString& reason : record.reason.split(u'\n', Qt::SkipEmptyParts)) {
        line += QStringLiteral("\n        ") + util::InJapaneseWording(reason);
    }
    return line;
}

RunLogForm::RunLogForm(const std::vector<engine::RunLogRecord>& records, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RunLogForm"));
    setWindowTitle(QStringLiteral("バックアップの実行記録"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("記録LST"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const engine::RunLogRecord& record : records) lines.append(RunLogLineText(record));
    text_->setPlainText(lines.isEmpty() ? QStringLiteral("まだ記録はありません。")
                                        : lines.join(u'\n'));
    text_->setMinimumSize(760, 420);
    layout->addWidget(text_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("すべてコピー (&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("COPYBTN"));
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CLOSEBTN"));
    layout->addWidget(buttons);
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text_->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The newest runs are at the end: show them first.
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

QString RunLogForm::Text() const { return text_->toPlainText(); }

}  // namespace catalog
