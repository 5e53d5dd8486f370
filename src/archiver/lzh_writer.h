// Writes an LZH archive member by member with level-2 headers: members copied from another
// archive keep their packed data byte for byte; files are compressed with -lh5-, or stored
// with -lh0- when they are empty or do not shrink. The choice is not made from the start of a
// file alone: compression gives up once what it coded so far does not shrink, storing then
// watches the rest, and goes back to compressing when enough of the file turns out to shrink
// after all (a disk image that is mostly zeros after an incompressible start).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archiver/file_io.h"
#include "archiver/folder_walker.h"
#include "archiver/lh5_encoder.h"
#include "archiver/lzh_header.h"
#include "archiver/lzh_member.h"
#include "archiver/random_access_input.h"

namespace archiver {

class LzhWriter {
  public:
    LzhWriter(OutputFile& out, NameCodePage codePage) : out_(out), codePage_(codePage) {}
    LzhWriter(const LzhWriter&) = delete;
    LzhWriter& operator=(const LzhWriter&) = delete;

    bool CopyMember(const RandomAccessInput& from, const LzhMember& member, std::string& error);
    // The member is named `file.path` and dated with `file.modifiedTime`, both as found by
    // the walk, so that a file changed while it is read is seen as newer next time.
    bool AddFile(const SourceFile& file, std::string& error);
    // Writes the end-of-archive byte.
    bool Finish(std::string& error);
    // Copies bytes of another archive as they are (what followed its end-of-archive byte).
    bool CopyBytes(const RandomAccessInput& from, std::uint64_t offset, std::uint64_t size,
                   std::string& error);

  private:
    bool WriteHeader(const LzhMember& member, bool wideSizes, std::string& error);
    enum class Outcome { kDone, kStoreInstead, kCompressInstead, kFailed };
    // mayGiveUp: stop with kStoreInstead as soon as the data coded so far does not shrink.
    // Without it the whole file is coded, and kStoreInstead means it did not shrink.
    Outcome Compress(const SourceFile& file, LzhMember& member, bool mayGiveUp, std::string& error);
    // watch: stop with kCompressInstead once the bytes stored so far could shrink by a
    // worthwhile share of the whole file.
    Outcome Store(const SourceFile& file, LzhMember& member, bool watch, std::string& error);
    Outcome StoreOrCompress(const SourceFile& file, LzhMember& member, std::uint64_t dataAt,
                            std::string& error);
    // Reads the file through `sink`, filling the member's original size and CRC.
    bool Pass(const SourceFile& file, LzhMember& member, std::string& error,
              const std::function<bool(const std::uint8_t*, std::size_t)>& sink);
    bool WriteError(std::string& error) const;

    OutputFile& out_;
    const NameCodePage codePage_;
    // Made once and reused for every member: a tree of small files would
    // otherwise spend its time setting up fresh tables and buffers.
    std::unique_ptr<Lh5Encoder> encoder_;
    std::vector<std::uint8_t> buffer_;
    bool held_ = false;  // the last pass read its whole file into buffer_ in one piece
};

}  // namespace archiver
