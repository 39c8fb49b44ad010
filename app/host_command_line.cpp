#include "app/host_command_line.h"

#include "platform/decimal.h"

#include <string_view>
#include <utility>

namespace {

// One field as a 32-bit number (platform::LeadingDecimal); a number beyond that range reads as
// its nearer end, never undefined.
std::int32_t FieldNumber(const std::string& text, std::size_t begin, std::size_t end) {
    return platform::LeadingDecimal(std::string_view(text).substr(begin, end - begin))
        .Clamped<std::int32_t>();
}

} // namespace

platform::Status ParseHostCommandLine(std::string text, HostCommandLine& out) {
    const auto commas = [](long long found) {
        return platform::Status::NoData("host-command-line-commas", found);
    };
    if (text.empty())
        return commas(0);
    // ',' is below 0x40, so it is never the second byte of a double-byte character.
    const std::size_t first = text.find(',');
    if (first == std::string::npos)
        return commas(0);
    out.hostWnd = static_cast<std::intptr_t>(FieldNumber(text, 0, first));
    const std::size_t second = text.find(',', first + 1);
    if (second == std::string::npos)
        return commas(1);
    out.hostMsg = FieldNumber(text, first + 1, second);
    const std::size_t third = text.find(',', second + 1);
    if (third == std::string::npos)
        return commas(2);
    out.functionId = static_cast<std::int16_t>(FieldNumber(text, second + 1, third));
    // The text is what is left of the line, cut in place: nothing is allocated.
    text.erase(0, third + 1);
    out.hostText = std::move(text);
    return platform::Status();
}
