#pragma once

#include <QApplication>
#include <QFont>
#include <QScrollBar>
#include <QStringList>
#include <memory>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_layout.h"

namespace catalog::grid::testing {

// The one QApplication of a test program (offscreen platform).
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "catalog_grid_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// A real grid surface with its scroll bar and a state holding `rows` rows
// named "Row000", "Row001", ... in column 0; 10 rows fit on the page.
struct GridFixture {
    explicit GridFixture(int rows, int visible = 10) {
        EnsureApplication();
        host = std::make_unique<QWidget>();
        surface = new GridSurface(host.get());
        bar = new QScrollBar(Qt::Vertical, host.get());
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(12);
        surface->setFont(font);
        surface->SetState(&g);
        surface->SetScrollBar(bar);
        surface->SetColours(0x000000, 0xFFFFFF);
        ClearGrid(*surface, g, bar);
        for (int r = 0; r < rows; ++r) {
            AppendRow(g, {QStringLiteral("Row%1").arg(r, 3, 10, QChar('0')),
                          QStringLiteral("D:\\Backup%1").arg(r), QStringLiteral("2024/01/02 03:04"),
                          QString(), QStringLiteral("KEY%1").arg(r)});
        }
        ApplyHeaderLayout(g, ComputeHeaderLayout({150, 120, 120}, 400, 396));
        const int base = surface->TextHeight() + g.vLineWidth + g.interleave;
        surface->setGeometry(0, 0, 400, visible * base + 2 * GridSurface::kBorder);
        FitGrid(*surface, g, bar);
        PlaceScrollBar(bar, *surface, g);
        ResetGrid(*surface, g, bar, 0);
    }

    std::unique_ptr<QWidget> host;
    GridSurface* surface = nullptr;
    QScrollBar* bar = nullptr;
    GridState g;
};

}  // namespace catalog::grid::testing
