#include "archiver/lzh_stored_name.h"

#include "archiver/folder_walker.h"
#include "archiver/lzh_member.h"
#include "archiver/name_codec.h"
#include "archiver/random_access_input.h"

namespace archiver {
namespace {

bool AllUtf8(const std::vector<std::string>& path) {
    for (const std::string& component : path) {
        if (!IsValidUtf8(component)) return false;
    }
    return true;
}

}  // namespace

bool StorableInLzh(const std::vector<std::string>& path) {
    for (const std::string& component : path) {
        if (component.find('\xFF') != std::string::npos) return false;
    }
    return true;
}

NameCodePage MemberCodePage(const std::vector<std::string>& path, NameCodePage archiveCodePage) {
    if (AllUtf8(path)) return archiveCodePage;
    for (const std::string& component : path) {
        const bool readsAsCp932 = IsValidUtf8(component) ? Utf8ToCp932(component).has_value()
                                                         : Cp932ToUtf8(component).has_value();
        if (!readsAsCp932) return NameCodePage::kUndeclared;
    }
    return NameCodePage::kCp932;
}

std::string ListedPath(const std::vector<std::string>& path) {
    if (AllUtf8(path)) return JoinPath(path);
    // Written and read back by the header code itself, so that the key follows whatever
    // rule the reader decodes stored names by.
    LzhMember member;
    member.methodId = "-lh5-";
    member.method = LzhMethod::kLh5;
    member.path = path;
    const std::vector<std::uint8_t> header =
        BuildLevel2Header(member, MemberCodePage(path, NameCodePage::kCp932), false);
    const MemoryInput input(header.data(), header.size());
    LzhMember listed;
    std::uint64_t next = 0;
    std::string error;
    if (header.empty() || ReadLzhHeader(input, 0, listed, next, error) != HeaderStatus::kMember) {
        return JoinPath(path);
    }
    return JoinPath(listed.path);
}

}  // namespace archiver
