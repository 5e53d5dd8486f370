#pragma once

#include <QWidget>

#include "catalog/grid/colour.h"
#include "catalog/grid/grid_side.h"

namespace catalog::grid {

// A column-title bar (ITMBAR, ITFBAR) above its grid: three outlines, a
// separator pair right of each column edge and the centred titles. Dragging a
// column border draws an exclusive-or line over the grid and, on release,
// changes the column's width, lays the side out again and emits
// columnWidthsChanged; a press away from the borders moves the grid's cursor
// to that column. The side is not owned and must outlive the bar.
class HeaderBar : public QWidget {
    Q_OBJECT
  public:
    explicit HeaderBar(GridSide* side, QWidget* parent = nullptr);

    GridSide* Side() const { return side_; }
    void SetColours(ColourRef text, ColourRef background);
    // Columns that got a title in the last layout.
    int LaidOutColumns() const { return laidOut_; }
    void SetLaidOutColumns(int columns);
    // 0 none, 1 or 2 a column border drag is running.
    int DragMode() const { return dragMode_; }
    int DragX() const { return dragX_; }

  signals:
    // side->widths changed by a drag; the catalog window stores DirColWidth0
    // to 2 or FileColWidth0 to 2.
    void columnWidthsChanged();
    // A press on a title moved the grid's cursor to this column.
    void columnSelected(int column);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void MoveDragLine(int x);

    GridSide* side_;
    ColourRef text_ = 0xEBF0F5;
    ColourRef background_ = 0x8CAAA9;
    int laidOut_ = 0;
    int dragMode_ = 0;
    int dragX_ = 0;
    int draggedColumn_ = 0;
    int dragMinimum_ = 0;
    int dragMaximum_ = 0;
};

// Places the header above its grid and lays the columns out in every grid
// state of the side (the last column stretched to the grid when all fit).
void LayoutHeaderBar(HeaderBar& header);

}  // namespace catalog::grid
