#include "engine/windows/form_wait.h"

#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QWidget>

namespace engine::windows {
namespace {

class HideWatcher final : public QObject {
  public:
    HideWatcher(QWidget& window, QEventLoop& loop) : loop_(loop) {
        window.installEventFilter(this);
        connect(&window, &QObject::destroyed, &loop_, &QEventLoop::quit);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) loop_.quit();
        return QObject::eventFilter(watched, event);
    }

  private:
    QEventLoop& loop_;
};

}  // namespace

void WaitUntilHidden(QWidget& window) {
    if (!window.isVisible()) return;
    QEventLoop loop;
    HideWatcher watcher(window, loop);
    loop.exec();
}

}  // namespace engine::windows
