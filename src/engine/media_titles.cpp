#include "engine/media_titles.h"

#include "platform/attributes.h"
#include "platform/code_page.h"
#include "platform/drive_table.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/regular_file.h"
#include "platform/saved_file.h"
#include "util/file_ops.h"
#include "util/name_list.h"
#include "util/path_names.h"

#include <QFile>
#include <QRegularExpression>
#include <QStorageInfo>

namespace engine {
namespace {

using platform::DriveType;

// The drive letter of a drive path; nothing (a null QChar) for an empty one.
QChar LetterOf(const platform::DrivePath& path) {
    return path.isEmpty() ? QChar() : path.text()[0];
}

DriveType TypeOfDrive(const platform::DrivePath& path) {
    return path.isEmpty() ? DriveType::Unknown : platform::CurrentDrives().TypeOf(LetterOf(path));
}

QString DriveRoot(const platform::DrivePath& path) {
    return path.text().left(1).toUpper() + QStringLiteral(":\\");
}

platform::DrivePath TitleFilePath(const platform::DrivePath& path) {
    return platform::DrivePath(DriveRoot(path) + kMediaTitleFile);
}

// The volume label of the path's drive. Labels of detected drives are read
// now, since the medium may have changed since the start.
QString VolumeLabel(const platform::DrivePath& path) {
    const auto drive = platform::CurrentDrives().Find(LetterOf(path));
    if (!drive) return {};
    return drive->detected ? QStorageInfo(drive->root.text()).name() : drive->label;
}

std::optional<QString> ReadTitleFile(const platform::DrivePath& path) {
    const platform::DrivePath titleFile = TitleFilePath(path);
    if (!util::FileExists(titleFile)) return std::nullopt;
    const auto host = platform::ToHostPath(titleFile);
    QFile file;
    if (!host || !platform::OpenRegularFile(*host, file)) return QString();
    return ParseMediaTitle(file.read(64 * 1024));
}

}  // namespace

bool MediumPresent(const platform::DrivePath& path) {
    const auto drive = platform::CurrentDrives().Find(LetterOf(path));
    return drive && platform::HostFolderIsThere(drive->root);
}

QString ParseMediaTitle(const QByteArray& bytes) {
    return TitleField(platform::DecodeStoredText(bytes));
}

QString TitleField(QString line) {
    const qsizetype end = line.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (end >= 0) line.truncate(end);
    qsizetype start = 0;
    while (start < line.size() && line[start] == u' ') ++start;
    if (start < line.size() && line[start] == u'"') {
        const qsizetype close = line.indexOf(u'"', start + 1);
        return close < 0 ? line.mid(start + 1) : line.mid(start + 1, close - start - 1);
    }
    const qsizetype comma = line.indexOf(u',', start);
    return comma < 0 ? line.mid(start) : line.mid(start, comma - start);
}

QString MediaKindText(QChar driveLetter) {
    if (platform::CurrentDrives().TypeOf(driveLetter) == DriveType::CdRom)
        return QStringLiteral("CD-ROM");
    return driveLetter.toUpper() == u'A' ? QStringLiteral("フロッピー") : QStringLiteral("ZIP、MO");
}

QString CdRomFolderTitle(const platform::DrivePath& path) {
    QString title;
    for (const QString& name : util::SplitNameList(
             util::ListFolderNames(platform::DrivePath(DriveRoot(path) + QStringLiteral("*.*"))))) {
        title += name;
    }
    return title.left(220);
}

QString ReadMediaTitleCached(Engine& engine, const platform::DrivePath& path) {
    QString title;
    switch (TypeOfDrive(path)) {
        case DriveType::Removable:
            if (const auto fromFile = ReadTitleFile(path)) {
                title = *fromFile;
            } else {
                title = VolumeLabel(path);
                if (title.isEmpty()) title = kNoTitle;
            }
            break;
        case DriveType::Fixed:
            title = VolumeLabel(path);
            break;
        case DriveType::CdRom:
            title = VolumeLabel(path);
            if (title.isEmpty()) title = CdRomFolderTitle(path);
            break;
        default:
            break;
    }
    if (!path.isEmpty()) engine.CacheTitle(LetterOf(path), title);
    return title;
}

QString ReadMediaTitle(Engine& engine, const platform::DrivePath& path) {
    switch (TypeOfDrive(path)) {
        case DriveType::Removable: {
            if (const auto fromFile = ReadTitleFile(path)) return *fromFile;
            const QString label = VolumeLabel(path);
            if (!label.isEmpty() && label != kFactoryZipLabel) return label;
            QString title = label;
            AskMediaTitle(engine, path, title, QString());
            return title;
        }
        case DriveType::CdRom: {
            const QString label = VolumeLabel(path);
            return label.isEmpty() ? CdRomFolderTitle(path) : label;
        }
        default:
            return {};
    }
}

void AskMediaTitle(Engine& engine, const platform::DrivePath& path, QString& title,
                   const QString& currentTitle) {
    QString prompt = QStringLiteral(
        "このメディアのタイトルを入力して下さい\r\r"
        "※他のメディアと同じ名前にならないよう注意してください\r"
        "※数字だけ（通し番号など）でも構いません");
    if (!currentTitle.isEmpty()) prompt += QStringLiteral("\r\r現在のタイトル＝") + currentTitle;
    for (;;) {
        title = engine.Ui()
                    .AskText(prompt, QStringLiteral("メディア・タイトルの登録"), title)
                    .value_or(QString());
        const QString problem = MediaTitleProblem(title);
        if (problem.isEmpty()) break;
        engine.Ui().StandardMessageWithIcon(problem, util::Buttons::Ok, util::Answer::Ok,
                                            MessageIcon::Exclamation);
    }
    if (!title.isEmpty()) WriteMediaTitle(engine, path, title);
}

QString MediaTitleProblem(const QString& title) {
    if (title.contains(u','))
        return QStringLiteral("メディア・タイトルに「,」（カンマ）は使えません。");
    if (title.contains(u'\\')) return QStringLiteral("メディア・タイトルに「\\」は使えません。");
    if (title.startsWith(u' '))
        return QStringLiteral("メディア・タイトルを空白で始めることはできません。");
    if (title.startsWith(u'"'))
        return QStringLiteral("メディア・タイトルを「\"」で始めることはできません。");
    return {};
}

QString MediaTitleLine(const QString& title) {
    if (TitleField(title) == title || title.contains(u'"')) return title;
    return u'"' + title + u'"';
}

bool WriteMediaTitle(Engine& engine, const platform::DrivePath& path, QString& title) {
    const platform::DrivePath file = TitleFilePath(path);
    for (;;) {
        const auto host = platform::ToHostPath(file);
        if (host && MediumPresent(path)) {
            if (platform::SaveFileAtomically(
                    *host,
                    platform::EncodeStoredText(MediaTitleLine(title) + QStringLiteral("\r\n")))) {
                platform::WriteAttributes(*host, platform::kHidden);
                engine.CacheTitle(LetterOf(path), title);
                return true;
            }
        }
        const util::Answer answer = engine.Ui().StandardMessageWithIcon(
            QStringLiteral("メディアが書込み禁止になっています。　書き込み可にしてください"),
            util::Buttons::OkCancel, util::Answer::Cancel, MessageIcon::Exclamation);
        if (answer != util::Answer::Ok) {
            title.clear();
            return false;
        }
    }
}

}  // namespace engine
