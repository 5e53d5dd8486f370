#include "dialogs/msg_box_layout.h"

#include <algorithm>
#include <numeric>

namespace dialogs {
namespace {

// Layout constants in twips.
constexpr int kTextLeft = 750;
constexpr int kTextRightMargin = 90;
constexpr int kTextTop = 210;
constexpr int kButtonGap = 60;
constexpr int kButtonBottom = 60;
constexpr int kBelowButtons = 120;
constexpr int kButtonSideRoom = 900;
constexpr int kMinimumHeight = 1410;
constexpr int kIconLeft = 180;
constexpr int kIconTopManyLines = 330;
constexpr int kIconTopFewLines = 120;
// Pixels kept free between the box and the screen's bottom edge.
constexpr int kScreenBottomRoom = 60;

int FrameWidth(const QMargins& f) { return f.left() + f.right(); }
int FrameHeight(const QMargins& f) { return f.top() + f.bottom(); }

QSize OuterSize(const MsgBoxMetrics& m, int buttonGroup) {
    const widgets::Twips& t = m.twips;
    int width = FrameWidth(m.frame) + m.widestLine + t.X(kTextLeft) + t.X(kTextRightMargin);
    width = std::max(width, buttonGroup + t.X(kButtonSideRoom));
    int height = FrameHeight(m.frame) + m.lineCount * m.lineHeight + t.Y(kTextTop) +
                 m.buttonHeight + t.Y(kBelowButtons);
    height = std::max(height, t.Y(kMinimumHeight));
    return QSize(width, height);
}

QPoint Place(const MsgBoxMetrics& m, QSize outer) {
    int left = m.owner.left() + (m.owner.width() / 5) * 4;
    int top = m.owner.top() + (m.owner.height() / 5) * 4;
    const int screenRight = m.screen.left() + m.screen.width();
    const int screenBottom = m.screen.top() + m.screen.height() - kScreenBottomRoom;
    if (left + outer.width() > screenRight) left = screenRight - outer.width();
    if (top + outer.height() > screenBottom) top = screenBottom - outer.height();
    // An owner partly off the left or top edge must not take the box with it.
    left = std::max(left, m.screen.left());
    top = std::max(top, m.screen.top());
    return QPoint(left, top);
}

}  // namespace

QSize MsgBoxLayout::Outer(const QMargins& frame) const { return inner.grownBy(frame); }

MsgBoxLayout LayoutMsgBox(const MsgBoxMetrics& m) {
    const widgets::Twips& t = m.twips;
    const int buttonGroup = std::accumulate(m.buttonWidths.begin(), m.buttonWidths.end(), 0);
    const QSize outer = OuterSize(m, buttonGroup);

    MsgBoxLayout layout;
    layout.inner = outer.shrunkBy(m.frame);
    layout.position = Place(m, outer);
    layout.textLeft = t.X(kTextLeft);
    layout.textTop = t.Y(kTextTop);
    layout.lineHeight = m.lineHeight;
    layout.icon =
        QPoint(t.X(kIconLeft), t.Y(m.lineCount > 2 ? kIconTopManyLines : kIconTopFewLines));

    int left = (layout.inner.width() - buttonGroup) / 2;
    const int top = layout.inner.height() - m.buttonHeight - t.Y(kButtonBottom);
    for (const int width : m.buttonWidths) {
        layout.buttons.emplace_back(left, top);
        left += width + t.X(kButtonGap);
    }
    return layout;
}

}  // namespace dialogs
