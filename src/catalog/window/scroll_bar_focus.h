#pragma once

#include <functional>

class QScrollBar;

namespace catalog {

// A click on a grid's scroll bar makes that grid the active one: the bar
// takes the focus on a click only, and when it gets it `focused` runs (the
// catalog window activates the grid and moves the focus on to it). The
// watcher is a child of the bar and lives as long as it.
void ForwardScrollBarFocus(QScrollBar* bar, std::function<void()> focused);

}  // namespace catalog
