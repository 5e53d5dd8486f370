#include "store/definition_file.h"

#include "platform/code_page.h"
#include "platform/host_path.h"
#include "platform/saved_file.h"
#include "store/settings.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"
#include "util/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {
namespace {

const QString kDefaultName = QStringLiteral("Kibako.Def");

qsizetype LeadingHexNumber(QStringView text) {
    qsizetype value = 0;
    for (const QChar c : text) {
        if (c.unicode() > 0x7F) break;
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

QString ChooseDefinitionFile(const QStringList& arguments, const Settings& settings,
                             const QString& programFolder) {
    const QString commandLine = arguments.join(u' ');
    if (commandLine.startsWith(u'/')) {
        // A host path, as cron lines and systemd units name files.
        const QString host = QDir::cleanPath(commandLine);
        const QString windows = util::WindowsFormOfHostPath(host, QFileInfo(host).path());
        return windows.isEmpty() ? commandLine : windows;
    }
    if (!commandLine.isEmpty()) return commandLine;
    const QString fallback = util::JoinPath(programFolder, kDefaultName);
    const QString named = settings.GetSettingText(Key::CatalogName, fallback);
    return util::FileExists(named) ? named : fallback;
}

LoadResult ParseDefinitionBytes(const QByteArray& bytes) {
    LoadResult result;
    bool damaged = false;
    const QString text = platform::DecodeStoredText(bytes, &damaged);
    const qsizetype length = LeadingHexNumber(QStringView(text).left(8));
    result.body = text.mid(kDefinitionHeaderLength, length);
    const bool cutShort = text.size() - kDefinitionHeaderLength < length;
    const qsizetype terminator = result.body.indexOf(store::kTerminator);
    if (terminator >= 0) {
        result.body.truncate(terminator + 1);
    } else if (!result.body.isEmpty()) {
        result.body += kTerminator;
        damaged = true;
    }
    if (damaged || cutShort || text.size() < kDefinitionHeaderLength) {
        result.warning = QStringLiteral("定義ファイルが壊れています。読めた部分だけを使います");
    }
    return result;
}

LoadResult LoadDefinitions(const QString& path) {
    const auto host = platform::ToHostPath(path);
    if (!host || !QFileInfo(*host).isFile()) return {};
    QFile file(*host);
    if (!file.open(QIODevice::ReadOnly)) return {QString(), file.errorString() + u'\n' + path};
    LoadResult result = ParseDefinitionBytes(file.readAll());
    if (!result.warning.isEmpty()) result.warning += QStringLiteral("\nファイル：　") + path;
    return result;
}

QByteArray DefinitionFileBytes(const QString& body) {
    const QString header = util::Hex8(static_cast<std::uint32_t>(body.size())) + QString(24, u'0');
    return platform::EncodeStoredText(header + body);
}

SaveResult SaveDefinitions(const QString& path, DefinitionList& list, QString* error) {
    if (path.isEmpty()) return {.ok = false, .nothingToDo = true};
    const auto host = platform::ToHostPath(path);
    if (!host) {
        if (error) *error = QStringLiteral("path not found: ") + path;
        return {};
    }
    if (list.IsEmpty()) {
        const bool exists = QFileInfo::exists(*host);
        if (exists && !QFile::remove(*host)) {
            if (error) *error = QStringLiteral("cannot delete ") + path;
            return {};
        }
        list.SetModified(false);
        return {.ok = true, .nothingToDo = !exists};
    }
    if (!LoadDefinitions(path).warning.isEmpty())
        QFile::copy(*host, *host + QStringLiteral(".damaged"));
    if (!platform::SaveFileAtomically(*host, DefinitionFileBytes(list.Body()), error)) return {};
    list.SetModified(false);
    return {.ok = true};
}

}  // namespace store
