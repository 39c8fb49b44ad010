// Reading a report back. The bytes are checked and decoded first (Shift_JIS, CR LF, the
// declaration), the XML is parsed by rapidxml over the decoded text, and the element tree is
// then held to the one shape the report writer emits. Every error names a line and a column of
// the file and what was expected there.
#include "checker/report.h"

#include "aggregate/statement_line.h"
#include "checker/format.h"
#include "checker/text_decode.h"
#include "platform/hex.h"
#include "platform/sjis.h"
#include "texts/checker.h"

#include <rapidxml/rapidxml.hpp>

#include <algorithm>
#include <limits>
#include <map>
#include <new>
#include <string_view>

namespace checker {

namespace {

using Node = rapidxml::xml_node<char>;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
// The report nests four levels deep. rapidxml descends one call per level, so the nesting is
// bounded before the parser runs.
constexpr int kMaxDepth = 16;
// The amounts that the writer writes; others are written empty.
constexpr std::int64_t kMaxAmount = 999999999999;
constexpr std::int64_t kMinAmount = -99999999999;

const char* const kSystemTags[] = {"GYOUMUPREFIX",        "VERSION",     "FUNCTIONID",
                                   "CONNECTEDPROGRAMVER", "PROGRAMNAME", "PROGRAMVER"};
const char* const kBasicTags[] = {"KOMONSAKINAME", "JIGYOUNENDOFROM", "JIGYOUNENDOTO"};
const std::string kMonthTag = "TUKIBETU_";

std::string TwoDigits(int n) {
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

bool IsUtf8Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// True when bytes holds non-ASCII text that is valid UTF-8 throughout: a file saved as UTF-8.
// Real Shift_JIS text is almost never valid UTF-8 (its lead bytes 0x81-0x9F are continuation
// bytes there). first is set to the first non-ASCII byte.
bool LooksLikeUtf8(const std::string& bytes, std::size_t& first) {
    bool any = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = c < 0x80                 ? 1
                             : c >= 0xC2 && c <= 0xDF ? 2
                             : c >= 0xE0 && c <= 0xEF ? 3
                             : c >= 0xF0 && c <= 0xF4 ? 4
                                                      : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if (!IsUtf8Continuation(static_cast<unsigned char>(bytes[i + k])))
                return false;
        }
        if (length > 1 && !any) {
            any = true;
            first = i;
        }
        i += length;
    }
    return any;
}

class Reader {
  public:
    Reader(const FormItemsSource& formItems, Report& report, ReadError& error)
        : formItems_(formItems), report_(report), error_(error) {}

    [[nodiscard]] bool Read(const std::string& bytes) {
        return CheckBytes(bytes) && CheckText() && CheckTail() && CheckDepth() && Parse();
    }

    // Whether the reader failed for want of the form-item lines (the report may be sound).
    [[nodiscard]] bool NoFormItems() const { return noFormItems_; }

  private:
    // --- Positions and errors ---

    // Line and column of an offset in bytes that are Shift_JIS (sjis) or UTF-8.
    static void PositionIn(const std::string& bytes, std::size_t offset, bool sjis, int& line,
                           int& column) {
        line = 1;
        column = 1;
        for (std::size_t i = 0; i < offset && i < bytes.size();) {
            const unsigned char c = static_cast<unsigned char>(bytes[i]);
            std::size_t width = 1;
            if (sjis)
                width = platform::IsLeadByte(c) && i + 1 < offset ? 2 : 1;
            else
                while (i + width < bytes.size() &&
                       IsUtf8Continuation(static_cast<unsigned char>(bytes[i + width])))
                    ++width;
            if (c == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
            i += width;
        }
    }

    [[nodiscard]] bool FailAt(const std::string& bytes, std::size_t offset, bool sjis,
                              std::string message) {
        PositionIn(bytes, offset, sjis, error_.line, error_.column);
        error_.message = std::move(message);
        return false;
    }

    // An error at a place in the decoded text.
    [[nodiscard]] bool Fail(const char* where, std::string message) {
        const std::size_t offset =
            where != nullptr && where >= text_.data() && where <= text_.data() + text_.size()
                ? static_cast<std::size_t>(where - text_.data())
                : text_.size();
        return FailAt(text_, offset, false, std::move(message));
    }

    [[nodiscard]] bool FailAtNode(const Node& node, std::string message) {
        return Fail(node.name_size() > 0 ? node.name() - 1 : node.value(), std::move(message));
    }

    // --- Bytes and text ---

    [[nodiscard]] bool CheckBytes(const std::string& bytes) {
        if (bytes.empty())
            return FailAt(bytes, 0, true,
                          Fill(texts::kReadEmpty, {{"declaration", kDeclaration.substr(0, 42)}}));
        if (bytes.size() > kMaxReportSize)
            return FailAt(bytes, 0, true,
                          Fill(texts::kReadTooLarge, {{"limit", std::to_string(kMaxReportSize)}}));
        if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
            return FailAt(bytes, 0, true, texts::kReadByteOrderMark);
        std::size_t first = 0;
        if (LooksLikeUtf8(bytes, first))
            return FailAt(bytes, first, false, texts::kReadSavedAsUtf8);
        const DecodeResult decoded = ShiftJisToUtf8(bytes, text_);
        if (!decoded.ok) {
            const unsigned char c = static_cast<unsigned char>(bytes[decoded.badOffset]);
            return FailAt(bytes, decoded.badOffset, true,
                          Fill(texts::kReadNotShiftJis, {{"byte", "0x" + platform::HexByte(c)}}));
        }
        return true;
    }

    // Characters that the writer never writes, line ends, and the declaration.
    [[nodiscard]] bool CheckText() {
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text_[i]);
            if (c == '\r' && i + 1 == text_.size())
                return FailAt(text_, i, false, texts::kReadCutAfterCr);
            if (c == '\r' && text_[i + 1] != '\n')
                return FailAt(text_, i, false, texts::kReadCrWithoutLf);
            if (c == '\n' && (i == 0 || text_[i - 1] != '\r'))
                return FailAt(text_, i, false, texts::kReadLfOnly);
            if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
                return FailAt(text_, i, false,
                              Fill(texts::kReadControlCharacter, {{"code", std::to_string(c)}}));
        }
        const std::size_t same =
            std::mismatch(kDeclaration.begin(), kDeclaration.end(), text_.begin(), text_.end())
                .first -
            kDeclaration.begin();
        if (same < kDeclaration.size()) {
            const bool truncated = same == text_.size();
            return FailAt(
                text_, same, false,
                std::string(truncated ? texts::kReadTruncated : "") +
                    Fill(texts::kReadDeclaration,
                         {{"declaration", kDeclaration.substr(0, kDeclaration.size() - 2)}}));
        }
        return true;
    }

    // The deepest nesting of start tags, counted without trusting the document: every start
    // tag opens a level, every end tag and every "/>" that ends a tag closes one. Quoted
    // attribute values are stepped over. The count is never below the parser's depth.
    [[nodiscard]] bool CheckDepth() {
        int depth = 0;
        bool inTag = false;
        char quote = 0;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const char c = text_[i];
            if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (inTag) {
                if (c == '"' || c == '\'')
                    quote = c;
                else if (c == '/' && i + 1 < text_.size() && text_[i + 1] == '>')
                    --depth;
                else if (c == '>')
                    inTag = false;
            } else if (c == '<' && i + 1 < text_.size()) {
                const char next = text_[i + 1];
                if (next == '/') {
                    --depth;
                } else if (next != '?' && next != '!') {
                    inTag = true;
                    if (++depth > kMaxDepth)
                        return FailAt(
                            text_, i, false,
                            Fill(texts::kReadTooDeep, {{"depth", std::to_string(kMaxDepth)}}));
                }
            }
        }
        return true;
    }

    // --- Parsing ---

    static std::string ParserMessage(const char* what) {
        const std::string_view text(what);
        if (text == "unexpected end of data")
            return texts::kReadUnclosed;
        if (text == "invalid closing tag name")
            return texts::kReadClosingTag;
        if (text == "out of memory")
            return texts::kReadOutOfMemory;
        if (text.rfind("expected ", 0) == 0)
            return Fill(texts::kReadExpected,
                        {{"what", std::string(text.substr(std::string_view("expected ").size()))}});
        return Fill(texts::kReadMalformed, {{"what", std::string(text)}});
    }

    [[nodiscard]] bool Parse() {
        rapidxml::xml_document<char> document;
        try {
            document.parse<rapidxml::parse_non_destructive | rapidxml::parse_validate_closing_tags |
                           rapidxml::parse_declaration_node | rapidxml::parse_comment_nodes |
                           rapidxml::parse_doctype_node | rapidxml::parse_pi_nodes>(text_.data());
        } catch (const rapidxml::parse_error& e) {
            return Fail(e.where<char>(), ParserMessage(e.what()));
        } catch (const std::bad_alloc&) {
            return Fail(nullptr, texts::kReadOutOfMemory);
        }
        const Node* root = nullptr;
        for (const Node* node = document.first_node(); node != nullptr;
             node = node->next_sibling()) {
            if (node->type() == rapidxml::node_declaration && node == document.first_node())
                continue;
            if (node->type() != rapidxml::node_element)
                return FailOther(*node);
            if (root != nullptr)
                return FailAtNode(*node, Fill(texts::kReadAfterRoot, {{"name", Str(Name(*node))}}));
            root = node;
        }
        if (root == nullptr)
            return Fail(nullptr, texts::kReadNoRoot);
        if (Name(*root) != "REPORT")
            return FailAtNode(*root, Fill(texts::kReadWrongRoot, {{"name", Str(Name(*root))}}));
        return ReadRoot(*root);
    }

    // The file ends as the writer ends it: with the end tag of the root and its line end. A file
    // cut short is told as such before the parser finds some other fault at its end.
    [[nodiscard]] bool CheckTail() {
        const std::string end = "</REPORT>\r\n";
        if (text_.size() >= end.size() &&
            text_.compare(text_.size() - end.size(), end.size(), end) == 0)
            return true;
        const std::size_t at = text_.rfind("</REPORT>");
        if (at != std::string::npos && at + end.size() < text_.size())
            return Fail(text_.data() + at + end.size(), texts::kReadAfterEnd);
        return Fail(nullptr, texts::kReadNoEnd);
    }

    static std::string_view Name(const Node& node) {
        return std::string_view(node.name(), node.name_size());
    }

    static std::string Str(std::string_view text) { return std::string(text); }

    [[nodiscard]] bool FailOther(const Node& node) {
        switch (node.type()) {
        case rapidxml::node_comment:
            return Fail(node.value() - 4, texts::kReadComment);
        case rapidxml::node_cdata:
            return Fail(node.value() - 9, texts::kReadCdata);
        case rapidxml::node_doctype:
            return Fail(node.value() - 10, texts::kReadDoctype);
        case rapidxml::node_pi:
        case rapidxml::node_declaration:
            return Fail(node.name() - 2, texts::kReadProcessingInstruction);
        default:
            return Fail(node.value(), texts::kReadStrayText);
        }
    }

    static bool IsBlank(std::string_view text) {
        return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
    }

    // The child elements of a group, after checking that it holds nothing else.
    [[nodiscard]] bool GroupChildren(const Node& group, std::vector<const Node*>& children) {
        if (group.first_attribute() != nullptr)
            return FailAtNode(group, Fill(texts::kReadAttribute, {{"name", Str(Name(group))}}));
        for (const Node* node = group.first_node(); node != nullptr; node = node->next_sibling()) {
            if (node->type() == rapidxml::node_element) {
                children.push_back(node);
            } else if (node->type() != rapidxml::node_data ||
                       !IsBlank(std::string_view(node->value(), node->value_size()))) {
                if (node->type() == rapidxml::node_data)
                    return Fail(node->value() + (std::string_view(node->value(), node->value_size())
                                                     .find_first_not_of(" \t\r\n")),
                                Fill(texts::kReadOnlyElements, {{"name", Str(Name(group))}}));
                return FailOther(*node);
            }
        }
        return true;
    }

    // The text of a one-line element, its five character references resolved.
    [[nodiscard]] bool LeafText(const Node& leaf, std::string& text) {
        if (leaf.first_attribute() != nullptr)
            return FailAtNode(leaf, Fill(texts::kReadAttribute, {{"name", Str(Name(leaf))}}));
        for (const Node* node = leaf.first_node(); node != nullptr; node = node->next_sibling()) {
            if (node->type() == rapidxml::node_element)
                return FailAtNode(*node,
                                  Fill(texts::kReadNestedElement,
                                       {{"name", Str(Name(leaf))}, {"child", Str(Name(*node))}}));
            if (node->type() != rapidxml::node_data)
                return FailOther(*node);
        }
        static const std::pair<std::string_view, char> kReferences[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        const std::string_view raw(leaf.value(), leaf.value_size());
        text.clear();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '>' || raw[i] == '"' || raw[i] == '\'')
                return Fail(raw.data() + i,
                            Fill(texts::kReadRawCharacter, {{"character", Str(raw.substr(i, 1))}}));
            if (raw[i] != '&') {
                text += raw[i];
                continue;
            }
            bool known = false;
            for (const auto& reference : kReferences) {
                if (raw.compare(i, reference.first.size(), reference.first) == 0) {
                    text += reference.second;
                    i += reference.first.size() - 1;
                    known = true;
                    break;
                }
            }
            if (!known)
                return Fail(raw.data() + i, texts::kReadBadReference);
        }
        return true;
    }

    // A signed decimal number as "%d" writes it, within [min, max].
    [[nodiscard]] static bool ParseDecimal(std::string_view text, std::int64_t min,
                                           std::int64_t max, std::int64_t& value) {
        const bool negative = !text.empty() && text[0] == '-';
        const std::string_view digits = text.substr(negative ? 1 : 0);
        if (digits.empty() || digits.size() > 18 || (digits[0] == '0' && digits.size() > 1) ||
            (negative && digits == "0"))
            return false;
        std::int64_t magnitude = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return false;
            magnitude = magnitude * 10 + (c - '0');
        }
        value = negative ? -magnitude : magnitude;
        return value >= min && value <= max;
    }

    [[nodiscard]] bool Number(const Node& leaf, std::int64_t min, std::int64_t max,
                              std::int64_t& value) {
        std::string text;
        if (!LeafText(leaf, text))
            return false;
        if (!ParseDecimal(text, min, max, value))
            return Fail(leaf.value_size() > 0 ? leaf.value() : leaf.name() + leaf.name_size() + 1,
                        Fill(texts::kReadNotInteger, {{"name", Str(Name(leaf))},
                                                      {"min", std::to_string(min)},
                                                      {"max", std::to_string(max)},
                                                      {"text", text}}));
        return true;
    }

    [[nodiscard]] bool ReadAmount(const Node& leaf, Amount& amount) {
        std::string text;
        if (!LeafText(leaf, text))
            return false;
        if (text.empty()) {
            amount.reset();
            return true;
        }
        std::int64_t value = 0;
        const char* where = leaf.value();
        if (text == "0")
            return Fail(where, Fill(texts::kReadZero, {{"name", Str(Name(leaf))}}));
        if (!ParseDecimal(text, kMinAmount, kMaxAmount, value))
            return Fail(where, Fill(texts::kReadNotAmount, {{"name", Str(Name(leaf))},
                                                            {"min", std::to_string(kMinAmount)},
                                                            {"max", std::to_string(kMaxAmount)},
                                                            {"text", text}}));
        amount = value;
        return true;
    }

    // Children of a group by name, each name once; unknown names are the caller's to judge.
    [[nodiscard]] bool ByName(const std::vector<const Node*>& children,
                              std::map<std::string, const Node*, std::less<>>& named) {
        for (const Node* child : children) {
            const std::string name(Name(*child));
            const auto found = named.find(name);
            if (found != named.end()) {
                int line = 0;
                int column = 0;
                PositionIn(text_,
                           static_cast<std::size_t>(found->second->name() - 1 - text_.data()),
                           false, line, column);
                return FailAtNode(*child, Fill(texts::kReadTwice,
                                               {{"name", name}, {"line", std::to_string(line)}}));
            }
            named.emplace(name, child);
        }
        return true;
    }

    [[nodiscard]] bool Missing(const Node& group, std::string_view name,
                               const std::string& what = {}) {
        return FailAtNode(group,
                          Fill(texts::kReadMissing,
                               {{"group", Str(Name(group))}, {"name", Str(name)}, {"what", what}}));
    }

    [[nodiscard]] bool Unknown(const Node& group, const Node& child, const std::string& expected) {
        return FailAtNode(child, Fill(texts::kReadUnknown, {{"group", Str(Name(group))},
                                                            {"name", Str(Name(child))},
                                                            {"expected", expected}}));
    }

    // The named groups of a parent, in the writer's order, each exactly once.
    [[nodiscard]] bool Groups(const Node& parent, std::initializer_list<const char*> names,
                              std::vector<const Node*>& groups) {
        std::vector<const Node*> children;
        if (!GroupChildren(parent, children))
            return false;
        std::size_t index = 0;
        for (const char* name : names) {
            if (index == children.size() || Name(*children[index]) != name) {
                for (std::size_t later = index; later < children.size(); ++later) {
                    if (Name(*children[later]) == name)
                        return FailAtNode(
                            *children[index],
                            Fill(texts::kReadGroupHere,
                                 {{"name", name}, {"found", Str(Name(*children[index]))}}));
                }
                if (index < children.size()) {
                    bool known = false;
                    for (const char* other : names)
                        known = known || Name(*children[index]) == other;
                    if (!known)
                        return Unknown(parent, *children[index],
                                       Fill(texts::kReadExpectedHere, {{"name", name}}));
                    return FailAtNode(
                        *children[index],
                        Fill(texts::kReadGroupMissingBefore,
                             {{"name", name}, {"found", Str(Name(*children[index]))}}));
                }
                return Missing(parent, name, texts::kReadGroupWord);
            }
            groups.push_back(children[index++]);
        }
        if (index < children.size())
            return FailAtNode(*children[index],
                              Fill(texts::kReadAfterLast, {{"name", Str(Name(*children[index]))},
                                                           {"group", Str(Name(parent))}}));
        return true;
    }

    [[nodiscard]] bool ReadRoot(const Node& root) {
        std::vector<const Node*> groups;
        return Groups(root, {"SYSTEM", "BASIC", "DATA"}, groups) && ReadSystem(*groups[0]) &&
               ReadBasic(*groups[1]) && ReadData(*groups[2]);
    }

    // A group of fixed elements: each of tags exactly once, nothing else.
    template <std::size_t N>
    [[nodiscard]] bool FixedElements(const Node& group, const char* const (&tags)[N],
                                     std::array<const Node*, N>& found) {
        std::vector<const Node*> children;
        std::map<std::string, const Node*, std::less<>> named;
        if (!GroupChildren(group, children) || !ByName(children, named))
            return false;
        for (const Node* child : children) {
            bool known = false;
            for (const char* tag : tags)
                known = known || Name(*child) == tag;
            if (!known) {
                std::string list;
                for (const char* tag : tags)
                    list += (list.empty() ? "" : ", ") + std::string(tag);
                return Unknown(group, *child, Fill(texts::kReadTagsAre, {{"list", list}}));
            }
        }
        for (std::size_t i = 0; i < N; ++i) {
            const auto it = named.find(tags[i]);
            if (it == named.end())
                return Missing(group, tags[i]);
            found[i] = it->second;
        }
        return true;
    }

    [[nodiscard]] bool Fixed(const Node& leaf, const std::string& expected) {
        std::string text;
        if (!LeafText(leaf, text))
            return false;
        if (text != expected)
            return Fail(leaf.value_size() > 0 ? leaf.value() : leaf.name() + leaf.name_size() + 1,
                        Fill(texts::kReadFixedValue,
                             {{"name", Str(Name(leaf))}, {"expected", expected}, {"text", text}}));
        return true;
    }

    [[nodiscard]] bool ReadSystem(const Node& system) {
        std::array<const Node*, 6> e{};
        std::int64_t functionId = 0;
        if (!FixedElements(system, kSystemTags, e) || !Fixed(*e[0], "RV16") || !Fixed(*e[1], "1") ||
            !Number(*e[2], std::numeric_limits<std::int16_t>::min(),
                    std::numeric_limits<std::int16_t>::max(), functionId) ||
            !LeafText(*e[3], report_.connectedVersion) || !LeafText(*e[4], report_.programName) ||
            !LeafText(*e[5], report_.programVersion))
            return false;
        report_.functionId = static_cast<std::int16_t>(functionId);
        return true;
    }

    [[nodiscard]] bool ReadBasic(const Node& basic) {
        std::array<const Node*, 3> e{};
        std::int64_t from = 0;
        std::int64_t to = 0;
        constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        if (!FixedElements(basic, kBasicTags, e) || !LeafText(*e[0], report_.company) ||
            !Number(*e[1], kMin, kMax, from) || !Number(*e[2], kMin, kMax, to))
            return false;
        report_.periodFrom = static_cast<std::int32_t>(from);
        report_.periodTo = static_cast<std::int32_t>(to);
        report_.form = FormGenerationOf(report_.periodTo);
        periodEnd_ = e[2];
        return true;
    }

    static std::string FormName(FormGeneration form) {
        return form == FormGeneration::k30 ? "\"30\"" : "\"16\"";
    }

    // What to say of a tag that the report's generation does not have.
    std::string OtherForm(const std::string& tag) {
        const FormItems* other = formItems_(OtherGeneration(report_.form), report_.programName);
        if (other != nullptr && other->Find(tag) != nullptr)
            return Fill(texts::kReadOtherForm, {{"tag", tag},
                                                {"other", FormName(OtherGeneration(report_.form))},
                                                {"end", std::to_string(report_.periodTo)},
                                                {"form", FormName(report_.form)}});
        return Fill(texts::kReadNotInForm, {{"form", FormName(report_.form)}});
    }

    [[nodiscard]] bool ReadData(const Node& data) {
        items_ = formItems_(report_.form, report_.programName);
        if (items_ == nullptr) {
            noFormItems_ = true;
            return FailAtNode(*periodEnd_,
                              Fill(texts::kReadNoFormItems, {{"form", FormName(report_.form)}}));
        }
        std::vector<const Node*> groups;
        return Groups(data, {"SYUYOUKAMOKU", "TUKIBETUURIAGEDAKA"}, groups) &&
               ReadMainItems(*groups[0]) && ReadMonthlyItems(*groups[1]);
    }

    [[nodiscard]] bool ReadMainItems(const Node& group) {
        std::vector<const Node*> children;
        std::map<std::string, const Node*, std::less<>> named;
        if (!GroupChildren(group, children) || !ByName(children, named))
            return false;
        for (const Node* child : children) {
            const FormItem* line = items_->Find(std::string(Name(*child)));
            if (line == nullptr || line->monthly)
                return Unknown(group, *child, OtherForm(std::string(Name(*child))));
        }
        for (const FormItem& line : items_->lines) {
            if (line.monthly)
                continue;
            const auto it = named.find(line.tag);
            if (it == named.end())
                return Missing(group, line.tag, Fill(texts::kReadLineName, {{"name", line.name}}));
            MainItem item;
            item.line = &line;
            if (!ReadAmount(*it->second, item.amount))
                return false;
            report_.mainItems.push_back(item);
        }
        return true;
    }

    // "TAG05" -> tag "TAG" and index 5; false without two digits 01..12 at the end.
    [[nodiscard]] static bool SplitMonthly(std::string_view name, std::string& tag, int& index) {
        if (name.size() < 3)
            return false;
        const char tens = name[name.size() - 2];
        const char ones = name[name.size() - 1];
        if (tens < '0' || tens > '1' || ones < '0' || ones > '9')
            return false;
        index = (tens - '0') * 10 + (ones - '0');
        tag.assign(name.substr(0, name.size() - 2));
        return index >= 1 && index <= kMonths;
    }

    [[nodiscard]] bool ReadMonthlyItems(const Node& group) {
        std::vector<const Node*> children;
        std::map<std::string, const Node*, std::less<>> named;
        if (!GroupChildren(group, children) || !ByName(children, named))
            return false;
        for (const Node* child : children) {
            std::string tag;
            int index = 0;
            const bool split = SplitMonthly(Name(*child), tag, index);
            if (split && tag == kMonthTag)
                continue;
            const FormItem* line = split ? items_->Find(tag) : nullptr;
            if (line == nullptr || !line->monthly)
                return Unknown(group, *child,
                               split ? OtherForm(tag) : std::string(texts::kReadMonthlyNames));
        }
        for (int index = 1; index <= kMonths; ++index) {
            const std::string monthTag = kMonthTag + TwoDigits(index);
            const auto it = named.find(monthTag);
            if (it == named.end())
                return Missing(group, monthTag);
            std::int64_t month = 0;
            if (!Number(*it->second, 1, 12, month))
                return false;
            const int expected = index == 1 ? static_cast<int>(month)
                                            : report_.months[0] + index - 1 -
                                                  (report_.months[0] + index - 1 > 12 ? 12 : 0);
            if (month != expected)
                return Fail(it->second->value(),
                            Fill(texts::kReadMonthExpected,
                                 {{"tag", monthTag},
                                  {"expected", std::to_string(expected)},
                                  {"first", std::to_string(report_.months[0])}}));
            report_.months[index - 1] = static_cast<int>(month);
        }
        for (const FormItem& line : items_->lines) {
            if (!line.monthly)
                continue;
            MonthlyRow row;
            row.line = &line;
            for (int index = 1; index <= kMonths; ++index) {
                const std::string tag = line.tag + TwoDigits(index);
                const auto it = named.find(tag);
                if (it == named.end())
                    return Missing(group, tag, Fill(texts::kReadLineName, {{"name", line.name}}));
                if (!ReadAmount(*it->second, row.amounts[index - 1]))
                    return false;
            }
            report_.monthlyRows.push_back(row);
        }
        return true;
    }

    const FormItemsSource& formItems_;
    Report& report_;
    ReadError& error_;
    std::string text_; // the file as UTF-8; the parser's names and values point into it
    const FormItems* items_ = nullptr;
    const Node* periodEnd_ = nullptr;
    bool noFormItems_ = false;
};

} // namespace

Amount RowTotal(const MonthlyRow& row) {
    Amount total;
    for (const Amount& amount : row.amounts) {
        if (amount)
            total = total.value_or(0) + *amount;
    }
    return total;
}

std::string PeriodText(const Report& report) {
    return DateText(report.periodFrom) + texts::kPeriodDash + DateText(report.periodTo);
}

const MainItem* Report::FindMain(const std::string& tag) const {
    for (const MainItem& item : mainItems) {
        if (item.line->tag == tag)
            return &item;
    }
    return nullptr;
}

const MonthlyRow* Report::FindMonthly(const std::string& tag) const {
    for (const MonthlyRow& row : monthlyRows) {
        if (row.line->tag == tag)
            return &row;
    }
    return nullptr;
}

platform::Status ReadReport(const std::string& bytes, const FormItemsSource& formItems,
                            Report& report, ReadError& error) {
    Report read;
    Reader reader(formItems, read, error);
    if (!reader.Read(bytes)) {
        if (reader.NoFormItems())
            return platform::Status::NoData("read-form-items");
        return platform::Status::BadFile(
            "read-report", "", std::to_string(error.line) + ":" + std::to_string(error.column));
    }
    report = std::move(read);
    return {};
}

} // namespace checker
