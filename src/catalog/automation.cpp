#include "catalog/automation.h"

#include <QComboBox>
#include <QEvent>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "catalog/grid/grid_surface.h"
#include "catalog/list_form.h"
#include "dialogs/dialog_testing.h"

namespace kibako::catalog {
namespace {

// Notes the first paint of the folder grid that follows its creation.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget* grid) : QObject(grid) {
        grid->installEventFilter(this);
        grid->update();  // the first paint may be over before the script starts
    }
    bool Painted() const { return painted_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted_ = true;
        return false;
    }

  private:
    bool painted_ = false;
};

QPointer<PaintWatch> paintWatch;

// Runs one step; returns the milliseconds to wait before the next one, or -1
// to run it again after a short while.
int RunStep(ListForm& form, const QString& step) {
    if (step == u"backup-all" || step == u"backup-updated") {
        dialogs::presets::SetNextAnswer(1);
        if (step == u"backup-all") {
            form.BackupAll();
        } else {
            form.BackupUpdated();
        }
    } else if (step.startsWith(u"view-")) {
        form.SwitchView(std::clamp(step.mid(5).toInt(), 0, 2));
    } else if (step.startsWith(u"drive-") && step.size() == 7) {
        QComboBox* box = form.DriveBox();
        box->setCurrentIndex(box->findData(step.back().toUpper()));
    } else if (step.startsWith(u"open-")) {
        form.ToggleRow(step.mid(5).toInt(), false);
    } else if (step.startsWith(u"wait-")) {
        return step.mid(5).toInt();
    } else if (step == u"painted") {
        if (!paintWatch || !paintWatch->Painted()) return -1;
        std::fprintf(stderr, "KIBAKO_AUTOMATION: painted\n");
    } else if (step == u"close") {
        form.close();
    } else {
        std::fprintf(stderr, "KIBAKO_AUTOMATION: unknown step %s\n", qPrintable(step));
    }
    return 0;
}

void RunFrom(QPointer<ListForm> form, QStringList steps) {
    if (form.isNull() || steps.isEmpty()) return;
    const int wait = RunStep(*form, steps.first().trimmed());
    if (wait >= 0) steps.removeFirst();
    QTimer::singleShot(wait < 0 ? 10 : wait, [form, steps] { RunFrom(form, steps); });
}

}  // namespace

void StartAutomation(ListForm& form, const QString& script) {
    const QStringList steps = script.split(u',', Qt::SkipEmptyParts);
    QPointer<ListForm> target(&form);
    if (form.FolderGrid()) paintWatch = new PaintWatch(form.FolderGrid());
    QTimer::singleShot(0, [target, steps] { RunFrom(target, steps); });
}

}  // namespace kibako::catalog
