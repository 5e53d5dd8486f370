#pragma once

#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <QWidget>

#include <functional>
#include <utility>

#include "catalog/grid/grid_painter.h"
#include "catalog/grid/grid_state.h"

namespace catalog::grid {

// One drawing surface of a grid (DIRGRD, FILGRD): a widget with a two-pixel
// sunken border whose inside shows the rows of the grid state it is given.
// Grid coordinates are pixels inside the border. The surface paints only in
// paintEvent, from the state; the engine operations (grid_engine.h) tell it
// which cells, rows or page to draw again and move pixels for small scrolls.
//
// The state and the scroll bar are not owned and must outlive the surface's
// use of them. Keys go to GridKeyDown on the shown state; mouse presses are
// reported by signals, and handled as the file grid does when
// SetDefaultMouseHandling(true) (a press selects like a left click, a drag
// with the left button marks rows).
class GridSurface : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kBorder = 2;

    explicit GridSurface(QWidget* parent = nullptr);

    // The state this surface shows; the folder grid switches between the drive
    // rows and the registration rows. Repaints the page.
    void SetState(GridState* g);
    GridState* State() const { return state_; }
    // The grid's scroll bar; its value changes run ScrollToBar on the shown state.
    void SetScrollBar(QScrollBar* bar);
    QScrollBar* ScrollBar() const { return bar_; }

    void SetColours(ColourRef text, ColourRef background);
    ColourRef TextColour() const { return text_; }
    ColourRef BackgroundColour() const { return background_; }
    void SetIconCodeTable(const QString& table);
    // The text colour of rows that stand out (see PaintContext::rowText).
    void SetRowTextColour(std::function<ColourRef(int row)> colourOf) {
        rowText_ = std::move(colourOf);
    }
    // Grid painting suspended: paint events draw nothing.
    void SetPaintingSuspended(bool suspended) { suspended_ = suspended; }
    bool PaintingSuspended() const { return suspended_; }
    void SetDefaultMouseHandling(bool on) { defaultMouse_ = on; }

    int InnerWidth() const { return std::max(width() - 2 * kBorder, 0); }
    int InnerHeight() const { return std::max(height() - 2 * kBorder, 0); }
    // Height of the text "A" in the surface's font.
    int TextHeight() const;
    QColor Resolve(ColourRef colour) const;
    PaintContext MakePaintContext() const;

    // Requests to draw again; ignored unless g is the state shown.
    void InvalidateCell(const GridState& g, int column, int row);
    void InvalidateRow(const GridState& g, int row);
    void InvalidateRows(const GridState& g, int from, int to);
    void InvalidatePage(const GridState& g);
    // Moves the page's pixels by `rows` rows (positive: the rows move up, as
    // when the top row grows) and draws only the uncovered rows.
    void ScrollPixels(const GridState& g, int rows);

    // The exclusive-or line of a column drag at x (grid coordinates); -1 none.
    void SetXorLine(int x);
    int XorLine() const { return xorLine_; }

    // Region (grid coordinates) drawn by the last paint event; for tests and
    // measurements of how much a scroll repaints.
    QRegion LastPaintedRegion() const { return lastPainted_; }

  signals:
    // After GridKeyDown ran for a key press (Windows virtual-key code, shift
    // bits 1 Shift, 2 Ctrl, 4 Alt).
    void keyDown(int key, int shift, bool handled, bool marksChanged);
    // Raw mouse events in grid coordinates; button 1 left, 2 right, 4 middle.
    void gridMouseDown(int button, int shift, QPoint pos);
    void gridMouseMove(int buttons, int shift, QPoint pos);
    void gridMouseUp(int button, int shift, QPoint pos);
    // After the default mouse handling selected a row.
    void clicked(bool cursorMoved, bool marksChanged);
    void focusEntered();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    bool Shows(const GridState& g) const { return state_ == &g; }
    void UpdateGridRect(const QRect& gridRect);
    void DrawBorder(QPainter& p) const;
    void OnBarValueChanged(int value);

    GridState* state_ = nullptr;
    QPointer<QScrollBar> bar_;
    QMetaObject::Connection barConnection_;
    ColourRef text_ = 0x000000;
    ColourRef background_ = 0xFFFFFF;
    QString iconCodeTable_;
    std::function<ColourRef(int row)> rowText_;
    bool suspended_ = false;
    bool defaultMouse_ = false;
    int xorLine_ = -1;
    QRegion pending_;  // requested but not yet painted, widget coordinates
    QRegion lastPainted_;
};

int ShiftStateOf(Qt::KeyboardModifiers modifiers);
int ButtonOf(Qt::MouseButton button);
int ButtonsOf(Qt::MouseButtons buttons);

}  // namespace catalog::grid
