#include "platform/profile_file.h"

#include "platform/ascii_fold.h"
#include "platform/code_page.h"
#include "platform/file_name_match.h"
#include "platform/profile_lock.h"
#include "platform/regular_file.h"
#include "platform/saved_file.h"

#include <QFile>
#include <QStringList>

#include <optional>

namespace platform {
namespace {

QStringList DecodeLines(const QByteArray& bytes) {
    QString text = DecodeStoredText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// A settings file that is not a regular file of sane size reads as empty.
QStringList ReadLines(const HostPath& path) {
    QByteArray bytes;
    if (ReadRegularFile(path, bytes) != ReadStatus::Read) return {};
    return DecodeLines(bytes);
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> SectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'[')) return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0) return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> ParseKeyLine(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u';')) return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals <= 0) return std::nullopt;
    QString value = trimmed.mid(equals + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
        value = value.mid(1, value.size() - 2);
    }
    return KeyLine{trimmed.left(equals).trimmed(), value};
}

// [first line of the section's body, end of the section) or nothing.
std::optional<std::pair<qsizetype, qsizetype>> FindSection(const QStringList& lines,
                                                           const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !SameName(*name, section)) continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !SectionName(lines[end])) ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

QString CutToProfileLength(const QString& value) {
    if (Cp932ByteLength(value) <= kProfileValueBytes) return value;
    QString cut;
    int bytes = 0;
    for (const char32_t codePoint : value.toUcs4()) {
        const QString one = QString::fromUcs4(&codePoint, 1);
        bytes += Cp932ByteLength(one);
        if (bytes > kProfileValueBytes) break;
        cut += one;
    }
    return cut;
}

QList<QPair<QString, QString>> SectionOf(const QStringList& lines, const QString& section) {
    QList<QPair<QString, QString>> pairs;
    const auto range = FindSection(lines, section);
    if (!range) return pairs;
    for (qsizetype i = range->first; i < range->second; ++i) {
        if (const auto key = ParseKeyLine(lines[i])) {
            pairs.append({key->key, CutToProfileLength(key->value)});
        }
    }
    return pairs;
}

}  // namespace

QList<QPair<QString, QString>> ReadProfileSection(const HostPath& file, const QString& section) {
    return SectionOf(ReadLines(file), section);
}

QList<QPair<QString, QString>> ParseProfileSection(const QByteArray& bytes,
                                                   const QString& section) {
    return SectionOf(DecodeLines(bytes), section);
}

QString ReadProfileString(const HostPath& file, const QString& section, const QString& key) {
    for (const auto& [name, value] : ReadProfileSection(file, section)) {
        if (SameName(name, key)) return value;
    }
    return {};
}

namespace {

void SetKey(QStringList& lines, const QString& section, const QString& key, const QString& value) {
    const QString newLine = key + u'=' + value;
    if (const auto range = FindSection(lines, section)) {
        qsizetype lastFilled = range->first - 1;
        bool replaced = false;
        for (qsizetype i = range->first; i < range->second && !replaced; ++i) {
            const auto parsed = ParseKeyLine(lines[i]);
            if (parsed && SameName(parsed->key, key)) {
                lines[i] = newLine;
                replaced = true;
            }
            if (!lines[i].trimmed().isEmpty()) lastFilled = i;
        }
        if (!replaced) lines.insert(lastFilled + 1, newLine);
    } else {
        lines.append(u'[' + section + u']');
        lines.append(newLine);
    }
}

}  // namespace

bool WriteProfileKeys(const ProfileLock&, const HostPath& file, const QString& section,
                      const QList<QPair<QString, QString>>& keys, QString* error) {
    QStringList lines = ReadLines(file);
    for (const auto& [key, value] : keys) SetKey(lines, section, key, value);
    const QString text = lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
    return SaveFileAtomically(file, EncodeStoredText(text), error);
}

bool WriteProfileString(const HostPath& file, const QString& section, const QString& key,
                        const QString& value, QString* error) {
    const ProfileLock lock(file);
    return WriteProfileKeys(lock, file, section, {{key, value}}, error);
}

}  // namespace platform
