#include "catalog/rows/file_list.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <limits>
#include <optional>

#include "catalog/grid/grid_state.h"
#include "catalog/rows/file_icons.h"
#include "engine/archive_listing.h"
#include "platform/ascii_fold.h"
#include "platform/folder_files.h"
#include "platform/host_name.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

namespace catalog {
namespace {

constexpr int kFileIndent = 4;
constexpr int kArchiveDateLength = 14;  // "yy/mm/dd hh:mm" of the listing's date-time
constexpr qsizetype kSpareRowText = 4096;
// The characters that end the cells of a file row: name, date and size.
constexpr char16_t kAfterName = 2;
constexpr char16_t kAfterDate = 3;
constexpr char16_t kAfterSize = 4;
constexpr size_t kCharsPerRow = 48;        // a guess that spares most regrowth of the buffers
constexpr qsizetype kExtensionWindow = 6;  // an extension's dot lies in a name's last 6 characters

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kBucketSeconds = 900;
constexpr qint64 kUnixEpochJulianDay = 2440588;

qint64 FloorDiv(qint64 value, qint64 divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// Text written a character at a time into one growing buffer (QString's own
// append is a call per character).
using Buffer = std::vector<char16_t>;

void Append(Buffer& out, QStringView text) {
    out.insert(out.end(), text.utf16(), text.utf16() + text.size());
}

// Appends `value` (not negative) with digits of `width`, or as many as it has.
void AppendDigits(Buffer& out, qint64 value, int width = 1) {
    char16_t digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0 || n < width);
    while (n > 0) out.push_back(digits[--n]);
}

// FormatLargeNumber of a size, written in place.
void AppendGrouped(Buffer& out, qint64 value) {
    char16_t digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) {
        out.push_back(digits[--n]);
        if (n > 0 && n % 3 == 0) out.push_back(u',');
    }
}

// Local times of many files. Asking the system's time zone costs microseconds
// per file, so its offset from universal time is asked at both ends of each
// quarter hour of universal time that a file falls in: equal answers hold for
// the whole quarter hour (time zones change their offset at most once in
// one); a quarter hour that holds a change is asked per file. Files of one
// folder mostly share their day and quarter hour, so the last of each is kept
// at hand.
class LocalTimes {
  public:
    // Appends "yyyy/MM/dd H:mm"; nothing for a year without four digits.
    void AppendDate(Buffer& out, qint64 modifiedNs) {
        const qint64 seconds = FloorDiv(modifiedNs, 1'000'000'000);
        const qint64 local = seconds + OffsetAt(seconds);
        const qint64 days = FloorDiv(local, kSecondsPerDay);
        const qint64 ofDay = local - days * kSecondsPerDay;
        if (days != lastDay_) {
            lastDay_ = days;
            const QDate date = QDate::fromJulianDay(kUnixEpochJulianDay + days);
            date.getDate(&year_, &month_, &day_);
        }
        if (year_ < 0 || year_ > 9999) return;
        AppendDigits(out, year_, 4);
        out.push_back(u'/');
        AppendDigits(out, month_, 2);
        out.push_back(u'/');
        AppendDigits(out, day_, 2);
        out.push_back(u' ');
        AppendDigits(out, ofDay / 3600);
        out.push_back(u':');
        AppendDigits(out, ofDay % 3600 / 60, 2);
    }

  private:
    static int SystemOffset(qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds).offsetFromUtc();
    }

    int OffsetAt(qint64 seconds) {
        const qint64 bucket = FloorDiv(seconds, kBucketSeconds);
        if (bucket != lastBucket_) {
            auto known = offsets_.constFind(bucket);
            if (known == offsets_.constEnd()) {
                const int first = SystemOffset(bucket * kBucketSeconds);
                const int last = SystemOffset(bucket * kBucketSeconds + kBucketSeconds - 1);
                known = offsets_.insert(
                    bucket, first == last ? std::optional<int>(first) : std::optional<int>());
            }
            lastBucket_ = bucket;
            lastOffset_ = *known;
        }
        return lastOffset_.has_value() ? *lastOffset_ : SystemOffset(seconds);
    }

    QHash<qint64, std::optional<int>> offsets_;
    qint64 lastBucket_ = std::numeric_limits<qint64>::min();
    std::optional<int> lastOffset_;
    qint64 lastDay_ = std::numeric_limits<qint64>::min();
    int year_ = 0;
    int month_ = 0;
    int day_ = 0;
};

// Rows gathered in the order they are read, each record written once into one
// buffer beside its sort key (extension, ".", base name; case-folded), then
// put in display order by a single sort.
class RowBuilder {
  public:
    void Reserve(size_t rows) {
        text_.reserve(rows * kCharsPerRow);
        keys_.reserve(rows * kCharsPerRow / 2);
        items_.reserve(rows);
    }

    // Adds a row; `appendDate` writes the date cell to the Buffer it is given.
    template <typename AppendDate>
    void Add(QStringView name, qint64 size, AppendDate&& appendDate) {
        Item item;
        item.keyStart = static_cast<int>(keys_.size());
        item.icon = AppendKey(name);
        item.keyLength = static_cast<int>(keys_.size()) - item.keyStart;
        item.start = static_cast<int>(text_.size());
        text_.push_back(grid::kRowStart);
        // Names are drawn and stored between separator characters: a control
        // character in a name (possible on Linux and in a hostile archive)
        // would end a cell or a row. The bytes of a name that is not UTF-8
        // (host_name.h) show as "?" each, never as the text of another name.
        for (const QChar c : name) {
            const char16_t u = c.unicode();
            text_.push_back(u < 0x20 || platform::IsEscapedByte(u) ? u'?' : u);
        }
        item.nameLength = static_cast<int>(name.size());
        text_.push_back(kAfterName);
        appendDate(text_);
        text_.push_back(kAfterDate);
        AppendGrouped(text_, size);
        text_.push_back(kAfterSize);
        item.end = static_cast<int>(text_.size());
        items_.push_back(item);
        total_ = size > std::numeric_limits<qint64>::max() - total_
                     ? std::numeric_limits<qint64>::max()
                     : total_ + size;
    }

    FileListing Finish() {
        const QStringView keys(keys_.data(), static_cast<qsizetype>(keys_.size()));
        const QStringView text(text_.data(), static_cast<qsizetype>(text_.size()));
        std::sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) {
            const int byKey =
                keys.mid(a.keyStart, a.keyLength).compare(keys.mid(b.keyStart, b.keyLength));
            if (byKey != 0) return byKey < 0;
            return text.mid(a.start + 1, a.nameLength) < text.mid(b.start + 1, b.nameLength);
        });
        FileListing listing;
        listing.totalBytes = total_;
        listing.records.reserve(text.size() + kSpareRowText);
        listing.icons.reserve(static_cast<qsizetype>(items_.size()));
        listing.starts.reserve(items_.size() + 1);
        for (const Item& item : items_) {
            listing.starts.push_back(static_cast<int>(listing.records.size()));
            listing.records += text.mid(item.start, item.end - item.start);
            listing.icons += QChar(item.icon);
        }
        listing.starts.push_back(static_cast<int>(listing.records.size()));
        return listing;
    }

  private:
    struct Item {
        int start;       // of the record in text_
        int end;         // of the record
        int nameLength;  // the name follows the record's first character
        int keyStart;
        int keyLength;
        char16_t icon;
    };

    // Appends the sort key of `name` and gives its icon code. A plain ASCII
    // name, the common case, is folded in place; any other goes the general
    // way of the path helpers and Unicode case folding.
    char16_t AppendKey(QStringView name) {
        bool ascii = true;
        for (const QChar c : name) {
            if (c.unicode() >= 0x80 || c == u':' || c == u'\\') {
                ascii = false;
                break;
            }
        }
        if (!ascii) {
            const QString whole = name.toString();
            const QString extension = util::ExtensionOf(whole);
            // Without an extension the whole name is the base name: BaseNameOf
            // would cut a name such as "notes.backup1" at its last dot.
            const QString base = extension.isEmpty() ? whole : util::BaseNameOf(whole);
            Append(keys_, (extension + u'.' + base).toCaseFolded());
            return static_cast<char16_t>(IconForExtension(extension));
        }
        const qsizetype dot = name.lastIndexOf(u'.');
        const bool hasExtension =
            dot >= std::max<qsizetype>(0, name.size() - kExtensionWindow) && dot + 1 < name.size();
        const QStringView extension = hasExtension ? name.mid(dot + 1) : QStringView();
        AppendLower(extension);
        keys_.push_back(u'.');
        AppendLower(hasExtension ? name.left(dot) : name);
        return AsciiIcon(extension);
    }

    void AppendLower(QStringView ascii) {
        for (const QChar c : ascii) keys_.push_back(platform::AsciiLowerOf(c.unicode()));
    }

    // IconForExtension of an ASCII extension of at most five characters,
    // remembered by the extension packed into a number.
    char16_t AsciiIcon(QStringView extension) {
        quint64 packed = static_cast<quint64>(extension.size());
        for (const QChar c : extension) packed = packed * 128 + QChar::toUpper(c.unicode());
        auto known = icons_.constFind(packed);
        if (known == icons_.constEnd()) {
            known = icons_.insert(
                packed, static_cast<char16_t>(IconForExtension(extension.toString().toUpper())));
        }
        return *known;
    }

    Buffer text_;
    Buffer keys_;
    std::vector<Item> items_;
    QHash<quint64, char16_t> icons_;
    qint64 total_ = 0;
};

void ReadFolder(const QString& folder, RowBuilder& rows) {
    const platform::FolderFiles found = platform::ListFolderFiles(platform::DrivePath(folder));
    rows.Reserve(found.files.size());
    LocalTimes times;
    for (const platform::FolderFile& file : found.files) {
        if (file.size <= 0) continue;
        rows.Add(file.name, file.size,
                 [&times, &file](Buffer& out) { times.AppendDate(out, file.modifiedNs); });
    }
}

void ReadArchive(const QString& archive, RowBuilder& rows) {
    const engine::ArchiveListing listing = engine::ListArchive(platform::DrivePath(archive));
    rows.Reserve(listing.members.size());
    for (const engine::ArchiveMember& member : listing.members) {
        // Empty members are listed: only a folder's empty files are left out.
        if (member.IsFolder()) continue;
        const qint64 size = static_cast<qint64>(
            std::min<std::uint64_t>(member.originalSize, std::numeric_limits<qint64>::max()));
        const QStringView name = QStringView(member.name).mid(member.name.lastIndexOf(u'\\') + 1);
        const QString date =
            engine::ListingDateTime(member.dosDate, member.dosTime).left(kArchiveDateLength);
        rows.Add(name, size, [&date](Buffer& out) { Append(out, date); });
    }
}

bool IsArchivePath(const QString& path) {
    const QString extension = util::ExtensionOf(path);
    return (extension == u"LZH" || extension == u"ZIP") &&
           util::FileExists(platform::DrivePath(path));
}

}  // namespace

FileRow FileListing::Row(int row) const {
    const auto r = static_cast<size_t>(row);
    const QStringView record =
        QStringView(records).mid(starts[r] + 1, starts[r + 1] - starts[r] - 1);
    const qsizetype dateAt = record.indexOf(QChar(kAfterName));
    const qsizetype sizeAt = record.indexOf(QChar(kAfterDate));
    return {record.left(dateAt).toString(), record.mid(dateAt + 1, sizeAt - dateAt - 1).toString(),
            record.mid(sizeAt + 1, record.size() - sizeAt - 2).toString(), icons.at(row).unicode()};
}

FileListing ReadFileList(const QString& path) {
    RowBuilder rows;
    if (IsArchivePath(path)) {
        ReadArchive(path, rows);
    } else {
        ReadFolder(path, rows);
    }
    return rows.Finish();
}

QString FileDateText(qint64 modifiedNs) {
    Buffer text;
    LocalTimes().AppendDate(text, modifiedNs);
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

QString FileCountLine(int count, qint64 totalBytes) {
    return u' ' + QString::number(count) + QStringLiteral("個のファイル  ( ") +
           util::FormatLargeNumber(totalBytes) + QStringLiteral(" bytes)");
}

void PutFileRows(grid::GridState& g, FileListing listing) {
    const int count = listing.Count();
    grid::ReserveRows(g, count + grid::kInitialRowRoom);
    for (int r = 0; r < count; ++r) {
        const auto i = static_cast<size_t>(r);
        g.rowStarts[i] = listing.starts[i];
        g.iconCodes[r] = listing.icons[r];
        g.treeFlags[r] = QChar(0);
        g.indent[i] = kFileIndent;
        g.colourSlot[i] = 0;
        g.rowMark[i] = 0;
    }
    g.rowStarts[static_cast<size_t>(count)] = static_cast<int>(listing.records.size());
    listing.records.resize(listing.records.size() + kSpareRowText, QChar(grid::kEndOfRows));
    g.rows = std::move(listing.records);
    g.rowCount = count;
    g.markCount = 0;
    g.markSum = 0;
    g.anchorRow = 0;
    g.currentRow = 0;
    g.topRow = 0;
    g.cursorDrawn = false;
}

}  // namespace catalog
