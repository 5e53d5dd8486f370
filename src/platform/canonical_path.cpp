#include "platform/canonical_path.h"

#include "platform/host_name.h"

#include <QHash>

#include <cstdlib>

namespace platform {
namespace {

int scopeDepth = 0;

QHash<QString, QString>& RememberedFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

// The host path with links resolved, or empty when nothing exists there.
QString Resolved(const QString& hostPath) {
    const QByteArray bytes = HostBytes(hostPath);
    if (bytes.isEmpty()) return {};
    char* resolved = realpath(bytes.constData(), nullptr);
    if (!resolved) return {};
    const QString text = HostText(resolved);
    std::free(resolved);
    return text;
}

QString ParentOf(const QString& hostPath) {
    const qsizetype slash = hostPath.lastIndexOf(u'/');
    if (slash < 0) return {};
    return slash == 0 ? QStringLiteral("/") : hostPath.left(slash);
}

QString ResolvedFolder(const QString& folder) {
    if (scopeDepth == 0) return Resolved(folder);
    auto& remembered = RememberedFolders();
    if (const auto it = remembered.constFind(folder); it != remembered.cend()) return *it;
    const QString resolved = Resolved(folder);
    // Only a folder that exists is remembered: one made later must be seen.
    if (!resolved.isEmpty()) remembered.insert(folder, resolved);
    return resolved;
}

using Kind = HostLook::Kind;

// `hostPath` resolved from its parent's resolved form when `found` says it
// is there and no link; empty otherwise.
QString ResolvedThroughParent(const QString& hostPath, Kind found) {
    if (found != Kind::Folder && found != Kind::Other) return {};
    const QString parent = ParentOf(hostPath);
    const QString name = hostPath.mid(parent == QLatin1String("/") ? 1 : parent.size() + 1);
    if (parent.isEmpty() || name.isEmpty()) return {};
    const QString resolvedParent = ResolvedFolder(parent);
    if (resolvedParent.isEmpty()) return {};
    return resolvedParent.endsWith(u'/') ? resolvedParent + name : resolvedParent + u'/' + name;
}

}  // namespace

HostPath CanonicalPath(const HostPath& hostPath, HostLook::Kind found) {
    QString existing = hostPath.text();
    QString rest;
    while (!existing.isEmpty()) {
        QString canonical;
        if (scopeDepth > 0) {
            if (found == Kind::Unknown) found = LookAtHostPath(HostPath(existing));
            canonical = ResolvedThroughParent(existing, found);
        }
        if (canonical.isEmpty() && found != Kind::Nothing) canonical = Resolved(existing);
        if (!canonical.isEmpty()) return HostPath(canonical + rest);
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash < 0) break;
        rest = existing.mid(slash) + rest;
        existing.truncate(slash);
        found = Kind::Unknown;
    }
    return hostPath;
}

CanonicalFolderScope::CanonicalFolderScope() { ++scopeDepth; }

CanonicalFolderScope::~CanonicalFolderScope() {
    if (--scopeDepth == 0) RememberedFolders().clear();
}

}  // namespace platform
