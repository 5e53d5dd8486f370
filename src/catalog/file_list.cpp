#include "catalog/file_list.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <limits>
#include <optional>

#include "catalog/file_icons.h"
#include "catalog/grid/grid_state.h"
#include "engine/archive_listing.h"
#include "platform/dir_search.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

namespace kibako::catalog {
namespace {

constexpr int kFileIndent = 4;
constexpr int kArchiveDateLength = 14;  // "yy/mm/dd hh:mm" of the listing's date-time
constexpr qsizetype kSpareRowText = 4096;

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kBucketSeconds = 900;
constexpr qint64 kUnixEpochJulianDay = 2440588;

qint64 FloorDiv(qint64 value, qint64 divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// Local times of many files. Asking the system's time zone costs microseconds
// per file, so its offset from universal time is asked at both ends of each
// quarter hour of universal time that a file falls in: equal answers hold for
// the whole quarter hour (time zones change their offset at most once in
// one); a quarter hour that holds a change is asked per file.
class LocalTimes {
  public:
    QString DateText(qint64 modifiedNs) {
        const qint64 seconds = FloorDiv(modifiedNs, 1'000'000'000);
        return Format(seconds + OffsetAt(seconds));
    }

  private:
    static int SystemOffset(qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds).offsetFromUtc();
    }

    int OffsetAt(qint64 seconds) {
        const qint64 bucket = FloorDiv(seconds, kBucketSeconds);
        auto known = offsets_.constFind(bucket);
        if (known == offsets_.constEnd()) {
            const int first = SystemOffset(bucket * kBucketSeconds);
            const int last = SystemOffset(bucket * kBucketSeconds + kBucketSeconds - 1);
            known = offsets_.insert(
                bucket, first == last ? std::optional<int>(first) : std::optional<int>());
        }
        return known->has_value() ? **known : SystemOffset(seconds);
    }

    // "yyyy/MM/dd H:mm" of local seconds since the epoch.
    static QString Format(qint64 local) {
        const qint64 days = FloorDiv(local, kSecondsPerDay);
        const qint64 ofDay = local - days * kSecondsPerDay;
        const QDate date = QDate::fromJulianDay(kUnixEpochJulianDay + days);
        const int hour = static_cast<int>(ofDay / 3600);
        const int minute = static_cast<int>(ofDay % 3600 / 60);
        char16_t text[16];
        int n = 0;
        const auto digits = [&text, &n](int value, int width) {
            for (int i = width - 1; i >= 0; --i, value /= 10)
                text[n + i] = static_cast<char16_t>(u'0' + value % 10);
            n += width;
        };
        const int year = date.year();
        if (year < 0 || year > 9999) return QString();  // no four-digit year to show
        digits(year, 4);
        text[n++] = u'/';
        digits(date.month(), 2);
        text[n++] = u'/';
        digits(date.day(), 2);
        text[n++] = u' ';
        digits(hour, hour < 10 ? 1 : 2);
        text[n++] = u':';
        digits(minute, 2);
        return QString(reinterpret_cast<const QChar*>(text), n);
    }

    QHash<qint64, std::optional<int>> offsets_;
};

struct SortItem {
    QString key;  // extension, ".", base name; case-folded
    FileRow row;
};

// Names are drawn and stored between separator characters: a control
// character in a name (possible on Linux and in a hostile archive) would end
// a cell or a row.
QString Printable(QString name) {
    for (QChar& c : name) {
        if (c.unicode() < 0x20) c = u'?';
    }
    return name;
}

void Add(std::vector<SortItem>& items, qint64& total, const QString& name, QString date,
         qint64 size) {
    const QString extension = util::ExtensionOf(name);
    // Without an extension the whole name is the base name: BaseNameOf would
    // cut a name such as "notes.backup1" at its last dot.
    const QString base = extension.isEmpty() ? name : util::BaseNameOf(name);
    SortItem item;
    item.key = (extension + u'.' + base).toCaseFolded();
    item.row = {Printable(name), std::move(date), util::FormatLargeNumber(size),
                IconForExtension(extension)};
    items.push_back(std::move(item));
    total = size > std::numeric_limits<qint64>::max() - total ? std::numeric_limits<qint64>::max()
                                                              : total + size;
}

void ReadFolder(const QString& folder, std::vector<SortItem>& items, qint64& total) {
    const platform::SearchResult found =
        platform::SearchDirectory(util::JoinPath(folder, QStringLiteral("*.*")));
    items.reserve(static_cast<size_t>(found.entries.size()));
    LocalTimes times;
    for (const platform::FoundEntry& entry : found.entries) {
        if (entry.isFolder || entry.size <= 0) continue;
        Add(items, total, entry.name, times.DateText(entry.modifiedNs), entry.size);
    }
}

void ReadArchive(const QString& archive, std::vector<SortItem>& items, qint64& total) {
    const engine::ArchiveListing listing = engine::ListArchive(archive);
    items.reserve(listing.members.size());
    for (const engine::ArchiveMember& member : listing.members) {
        if (member.IsFolder() || member.originalSize == 0) continue;
        const qint64 size = static_cast<qint64>(
            std::min<std::uint64_t>(member.originalSize, std::numeric_limits<qint64>::max()));
        const QString name = member.name.mid(member.name.lastIndexOf(u'\\') + 1);
        Add(items, total, name,
            engine::ListingDateTime(member.dosDate, member.dosTime).left(kArchiveDateLength), size);
    }
}

bool IsArchivePath(const QString& path) {
    const QString extension = util::ExtensionOf(path);
    return (extension == u"LZH" || extension == u"ZIP") && util::FileExists(path);
}

}  // namespace

FileListing ReadFileList(const QString& path) {
    std::vector<SortItem> items;
    FileListing listing;
    if (IsArchivePath(path)) {
        ReadArchive(path, items, listing.totalBytes);
    } else {
        ReadFolder(path, items, listing.totalBytes);
    }
    std::sort(items.begin(), items.end(), [](const SortItem& a, const SortItem& b) {
        if (a.key != b.key) return a.key < b.key;
        return a.row.name < b.row.name;
    });
    listing.rows.reserve(items.size());
    for (SortItem& item : items) listing.rows.push_back(std::move(item.row));
    return listing;
}

QString FileDateText(qint64 modifiedNs) { return LocalTimes().DateText(modifiedNs); }

QString FileCountLine(int count, qint64 totalBytes) {
    return u' ' + QString::number(count) + QStringLiteral("個のファイル  ( ") +
           util::FormatLargeNumber(totalBytes) + QStringLiteral(" bytes)");
}

void PutFileRows(grid::GridState& g, const FileListing& listing) {
    const int count = static_cast<int>(listing.rows.size());
    qsizetype chars = 0;
    for (const FileRow& row : listing.rows)
        chars += row.name.size() + row.date.size() + row.size.size() + 4;
    QString text;
    text.reserve(chars + kSpareRowText);
    grid::ReserveRows(g, count + grid::kInitialRowRoom);
    for (int r = 0; r < count; ++r) {
        const FileRow& row = listing.rows[static_cast<size_t>(r)];
        const auto i = static_cast<size_t>(r);
        g.rowStarts[i] = static_cast<int>(text.size());
        text += QChar(grid::kRowStart) + row.name + QChar(2) + row.date + QChar(3) + row.size +
                QChar(4);
        g.iconCodes[r] = QChar(static_cast<char16_t>(row.icon));
        g.treeFlags[r] = QChar(0);
        g.indent[i] = kFileIndent;
        g.colourSlot[i] = 0;
        g.rowMark[i] = 0;
    }
    g.rowStarts[static_cast<size_t>(count)] = static_cast<int>(text.size());
    text += QString(kSpareRowText, QChar(grid::kEndOfRows));
    g.rows = std::move(text);
    g.rowCount = count;
    g.markCount = 0;
    g.markSum = 0;
    g.anchorRow = 0;
    g.currentRow = 0;
    g.topRow = 0;
    g.cursorDrawn = false;
}

}  // namespace kibako::catalog
