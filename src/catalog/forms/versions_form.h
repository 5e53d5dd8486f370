#pragma once

#include "catalog/commands/restore_commands.h"
#include "engine/restore_history.h"

#include <QDateTime>
#include <QDialog>

#include <vector>

class QDateTimeEdit;
class QTableWidget;

namespace catalog {

// "バックアップ" for the backup's own version, else when the history got it.
QString VersionPlace(const engine::FileVersion& version);

// The versions of one file, newest first: time, size and where each is kept.
// この版を復元 restores the selected one; この時刻の状態を復元 restores the
// files as they were at the time given below the list.
class VersionsForm : public QDialog {
    Q_OBJECT
  public:
    VersionsForm(QWidget* parent, const QString& fileName,
                 const std::vector<engine::FileVersion>& versions);

    VersionChoice Choice() const { return choice_; }

  private:
    QTableWidget* table_ = nullptr;
    QDateTimeEdit* at_ = nullptr;
    VersionChoice choice_;
};

// 日時を指定して復元: the time whose state a restore brings back, now unless
// changed. 復元 accepts; キャンセル, Escape and the close box give nothing.
class AsOfForm : public QDialog {
    Q_OBJECT
  public:
    AsOfForm(QWidget* parent, const QString& sourceFolder);
    QDateTime At() const;

  private:
    QDateTimeEdit* at_;
};

}  // namespace catalog
