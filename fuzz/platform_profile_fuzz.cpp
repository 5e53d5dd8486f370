// Settings files are edited by hand: any bytes must parse without a crash,
// and values never exceed what a read may return.
#include "platform/code_page.h"
#include "platform/profile_file.h"

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
    return 0;
}
