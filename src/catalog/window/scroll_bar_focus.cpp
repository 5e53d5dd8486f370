#include "catalog/window/scroll_bar_focus.h"

#include <QEvent>
#include <QScrollBar>

namespace catalog {
namespace {

class FocusWatcher final : public QObject {
  public:
    FocusWatcher(QScrollBar* bar, std::function<void()> focused)
        : QObject(bar), focused_(std::move(focused)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && focused_) focused_();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> focused_;
};

}  // namespace

void ForwardScrollBarFocus(QScrollBar* bar, std::function<void()> focused) {
    bar->setFocusPolicy(Qt::ClickFocus);
    bar->installEventFilter(new FocusWatcher(bar, std::move(focused)));
}

}  // namespace catalog
