// The double-byte characters of code page 932 through iconv's table of the code page.
#include "checker/text_decode.h"

#include <cstdint>
#include <iconv.h>

namespace checker {

char32_t DoubleByteToCodePoint(unsigned char lead, unsigned char second) {
    static const iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (reinterpret_cast<std::intptr_t>(cd) == -1) // iconv_open's (iconv_t)-1: no such table
        return 0;
    char in[2] = {static_cast<char>(lead), static_cast<char>(second)};
    unsigned char out[8] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0 || outLeft != sizeof out - 4)
        return 0;
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

} // namespace checker
