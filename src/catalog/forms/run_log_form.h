#pragma once

#include "engine/run_log.h"

#include <QDialog>

#include <vector>

class QPlainTextEdit;

namespace catalog {

// The run log as a person reads it: one line per registration and run, the
// newest last, in a box whose text can be selected and copied.
class RunLogForm : public QDialog {
    Q_OBJECT
  public:
    RunLogForm(const std::vector<engine::RunLogRecord>& records, QWidget* parent = nullptr);

    QString Text() const;

  private:
    QPlainTextEdit* text_ = nullptr;
};

// One record as the window shows it.
QString RunLogLineText(const engine::RunLogRecord& record);

}  // namespace catalog
