// Fuzz target of the private-profile reader: for any ini text the answer fits the buffer, never
// ends inside a double-byte character, and is the (cut) default whenever the text lacks the
// section name.
#include "platform/sjis.h"
#include "support/portable/profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void Check(const std::string& text, const std::string& section, const std::string& key,
           std::size_t size) {
    // A default that starts with a double-byte character whose second byte is 0x5C.
    const std::string defaultValue = "\x95\x5C"
                                     "default";
    const std::string value =
        platform::ReadProfileStringFromText(text, section, key, defaultValue, size);
    if (size == 0 ? !value.empty() : value.size() > size - 1)
        std::abort();
    if (platform::CutLength(value.data(), value.size(), value.size()) != value.size())
        std::abort();
    if (!section.empty() && UpperAscii(text).find(UpperAscii(section)) == std::string::npos &&
        value !=
            defaultValue.substr(0, platform::CutLength(defaultValue.data(), defaultValue.size(),
                                                       size == 0 ? 0 : size - 1)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::size_t buffer : {0, 1, 2, 3, 16, 300}) {
        Check(text, "ProgramLevel", "RV16_G", buffer);
        Check(text, "\x83\x5D", "\x83\x41", buffer); // katakana zo and a
        Check(text, "", "RV16_G", buffer);
    }
    return 0;
}
