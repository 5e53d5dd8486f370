#include "engine/windows/media_form.h"

#include "engine/windows/form_parts.h"

#include "engine/windows/picture.h"
#include "platform/drive_table.h"
#include "widgets/beep.h"
#include "widgets/dialog_placement.h"
#include "widgets/dialog_wait.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace engine::windows {
namespace {

QString EntryText(const platform::Drive& drive) {
    QString text = QString(drive.letter.toUpper()) + u':';
    if (!drive.label.isEmpty()) text += QStringLiteral(" [") + drive.label + u']';
    return text;
}

}  // namespace

MediaForm::MediaForm(std::chrono::milliseconds timeout, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MediaForm"));
    setWindowTitle(QStringLiteral("ドライブの選択"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QFrame* titleShape = MakeShape("Shape1", QFrame::Box, this);
    auto* mediumPicture = new Picture(Picture::Kind::Medium, titleShape);
    mediumPicture->setObjectName(QStringLiteral("Image1"));
    title_ = MakeLabel("LBLDSP", QString(), titleShape);
    QFont large = title_->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.3);
    title_->setFont(large);
    QLabel* sameLabel = MakeLabel("Label9", QStringLiteral("このラベルと同じ"), titleShape);
    auto* titleRow = new QHBoxLayout(titleShape);
    titleRow->addWidget(mediumPicture);
    titleRow->addWidget(title_, 1);

    QFrame* textShape = MakeShape("Shape2", QFrame::StyledPanel, this);
    kind_ = MakeLabel("MSGDSP", QString(), textShape);
    QLabel* instruction = MakeLabel(
        "Label3", QStringLiteral("を ドライブにセットして、そのドライブ名をクリックして下さい。"),
        textShape);
    instruction->setWordWrap(true);
    auto* textRow = new QHBoxLayout(textShape);
    textRow->addWidget(kind_, 0, Qt::AlignTop);
    textRow->addWidget(instruction, 1);

    QFrame* driveShape = MakeShape("Shape3", QFrame::StyledPanel, this);
    drives_ = new QComboBox(driveShape);
    drives_->setObjectName(QStringLiteral("DRVBOX"));
    auto* driveRow = new QHBoxLayout(driveShape);
    driveRow->addWidget(drives_, 1);

    QFrame* line = MakeShape("Line1", QFrame::HLine, this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBTN"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("CANBTN"));
    connect(ok, &QPushButton::clicked, this, &MediaForm::OnOk);
    connect(cancel, &QPushButton::clicked, this, &MediaForm::OnCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(sameLabel);
    outer->addWidget(titleShape);
    outer->addWidget(textShape);
    outer->addWidget(driveShape);
    outer->addWidget(line);
    outer->addLayout(buttons);
    setMinimumWidth(400);

    selfClose_ = new QTimer(this);
    selfClose_->setObjectName(QStringLiteral("Timer1"));
    selfClose_->setSingleShot(true);
    selfClose_->setInterval(timeout);
    connect(selfClose_, &QTimer::timeout, this, &MediaForm::OnTimeout);

    for (const platform::Drive& drive : platform::CurrentDrives().MappedDrives()) {
        drives_->addItem(EntryText(drive));
        entries_.append(Entry{drive.letter.toUpper(), drive.type == platform::DriveType::Removable,
                              QFileInfo(drive.root.text()).isDir()});
    }
    PreselectRemovable();
}

void MediaForm::SetTitle(const QString& title) { title_->setText(title); }

void MediaForm::SetKind(const QString& kind) { kind_->setText(kind); }

// The system drive, unless a removable drive with a medium in it is found
// from the last entry down to the second. A drive without a medium cannot be
// selected, and the search goes on; the first entry (a floppy drive, where
// there is one) is never taken.
void MediaForm::PreselectRemovable() {
    SelectLetter(u'C');
    for (qsizetype i = entries_.size() - 1; i >= 1; --i) {
        if (entries_[i].removable && entries_[i].ready) {
            drives_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

void MediaForm::SelectLetter(QChar letter) {
    const QChar wanted = letter.toUpper();
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (entries_[i].letter == wanted) {
            drives_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

void MediaForm::Disp(QWidget* owner, const QString& defaultDrive, bool unattended) {
    timedOut_ = false;
    selected_.clear();
    if (!defaultDrive.isEmpty()) SelectLetter(defaultDrive[0]);
    const widgets::OwnerLock lock(owner);
    if (unattended) {
        selfClose_->start();
    } else {
        selfClose_->stop();
    }
    adjustSize();
    widgets::PlaceDialog(*this, owner);
    widgets::Beep();
    show();
    // The window frame is known only now; centre the whole frame.
    widgets::MoveCentredOver(*this, owner);
    activateWindow();
    widgets::WaitUntilHidden(*this);
    selfClose_->stop();
}

void MediaForm::OnOk() {
    selected_ = drives_->currentText().left(2);
    hide();
}

void MediaForm::OnCancel() {
    selected_.clear();
    hide();
}

void MediaForm::OnTimeout() {
    OnCancel();
    timedOut_ = true;
}

}  // namespace engine::windows
