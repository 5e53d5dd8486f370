// Writes a ZIP archive member by member. Members kept from an old archive are copied byte for
// byte, local header, data and data descriptor alike, and only the local-header offset of
// their central records changes; files become new deflated members dated with their
// modification time (MS-DOS time and an extended timestamp) and named in UTF-8 when their
// names are, else with their bytes as they are.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archiver/file_io.h"
#include "archiver/folder_walker.h"
#include "archiver/random_access_input.h"
#include "archiver/zip_layout.h"

namespace archiver {

class ZipWriter {
  public:
    explicit ZipWriter(OutputFile& out);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Copies bytes [begin, end) of `from` as they are (the program before the members).
    bool CopyBytes(const RandomAccessInput& from, std::uint64_t begin, std::uint64_t end,
                   std::string& error);
    // Copies the span of `layout`'s member `i` and sets `central` to its record at the new
    // offset.
    bool CopyMember(const RandomAccessInput& from, const ZipLayout& layout, std::size_t i,
                    std::vector<std::uint8_t>& central, std::string& error);
    // The same, keeping only the new offset, for a caller that makes the record again when
    // the directory is written (RelocateCentralRecord, which is known then to succeed).
    bool CopyMember(const RandomAccessInput& from, const ZipLayout& layout, std::size_t i,
                    std::uint64_t& offset, std::string& error);
    // Adds the file named `file.path` and sets `central` to its record. When the file cannot
    // be read, `error` names it and the output has no error of its own.
    bool AddFile(const SourceFile& file, std::vector<std::uint8_t>& central, std::string& error);
    // Writes the central directory from `records`, in their order, and the end records with
    // the old archive's comment (zip64 ones when needed or when the old archive had them).
    bool Finish(const std::vector<std::vector<std::uint8_t>>& records, const ZipLayout& old,
                std::string& error);
    // The same with `count` records, `record(i, bytes)` setting `bytes` to the i-th.
    bool Finish(std::size_t count,
                const std::function<void(std::size_t, std::vector<std::uint8_t>&)>& record,
                const ZipLayout& old, std::string& error);

  private:
    enum class Outcome { kDone, kNeedsZip64, kFailed };
    Outcome WriteFile(const SourceFile& file, bool zip64, std::vector<std::uint8_t>& central,
                      std::string& error);
    bool WriteError(std::string& error) const;

    struct Deflater;
    OutputFile& out_;
    std::unique_ptr<Deflater> deflater_;
    std::vector<std::uint8_t> buffer_;
    std::vector<std::uint8_t> scratch_;  // one central record at a time
};

}  // namespace archiver
