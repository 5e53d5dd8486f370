#include "engine/windows/overwrite_form.h"

#include "engine/windows/form_parts.h"

#include "engine/windows/elided_label.h"
#include "engine/windows/picture.h"
#include "widgets/dialog_wait.h"

#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace engine::windows {
namespace {

ElidedLabel* MakeFolderLabel(const char* name, QWidget* parent) {
    auto* label = new ElidedLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    return label;
}

}  // namespace

QString FileTimeText(qint64 nanoseconds) {
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(nanoseconds / 1'000'000);
    const QLocale locale = QLocale::system();
    return locale.toString(time.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(time.time(), QLocale::LongFormat);
}

OverwriteForm::OverwriteForm(std::chrono::milliseconds timeout, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OverwriteForm"));
    setWindowTitle(QStringLiteral("キバコ"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowModality(Qt::ApplicationModal);

    // The question reads as one sentence: Label1 NAMDSP Label3, Label4, Label5.
    QFrame* questionShape = MakeShape("Shape1", QFrame::StyledPanel, this);
    QLabel* onTheHardDisk = MakeLabel("Label1", QStringLiteral("ハードディスクの"), questionShape);
    name_ = MakeLabel("NAMDSP", QString(), questionShape);
    QFont bold = name_->font();
    bold.setBold(true);
    name_->setFont(bold);
    QLabel* afterName = MakeLabel("Label3", QStringLiteral("は、"), questionShape);
    QLabel* olderThanBackup =
        MakeLabel("Label4", QStringLiteral("バックアップされたファイルより古いファイルです。"),
                  questionShape);
    QLabel* mayBackUp = MakeLabel(
        "Label5", QStringLiteral("このファイルを バックアップしていいですか？"), questionShape);
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(0);
    nameRow->addWidget(onTheHardDisk);
    nameRow->addWidget(name_);
    nameRow->addWidget(afterName);
    nameRow->addStretch();
    auto* question = new QVBoxLayout(questionShape);
    question->addLayout(nameRow);
    question->addWidget(olderThanBackup);
    question->addWidget(mayBackUp);

    QFrame* sourceShape = MakeShape("Shape2", QFrame::StyledPanel, this);
    auto* sourcePicture = new Picture(Picture::Kind::HardDisk, sourceShape);
    sourcePicture->setObjectName(QStringLiteral("Image1"));
    sourceFolder_ = MakeFolderLabel("SRCDIR", sourceShape);
    sourceTime_ = MakeLabel("SRCDAT", QString(), sourceShape);
    auto* sourceRow = new QHBoxLayout(sourceShape);
    sourceRow->addWidget(sourcePicture);
    sourceRow->addWidget(sourceFolder_, 1);
    sourceRow->addWidget(sourceTime_);

    QFrame* backupShape = MakeShape("Shape3", QFrame::StyledPanel, this);
    auto* backupPicture = new Picture(Picture::Kind::Backup, backupShape);
    backupPicture->setObjectName(QStringLiteral("Image2"));
    backupFolder_ = MakeFolderLabel("DSTDIR", backupShape);
    backupTime_ = MakeLabel("DSTDAT", QString(), backupShape);
    auto* backupRow = new QHBoxLayout(backupShape);
    backupRow->addWidget(backupPicture);
    backupRow->addWidget(backupFolder_, 1);
    backupRow->addWidget(backupTime_);

    QFrame* buttonShape = MakeShape("Shape4", QFrame::StyledPanel, this);
    buttonShape->setFrameShape(QFrame::HLine);
    auto* yes = new QPushButton(QStringLiteral("はい (&Y)"), this);
    yes->setObjectName(QStringLiteral("YESBTN"));
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("いいえ (&N)"), this);
    no->setObjectName(QStringLiteral("NOBTN"));
    connect(yes, &QPushButton::clicked, this, [this] { Answer(util::Answer::Yes); });
    connect(no, &QPushButton::clicked, this, [this] { Answer(util::Answer::No); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(questionShape);
    outer->addWidget(sourceShape);
    outer->addWidget(backupShape);
    outer->addWidget(buttonShape);
    outer->addLayout(buttons);
    setMinimumWidth(480);

    selfClose_ = new QTimer(this);
    selfClose_->setObjectName(QStringLiteral("SelfCloseTimer"));
    selfClose_->setSingleShot(true);
    // A coarse timer may fire up to 5% early; the question stays up at least
    // as long as it promises.
    selfClose_->setTimerType(Qt::PreciseTimer);
    selfClose_->setInterval(timeout);
    connect(selfClose_, &QTimer::timeout, this, [this] { Answer(util::Answer::No); });
}

void OverwriteForm::SetOlderFile(const OlderFile& file) {
    name_->setText(file.fileName);
    sourceFolder_->setText(file.sourceFolder);
    sourceTime_->setText(FileTimeText(file.sourceTimeNs));
    backupFolder_->setText(file.backupFolder);
    backupTime_->setText(FileTimeText(file.backupTimeNs));
}

util::Answer OverwriteForm::Ask(bool unattended) {
    endCode_.reset();
    if (unattended) selfClose_->start();
    show();
    raise();
    activateWindow();
    widgets::WaitUntilHidden(*this);
    selfClose_->stop();
    return endCode_.value_or(util::Answer::No);
}

// Escape and the close box come here.
void OverwriteForm::reject() { Answer(util::Answer::No); }

void OverwriteForm::Answer(util::Answer answer) {
    selfClose_->stop();
    endCode_ = answer;
    hide();
}

}  // namespace engine::windows
