#include "catalog/registration_check.h"

#include <QSet>

#include <algorithm>
#include <vector>

#include "platform/drive_table.h"
#include "store/backup_entry.h"
#include "store/definition_list.h"
#include "util/file_ops.h"
#include "util/path_names.h"
#include "util/text_case.h"

namespace kibako::catalog {
namespace {

// The body cut into its entries: whatever stands before the first marker,
// each entry from its marker up to the next marker or the terminator, and
// the terminator with anything after it.
struct BodyParts {
    QString lead;
    std::vector<QString> entries;
    QString tail;

    explicit BodyParts(const QString& body) {
        const qsizetype terminator = body.indexOf(store::kTerminator);
        const qsizetype end = terminator < 0 ? body.size() : terminator;
        tail = terminator < 0 ? QString(store::kTerminator) : body.mid(terminator);
        qsizetype marker = body.indexOf(store::kEntryMarker);
        if (marker < 0 || marker > end) marker = end;
        lead = body.left(marker);
        while (marker < end) {
            qsizetype next = body.indexOf(store::kEntryMarker, marker + 1);
            if (next < 0 || next > end) next = end;
            entries.push_back(body.mid(marker, next - marker));
            marker = next;
        }
    }

    QString Joined() const {
        QString body = lead;
        for (const QString& entry : entries) body += entry;
        return body + tail;
    }
};

// Where a field lies in an entry's text; `from` -1 when its separators are missing.
struct Field {
    qsizetype from = -1;
    qsizetype length = 0;
};

Field SourceField(const QString& entry) {
    const qsizetype close = entry.indexOf(store::kAfterSource, 1);
    return close < 0 ? Field{} : Field{1, close - 1};
}

Field DestinationField(const QString& entry) {
    const qsizetype open = entry.indexOf(store::kAfterSource, 1);
    if (open < 0) return {};
    const qsizetype close = entry.indexOf(store::kAfterDestination, open + 1);
    return close < 0 ? Field{} : Field{open + 1, close - open - 1};
}

// The field is `upperFolder` or lies below it.
bool LiesIn(const QString& entry, Field field, const QString& upperFolder) {
    if (field.from < 0 || field.length < upperFolder.size()) return false;
    const QString text = util::AsciiUpper(entry.mid(field.from, field.length));
    return text.startsWith(upperFolder) &&
           (text.size() == upperFolder.size() || text[upperFolder.size()] == u'\\');
}

QString SourceOf(const QString& entry) {
    const Field field = SourceField(entry);
    return field.from < 0 ? entry.mid(1) : entry.mid(field.from, field.length);
}

}  // namespace

FolderProbe SystemFolderProbe() {
    return {[](QChar letter) {
                return platform::CurrentDrives().TypeOf(letter) == platform::DriveType::Fixed;
            },
            [](const QString& folder) { return util::FolderExists(folder); }};
}

MissingFolders FindMissingFolders(const QString& body, const FolderProbe& probe) {
    std::array<bool, 26> hardDisk{};
    for (int i = 0; i < 26; ++i)
        hardDisk[static_cast<size_t>(i)] = probe.isHardDisk(QChar(u'A' + i));
    MissingFolders missing;
    for (const QString& entry : BodyParts(body).entries) {
        QString source = SourceOf(entry);
        if (source.isEmpty() || source[0] < u'A' || source[0] > u'Z') continue;
        const int index = source[0].unicode() - u'A';
        if (!hardDisk[static_cast<size_t>(index)]) continue;
        if (!util::ExtensionOf(source).isEmpty()) source = util::ParentPath(source);
        if (probe.folderExists(source)) continue;
        QStringList& list = missing[static_cast<size_t>(index)];
        if (!list.contains(source)) list.append(source);
    }
    return missing;
}

std::optional<QString> MovedFolderCandidate(const QString& missing, const FolderProbe& probe) {
    if (missing.isEmpty()) return std::nullopt;
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        if (QChar(letter) == missing[0] || !probe.isHardDisk(QChar(letter))) continue;
        const QString candidate = QChar(letter) + missing.mid(1);
        if (probe.folderExists(candidate)) return candidate;
    }
    return std::nullopt;
}

bool HasSourceIn(const QString& body, const QString& folder) {
    const QString upper = util::AsciiUpper(folder);
    const BodyParts parts(body);
    return std::any_of(parts.entries.begin(), parts.entries.end(), [&upper](const QString& entry) {
        return LiesIn(entry, SourceField(entry), upper);
    });
}

void RewriteFolder(QString& body, const QString& oldFolder, const QString& newFolder) {
    const QString upper = util::AsciiUpper(oldFolder);
    BodyParts parts(body);
    // A source that is registered at the new place already keeps that
    // registration: the moved one would make the list hold it twice.
    QSet<QString> keptSources;
    for (const QString& entry : parts.entries)
        if (!LiesIn(entry, SourceField(entry), upper))
            keptSources.insert(util::AsciiUpper(SourceOf(entry)));
    std::vector<QString> rewritten;
    rewritten.reserve(parts.entries.size());
    for (QString& entry : parts.entries) {
        bool moved = false;
        if (const Field source = SourceField(entry); LiesIn(entry, source, upper)) {
            entry.replace(source.from, oldFolder.size(), newFolder);
            moved = true;
        }
        if (const Field destination = DestinationField(entry); LiesIn(entry, destination, upper))
            entry.replace(destination.from, oldFolder.size(), newFolder);
        if (moved && keptSources.contains(util::AsciiUpper(SourceOf(entry)))) continue;
        rewritten.push_back(std::move(entry));
    }
    parts.entries = std::move(rewritten);
    body = parts.Joined();
}

void ForgetFolder(QString& body, const QString& oldFolder) {
    const QString upper = util::AsciiUpper(oldFolder);
    BodyParts parts(body);
    std::erase_if(parts.entries, [&upper](const QString& entry) {
        return LiesIn(entry, SourceField(entry), upper) ||
               LiesIn(entry, DestinationField(entry), upper);
    });
    body = parts.Joined();
}

QString SortedBody(const QString& body) {
    BodyParts parts(body);
    std::stable_sort(parts.entries.begin(), parts.entries.end(),
                     [](const QString& a, const QString& b) {
                         return store::CompareSortKeys(SourceOf(a), SourceOf(b)) < 0;
                     });
    QString sorted;
    for (const QString& entry : parts.entries) sorted += entry;
    return sorted + store::kTerminator;
}

QString DefaultDefinitionName(const QDate& today) {
    return QStringLiteral("Kibako") + today.toString(QStringLiteral("MMdd"));
}

QString NewDefinitionPath(const QString& answer, const QString& programFolder) {
    const bool hasFolder = answer.contains(u'\\') || answer.contains(u':');
    const QString path = hasFolder ? answer : util::JoinPath(programFolder, answer);
    return util::ChangeExtension(path, QStringLiteral("Def"));
}

}  // namespace kibako::catalog
