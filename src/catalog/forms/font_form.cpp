#include "catalog/forms/font_form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "catalog/forms/font_list.h"
#include "dialogs/dialog_font.h"
#include "util/line_breaks.h"
#include "widgets/beep.h"

namespace catalog {

FontForm::FontForm(const QStringList& screenNames, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FontForm"));
    setWindowTitle(QStringLiteral("フォントの変更"));
    setFont(dialogs::MsgBoxFont());
    setFixedSize(470, 300);
    fonlst_ = new QListWidget(this);
    fonlst_->setObjectName(QStringLiteral("FONLST"));
    fonlst_->setGeometry(8, 8, 200, 284);
    fonlst_->addItems(FontListNames(screenNames));
    // The keys move the current row as a click does: both choose the font.
    connect(fonlst_, &QListWidget::currentRowChanged, this, &FontForm::OnListClicked);
    connect(fonlst_, &QListWidget::itemClicked, this, &FontForm::OnListClicked);
    smpdsp_ = new QLabel(this);
    smpdsp_->setObjectName(QStringLiteral("SMPDSP"));
    smpdsp_->setGeometry(216, 8, 246, 170);
    smpdsp_->setFrameShape(QFrame::Panel);
    smpdsp_->setFrameShadow(QFrame::Sunken);
    smpdsp_->setAutoFillBackground(true);
    smpdsp_->setBackgroundRole(QPalette::Base);
    smpdsp_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    coldsp_ = new QLabel(this);
    coldsp_->setObjectName(QStringLiteral("COLDSP"));
    coldsp_->setGeometry(216, 186, 110, 26);
    const QString captions[2] = {QStringLiteral("－"), QStringLiteral("＋")};
    for (int i = 0; i < 2; ++i) {
        sizbtn_[i] = new QPushButton(captions[i], this);
        sizbtn_[i]->setObjectName(QStringLiteral("SIZBTN%1").arg(i));
        sizbtn_[i]->setGeometry(334 + i * 36, 186, 32, 26);
        sizbtn_[i]->setAutoDefault(false);
        connect(sizbtn_[i], &QPushButton::clicked, this, [this, i] { StepSize(i); });
    }
    bldsel_ = new QCheckBox(QStringLiteral("太字"), this);
    bldsel_->setObjectName(QStringLiteral("BLDSEL"));
    bldsel_->setGeometry(410, 186, 56, 26);
    connect(bldsel_, &QCheckBox::clicked, this, &FontForm::OnBoldClicked);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBTN"));
    ok->setGeometry(250, 262, 100, 30);
    connect(ok, &QPushButton::clicked, this, [this] {
        fonlst_->setFocus();
        accept();
    });
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("CANBTN"));
    cancel->setGeometry(360, 262, 100, 30);
    connect(cancel, &QPushButton::clicked, this, [this] {
        fonlst_->setFocus();
        reject();
    });
    // Enter is taken on its release, as OK: no button may take its press.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
}

QStringList FontForm::ListedNames() const {
    QStringList names;
    for (int i = 0; i < fonlst_->count(); ++i) names.append(fonlst_->item(i)->text());
    return names;
}

void FontForm::SetSample(const QFont& font, const QString& text) {
    sample_ = font;
    sampleText_ = text;
    ShowSample();
    if (text.isEmpty()) return;
    const QString wanted = font.family().toUpper();
    const QSignalBlocker quiet(fonlst_);
    for (int i = 0; i < fonlst_->count(); ++i) {
        if (fonlst_->item(i)->text().toUpper() == wanted) {
            fonlst_->setCurrentRow(i);
            break;
        }
    }
    bldsel_->setChecked(font.bold());
}

void FontForm::ShowSample() {
    smpdsp_->setFont(sample_);
    smpdsp_->setText(util::WithLineBreaks(sampleText_));
    coldsp_->setText(FontSizeLabel(sample_.pointSizeF()));
}

int FontForm::ShowModal() { return exec() == QDialog::Accepted ? kResultOk : kResultCancel; }

void FontForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    // After the dialog has given its own first focus.
    QTimer::singleShot(0, fonlst_, [this] { fonlst_->setFocus(); });
}

void FontForm::OnListClicked() {
    const QListWidgetItem* item = fonlst_->currentItem();
    if (item == nullptr) return;
    sample_.setFamily(item->text());
    ShowSample();
}

void FontForm::OnBoldClicked() {
    sample_.setBold(bldsel_->isChecked());
    ShowSample();
}

void FontForm::StepSize(int index) {
    const double size = sample_.pointSizeF() + (index == 0 ? -kSizeStep : kSizeStep);
    if (size < kLeastSize || size > kLargestSize) {
        widgets::Beep();
        return;
    }
    sample_.setPointSizeF(size);
    ShowSample();
}

void FontForm::keyReleaseEvent(QKeyEvent* event) {
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            fonlst_->setFocus();
            accept();
            break;
        case Qt::Key_Asterisk:
            if (keypad) bldsel_->click();
            break;
        case Qt::Key_Plus:
            if (keypad) sizbtn_[1]->click();
            break;
        case Qt::Key_Minus:
            if (keypad) sizbtn_[0]->click();
            break;
        default:
            break;
    }
    event->accept();
}

}  // namespace catalog
