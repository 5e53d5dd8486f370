// Reading whole LZH archives: the member list, and the data of one member.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "archiver/lzh_decoder.h"
#include "archiver/lzh_member.h"
#include "archiver/random_access_input.h"

namespace archiver {

struct LzhArchiveContents {
    std::vector<LzhMember> members;  // those before any damage
    bool damaged = false;
    std::string error;
    // Where the bytes after the end-of-archive byte begin (a transfer's padding, a note
    // appended by some tool); equal to the input's size when there are none.
    std::uint64_t trailerOffset = 0;
};

LzhArchiveContents ReadLzhArchive(const RandomAccessInput& input);

// As ReadLzhArchive, but each member goes to `each` as it is read and `members` stays empty:
// for a caller that keeps only some of what a member says. On damage the members before it
// have been given already.
LzhArchiveContents ScanLzhArchive(const RandomAccessInput& input,
                                  const std::function<void(LzhMember&)>& each);

// Decodes the member into the sink and checks its size and CRC. False with `error` for a
// method this library cannot decode (member.method empty; the error names the method), damaged data
// or a CRC mismatch; the sink may then have received wrong bytes already.
bool ExtractLzhMember(const RandomAccessInput& input, const LzhMember& member, const ByteSink& sink,
                      std::string& error);

}  // namespace archiver
