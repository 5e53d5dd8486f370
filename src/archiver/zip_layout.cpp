#include "archiver/zip_layout.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "archiver/little_endian.h"

namespace archiver {
namespace {

constexpr std::size_t kEndSize = 22;
constexpr std::size_t kLocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint32_t kWide32 = 0xFFFFFFFF;
constexpr std::uint16_t kWide16 = 0xFFFF;

using le::Get16;
using le::Get32;
using le::Get64;
using le::Put16;
using le::Put32;
using le::Put64;

bool HasSignature(const std::uint8_t* p, std::uint8_t third, std::uint8_t fourth) {
    return p[0] == 'P' && p[1] == 'K' && p[2] == third && p[3] == fourth;
}

// The zip64 extra field of a central record: where its data begins in `raw`, and how long.
struct Zip64Extra {
    std::size_t at = 0;
    std::size_t length = 0;
};

std::optional<Zip64Extra> FindZip64Extra(std::span<const std::uint8_t> raw) {
    const std::size_t nameLength = Get16(&raw[28]);
    const std::size_t extraLength = Get16(&raw[30]);
    std::size_t at = kCentralSize + nameLength;
    const std::size_t end = at + extraLength;
    while (at + 4 <= end) {
        const std::uint16_t id = Get16(&raw[at]);
        const std::size_t length = Get16(&raw[at + 2]);
        if (at + 4 + length > end) break;
        if (id == kZip64ExtraId) return Zip64Extra{at + 4, length};
        at += 4 + length;
    }
    return std::nullopt;
}

// The values of a central record, wide ones taken from its zip64 extra: there a field is
// present only when its narrow field is all ones, in the order original size, compressed
// size, local-header offset, disk.
struct RecordValues {
    std::uint64_t compressedSize = 0;
    std::uint64_t offset = 0;
    std::uint32_t disk = 0;
};

bool ReadRecordValues(std::span<const std::uint8_t> raw, RecordValues& values) {
    const bool wideOriginal = Get32(&raw[24]) == kWide32;
    const bool wideCompressed = Get32(&raw[20]) == kWide32;
    const bool wideOffset = Get32(&raw[42]) == kWide32;
    const bool wideDisk = Get16(&raw[34]) == kWide16;
    values.compressedSize = Get32(&raw[20]);
    values.offset = Get32(&raw[42]);
    values.disk = Get16(&raw[34]);
    if (!wideOriginal && !wideCompressed && !wideOffset && !wideDisk) return true;
    const std::optional<Zip64Extra> extra = FindZip64Extra(raw);
    if (!extra) return false;
    std::size_t at = extra->at;
    const std::size_t end = extra->at + extra->length;
    const auto take = [&](std::size_t size, auto& value) {
        if (at + size > end) return false;
        value = size == 8 ? Get64(&raw[at]) : Get32(&raw[at]);
        at += size;
        return true;
    };
    std::uint64_t original = 0;
    return (!wideOriginal || take(8, original)) &&
           (!wideCompressed || take(8, values.compressedSize)) &&
           (!wideOffset || take(8, values.offset)) && (!wideDisk || take(4, values.disk));
}

bool Fail(std::string& error, const std::string& why) {
    error = why;
    return false;
}

// The end record: the last "PK\5\6" whose comment reaches exactly to the end of the file, or
// else the last one whose comment ends before it (bytes appended after the archive).
bool FindEndRecord(const RandomAccessInput& input, std::uint64_t& at,
                   std::vector<std::uint8_t>& record) {
    const std::uint64_t size = input.size();
    if (size < kEndSize) return false;
    const std::uint64_t window = std::min<std::uint64_t>(size, kEndSize + 0xFFFF);
    std::vector<std::uint8_t> tail(window);
    if (!input.ReadAt(size - window, tail.data(), tail.size())) return false;
    for (const bool exact : {true, false}) {
        for (std::size_t i = window - kEndSize + 1; i-- > 0;) {
            if (!HasSignature(&tail[i], 5, 6)) continue;
            const std::size_t end = i + kEndSize + Get16(&tail[i + 20]);
            if (exact ? end == window : end <= window) {
                at = size - window + i;
                record.assign(tail.begin() + static_cast<std::ptrdiff_t>(i),
                              tail.begin() + static_cast<std::ptrdiff_t>(end));
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool ReadZipLayout(const RandomAccessInput& input, ZipLayout& layout, std::string& error) {
    layout = ZipLayout();
    std::uint64_t endAt = 0;
    std::vector<std::uint8_t> end;
    if (!FindEndRecord(input, endAt, end)) {
        return Fail(error,
                    "ZIP アーカイブの終わりの記録が見つかりません（ZIP "
                    "アーカイブではないか、末尾が壊れています）");
    }
    layout.comment.assign(end.begin() + kEndSize, end.end());
    layout.trailingStart = endAt + end.size();
    std::uint64_t count = Get16(&end[10]);
    std::uint64_t directorySize = Get32(&end[12]);
    std::uint64_t directoryOffset = Get32(&end[16]);
    bool oneDisk = Get16(&end[4]) == 0 && Get16(&end[6]) == 0 && Get16(&end[8]) == count;
    std::uint64_t directoryEnd = endAt;

    std::uint8_t locator[kLocatorSize];
    if (endAt >= kLocatorSize && input.ReadAt(endAt - kLocatorSize, locator, kLocatorSize) &&
        HasSignature(locator, 6, 7)) {
        // The zip64 end record lies just before its locator; the offset the locator
        // records may count from the archive's own start, after a program put before it.
        std::uint8_t zip64[kZip64EndSize];
        const std::uint64_t recorded = Get64(&locator[8]);
        std::uint64_t zip64At = recorded;
        if (!input.ReadAt(zip64At, zip64, sizeof zip64) || !HasSignature(zip64, 6, 6)) {
            zip64At = endAt - kLocatorSize - kZip64EndSize;
            if (endAt < kLocatorSize + kZip64EndSize ||
                !input.ReadAt(zip64At, zip64, sizeof zip64) || !HasSignature(zip64, 6, 6)) {
                return Fail(error, "zip64 の終わりの記録が見つかりません");
            }
        }
        if (zip64At + 12 + Get64(&zip64[4]) != endAt - kLocatorSize) {
            return Fail(error, "zip64 の終わりの記録の大きさが合いません");
        }
        layout.zip64End = true;
        layout.zip64MadeBy = Get16(&zip64[12]);
        count = Get64(&zip64[32]);
        directorySize = Get64(&zip64[40]);
        directoryOffset = Get64(&zip64[48]);
        oneDisk = oneDisk && Get32(&locator[4]) == 0 && Get32(&locator[16]) <= 1 &&
                  Get32(&zip64[16]) == 0 && Get32(&zip64[20]) == 0 && Get64(&zip64[24]) == count;
        directoryEnd = zip64At;
    }
    if (!oneDisk) return Fail(error, "複数のディスクに分けられた ZIP アーカイブは更新できません");
    if (directorySize > directoryEnd || directoryEnd - directorySize < directoryOffset) {
        return Fail(error, "中央ディレクトリの位置が合いません");
    }
    const std::uint64_t directoryStart = directoryEnd - directorySize;
    // Offsets recorded from the archive's own start when a program was put before it
    // without adjusting them.
    const std::uint64_t shift = directoryStart - directoryOffset;
    layout.archiveStart = shift;
    layout.directoryStart = directoryStart;
    if (count > directorySize / kCentralSize) return Fail(error, "中央ディレクトリが短すぎます");

    std::vector<std::uint8_t>& directory = layout.directory;
    directory.resize(directorySize);
    if (!input.ReadAt(directoryStart, directory.data(), directory.size())) {
        return Fail(error, "中央ディレクトリを読めません");
    }
    layout.records.reserve(count);
    std::vector<std::uint64_t> compressedSizes;
    compressedSizes.reserve(count);
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (at + kCentralSize > directory.size() || !HasSignature(&directory[at], 1, 2)) {
            return Fail(error,
                        "中央ディレクトリの記録 " + std::to_string(i + 1) + " が壊れています");
        }
        const std::size_t length = kCentralSize + Get16(&directory[at + 28]) +
                                   Get16(&directory[at + 30]) + Get16(&directory[at + 32]);
        if (at + length > directory.size()) {
            return Fail(error,
                        "中央ディレクトリの記録 " + std::to_string(i + 1) + " が壊れています");
        }
        RecordValues values;
        if (!ReadRecordValues(std::span(&directory[at], length), values) || values.disk != 0 ||
            values.offset > directoryOffset) {
            return Fail(error,
                        "中央ディレクトリの記録 " + std::to_string(i + 1) + " の位置が読めません");
        }
        ZipCentralRecord record;
        record.at = at;
        record.spanStart = values.offset + shift;
        compressedSizes.push_back(values.compressedSize);
        layout.records.push_back(record);
        at += length;
    }
    if (at != directory.size()) return Fail(error, "中央ディレクトリの大きさが合いません");

    // Spans in file order: each member reaches to the next one, the last to the directory.
    std::vector<std::size_t> order(layout.records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return layout.records[a].spanStart < layout.records[b].spanStart;
    });
    layout.membersStart = order.empty() ? directoryStart : layout.records[order[0]].spanStart;
    for (std::size_t k = 0; k < order.size(); ++k) {
        ZipCentralRecord& record = layout.records[order[k]];
        record.spanEnd =
            k + 1 < order.size() ? layout.records[order[k + 1]].spanStart : directoryStart;
        std::uint8_t local[kLocalSize];
        const std::string name = "「" + layout.RawName(order[k]) + "」";
        if (record.spanEnd - record.spanStart < kLocalSize ||
            !input.ReadAt(record.spanStart, local, sizeof local) || !HasSignature(local, 3, 4)) {
            return Fail(
                error,
                name + " のローカルヘッダーが見つからないか、ほかのメンバーと重なっています");
        }
        const std::uint64_t dataEnd = record.spanStart + kLocalSize + Get16(&local[26]) +
                                      Get16(&local[28]) + compressedSizes[order[k]];
        if (dataEnd > record.spanEnd) {
            return Fail(error,
                        name + " のデータがほかのメンバーか中央ディレクトリと重なっています");
        }
    }
    return true;
}

std::span<const std::uint8_t> ZipLayout::Raw(std::size_t i) const {
    const std::uint64_t end = i + 1 < records.size() ? records[i + 1].at : directory.size();
    return std::span(directory).subspan(records[i].at, end - records[i].at);
}

std::string ZipLayout::RawName(std::size_t i) const {
    const std::span<const std::uint8_t> raw = Raw(i);
    return std::string(reinterpret_cast<const char*>(&raw[kCentralSize]), Get16(&raw[28]));
}

bool RelocateCentralRecord(std::vector<std::uint8_t>& raw, std::uint64_t offset,
                           std::string& error) {
    const bool wideOriginal = Get32(&raw[24]) == kWide32;
    const bool wideCompressed = Get32(&raw[20]) == kWide32;
    const std::size_t slot = (wideOriginal ? 8 : 0) + (wideCompressed ? 8 : 0);
    const std::optional<Zip64Extra> extra = FindZip64Extra(raw);
    if (Get32(&raw[42]) == kWide32) {
        if (!extra || extra->length < slot + 8) {
            return Fail(error, "中央ディレクトリの zip64 拡張フィールドが壊れています");
        }
        Put64(&raw[extra->at + slot], offset);
        return true;
    }
    if (offset < kWide32) {
        Put32(&raw[42], static_cast<std::uint32_t>(offset));
        return true;
    }
    // The offset needs 64 bits: it goes into the zip64 extra, made when there is none.
    const std::size_t extraLength = Get16(&raw[30]) + (extra ? 8 : 12);
    if (extra && extra->length != slot + (Get16(&raw[34]) == kWide16 ? 4 : 0)) {
        return Fail(error, "中央ディレクトリの zip64 拡張フィールドに位置を書き足せません");
    }
    if (extraLength > 0xFFFF)
        return Fail(error, "中央ディレクトリの拡張フィールドに空きがありません");
    std::uint8_t field[12] = {kZip64ExtraId & 0xFF, kZip64ExtraId >> 8, 8, 0};
    Put64(&field[4], offset);
    if (extra) {
        Put16(&raw[extra->at - 2], static_cast<std::uint16_t>(extra->length + 8));
        raw.insert(raw.begin() + static_cast<std::ptrdiff_t>(extra->at + slot), field + 4,
                   field + 12);
    } else {
        const std::size_t extraEnd = kCentralSize + Get16(&raw[28]) + Get16(&raw[30]);
        raw.insert(raw.begin() + static_cast<std::ptrdiff_t>(extraEnd), field, field + 12);
    }
    Put16(&raw[30], static_cast<std::uint16_t>(extraLength));
    Put32(&raw[42], kWide32);
    if (raw[6] < 45) raw[6] = 45;  // the version that reads zip64 fields
    return true;
}

}  // namespace archiver
