#pragma once

#include <QString>

namespace catalog {

class ListForm;

// A test and demonstration aid, used only when the environment variable
// KIBAKO_AUTOMATION is set: a comma-separated list of steps run one after
// another once the window is up. Steps: "backup-all", "backup-updated" (their
// summary box is answered with OK), "view-0" to "view-2", "drive-C" (chooses
// that drive in DRVBOX), "open-3" (the tree-area click on shown row 3 of the
// folder grid), "row-3" and "column-1" (the folder grid's cursor to shown
// row 3 or to column 1, which lists the files of the new cell), "files" (the
// file grid, its folder label and count line written to standard output),
// "rows" (the current view's number and the folder grid's rows, cells
// separated by tabs, written to standard output),
// "wait-500" (milliseconds), "painted" (waits until the event loop has
// painted the folder grid, then writes "KIBAKO_AUTOMATION: painted" to
// standard error), "hold=/path/of/fifo" (the window stops at that test gate
// until the test releases it), "close". The registration dialog: "register-open" (opens
// it for the folder grid's current row; the steps after it run while it
// waits), "entry-option-1" (圧縮OPT), "entry-dest=D:\Back" (the enabled
// destination field), "entry-sub-1" or "entry-sub-0" (下位SEL),
// "entry-browse=/host/path" (参照BTN with the file dialog answering that host
// path), "entry-save" (保存BTN, its result box answered with OK),
// "entry-register", "entry-cancel". The commands 設定を修正, 設定を削除 and
// 登録済みフォルダーの確認: "edit", "delete", "check" (run from the menu item;
// the steps after them run while a question or the dialog waits); their
// questions take answers queued before them: "answer-6" (6 Yes, 7 No, 2
// Cancel, 1 OK; other numbers are unknown steps), "input=TEXT", "input-cancel". Unknown steps are
// written to standard error and skipped.
void StartAutomation(ListForm& form, const QString& script);

}  // namespace catalog
