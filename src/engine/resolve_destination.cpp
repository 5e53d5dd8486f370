#include "engine/resolve_destination.h"

#include "engine/media_titles.h"
#include "platform/drive_table.h"
#include "util/path_names.h"

namespace engine {
namespace {

using platform::DriveType;

struct RemovableDestination {
    platform::DrivePath driveRoot;  // "E:\"
    QString title;
    QString rest;  // the path on the medium, without its leading "\"
};

RemovableDestination Split(const QString& destination) {
    RemovableDestination parts;
    parts.driveRoot = platform::DrivePath(destination.mid(1, 1).toUpper() + QStringLiteral(":\\"));
    const qsizetype slash = destination.indexOf(u'\\');
    parts.title = destination.mid(3, slash < 0 ? -1 : slash - 3);
    parts.rest = slash < 0 ? QString() : destination.mid(slash + 1);
    return parts;
}

// A letter without a drive behind it is a removable drive whose medium is not
// inserted: its mount point comes and goes with the medium.
DriveType EffectiveType(QChar letter) {
    const DriveType type = platform::CurrentDrives().TypeOf(letter);
    return type == DriveType::NoRootDir ? DriveType::Removable : type;
}

// A destination registered without a title was made for a medium that had
// none: such a medium reads as kNoTitle (or empty), as the factory label of a
// ZIP disk, or, once the drive question has written one, as kUntitled.
bool TitleMatches(const QString& found, const QString& wanted) {
    if (!wanted.isEmpty()) return found == wanted;
    return found.isEmpty() || found == kNoTitle || found == kUntitled || found == kFactoryZipLabel;
}

// Detected letters stay with their file systems, so another medium carrying
// the wanted title (one of two sticks used in turn) has a letter of its own.
// Before asking, every mounted drive of the wanted type is read for the title.
std::optional<platform::DrivePath> FindTitleOnDetectedDrives(Engine& engine, DriveType type,
                                                             const QString& title) {
    if (title.isEmpty() || platform::CurrentDrives().FromSettings()) return std::nullopt;
    platform::RefreshDetectedDrives();
    for (const platform::Drive& drive : platform::CurrentDrives().MappedDrives()) {
        if (drive.type != type || drive.root.isEmpty()) continue;
        const platform::DrivePath root(QString(drive.letter) + QStringLiteral(":\\"));
        if (ReadMediaTitleCached(engine, root) == title) return root;
    }
    return std::nullopt;
}

bool AskAgain(Engine& engine, const QString& text) {
    return engine.Ui().StandardMessageWithIcon(text, util::Buttons::OkCancel, util::Answer::Ok,
                                               MessageIcon::Exclamation) == util::Answer::Ok;
}

// The drive the person chose, or nothing when the entry is to be skipped.
std::optional<platform::DrivePath> AskForMedium(Engine& engine, Owner owner,
                                                const RemovableDestination& wanted,
                                                DriveType wantedType, const QString& shownTitle,
                                                const QString& kind) {
    for (;;) {
        engine.Ui().SetBusyCursor(false);
        // A medium inserted since the start has a mount point of its own by now.
        platform::RefreshDetectedDrives();
        const DriveChoice choice = engine.Ui().AskDrive(
            owner, shownTitle, kind, wanted.driveRoot.text(), engine.Unattended());
        engine.SetDriveQuestionTimedOut(choice.timedOut);
        if (choice.drive.isEmpty()) return std::nullopt;
        const platform::DrivePath drive(choice.drive);
        const QChar letter = choice.drive[0];
        if (EffectiveType(letter) != wantedType) {
            if (!AskAgain(engine, kind + QStringLiteral(" のドライブを指定して下さい")))
                return std::nullopt;
            continue;
        }
        const QString found = ReadMediaTitleCached(engine, drive);
        if (wantedType == DriveType::Removable && (found.isEmpty() || found == kNoTitle)) {
            QString title = wanted.title.isEmpty() ? kUntitled : wanted.title;
            if (!WriteMediaTitle(engine, drive, title)) return std::nullopt;
            return drive;
        }
        if (TitleMatches(found, wanted.title)) {
            engine.CacheTitle(letter, found);
            return drive;
        }
        if (!AskAgain(engine, QStringLiteral("指定されたドライブには、「 ") + found +
                                  QStringLiteral(" 」というタイトルが入っています。\r\r「 ") +
                                  wanted.title +
                                  QStringLiteral(" 」の入ったドライブを指定して下さい。"))) {
            return std::nullopt;
        }
    }
}

}  // namespace

QString MediaKeyOf(const platform::DrivePath& destination) {
    const QString& text = destination.text();
    const qsizetype slash = text.indexOf(u'\\');
    return (slash < 0 ? text : text.left(slash)).toUpper();
}

platform::DrivePath ResolveDestination(Engine& engine, Owner owner, const QString& destination,
                                       MediumQuestion question) {
    engine.SetDriveQuestionTimedOut(false);
    engine.Ui().SetBusyCursor(true);
    if (!destination.startsWith(u'(')) return platform::DrivePath(destination);

    const RemovableDestination wanted = Split(destination);
    const QChar letter = wanted.driveRoot.text()[0];
    const DriveType type = EffectiveType(letter);
    if (type != DriveType::Removable && type != DriveType::CdRom) {
        engine.Ui().SetBusyCursor(false);
        return {};
    }
    const QString kind = MediaKindText(letter);
    const QString shownTitle =
        (type == DriveType::Removable && wanted.title.isEmpty()) ? kUntitled : wanted.title;

    std::optional<platform::DrivePath> answer;
    if (!wanted.title.isEmpty()) {
        for (char16_t slot = u'Z'; slot >= u'A' && !answer; --slot) {
            if (engine.CachedTitle(QChar(slot)) != wanted.title) continue;
            const platform::DrivePath drive(QString(QChar(slot)) + QStringLiteral(":\\"));
            if (ReadMediaTitleCached(engine, drive) == wanted.title) answer = drive;
        }
    }
    if (!answer) {
        const QString own = ReadMediaTitleCached(engine, wanted.driveRoot);
        // An empty own title on a CD-ROM is a drive without a disc.
        const bool present =
            type == DriveType::Removable ? MediumPresent(wanted.driveRoot) : !own.isEmpty();
        if (present && TitleMatches(own, wanted.title)) answer = wanted.driveRoot;
    }
    if (!answer) answer = FindTitleOnDetectedDrives(engine, type, wanted.title);
    if (!answer && !engine.SkipRemovable() && question == MediumQuestion::Ask) {
        answer = AskForMedium(engine, owner, wanted, type, shownTitle, kind);
    }
    engine.Ui().SetBusyCursor(false);
    if (!answer) return {};
    return platform::DrivePath(util::JoinPath(answer->text().left(2) + u'\\', wanted.rest));
}

}  // namespace engine
