// Speed of the grid engine on 100,000 rows: one page painted, the cursor sent
// far away, a type-ahead jump, a cell rewritten near the start of the buffer.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <memory>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/grid_painter.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_layout.h"
#include "catalog/grid/icon_strip.h"

namespace {

using namespace catalog::grid;

constexpr int kRows = 100000;

// A folder-like tree: levels cycling 1 to 5, an icon on every row.
struct BigGrid {
    BigGrid() {
        surface.setFont(QFont(QStringLiteral("IPAGothic"), 10));
        surface.SetState(&g);
        surface.SetScrollBar(&bar);
        ClearGrid(surface, g, &bar);
        g.treeLines = true;
        ReserveRows(g, kRows + 256);
        for (int r = 0; r < kRows; ++r) {
            const int level = 1 + r % 5;
            AppendRow(g,
                      {QStringLiteral("フォルダー%1 folder").arg(r),
                       QStringLiteral("D:\\Backup\\%1").arg(r), QStringLiteral("2024/05/06 07:08"),
                       QStringLiteral("        "), QStringLiteral("C:\\DATA\\%1").arg(r)});
            g.indent[static_cast<size_t>(r)] = (level - 1) * 14 + 6;
            SetIconCode(g, r, 10 + r % 7);
            SetTreeFlags(g, r, level < 5 ? kTreeHasChildren : kTreeLastChild);
        }
        g.rows[g.rowStarts[static_cast<size_t>(kRows - 1)] + 1] = QChar(u'Q');
        ApplyHeaderLayout(g, ComputeHeaderLayout({300, 150, 150}, 800, 796));
        surface.setGeometry(0, 0, 800, 604);
        g.vLineWidth = 1;
        g.hLineWidth = 1;
        FitGrid(surface, g, &bar);
        strip = IconStrip::Build(g.rowHeight - 2);
        g.iconStrip = &strip;
        g.iconWidth[0] = strip.Size();
        g.indentStep = strip.Size() + 2;
        ResetGrid(surface, g, &bar, 0);
    }
    GridSurface surface;
    QScrollBar bar;
    GridState g;
    IconStrip strip;
};

BigGrid& Grid() {
    static BigGrid* grid = new BigGrid;
    return *grid;
}

void PaintOnePage(benchmark::State& state) {
    BigGrid& big = Grid();
    ShowRow(big.surface, big.g, &big.bar, 50000);
    QImage image(big.surface.InnerWidth(), big.surface.InnerHeight(), QImage::Format_RGB32);
    const PaintContext ctx = big.surface.MakePaintContext();
    for (auto _ : state) {
        QPainter p(&image);
        p.setFont(big.surface.font());
        DrawGridPage(p, big.g, ctx, image.rect());
    }
    state.counters["rows_on_page"] = big.g.visibleRows;
}
BENCHMARK(PaintOnePage)->Unit(benchmark::kMillisecond);

void MoveCursorFarAway(benchmark::State& state) {
    BigGrid& big = Grid();
    int i = 0;
    for (auto _ : state) {
        MoveCursorTo(big.surface, big.g, &big.bar, (i++ % 2) ? 10 : 90000);
    }
}
BENCHMARK(MoveCursorFarAway)->Unit(benchmark::kMicrosecond);

void MoveCursorFarAwayAndRepaint(benchmark::State& state) {
    BigGrid& big = Grid();
    QImage image(big.surface.InnerWidth(), big.surface.InnerHeight(), QImage::Format_RGB32);
    const PaintContext ctx = big.surface.MakePaintContext();
    int i = 0;
    for (auto _ : state) {
        MoveCursorTo(big.surface, big.g, &big.bar, (i++ % 2) ? 10 : 90000);
        QPainter p(&image);
        p.setFont(big.surface.font());
        DrawGridPage(p, big.g, ctx, image.rect());
    }
}
BENCHMARK(MoveCursorFarAwayAndRepaint)->Unit(benchmark::kMillisecond);

void TypeAheadColumnZero(benchmark::State& state) {
    BigGrid& big = Grid();
    for (auto _ : state) {
        big.g.currentColumn = 0;
        big.g.currentRow = 0;
        TypeAheadJump(big.surface, big.g, &big.bar, QChar('q'));  // only the last row
        benchmark::DoNotOptimize(big.g.currentRow);
    }
}
BENCHMARK(TypeAheadColumnZero)->Unit(benchmark::kMillisecond);

void TypeAheadOtherColumnWraps(benchmark::State& state) {
    BigGrid& big = Grid();
    for (auto _ : state) {
        big.g.currentColumn = 1;
        big.g.currentRow = 5;
        TypeAheadJump(big.surface, big.g, &big.bar, QChar('x'));  // no row: a full lap
        benchmark::DoNotOptimize(big.g.currentRow);
    }
    big.g.currentColumn = 0;
}
BENCHMARK(TypeAheadOtherColumnWraps)->Unit(benchmark::kMillisecond);

void SetCellTextNearTheStart(benchmark::State& state) {
    BigGrid& big = Grid();
    const QString shortText = QStringLiteral("E:\\x");
    const QString longText = QStringLiteral("E:\\a much longer destination folder name");
    int i = 0;
    for (auto _ : state) {
        SetCellText(big.surface, big.g, 1, 5, (i++ % 2) ? shortText : longText);
    }
}
BENCHMARK(SetCellTextNearTheStart)->Unit(benchmark::kMillisecond);

void IndexAllRows(benchmark::State& state) {
    BigGrid& big = Grid();
    for (auto _ : state) IndexRows(big.g);
    state.counters["rows"] = big.g.rowCount;
}
BENCHMARK(IndexAllRows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
