// The double-byte characters of code page 932 through the system's table of the code page.
#include "checker/text_decode.h"

#include <windows.h>

namespace checker {

char32_t DoubleByteToCodePoint(unsigned char lead, unsigned char second) {
    const char in[2] = {static_cast<char>(lead), static_cast<char>(second)};
    wchar_t out[2] = {};
    if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, 2, out, 2) != 1)
        return 0;
    return static_cast<char32_t>(out[0]);
}

} // namespace checker
