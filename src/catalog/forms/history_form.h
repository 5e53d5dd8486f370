#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace catalog {

// How long the backups a run replaces or deletes are kept (the setting
// HistoryDays): not at all, or a number of days. The caller writes the choice
// when the dialog is accepted.
class HistoryForm : public QDialog {
    Q_OBJECT
  public:
    explicit HistoryForm(int days, QWidget* parent = nullptr);

    // What the controls say now: 0 when nothing is kept.
    int Days() const;

  private:
    QCheckBox* keep_ = nullptr;
    QSpinBox* days_ = nullptr;
};

}  // namespace catalog
