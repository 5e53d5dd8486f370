#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace store {

// The last backup of a registration, to the minute: never, a time, or a text
// the definition file holds that is not one (a hand-edited or damaged field),
// kept as it stands so that it is written back unchanged.
class BackupTime {
  public:
    // Never backed up.
    BackupTime() = default;

    // The minute of `time` (seconds are dropped).
    static BackupTime At(const QDateTime& time);
    // The field as the definition file holds it: 16 blanks for never,
    // "YYYY/MM/DD hh:mm" for a time, anything else kept as read.
    static BackupTime FromText(QStringView text);

    bool IsNever() const { return kind_ == Kind::Never; }
    // The local time the field stands for, when it can be read as one.
    std::optional<QDateTime> When() const;
    // The field as the definition file holds it; a text read as it stood.
    QString Text() const;

    friend bool operator==(const BackupTime&, const BackupTime&) = default;

  private:
    enum class Kind { Never, Minute, Unreadable };

    Kind kind_ = Kind::Never;
    int year_ = 0;
    int month_ = 0;
    int day_ = 0;
    int hour_ = 0;
    int minute_ = 0;
    QString unreadable_;  // the field, when it is no time
};

}  // namespace store
