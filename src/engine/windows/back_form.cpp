#include "engine/windows/back_form.h"

#include "engine/windows/form_parts.h"

#include "engine/windows/elided_label.h"
#include "engine/windows/picture.h"
#include "store/settings.h"
#include "util/numbers.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace engine::windows {
namespace {

// Kibako places its progress window this far from the catalog window.
constexpr qint64 kKibakoOffsetX = 600;
constexpr qint64 kKibakoOffsetY = 900;
constexpr int kBarSteps = 1000;

void KeepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

QString FileBytesText(qint64 done, qint64 total) {
    return util::FormatLargeNumber(done / 1024) + QStringLiteral(" / ") +
           util::FormatLargeNumber(total / 1024) + QStringLiteral(" KB");
}

BackForm::BackForm(Variant variant, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      variant_(variant) {
    setObjectName(QStringLiteral("BackForm"));
    setWindowTitle(variant == Variant::Kibako ? QStringLiteral("Kibako")
                                              : QStringLiteral("Tetoru Ver1.7B"));

    auto* boxPicture = new Picture(Picture::Kind::Box, this);
    boxPicture->setObjectName(QStringLiteral("Image1"));
    QLabel* heading = MakeLabel("Label1", QStringLiteral("バックアップ中"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    source_ = new ElidedLabel(this);
    source_->setObjectName(QStringLiteral("SRCDSP"));
    destination_ = new ElidedLabel(this);
    destination_->setObjectName(QStringLiteral("DSTDSP"));
    QLabel* countCaption = MakeLabel("Label3", QStringLiteral("コピーしたファイル数"), this);
    count_ = MakeLabel("CNTDSP", QStringLiteral("0"), this);
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    bytes_ = MakeLabel("BYTDSP", QString(), this);
    bytesBar_ = new QProgressBar(this);
    bytesBar_->setObjectName(QStringLiteral("BYTBAR"));
    bytesBar_->setRange(0, kBarSteps);
    bytesBar_->setTextVisible(false);
    bytesBar_->setMaximumHeight(bytes_->fontMetrics().height());
    KeepPlaceWhenHidden(bytes_);
    KeepPlaceWhenHidden(bytesBar_);
    bytes_->hide();
    bytesBar_->hide();

    abort_ = new QPushButton(QStringLiteral("中止"), this);
    abort_->setObjectName(QStringLiteral("中止BTN"));
    abort_->setAutoDefault(false);
    connect(abort_, &QPushButton::clicked, this, &BackForm::OnAbortButton);

    auto* texts = new QVBoxLayout;
    texts->addWidget(heading);
    texts->addWidget(source_);
    texts->addWidget(destination_);
    auto* counter = new QHBoxLayout;
    counter->addWidget(countCaption);
    counter->addWidget(count_);
    counter->addStretch();
    texts->addLayout(counter);
    auto* bytesRow = new QHBoxLayout;
    bytesRow->addWidget(bytesBar_, 1);
    bytesRow->addWidget(bytes_);
    texts->addLayout(bytesRow);

    auto* top = new QHBoxLayout;
    top->addWidget(boxPicture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(abort_);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(buttons);

    setFixedWidth(std::max(440, sizeHint().width()));
    setFixedHeight(sizeHint().height());
}

void BackForm::PlaceFromSettings(const store::Settings& settings) {
    PlaceAtTwips(settings.GetSettingNumber(store::Key::WindowX, 0),
                 settings.GetSettingNumber(store::Key::WindowY, 0));
}

void BackForm::PlaceAtTwips(qint64 windowX, qint64 windowY) {
    qint64 x = std::max<qint64>(windowX, 0);
    qint64 y = std::max<qint64>(windowY, 0);
    if (variant_ == Variant::Kibako) {
        x += kKibakoOffsetX;
        y += kKibakoOffsetY;
    }
    move(widgets::TwipsOf(screen()).Point(x, y));
}

void BackForm::SetSource(const QString& text) {
    source_->setText(text);
    ClearFileProgress();
}

void BackForm::SetDestination(const QString& text) {
    destination_->setText(text);
    ClearFileProgress();
}

void BackForm::SetCount(const QString& text) {
    count_->setText(text);
    ClearFileProgress();
}

void BackForm::SetFileProgress(qint64 done, qint64 total) {
    if (total <= 0) {
        ClearFileProgress();
        return;
    }
    const qint64 bounded = std::clamp<qint64>(done, 0, total);
    bytesBar_->setValue(static_cast<int>(bounded * kBarSteps / total));
    bytes_->setText(FileBytesText(bounded, total));
    bytesBar_->show();
    bytes_->show();
}

void BackForm::ClearFileProgress() {
    bytesBar_->hide();
    bytes_->hide();
}

void BackForm::OnAbortButton() {
    emit abortRequested();
    if (variant_ == Variant::Kibako) hide();
}

void BackForm::Unload() {
    unloading_ = true;
    close();
    unloading_ = false;
}

void BackForm::closeEvent(QCloseEvent* event) {
    if (variant_ == Variant::Tetoru) {
        event->accept();
        emit closeRequested();
        return;
    }
    // Kibako: a close by the person only hides the window; the run goes on
    // and its completion message still comes. Qt does not tell the close box
    // from other closes, so the program's own close goes through Unload.
    if (unloading_ || (qApp != nullptr && qApp->isSavingSession())) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

}  // namespace engine::windows
