// Stored text files come from other machines and from hand editing: any bytes
// decode without a crash, and what the system writes back from the decoded
// text reads as that same text again.
#include "platform/code_page.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    bool damaged = false;
    const QString text = platform::DecodeStoredText(bytes, &damaged);
    const QByteArray written = platform::EncodeStoredText(text);
    bool damagedAgain = false;
    if (platform::DecodeStoredText(written, &damagedAgain) != text) std::abort();
    if (damagedAgain) std::abort();
    return 0;
}
