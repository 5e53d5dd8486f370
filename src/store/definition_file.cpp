#include "store/definition_file.h"

#include "platform/code_page.h"
#include "platform/host_path.h"
#include "platform/profile_lock.h"
#include "platform/regular_file.h"
#include "platform/saved_file.h"
#include "store/settings.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"
#include "util/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace store {
namespace {

const QString kDefaultName = QStringLiteral("Kibako.Def");

constexpr qsizetype kLengthDigits = 8;

// The body's length from the header; nullopt unless it is eight hex digits.
std::optional<qsizetype> HeaderLength(QStringView digits) {
    if (digits.size() != kLengthDigits) return std::nullopt;
    qsizetype value = 0;
    for (const QChar c : digits) {
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (c.unicode() > 0x7F || digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

QString ChooseDefinitionFile(const QStringList& arguments, const Settings& settings,
                             const platform::DrivePath& programFolder) {
    const QString commandLine = arguments.join(u' ');
    if (commandLine.startsWith(u'/')) {
        // A host path, as cron lines and systemd units name files.
        const platform::HostPath host(QDir::cleanPath(commandLine));
        const auto drivePath =
            util::DrivePathOfHostPath(host, platform::HostPath(QFileInfo(host.text()).path()));
        return drivePath ? drivePath->text() : commandLine;
    }
    if (!commandLine.isEmpty()) return commandLine;
    const QString fallback = util::JoinPath(programFolder, kDefaultName).text();
    const QString named = settings.GetSettingText(Key::CatalogName, fallback);
    return util::FileExists(platform::DrivePath(named)) ? named : fallback;
}

LoadResult ParseDefinitionBytes(const QByteArray& bytes) {
    LoadResult result;
    bool damaged = false;
    const QString text = platform::DecodeStoredText(bytes, &damaged);
    if (text.size() < kDefinitionHeaderLength) damaged = true;
    const QString rest = text.mid(kDefinitionHeaderLength);
    // A length that cannot be read, or a length of 0 before a body, leaves
    // the body unbounded: what follows the header is read as far as it goes.
    const std::optional<qsizetype> length = HeaderLength(QStringView(text).left(kLengthDigits));
    qsizetype take = rest.size();
    if (!length || (*length == 0 && !rest.isEmpty())) {
        damaged = true;
    } else {
        take = *length;
        if (rest.size() < take) damaged = true;
    }
    result.body = rest.left(take);
    const qsizetype terminator = result.body.indexOf(store::kTerminator);
    if (terminator >= 0) {
        // The terminator ends the body; one before the end is a damaged byte
        // and the registrations after it are lost.
        if (terminator != result.body.size() - 1) damaged = true;
        result.body.truncate(terminator + 1);
    } else if (!result.body.isEmpty()) {
        result.body += kTerminator;
        damaged = true;
    }
    if (damaged) {
        result.warning = QStringLiteral("定義ファイルが壊れています。読めた部分だけを使います");
    }
    return result;
}

LoadResult LoadDefinitions(const QString& path) {
    const auto host = platform::ToHostPath(platform::DrivePath(path));
    if (!host) return {};
    QByteArray bytes;
    QString why;
    switch (platform::ReadRegularFile(*host, bytes, &why)) {
        case platform::ReadStatus::Missing:
            return {};
        case platform::ReadStatus::Refused:
            return {QString(),
                    QStringLiteral("定義ファイルを読めません：　") + why +
                        QStringLiteral("\nファイル：　") + path,
                    true};
        case platform::ReadStatus::Read:
            break;
    }
    LoadResult result = ParseDefinitionBytes(bytes);
    if (!result.warning.isEmpty()) result.warning += QStringLiteral("\nファイル：　") + path;
    return result;
}

QByteArray DefinitionFileBytes(const QString& body) {
    // The header goes before the encoded body, not before a copy of the text.
    const QByteArray header =
        (util::Hex8(static_cast<std::uint32_t>(body.size())) + QString(24, u'0')).toLatin1();
    return platform::EncodeStoredText(body, header);
}

SaveResult SaveChanges(const QString& path, const DefinitionChanges& changes, bool listIsEmpty,
                       QString* error) {
    if (path.isEmpty()) return {.ok = false, .nothingToDo = true};
    const auto host = platform::ToHostPath(platform::DrivePath(path));
    if (!host) {
        if (error) *error = QStringLiteral("パスが見つかりません：") + path;
        return {};
    }
    // Kibako and Tetoru both save this file: the lock keeps the reading of
    // the file, the merge and the writing of one save from interleaving with
    // the other's.
    const platform::ProfileLock lock(*host);
    LoadResult onDisk = LoadDefinitions(path);
    if (onDisk.refused) {
        // Never replace what could not even be read (a FIFO, a device, a huge file).
        if (error) *error = onDisk.warning;
        return {};
    }
    const bool damaged = !onDisk.warning.isEmpty();
    const bool exists = QFileInfo::exists(host->text());
    if (changes.IsEmpty() && !damaged) return {.ok = true, .nothingToDo = listIsEmpty && !exists};
    DefinitionList merged(std::move(onDisk.body));
    changes.ApplyTo(merged);
    if (damaged) QFile::copy(host->text(), host->text() + QStringLiteral(".damaged"));
    if (merged.IsEmpty()) {
        if (exists && !QFile::remove(host->text())) {
            if (error) *error = QStringLiteral("削除できません：") + path;
            return {};
        }
    } else if (!platform::SaveFileAtomically(*host, DefinitionFileBytes(merged.Body()), error)) {
        return {};
    }
    return {.ok = true, .nothingToDo = merged.IsEmpty() && !exists};
}

SaveResult SaveDefinitions(const QString& path, DefinitionList& list, QString* error) {
    const SaveResult result = SaveChanges(path, list.Changes(), list.IsEmpty(), error);
    if (result.ok) {
        list.ForgetChanges();
        list.SetModified(false);
    }
    return result;
}

}  // namespace store
