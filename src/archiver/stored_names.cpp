#include "archiver/stored_names.h"

#include <algorithm>
#include <optional>

#include "archiver/name_codec.h"

namespace archiver {

ListedFiles::ListedFiles(const SourceFileList& files, const ListedName& listedName)
    : files_(files), odd_(files.size(), false) {
    for (std::uint32_t i = 0; i < files.size(); ++i) {
        // "/" is ASCII: the joined path is UTF-8 exactly when every component is.
        if (IsValidUtf8(files.RelativePath(i))) continue;
        odd_[i] = true;
        oddNames_.emplace_back(i, listedName(files.Components(i)));
    }
    order_ = SortMembers(
        files.size(), [](std::uint32_t) { return true; },
        [this](std::uint32_t file) { return NameOf(file); });
}

std::string_view ListedFiles::NameOf(std::uint32_t file) const {
    if (!odd_[file]) return files_.RelativePath(file);
    const auto found = std::lower_bound(
        oddNames_.begin(), oddNames_.end(), file,
        [](const auto& entry, std::uint32_t index) { return entry.first < index; });
    return found->second;
}

bool ListedFiles::Distinct(char separator, std::string& error) const {
    // Files of one name lie side by side, in the order they were found.
    std::optional<std::string> first;
    std::vector<std::uint32_t> holders;
    for (std::size_t k = 0; k + 1 < order_.size();) {
        std::size_t end = k + 1;
        while (end < order_.size() && NameOf(order_[end]) == NameOf(order_[k])) ++end;
        if (end - k > 1) {
            std::string shown(NameOf(order_[k]));
            std::replace(shown.begin(), shown.end(), '/', separator);
            if (!first || shown < *first) {
                first = shown;
                holders.assign(order_.begin() + static_cast<std::ptrdiff_t>(k),
                               order_.begin() + static_cast<std::ptrdiff_t>(end));
            }
        }
        k = end;
    }
    if (!first) return true;
    error = "these files would be stored under the one name " + *first + ":";
    for (const std::uint32_t i : holders) error += " " + files_.HostPath(i);
    return false;
}

std::vector<std::uint32_t> SortMembers(std::size_t count,
                                       const std::function<bool(std::uint32_t)>& matchable,
                                       const std::function<std::string_view(std::uint32_t)>& name) {
    std::vector<std::uint32_t> order;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (matchable(i)) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const std::string_view left = name(a);
        const std::string_view right = name(b);
        return left != right ? left < right : a < b;
    });
    return order;
}

void MatchFiles(const ListedFiles& files, const std::vector<std::uint32_t>& members,
                const std::function<std::string_view(std::uint32_t)>& memberName,
                const std::function<void(std::uint32_t file, std::uint32_t member)>& found) {
    std::size_t m = 0;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::uint32_t file = files.FileAt(k);
        const std::string_view name = files.NameOf(file);
        while (m < members.size() && memberName(members[m]) < name) ++m;
        found(file, m < members.size() && memberName(members[m]) == name ? members[m] : kNoMember);
    }
}

}  // namespace archiver
