#include "catalog/forms/restore_windows.h"

#include "catalog/forms/entry_form.h"
#include "catalog/forms/versions_form.h"
#include "dialogs/message_box.h"
#include "platform/host_path.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace catalog {
namespace {

QString TimeText(qint64 ns) {
    return QDateTime::fromMSecsSinceEpoch(ns / 1'000'000)
        .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString SizeText(qint64 bytes) {
    return QLocale(QLocale::English).toString(bytes) + QStringLiteral(" バイト");
}

std::optional<platform::HostPath> AskTarget(QWidget* parent, const QString& sourceFolder) {
    const util::Answer answer = dialogs::ShowMessage(
        parent,
        {QStringLiteral(
             "%1 へ復元します。\n\n「はい」：元のフォルダーへ\n「いいえ」：別のフォルダーを選ぶ")
             .arg(sourceFolder),
         util::Buttons::YesNoCancel, util::Answer::Yes, widgets::BoxIcon::None, kRestoreTitle});
    if (answer == util::Answer::Yes) return platform::HostPath();
    if (answer != util::Answer::No) return std::nullopt;
    QFileDialog dialog(parent, QStringLiteral("復元先の指定"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);  // the sidebar needs Qt's own
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    QList<QUrl> urls;
    for (const SidebarPlace& place : EntryForm::DrivePlaces()) urls.append(place.url);
    dialog.setSidebarUrls(urls);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return platform::HostPath(dialog.selectedFiles().constFirst());
}

void ShowReport(QWidget* parent, const QString& title, const QString& text) {
    ReportForm form(parent, title, text);
    form.exec();
}

VersionChoice ChooseVersion(QWidget* parent, const QString& fileName,
                            const std::vector<engine::FileVersion>& versions) {
    VersionsForm form(parent, fileName, versions);
    form.exec();
    return form.Choice();
}

std::optional<QDateTime> ChooseTime(QWidget* parent, const QString& sourceFolder) {
    AsOfForm form(parent, sourceFolder);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.At();
}

}  // namespace

RestoreHooks WindowRestoreHooks() { return {AskTarget, ShowReport, ChooseVersion, ChooseTime}; }

QString RestoreQuestionForm::QuestionText(const engine::ReplaceQuestion& question) {
    return QStringLiteral(
               "このファイルは既にあり、バックアップと違います。\n%1\n\n"
               "バックアップ：　%2　%3\n"
               "今のファイル：　%4　%5%6\n\n"
               "バックアップで置き換えますか？")
        .arg(platform::ShownPath(question.target), TimeText(question.backupTimeNs),
             SizeText(question.backupSize), TimeText(question.targetTimeNs),
             SizeText(question.targetSize),
             question.targetNewer ? QStringLiteral("（こちらが新しい）") : QString());
}

RestoreQuestionForm::RestoreQuestionForm(QWidget* parent, const engine::ReplaceQuestion& question)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RestoreQuestionForm"));
    setWindowTitle(QStringLiteral("ファイルの復元"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QuestionText(question), this);
    text->setObjectName(QStringLiteral("questionText"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, engine::ReplaceAnswer> choices[] = {
        {"はい(&Y)", engine::ReplaceAnswer::Yes},
        {"いいえ(&N)", engine::ReplaceAnswer::No},
        {"すべてはい(&A)", engine::ReplaceAnswer::YesToAll},
        {"すべていいえ(&L)", engine::ReplaceAnswer::NoToAll}};
    const char* names[] = {"yesButton", "noButton", "yesToAllButton", "noToAllButton"};
    int i = 0;
    for (const auto& [caption, answer] : choices) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(names[i++]));
        button->setAutoDefault(false);
        // A replace is never the default: Enter keeps the file.
        if (answer == engine::ReplaceAnswer::No) {
            button->setDefault(true);
            button->setFocus();
        }
        connect(button, &QPushButton::clicked, this, [this, value = answer] {
            answer_ = value;
            accept();
        });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
}

void RestoreQuestionForm::reject() {
    answer_ = engine::ReplaceAnswer::No;
    QDialog::reject();
}

engine::ReplaceAnswer QtRestoreQuestions::AskReplace(const engine::ReplaceQuestion& question) {
    RestoreQuestionForm form(parent_, question);
    form.exec();
    return form.Answer();
}

ReportForm::ReportForm(QWidget* parent, const QString& title, const QString& text)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(title);
    resize(640, 400);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("reportText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(text);
    layout->addWidget(text_);
    auto* box = new QDialogButtonBox(this);
    auto* copy = box->addButton(QStringLiteral("コピー(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    auto* close = box->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(copy, &QPushButton::clicked, this, &ReportForm::CopyAll);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

QString ReportForm::Text() const { return text_->toPlainText(); }

void ReportForm::CopyAll() { QApplication::clipboard()->setText(text_->toPlainText()); }

}  // namespace catalog
