#pragma once

#include <QString>
#include <QStringView>

#include "store/backup_entry.h"

// Row records of the folder grid.
// A row record has the shape of an entry: character 8, NAME, 2, PAIRED PATH,
// 3, LAST BACKUP, 4, FLAGS, 5, KEY, 6, and character 12 after it on a drive
// row whose sub-folders have not been read yet.
namespace catalog {

inline constexpr QChar kRowMarker = QChar(8);
inline constexpr QChar kUnreadMark = QChar(12);
inline constexpr int kKeyColumn = 4;
inline const QString kNoFlags = QString(8, u' ');

struct RowFields {
    QString name;
    QString pairedPath;  // the destination (the source in the destination view)
    QString lastBackup;  // as the definition file holds it
    QString flags;       // the eight flag characters
    QString key;         // full path exactly as the folder is named: RowKey
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

// What the rows show of a registration: its fields as the definition file
// holds them, and nothing but the source for an entry whose separators are
// missing.
struct EntryCells {
    QString destination;
    QString lastBackup;
    QString flags;  // the eight flag characters
};
EntryCells CellsOf(const store::BackupEntry& entry);

}  // namespace catalog
