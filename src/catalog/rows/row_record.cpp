#include "catalog/rows/row_record.h"

#include "platform/host_name.h"

namespace catalog {

namespace {
constexpr char16_t kControlShift = 0xDC00;
}  // namespace

QString ShownName(QString name) {
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || platform::IsEscapedByte(c.unicode())) c = u'?';
    }
    return name;
}

QString RowKey(QString path) {
    for (QChar& c : path) {
        if (c.unicode() < 0x20) c = QChar(char16_t(kControlShift + c.unicode()));
    }
    return path;
}

QString PathOfRowKey(QString key) {
    for (QChar& c : key) {
        const char16_t u = c.unicode();
        if (u >= kControlShift && u < kControlShift + 0x20) c = QChar(char16_t(u - kControlShift));
    }
    return key;
}

QString MakeRecord(const RowFields& f) {
    QString record;
    record.reserve(f.name.size() + f.pairedPath.size() + f.lastBackup.size() + f.flags.size() +
                   f.key.size() + 8);
    record += kRowMarker;
    record += f.name;
    record += QChar(2);
    record += f.pairedPath;
    record += QChar(3);
    record += f.lastBackup;
    record += QChar(4);
    record += f.flags;
    record += QChar(5);
    record += f.key;
    record += QChar(6);
    if (f.unread) record += kUnreadMark;
    return record;
}

QStringView CellOf(QStringView record, int column) {
    if (record.isEmpty() || column < 0 || column > kKeyColumn) return {};
    qsizetype from = 1;
    if (column > 0) {
        const qsizetype opening = record.indexOf(QChar(column + 1));
        if (opening < 0) return {};
        from = opening + 1;
    }
    const qsizetype closing = record.indexOf(QChar(column + 2), from);
    return record.mid(from, (closing < 0 ? record.size() : closing) - from);
}

EntryCells CellsOf(const store::BackupEntry& entry) {
    if (!entry.wellFormed) return {};
    return {entry.destination, entry.lastBackup.Text(), entry.storedFlags};
}

}  // namespace catalog
