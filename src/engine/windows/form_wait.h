#pragma once

class QWidget;

namespace engine::windows {

// Lets window events run until `window` is hidden or destroyed; returns at
// once when it is not visible. Waits nest: a question asked while another
// waits returns first.
void WaitUntilHidden(QWidget& window);

}  // namespace engine::windows
