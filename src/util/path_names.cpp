#include "util/path_names.h"

namespace util {

QString ParentPath(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path[i] == u':') return path.left(i + 1);
        if (path[i] == u'\\') return path.left(i);
    }
    return {};
}

QString FileNameOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'\\');
    if (slash >= 0) return path.mid(slash + 1);
    const qsizetype colon = path.indexOf(u':');
    if (colon >= 0) return path.mid(colon + 1);
    return path;
}

QString BaseNameOf(const QString& path) {
    qsizetype start = path.lastIndexOf(u'\\') + 1;
    if (start == 0 && path.size() >= 2 && path[1] == u':') start = 2;
    if (path.indexOf(u'.', start) < 0) return path.mid(start);
    return path.mid(start, path.lastIndexOf(u'.') - start);
}

QString ExtensionOf(const QString& path) {
    const qsizetype windowStart = std::max<qsizetype>(0, path.size() - 6);
    if (path.indexOf(u'.', windowStart) < 0) return {};
    return path.mid(path.lastIndexOf(u'.') + 1).toUpper();
}

QString ChangeExtension(const QString& path, const QString& extension) {
    const qsizetype dot = path.indexOf(u'.', std::max<qsizetype>(0, path.size() - 6));
    if (dot >= 0) return path.left(dot + 1) + extension;
    return path + u'.' + extension;
}

QString JoinPath(const QString& folder, const QString& name) {
    if (name.contains(u':')) return name;
    const bool folderEnds = folder.endsWith(u'\\');
    const bool nameBegins = name.startsWith(u'\\');
    if (!folderEnds && !nameBegins) return folder + u'\\' + name;
    if (folderEnds && nameBegins) return folder + name.mid(1);
    return folder + name;
}

QString StripTrailing(const QString& text, QChar c) {
    if (text.size() > 3 && text.endsWith(c)) return text.chopped(1);
    return text;
}

QString DropRight(const QString& text, qsizetype n) {
    if (text.size() < n) return {};
    return text.left(text.size() - n);
}

}  // namespace util
