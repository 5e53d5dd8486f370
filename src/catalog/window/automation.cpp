#include "catalog/window/automation.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "catalog/commands/registration_editor.h"
#include "catalog/forms/entry_form.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/window/list_form.h"
#include "platform/test_gate.h"
#include "widgets/preset_answers.h"

namespace catalog {
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

// The step "answer-N" names its answer by the old platform's number (6 Yes,
// 7 No, 2 Cancel, 1 OK): the one place those numbers are read.
std::optional<util::Answer> AnswerOfNumber(int number) {
    switch (number) {
        case 1:
            return util::Answer::Ok;
        case 2:
            return util::Answer::Cancel;
        case 6:
            return util::Answer::Yes;
        case 7:
            return util::Answer::No;
        default:
            return std::nullopt;
    }
}

// The cursor of the folder grid to a shown row or a column, as the arrow keys
// move it, and the file list of the new cell.
void MoveFolderCursor(ListForm& form, int row, int column) {
    grid::GridState& g = form.CurrentRows().grid;
    grid::GridSurface& surface = *form.FolderGrid();
    if (column >= 0) {
        g.currentColumn = std::clamp(column, 0, g.columnCount - 1);
        grid::RedrawCursor(surface, g);
    } else {
        grid::MoveCursorTo(surface, g, form.findChild<QScrollBar*>(QStringLiteral("SCRDIR")), row);
    }
    form.ListFiles();
}

// The file grid as text on standard output: the folder label, one line per
// row (name, date and size separated by tabs) and the count line.
void PrintFiles(ListForm& form) {
    QString text = QStringLiteral("DIRDSP=") + form.FolderLabel()->text() + u'\n';
    const grid::GridState& g = form.FileRows();
    for (int r = 0; r < g.rowCount; ++r) {
        text += grid::CellText(g, 0, r) + u'\t' + grid::CellText(g, 1, r) + u'\t' +
                grid::CellText(g, 2, r) + u'\n';
    }
    text += QStringLiteral("CONSOL=") + form.StatusLine()->text() + u'\n';
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// The folder grid of the current view as text on standard output: the view,
// then one line per shown row with its cells separated by tabs.
void PrintRows(ListForm& form) {
    QString text = QStringLiteral("VIEW=%1\n").arg(form.CurrentView());
    const grid::GridState& g = form.CurrentRows().grid;
    for (int r = 0; r < g.rowCount; ++r) {
        QStringList cells;
        for (int c = 0; c < g.columnCount; ++c) cells << grid::CellText(g, c, r);
        text += cells.join(u'\t') + u'\n';
    }
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// The registration dialog's steps; false for a step that is none of them.
bool RunEntryStep(ListForm& form, const QString& step) {
    EntryForm& dialog = form.Registration().Dialog();
    if (step == u"register-open") {
        // The dialog waits in a loop of its own; later steps run inside it.
        QPointer<ListForm> target(&form);
        QTimer::singleShot(0, [target] {
            if (target) target->EditRegistration();
        });
    } else if (step.startsWith(u"entry-option-")) {
        dialog.SelectOption(step.mid(13).toInt());
    } else if (step.startsWith(u"entry-dest=")) {
        auto* field = dialog.findChild<QLineEdit*>(
            QStringLiteral("保存先LIN%1").arg(dialog.SelectedOption()));
        if (field) field->setText(step.mid(11));
    } else if (step.startsWith(u"entry-sub-")) {
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("下位SEL"));
        if (box) box->setChecked(step.endsWith(u'1'));
    } else if (step.startsWith(u"entry-browse=")) {
        // The host file dialog answers with the given host path.
        const QString chosen = step.mid(13);
        const auto keep = dialog.chooseHostPath;
        dialog.chooseHostPath = [chosen](const QString&, const QList<SidebarPlace>&) {
            return std::optional<QString>(chosen);
        };
        dialog.Browse();
        dialog.chooseHostPath = keep;
    } else if (step == u"entry-save") {
        widgets::presets::SetNextAnswer(util::Answer::Ok);
        dialog.findChild<QPushButton*>(QStringLiteral("保存BTN"))->click();
    } else if (step == u"entry-register") {
        dialog.Register();
    } else if (step == u"entry-cancel") {
        dialog.Cancel();
    } else {
        return false;
    }
    return true;
}

// Runs one step; returns the milliseconds to wait before the next one, or -1
// to run it again after a short while.
int RunStep(ListForm& form, const QString& step) {
    if (step == u"backup-all" || step == u"backup-updated") {
        widgets::presets::SetNextAnswer(util::Answer::Ok);
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
    } else if (step.startsWith(u"row-")) {
        MoveFolderCursor(form, step.mid(4).toInt(), -1);
    } else if (step.startsWith(u"column-")) {
        MoveFolderCursor(form, 0, step.mid(7).toInt());
    } else if (step == u"files") {
        PrintFiles(form);
    } else if (step == u"rows") {
        PrintRows(form);
    } else if (step.startsWith(u"wait-")) {
        return step.mid(5).toInt();
    } else if (step == u"painted") {
        if (!paintWatch || !paintWatch->Painted()) return -1;
        std::fprintf(stderr, "KIBAKO_AUTOMATION: painted\n");
    } else if (const auto answer = step.startsWith(u"answer-") ? AnswerOfNumber(step.mid(7).toInt())
                                                               : std::nullopt) {
        widgets::presets::SetNextAnswer(*answer);
    } else if (step.startsWith(u"input=")) {
        widgets::presets::SetNextInput(step.mid(6));
    } else if (step == u"input-cancel") {
        widgets::presets::SetNextInput(std::nullopt);
    } else if (step == u"check" || step == u"edit" || step == u"delete") {
        // Through the menu items; a question waits in a loop of its own, and
        // later steps run inside it.
        const CatalogMenus& menus = form.Menus();
        QAction* item = step == u"check"  ? menus.fileCheck
                        : step == u"edit" ? menus.editChange
                                          : menus.editDelete;
        QTimer::singleShot(0, item, &QAction::trigger);
        return 50;
    } else if (step.startsWith(u"hold=")) {
        platform::WaitAtTestGate(step.mid(5));
    } else if (step == u"close") {
        form.close();
    } else if (RunEntryStep(form, step)) {
        return 50;
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

}  // namespace catalog
