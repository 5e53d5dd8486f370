// Settings files are edited by hand: any bytes must parse without a crash,
// and values never exceed what a read may return. Remembered drive letters
// read from any bytes never give one letter twice, nor C:.
#include "platform/code_page.h"
#include "platform/drive_letters.h"
#include "platform/profile_file.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const char* section : {"Options", "Drives"}) {
        for (const auto& [key, value] :
             platform::ParseProfileSection(bytes, QString::fromLatin1(section))) {
            if (platform::Cp932ByteLength(value) > platform::kProfileValueBytes) std::abort();
            (void)key;
        }
    }
    const QList<platform::SeenFileSystem> mounts = {
        {QStringLiteral("uuid:1111-aaaa"),
         platform::DriveType::Fixed,
         QStringLiteral("/mnt/a"),
         {}},
        {QStringLiteral("mount"), platform::DriveType::Removable, QStringLiteral("/media/b"),
         QStringLiteral("B")},
        {QStringLiteral("uuid:new"), platform::DriveType::Fixed, QStringLiteral("/mnt/new"), {}}};
    const auto assignment =
        platform::AssignLetters(platform::ParseRememberedLetters(platform::ParseProfileSection(
                                    bytes, platform::kDriveLettersSection)),
                                mounts);
    QSet<QChar> letters;
    for (const auto& list : {assignment.mounted, assignment.reserved}) {
        for (const platform::RememberedLetter& record : list) {
            if (record.letter == u'C' || letters.contains(record.letter)) std::abort();
            letters.insert(record.letter);
        }
    }
    if (assignment.mounted.size() + assignment.unlettered.size() != mounts.size()) std::abort();
    return 0;
}
