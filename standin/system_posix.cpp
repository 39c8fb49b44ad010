#ifndef _WIN32
#include "standin/system.h"

#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace standin {

std::string Utf8ToSjis(const std::string& utf8) {
    // Opening a conversion is costly; one serves every call (the host runs on one thread).
    static const iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return utf8;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A character without a code in 932, or a broken sequence: one '?' for it.
            out.push_back('?');
            ++in;
            --inLeft;
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
    }
    return out;
}

unsigned SystemMessageBox(HostWnd, const std::string&, const std::string&, unsigned) {
    return 1; // IDOK: no window system here; the message is only recorded.
}

void HoldBack(long milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace standin
#endif
