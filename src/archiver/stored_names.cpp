#include "archiver/stored_names.h"

#include <map>

namespace archiver {

bool StoredNamesAreDistinct(const std::vector<SourceFile>& files, const ListedName& listedName,
                            std::vector<std::string>& keys, std::string& error) {
    keys.clear();
    std::map<std::string, std::vector<std::size_t>> holders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        keys.push_back(listedName(files[i].path));
        holders[keys.back()].push_back(i);
    }
    for (const auto& [key, indices] : holders) {
        if (indices.size() < 2) continue;
        error = "these files would be stored under the one name " + key + ":";
        for (const std::size_t i : indices) error += " " + files[i].hostPath;
        return false;
    }
    return true;
}

}  // namespace archiver
