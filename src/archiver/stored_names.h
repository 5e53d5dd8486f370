// The names under which an update's files will be listed, checked for clashes before anything
// is written (two host names can read back as one member name: a Shift_JIS name beside its
// UTF-8 spelling, or names whose bytes neither code page reads), and matched with the members
// of the old archive by walking both lists in the order of their names.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "archiver/folder_walker.h"

namespace archiver {

// The listed name of a file whose path is not all UTF-8, its components "/"-joined.
using ListedName = std::function<std::string(const std::vector<std::string>& path)>;

// The walked files by listed name. A file whose path is UTF-8 is listed under the path itself;
// only the others have a name of their own kept. Names are "/"-joined, as the members' names
// they are matched with.
class ListedFiles {
  public:
    ListedFiles(const SourceFileList& files, const ListedName& listedName);

    // False with `error` naming every file of the first clash (the first name in byte order
    // when shown with `separator` between components).
    bool Distinct(char separator, std::string& error) const;

    std::size_t size() const { return order_.size(); }
    // The k-th file in byte order of the names.
    std::uint32_t FileAt(std::size_t k) const { return order_[k]; }
    std::string_view NameOf(std::uint32_t file) const;

  private:
    const SourceFileList& files_;
    std::vector<bool> odd_;  // the file has a listed name of its own
    std::vector<std::pair<std::uint32_t, std::string>> oddNames_;  // by file
    std::vector<std::uint32_t> order_;
};

constexpr std::uint32_t kNoMember = 0xFFFFFFFF;

// The members that can be matched (`matchable(i)`), sorted by `name(i)` and, among equal
// names, by index: a file matches the first member of its name.
std::vector<std::uint32_t> SortMembers(std::size_t count,
                                       const std::function<bool(std::uint32_t)>& matchable,
                                       const std::function<std::string_view(std::uint32_t)>& name);

// Calls `found(file, member)` for every file, in byte order of the names, with the member of
// its name or kNoMember. `members` is as SortMembers gives it.
void MatchFiles(const ListedFiles& files, const std::vector<std::uint32_t>& members,
                const std::function<std::string_view(std::uint32_t)>& memberName,
                const std::function<void(std::uint32_t file, std::uint32_t member)>& found);

}  // namespace archiver
