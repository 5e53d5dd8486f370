#include "platform/host_path.h"

#include "platform/ascii_fold.h"
#include "platform/drive_table.h"
#include "platform/file_name_match.h"
#include "platform/host_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

bool ExistsNoFollow(const QString& hostPath) {
    struct stat st;
    return lstat(HostBytes(hostPath).constData(), &st) == 0;
}

// The components after the drive, split at "\\" and "/", without empty ones.
QStringList Components(const QString& drivePath) {
    QStringList components;
    const qsizetype end = drivePath.size();
    qsizetype start = 2;
    for (qsizetype i = start; i <= end; ++i) {
        if (i < end && drivePath[i] != u'\\' && drivePath[i] != u'/') continue;
        if (i > start) components.append(drivePath.mid(start, i - start));
        start = i + 1;
    }
    return components;
}

HostLook::Kind Found(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return HostLook::Kind::Folder;
    if (S_ISLNK(st.st_mode)) return HostLook::Kind::Link;
    return HostLook::Kind::Other;
}

QString Child(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// A folder's names by their ASCII upper case, each the first in byte order
// among those that fold alike. It stands for the folder as long as the folder
// is the same one (device and inode) with the same modification time: adding,
// removing or renaming a name in it changes that time. (A change by another
// program within the same tick of the file system's clock as the listing goes
// unseen until the folder changes again; at worst a folder is then made in
// another case beside its twin, which loses nothing.)
struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    QHash<QString, QString> byFolded;

    bool Describes(const struct stat& st) const {
        return device == st.st_dev && inode == st.st_ino && modified.tv_sec == st.st_mtim.tv_sec &&
               modified.tv_nsec == st.st_mtim.tv_nsec;
    }
    void Stamp(const struct stat& st) {
        device = st.st_dev;
        inode = st.st_ino;
        modified = st.st_mtim;
    }
    void Add(const QString& name) {
        const QString key = AsciiFold(name);
        const auto it = byFolded.find(key);
        if (it == byFolded.end()) {
            byFolded.insert(key, name);
        } else if (HostBytes(name) < HostBytes(*it)) {
            *it = name;
        }
    }
};

// Listings made to match names in other case. Creating many folders in one
// parent would otherwise list that parent once per new folder; with the
// listings kept, each folder is read once and our own creations update it.
class Listings {
  public:
    // `known`, when given, is what a look at `folder` just found.
    std::optional<QString> Match(const QString& folder, const QString& component,
                                 const struct stat* known = nullptr) {
        const QByteArray encoded = HostBytes(folder);
        struct stat st;
        if (known && S_ISDIR(known->st_mode)) {
            st = *known;
        } else if (stat(encoded.constData(), &st) != 0) {
            return std::nullopt;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        lastChecked_ = folder;
        lastCheckedStat_ = st;
        auto it = listings_.find(folder);
        if (it == listings_.end() || !it->Describes(st)) {
            Listing listing;
            if (!Read(encoded, listing)) return std::nullopt;
            listing.Stamp(st);
            if (listings_.size() >= kKept) listings_.clear();
            it = listings_.insert(folder, std::move(listing));
        }
        const auto match = it->byFolded.constFind(AsciiFold(component));
        if (match == it->byFolded.cend()) return std::nullopt;
        return *match;
    }

    // `folder` was just made by us in `parent`. When the last lookup checked
    // that parent's kept listing and nothing else changed it since, the
    // listing learns the new name; otherwise it is dropped.
    void Created(const QString& parent, const QString& folder) {
        struct stat parentStat;
        const bool looked = stat(HostBytes(parent).constData(), &parentStat) == 0;
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = listings_.find(parent);
        if (it == listings_.end()) return;
        if (looked && lastChecked_ == parent && it->Describes(lastCheckedStat_)) {
            it->Add(folder.mid(parent.size() + 1));
            it->Stamp(parentStat);
            lastCheckedStat_ = parentStat;
        } else {
            listings_.erase(it);
        }
    }

  private:
    // A depth-first walk needs only the folders on its current path.
    static constexpr qsizetype kKept = 256;

    static bool Read(const QByteArray& folder, Listing& listing) {
        DIR* dir = opendir(folder.constData());
        if (!dir) return false;
        while (const dirent* item = readdir(dir)) {
            const char* name = item->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
            listing.Add(HostText(name));
        }
        closedir(dir);
        return true;
    }

    std::mutex mutex_;
    QHash<QString, Listing> listings_;
    QString lastChecked_;
    struct stat lastCheckedStat_ {};
};

Listings& KnownListings() {
    static Listings listings;
    return listings;
}

// The name in `folder` that equals `component` ignoring ASCII case, the
// first in byte order when there are several.
std::optional<QString> InexactMatch(const QString& folder, const QString& component) {
    return KnownListings().Match(folder, component);
}

// The entry `name` of `folder` when `asWritten` (the two joined) is not
// there: the name in other ASCII case, else `asWritten` with nothing found.
// `folderStat`, when given, is what a look at `folder` just found.
HostLook InexactEntry(const QString& folder, const QString& name, const QString& asWritten,
                      const struct stat* folderStat = nullptr) {
    HostLook look;
    const auto match = KnownListings().Match(folder, name, folderStat);
    look.path = HostPath(match ? Child(folder, *match) : asWritten);
    look.found = match ? LookAtHostPath(*look.path) : HostLook::Kind::Nothing;
    return look;
}

// The path as written, with the drive's root and the components it is made of.
std::optional<QString> AsWritten(const QString& drivePath, QString& root, QStringList& components) {
    if (drivePath.size() < 2 || drivePath[1] != u':' ||
        drivePath.startsWith(QLatin1String("\\\\"))) {
        return std::nullopt;
    }
    const auto drive = CurrentDrives().Find(drivePath[0]);
    if (!drive) return std::nullopt;
    root = drive->root.text();
    components = Components(drivePath);
    QString asWritten = root;
    for (const QString& component : components) {
        if (component == QLatin1String(".") || component == QLatin1String(".."))
            return std::nullopt;
        asWritten = Child(asWritten, component);
    }
    return asWritten;
}

}  // namespace

HostLook::Kind LookAtHostPath(const HostPath& hostPath) {
    struct stat st;
    if (lstat(HostBytes(hostPath.text()).constData(), &st) != 0)
        return errno == ENOENT ? HostLook::Kind::Nothing : HostLook::Kind::Unknown;
    return Found(st);
}

bool HostFolderIsThere(const HostPath& hostPath) {
    struct stat st;
    return stat(HostBytes(hostPath).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<HostPath> ToHostPath(const DrivePath& drivePath) {
    return LookUpHostPath(drivePath).path;
}

std::optional<HostPath> HostPathAsWritten(const DrivePath& drivePath) {
    QString root;
    QStringList components;
    std::optional<QString> written = AsWritten(drivePath.text(), root, components);
    if (!written) return std::nullopt;
    return HostPath(std::move(*written));
}

HostLook LookUpHostPath(const DrivePath& drivePath) {
    HostLook look;
    QString root;
    QStringList components;
    const std::optional<QString> written = AsWritten(drivePath.text(), root, components);
    if (!written) return look;
    const QString& asWritten = *written;

    // Most paths exist as written: one look settles them.
    struct stat st;
    if (components.isEmpty()) {
        look.path = HostPath(asWritten);
        return look;
    }
    if (lstat(HostBytes(asWritten).constData(), &st) == 0) {
        look.path = HostPath(asWritten);
        look.found = Found(st);
        return look;
    }
    // Next most often only the last component is missing (something to create).
    const qsizetype lastSlash = asWritten.lastIndexOf(u'/');
    const QString parent = asWritten.left(lastSlash);
    struct stat parentStat;
    if (components.size() >= 2 && lstat(HostBytes(parent).constData(), &parentStat) == 0)
        return InexactEntry(parent, components.last(), asWritten, &parentStat);

    QString host = root;
    bool matching = true;  // once a component is missing, the rest cannot exist either
    for (const QString& component : components) {
        QString next = Child(host, component);
        if (matching && !ExistsNoFollow(next)) {
            if (const auto match = InexactMatch(host, component)) {
                next = Child(host, *match);
            } else {
                matching = false;
            }
        }
        host = next;
    }
    look.path = HostPath(host);
    if (matching) look.found = LookAtHostPath(*look.path);
    return look;
}

HostLook LookUpHostEntry(const HostPath& folder, const QString& name) {
    const QString asWritten = Child(folder.text(), name);
    struct stat st;
    if (lstat(HostBytes(asWritten).constData(), &st) != 0)
        return InexactEntry(folder.text(), name, asWritten);
    HostLook look;
    look.path = HostPath(asWritten);
    look.found = Found(st);
    return look;
}

int MakeHostFolder(const HostPath& hostFolder) {
    const QString& folder = hostFolder.text();
    if (mkdir(HostBytes(folder).constData(), 0777) != 0) return errno;
    const qsizetype slash = folder.lastIndexOf(u'/');
    if (slash > 0 && slash < folder.size() - 1) {
        KnownListings().Created(folder.left(slash), folder);
    }
    return 0;
}

std::optional<DrivePath> ToDrivePath(const HostPath& hostPath) {
    const QString clean = QDir::cleanPath(QFileInfo(hostPath.text()).absoluteFilePath());
    const auto letter = CurrentDrives().LetterHolding(HostPath(clean));
    if (!letter) return std::nullopt;
    const QString root = CurrentDrives().Find(*letter)->root.text();
    QString rest = clean.mid(root.size());
    if (rest.startsWith(u'/')) rest.remove(0, 1);
    rest.replace(u'/', u'\\');
    return DrivePath(QString(*letter) + QLatin1String(":\\") + rest);
}

QString ShownPath(const HostPath& hostPath) {
    const QString readable = MessageText(hostPath.text());
    if (readable != hostPath.text()) return readable;
    const auto drive = ToDrivePath(hostPath);
    return drive ? drive->text() : hostPath.text();
}

}  // namespace platform
