#include "catalog/row_record.h"

#include "platform/host_name.h"

namespace kibako::catalog {

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
    record.reserve(f.name.size() + f.f1.size() + f.f2.size() + f.f3.size() + f.key.size() + 8);
    record += kRowMarker;
    record += f.name;
    record += QChar(2);
    record += f.f1;
    record += QChar(3);
    record += f.f2;
    record += QChar(4);
    record += f.f3;
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

std::optional<RawEntry> NextRawEntry(const QString& body, qsizetype from) {
    const qsizetype marker = body.indexOf(kRowMarker, from);
    if (marker < 0) return std::nullopt;
    // The terminator is looked for only up to the entry's end: a walk over
    // the whole body stays linear.
    if (QStringView(body).mid(from, marker - from).contains(QChar(0))) return std::nullopt;
    qsizetype next = body.indexOf(kRowMarker, marker + 1);
    if (next < 0) next = body.size();
    const qsizetype terminator = QStringView(body).mid(marker, next - marker).indexOf(QChar(0));
    if (terminator >= 0) next = marker + terminator;
    RawEntry e;
    e.position = marker;
    e.next = next;
    const QStringView text = QStringView(body).mid(marker + 1, next - marker - 1);
    const qsizetype afterSource = text.indexOf(QChar(2));
    const qsizetype afterDestination =
        afterSource < 0 ? -1 : text.indexOf(QChar(3), afterSource + 1);
    e.wellFormed = afterSource >= 0 && afterDestination >= 0;
    if (!e.wellFormed) {
        e.source = afterSource < 0 ? text : text.left(afterSource);
        return e;
    }
    e.source = text.left(afterSource);
    e.destination = text.mid(afterSource + 1, afterDestination - afterSource - 1);
    const QStringView rest = text.mid(afterDestination + 1);
    const qsizetype afterLast = rest.indexOf(QChar(4));
    e.lastBackup = afterLast < 0 ? rest : rest.left(afterLast);
    if (afterLast >= 0) {
        const QStringView flagsAndRest = rest.mid(afterLast + 1);
        const qsizetype afterFlags = flagsAndRest.indexOf(QChar(5));
        e.flags = afterFlags < 0 ? flagsAndRest : flagsAndRest.left(afterFlags);
    }
    return e;
}

std::optional<RawEntry> FindRawEntry(const QString& body, const QString& upperBody,
                                     const QString& upperKey) {
    const QString needle = kRowMarker + upperKey + QChar(2);
    const qsizetype at = upperBody.indexOf(needle);
    if (at < 0) return std::nullopt;
    return NextRawEntry(body, at);
}

}  // namespace kibako::catalog
