// Takes arbitrary bytes as an existing LZH or ZIP archive (the first byte chooses) and runs
// an update that adds a file. The update either refuses and leaves the bytes as they were, or
// succeeds; the new archive then holds every old member's header and data bytes unchanged
// (for ZIP also its central record but for the offset, the bytes before the first member and
// those after the end record), but for the one member a ZIP update may replace.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>

#include "archiver/archiver.h"
#include "archiver/lzh_archive.h"
#include "archiver/random_access_input.h"
#include "archiver/zip_layout.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const fs::path& WorkFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "kibako-update-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        fs::create_directories(fs::path(pattern) / "src");
        WriteAll(fs::path(pattern) / "src" / "added-by-fuzz.txt", "a file the update adds");
        return fs::path(pattern);
    }();
    return folder;
}

std::string Span(const std::string& bytes, std::uint64_t begin, std::uint64_t end) {
    return bytes.substr(begin, end - begin);
}

void CheckKeptZipMembers(const std::string& bytes, const std::string& after,
                         const std::string& output) {
    namespace a = archiver;
    const auto* oldData = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* newData = reinterpret_cast<const std::uint8_t*>(after.data());
    const a::MemoryInput oldInput(oldData, bytes.size());
    const a::MemoryInput newInput(newData, after.size());
    a::ZipLayout old;
    a::ZipLayout now;
    std::string error;
    if (bytes.empty()) return;
    if (!a::ReadZipLayout(oldInput, old, error) || !a::ReadZipLayout(newInput, now, error)) {
        std::abort();  // an update of what cannot be read, or an unreadable result
    }
    const int replaced = output.find("1 replaced") != std::string::npos ? 1 : 0;
    const std::size_t added = output.find("1 added") != std::string::npos ? 1 : 0;
    if (now.records.size() != old.records.size() + added) std::abort();
    if (Span(after, 0, now.membersStart) != Span(bytes, 0, old.membersStart)) std::abort();
    if (Span(after, now.trailingStart, after.size()) !=
        Span(bytes, old.trailingStart, bytes.size())) {
        std::abort();
    }
    if (now.comment != old.comment) std::abort();
    int changed = 0;
    for (std::size_t i = 0; i < old.records.size(); ++i) {
        const a::ZipCentralRecord& before = old.records[i];
        const std::span<const std::uint8_t> raw = now.Raw(i);
        std::vector<std::uint8_t> central(raw.begin(), raw.end());
        if (!a::RelocateCentralRecord(central, before.spanStart - old.archiveStart, error)) {
            std::abort();
        }
        if (!std::ranges::equal(central, old.Raw(i)) ||
            Span(after, now.records[i].spanStart, now.records[i].spanEnd) !=
                Span(bytes, before.spanStart, before.spanEnd)) {
            ++changed;
        }
    }
    if (changed > replaced) std::abort();  // a kept member changed
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool lzh = (data[0] & 1) == 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const fs::path archive = WorkFolder() / (lzh ? "target.lzh" : "target.zip");
    WriteAll(archive, bytes);
    const std::string source = (WorkFolder() / "src").string() + "\\";
    std::string output;
    const int code =
        lzh ? archiver::Unlha("u \"" + archive.string() + "\" \"" + source + "\"", output)
            : archiver::Zip("-u \"" + archive.string() + "\" \"" + source + "\" *.*", output);
    const std::string after = ReadAll(archive);
    fs::remove(archive);
    if (code != 0) {
        if (after != bytes) std::abort();  // a refusal changed the archive
        return 0;
    }
    if (!lzh) {
        CheckKeptZipMembers(bytes, after, output);
        return 0;
    }
    const archiver::MemoryInput old(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    bytes.size());
    const archiver::LzhArchiveContents contents = archiver::ReadLzhArchive(old);
    for (const archiver::LzhMember& member : contents.members) {
        if (member.DisplayName() == "added-by-fuzz.txt") continue;
        const std::string kept = bytes.substr(
            member.headerOffset, member.dataOffset - member.headerOffset + member.packedSize);
        if (after.find(kept) == std::string::npos) std::abort();  // a kept member changed
    }
    return 0;
}
