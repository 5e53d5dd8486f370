#include "catalog/forms/option_form.h"

#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <functional>

#include "dialogs/dialog_font.h"
#include "widgets/beep.h"

namespace catalog {

const ColourRole kColourRoles[kColourRoleCount] = {
    {"・表示形式選択ボタンの文字", store::Key::ListButtonCol},
    {"・レベル切替ボタンの文字", store::Key::LevelButtonCol},
    {"・押したボタンの背景色", store::Key::PushedLightCol},
    {"・ﾘｽﾄの文字の色", store::Key::ListForeCol},
    {"・ﾘｽﾄの背景色", store::Key::ListBackCol},
    {"・選択されたﾘｽﾄの文字の色", store::Key::SelForeCol},
    {"・選択されたﾘｽﾄの背景色", store::Key::SelBackCol},
    {"・ﾘｽﾄの横線の色", store::Key::ListHLineCol},
    {"・ﾘｽﾄの縦線の色", store::Key::ListVLineCol},
    {"・項目名の文字の色", store::Key::TitleForeCol},
    {"・項目名の背景色", store::Key::TitleBackCol},
    {"・前回失敗した登録の文字の色", store::Key::FailedRunCol},
};

namespace {

struct PaletteEntry {
    grid::ColourRef lowColour;  // on a display of at most 256 colours
    grid::ColourRef trueColour;
};
constexpr PaletteEntry kPalette[kPaletteSize] = {
    {0x000000, 0x000000}, {0xFF0000, 0xFF0000}, {0x0000FF, 0x0000FF}, {0xFF00FF, 0xFF00FF},
    {0x00FF00, 0x00FF00}, {0xFFFF00, 0xFFFF00}, {0x00FFFF, 0x00FFFF}, {0xFFFFFF, 0xFFFFFF},
    {0xC0C0C0, 0xC0C0C0}, {0x800000, 0x800000}, {0x000080, 0x000080}, {0x800080, 0x800080},
    {0x008000, 0x008000}, {0x808000, 0x808000}, {0x008080, 0x008080}, {0x808080, 0x808080},
    {0xF4CC80, 0xF0CAA6}, {0xC880FF, 0xF7C1FD}, {0xFCC4FC, 0xC8C0E0}, {0xB4C050, 0xC0DCC0},
    {0xD0B040, 0xD0C098}, {0xC0FFFF, 0xC0FFFF}, {0x40D0F0, 0x30E8F8}, {0x90A0E0, 0x80A0FF},
};

// The role name's colour when selected: 0xFF0000 in the stored form (blue).
constexpr grid::ColourRef kSelectedNameColour = 0xFF0000;

constexpr int kRowHeight = 22;

}  // namespace

grid::ColourRef PaletteColour(int index, bool lowColour) {
    if (index < 0 || index >= kPaletteSize) return 0;
    return lowColour ? kPalette[index].lowColour : kPalette[index].trueColour;
}

// One role's colour swatch COLDSP(i); a press selects the role.
class ColourSwatch final : public QFrame {
  public:
    ColourSwatch(std::function<void()> pressed, QWidget* parent)
        : QFrame(parent), pressed_(std::move(pressed)) {
        setFrameShape(QFrame::Box);
    }
    void SetColour(grid::ColourRef colour) {
        colour_ = colour;
        update();
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(rect(), grid::ToQColor(colour_, palette()));
        QFrame::paintEvent(event);
    }
    void mousePressEvent(QMouseEvent*) override { pressed_(); }

  private:
    std::function<void()> pressed_;
    grid::ColourRef colour_ = 0;
};

// A role name COLNAM(i); a press selects the role.
class RoleName final : public QLabel {
  public:
    RoleName(const QString& text, std::function<void()> pressed, QWidget* parent)
        : QLabel(text, parent), pressed_(std::move(pressed)) {}

  protected:
    void mousePressEvent(QMouseEvent*) override { pressed_(); }

  private:
    std::function<void()> pressed_;
};

// The palette COLVIW: 4 x 6 cells on white, each filled inset by one pixel
// and outlined in black.
class PaletteView final : public QWidget {
  public:
    PaletteView(bool lowColour, std::function<void(QPoint)> released, QWidget* parent)
        : QWidget(parent), lowColour_(lowColour), released_(std::move(released)) {}
    int CellWidth() const { return width() / kPaletteColumns; }
    int CellHeight() const { return height() / kPaletteRows; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const int w = CellWidth();
        const int h = CellHeight();
        for (int i = 0; i < kPaletteSize; ++i) {
            const QRect cell((i % kPaletteColumns) * w + 1, (i / kPaletteColumns) * h + 1, w - 2,
                             h - 2);
            painter.fillRect(cell, grid::ToQColor(PaletteColour(i, lowColour_), palette()));
            painter.setPen(Qt::black);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override { released_(event->position().toPoint()); }

  private:
    bool lowColour_;
    std::function<void(QPoint)> released_;
};

OptionForm::OptionForm(const std::array<grid::ColourRef, kColourRoleCount>& current, bool lowColour,
                       QWidget* parent)
    : QDialog(parent), colours_(current), lowColour_(lowColour) {
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("オプション設定"));
    setFont(dialogs::MsgBoxFont());
    setFixedSize(440, 330);
    auto* frame = new QGroupBox(QStringLiteral("色　指定"), this);
    frame->setGeometry(8, 8, 270, 314);
    for (int i = 0; i < kColourRoleCount; ++i) {
        const int role = i + 1;
        const auto select = [this, role] { SelectRole(role); };
        auto* swatch = new ColourSwatch(select, frame);
        swatch->setObjectName(QStringLiteral("COLDSP%1").arg(role));
        swatch->setGeometry(12, 24 + i * kRowHeight + 3, 28, 16);
        swatch->SetColour(colours_[static_cast<size_t>(i)]);
        swatches_[static_cast<size_t>(i)] = swatch;
        auto* name = new RoleName(QString::fromUtf8(kColourRoles[i].caption), select, frame);
        name->setObjectName(QStringLiteral("COLNAM%1").arg(role));
        name->setGeometry(48, 24 + i * kRowHeight, 216, kRowHeight);
        names_[static_cast<size_t>(i)] = name;
    }
    palette_ = new PaletteView(
        lowColour, [this](QPoint position) { PickFromPalette(position); }, this);
    palette_->setObjectName(QStringLiteral("COLVIW"));
    palette_->setGeometry(290, 14, 140, 180);
    auto* custom = new QPushButton(QStringLiteral("ｶｽﾀﾑ色"), this);
    custom->setObjectName(QStringLiteral("COLBTN"));
    custom->setGeometry(290, 202, 140, 28);
    connect(custom, &QPushButton::clicked, this, &OptionForm::ChooseCustomColour);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBTN"));
    ok->setGeometry(290, 254, 140, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("CANBTN"));
    cancel->setGeometry(290, 290, 140, 28);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int OptionForm::ShowModal() {
    result_ = 0;
    result_ = exec() == QDialog::Accepted ? kResultOk : kResultCancel;
    return result_;
}

void OptionForm::SelectRole(int role) {
    if (role < 1 || role > kColourRoleCount) return;
    const QColor buttonText = palette().color(QPalette::ButtonText);
    if (selected_ != 0) {
        QLabel* previous = names_[static_cast<size_t>(selected_ - 1)];
        previous->setStyleSheet(QStringLiteral("color: %1").arg(buttonText.name()));
    }
    names_[static_cast<size_t>(role - 1)]->setStyleSheet(
        QStringLiteral("color: %1").arg(grid::ToQColor(kSelectedNameColour, palette()).name()));
    selected_ = role;
}

void OptionForm::SetSwatch(int role, grid::ColourRef colour) {
    colours_[static_cast<size_t>(role - 1)] = colour;
    swatches_[static_cast<size_t>(role - 1)]->SetColour(colour);
}

void OptionForm::PickFromPalette(QPoint position) {
    const int w = palette_->CellWidth();
    const int h = palette_->CellHeight();
    if (selected_ == 0 || w <= 0 || h <= 0) {
        widgets::Beep();
        return;
    }
    const int column = position.x() / w;
    const int row = position.y() / h;
    if (position.x() < 0 || position.y() < 0 || column >= kPaletteColumns || row >= kPaletteRows) {
        return;
    }
    SetSwatch(selected_, PaletteColour(row * kPaletteColumns + column, lowColour_));
}

void OptionForm::ChooseCustomColour() {
    if (selected_ == 0) {
        widgets::Beep();
        return;
    }
    QColorDialog chooser(this);
    chooser.setObjectName(QStringLiteral("COLDIALOG"));
    chooser.setCurrentColor(
        grid::ToQColor(colours_[static_cast<size_t>(selected_ - 1)], palette()));
    if (chooser.exec() != QDialog::Accepted) return;
    const QColor chosen = chooser.selectedColor();
    SetSwatch(selected_, grid::Rgb(chosen.red(), chosen.green(), chosen.blue()));
}

}  // namespace catalog
