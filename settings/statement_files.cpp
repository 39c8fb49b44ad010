#include "settings/statement_files.h"

#include "aggregate/account_key.h"
#include "platform/decimal.h"
#include "platform/hex.h"
#include "platform/sjis.h"
#include "platform/xml_name.h"
#include "texts/catalogue.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Limits of the data files and what the readers do beyond them. The readers hold everything in
// growing strings, so no limit can overrun anything; each one is kept so that no line or entry
// is read differently from what the file means:
// - a section of 32,768 bytes or more (from the start of its header to the start of the end marker)
//   rejects the file as a whole: it was not written for this program;
// - a body line is read up to its 255th byte (cut on a character boundary) and the rest is
//   ignored. Every field of a valid form-item line lies well within that, and a default
//   reference cut by it lacks its ',' and is dropped, as any reference without ',' is;
// - a form-item line with more than 10 account classes, a class beyond 32 bits, a line number
//   or side beyond 16 bits, a tag that is empty, longer than 50 bytes or no XML element name,
//   or fields that do not match the form, rejects the file: cutting or skipping any of these
//   would offer other accounts, write another element or leave an amount out of the report;
// - a display name over 30 bytes is cut to 30 bytes on a character boundary;
// - a literal default key over 34 bytes, or an empty one, is dropped: a cut key is another key.

namespace {

const std::string kHeader = texts::kCommonSectionHeader;
const std::string kEnd = texts::kSectionEndMarker;
constexpr std::size_t kSectionLimit = 32768;
constexpr std::size_t kLineLimit = 255;
constexpr std::size_t kNameLimit = 30;
constexpr std::size_t kTagLimit = 50;
constexpr std::size_t kKeyLimit = kMappingKeySize - 1;

// The body of the common section: the lines after the header line, up to the end marker.
bool ExtractBody(const std::string& file, std::string& body) {
    // The file is a NUL-terminated text: nothing after a NUL byte belongs to it.
    const std::string text = file.substr(0, file.find('\0'));
    const std::size_t header = platform::FindText(text, kHeader);
    if (header == std::string::npos)
        return false;
    const std::size_t afterHeader = header + kHeader.size();
    const std::size_t end = platform::FindText(text, kEnd, afterHeader);
    if (end == std::string::npos || end - header >= kSectionLimit)
        return false;
    // The header line ends with CR LF or a bare LF; the body starts on the next line.
    const std::size_t lineEnd = text.find('\n', afterHeader);
    const std::size_t start = lineEnd < end ? lineEnd + 1 : end;
    body = text.substr(start, end - start);
    return true;
}

// The lines of a body that carry text: without their CR LF (or LF), cut to kLineLimit bytes,
// blank lines left out. The last line counts even when the end marker follows it directly.
std::vector<std::string_view> BodyLines(const std::string& body) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < body.size();) {
        std::size_t end = body.find('\n', start);
        if (end == std::string::npos)
            end = body.size();
        std::string_view line(body.data() + start, end - start);
        start = end + 1;
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = line.substr(0, platform::CutLength(line.data(), line.size(), kLineLimit));
        if (line.find_first_not_of(" \t\r") != std::string_view::npos)
            lines.push_back(line);
    }
    return lines;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The leading decimal number of text (platform::LeadingDecimal); false when it does not fit Int.
template <typename Int> bool LeadingDecimalAs(std::string_view text, Int& value) {
    const std::optional<Int> read = platform::LeadingDecimal(text).Exact<Int>();
    if (!read)
        return false;
    value = *read;
    return true;
}

using platform::HexDigit;

// One account class as strtoul reads it in base 16 (spaces, an optional 0x, hexadecimal
// digits, 0 when there are none); false beyond 32 bits.
bool ParseKindCode(std::string_view text, std::uint32_t& code) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (text.size() - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        HexDigit(text[i + 2]) >= 0)
        i += 2;
    std::uint64_t value = 0;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigit(text[i]));
        if (value > 0xFFFFFFFFu)
            return false;
    }
    code = static_cast<std::uint32_t>(value);
    return true;
}

bool ParseKindCodes(std::string_view field, StatementLine& line) {
    std::size_t count = 0;
    for (std::size_t start = 0;;) {
        const std::size_t plus = field.find('+', start);
        if (count == line.kindCodes.size() ||
            !ParseKindCode(field.substr(start, plus - start), line.kindCodes[count]))
            return false;
        ++count;
        if (plus == std::string_view::npos)
            return true;
        start = plus + 1;
    }
}

// A tag names an element, or marks a placeholder line with a '-'. A placeholder is never
// written, but it is made of the same characters as the rest of a name.
bool IsValidTag(std::string_view tag) {
    if (tag.empty() || tag.size() > kTagLimit)
        return false;
    if (!IsPlaceholderTag(tag))
        return platform::IsXmlElementName(tag);
    return platform::IsXmlElementName(std::string("_").append(tag));
}

// "line number/side/class+class.../display name/TAG;" and anything after the ';'.
bool ParseStatementLine(std::string_view text, StatementLine& line) {
    std::size_t slashes[4];
    std::size_t from = 0;
    for (std::size_t& slash : slashes) {
        slash = text.find('/', from);
        if (slash == std::string_view::npos)
            return false;
        from = slash + 1;
    }
    const std::size_t semicolon = text.find(';', from);
    if (semicolon == std::string_view::npos)
        return false;
    const std::string_view name = text.substr(slashes[2] + 1, slashes[3] - slashes[2] - 1);
    const std::string_view tag = text.substr(from, semicolon - from);
    if (!LeadingDecimalAs(text.substr(0, slashes[0]), line.lineNo) ||
        !LeadingDecimalAs(text.substr(slashes[0] + 1, slashes[1] - slashes[0] - 1), line.side) ||
        !ParseKindCodes(text.substr(slashes[1] + 1, slashes[2] - slashes[1] - 1), line) ||
        !IsValidTag(tag))
        return false;
    line.name.assign(name.data(), platform::CutLength(name.data(), name.size(), kNameLimit));
    line.tag.assign(tag);
    return true;
}

// "line number/reference,reference,...": each reference followed by a ','.
void ParseMappingLine(std::string_view text, const AccountCodeLookup& lookup,
                      MappingEntries& entries) {
    const std::size_t slash = text.find('/');
    std::int16_t lineNo = 0;
    if (slash == std::string_view::npos || !LeadingDecimalAs(text.substr(0, slash), lineNo))
        return;
    for (std::size_t start = slash + 1;;) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            return;
        const std::string_view reference = text.substr(start, comma - start);
        start = comma + 1;

        const std::optional<std::int32_t> number =
            platform::LeadingDecimal(reference).Exact<std::int32_t>();
        std::string key;
        if (!number || *number != 0) {
            // An account code: scaled and found by the host, or dropped when it has none.
            if (!number || !lookup(*number, key))
                continue;
        } else if (reference.empty() || reference.size() > kKeyLimit) {
            continue;
        } else {
            key.assign(reference);
        }
        auto entry = std::make_unique<MappingEntry>();
        entry->lineNo = lineNo;
        entry->key = std::move(key);
        entries.push_back(std::move(entry));
    }
}

std::string DataFileName(const std::string& editionPrefix, FormGeneration form, const char* kind) {
    return editionPrefix + (form == FormGeneration::k30 ? "Ovw21ToRv30_G_" : "Ovw21ToRv16_G_") +
           kind + ".dat";
}

} // namespace

std::string FormItemFileName(const std::string& editionPrefix, FormGeneration form) {
    return DataFileName(editionPrefix, form, "GaiKmk");
}

std::string DefaultMappingFileName(const std::string& editionPrefix, FormGeneration form) {
    return DataFileName(editionPrefix, form, "DefKmk");
}

bool loadStatementLines(const std::string& bytes, StatementLines& lines) {
    std::string body;
    if (!ExtractBody(bytes, body))
        return false;
    StatementLines read;
    for (std::string_view text : BodyLines(body)) {
        auto line = std::make_unique<StatementLine>();
        if (!ParseStatementLine(text, *line))
            return false;
        read.push_back(std::move(line));
    }
    lines = std::move(read);
    return true;
}

namespace {

// Reads the data file at path and hands its bytes to load.
template <typename Load>
platform::Status LoadDataFile(platform::FileSystem& files, const std::string& path,
                              const char* step, Load load) {
    std::string bytes;
    if (!files.ReadFile(path, bytes))
        return platform::Status::Io(step, files.LastError(), path);
    if (!load(bytes))
        return platform::Status::BadFile(step, path, std::string());
    return platform::Status();
}

} // namespace

platform::Status loadStatementLines(platform::FileSystem& files, const std::string& path,
                                    StatementLines& lines) {
    return LoadDataFile(files, path, "form-items",
                        [&](const std::string& bytes) { return loadStatementLines(bytes, lines); });
}

bool loadDefaultMappings(const std::string& bytes, MappingEntries& entries,
                         const AccountCodeLookup& lookup) {
    std::string body;
    if (!ExtractBody(bytes, body))
        return false;
    MappingEntries read;
    for (std::string_view text : BodyLines(body))
        ParseMappingLine(text, lookup, read);
    entries = std::move(read);
    return true;
}

platform::Status loadDefaultMappings(platform::FileSystem& files, const std::string& path,
                                     MappingEntries& entries, const AccountCodeLookup& lookup) {
    return LoadDataFile(files, path, "default-mappings", [&](const std::string& bytes) {
        return loadDefaultMappings(bytes, entries, lookup);
    });
}
