#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Row records of the folder grid and the raw fields of definition entries.
// A row record has the shape of an entry: character 8, NAME, 2, F1, 3, F2, 4,
// F3, 5, KEY, 6, and character 12 after it on a drive row whose sub-folders
// have not been read yet.
namespace kibako::catalog {

inline constexpr QChar kRowMarker = QChar(8);
inline constexpr QChar kUnreadMark = QChar(12);
inline constexpr int kKeyColumn = 4;
inline const QString kNoFlags = QString(8, u' ');

struct RowFields {
    QString name;
    QString f1;   // destination (or source in the destination view)
    QString f2;   // last backup
    QString f3;   // the eight flag characters
    QString key;  // full path exactly as the folder is named: RowKey
    bool unread = false;
};

QString MakeRecord(const RowFields& fields);

// A folder name as a row shows it: control characters (which would frame the
// record) and the bytes of a name that is not UTF-8 as "?", as the file grid
// shows them. The row's KEY keeps the exact name.
QString ShownName(QString name);

// The KEY of a row: the exact path, with each control character moved to a
// lone surrogate (U+DC00 + code) that no decoded name holds, so that the
// record keeps its frame and the row still reaches the folder it names.
QString RowKey(QString path);
// The path a KEY stands for.
QString PathOfRowKey(QString key);

// Cell k (0 NAME ... 4 KEY) of one record; empty when the record lacks it.
QStringView CellOf(QStringView record, int column);

// An entry of the definition body as stored, without parsing its flags.
struct RawEntry {
    QStringView source;
    QStringView destination;
    QStringView lastBackup;
    QStringView flags;        // the eight flag characters
    qsizetype position = 0;   // of the marker
    qsizetype next = 0;       // of the next marker or the terminator
    bool wellFormed = false;  // characters 2 and 3 come before the next marker
};

// The entry whose marker is the first at or after `from`; nothing at the end.
// `body` must outlive the views.
std::optional<RawEntry> NextRawEntry(const QString& body, qsizetype from);

// The upper-cased body's lookup of a folder: the entry of `upperKey` (an
// upper-cased path without a final "\"), searched as marker + key + 2.
std::optional<RawEntry> FindRawEntry(const QString& body, const QString& upperBody,
                                     const QString& upperKey);

}  // namespace kibako::catalog
