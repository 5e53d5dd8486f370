// Host names come from any disk and may hold any byte but NUL: every byte string
// maps to text and back to the same bytes, and a text (any UTF-16, lone
// surrogates included) maps either to no bytes or to bytes that read back as
// that same text, so two texts never name one file.
#include "platform/host_name.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QByteArray> back = platform::HostBytesOf(platform::HostText(bytes));
    // A name never holds a NUL; everything else comes back unchanged.
    if (bytes.contains('\0') ? back.has_value() : (!back || *back != bytes)) std::abort();

    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    if (const auto encoded = platform::HostBytesOf(text)) {
        if (platform::HostText(*encoded) != text) std::abort();
    }
    return 0;
}
