#include "standin/json_read.h"

#include "standin/system.h"

#include <algorithm>

namespace standin {

using nlohmann::json;

namespace {

std::string LineAndColumn(const std::string& text, std::size_t byte) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return std::to_string(line) + " 行 " + std::to_string(column) + " 桁";
}

} // namespace

[[noreturn]] void Fail(const std::string& place, const std::string& problem) {
    throw JsonProblem{place.empty() ? "/" : place, problem};
}

std::string Key(const std::string& place, const std::string& key) {
    return place + "/" + key;
}
std::string Index(const std::string& place, std::size_t i) {
    return place + "/" + std::to_string(i);
}

void CheckKeys(const json& object, const std::string& place,
               std::initializer_list<const char*> allowed) {
    if (!object.is_object())
        Fail(place, "オブジェクトではありません。");
    for (const auto& item : object.items()) {
        const std::string& key = item.key();
        // Keys that start with '_' are comments.
        if (!key.empty() && key[0] == '_')
            continue;
        const bool known = std::any_of(allowed.begin(), allowed.end(),
                                       [&](const char* name) { return key == name; });
        if (!known)
            Fail(Key(place, key), "知らない項目です。");
    }
}

const json* Find(const json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const json& Require(const json& object, const std::string& place, const char* key) {
    const json* value = Find(object, key);
    if (value == nullptr)
        Fail(Key(place, key), "必須の項目がありません。");
    return *value;
}

int64_t ReadInteger(const json& value, const std::string& place, int64_t low, int64_t high) {
    bool inRange = false;
    int64_t n = 0;
    if (value.is_number_unsigned()) {
        const uint64_t u = value.get<uint64_t>();
        inRange = high >= 0 && u <= static_cast<uint64_t>(high);
        n = inRange ? static_cast<int64_t>(u) : 0;
        inRange = inRange && n >= low;
    } else if (value.is_number_integer()) {
        n = value.get<int64_t>();
        inRange = n >= low && n <= high;
    } else {
        Fail(place, "整数ではありません。");
    }
    if (!inRange)
        Fail(place,
             "値が範囲 " + std::to_string(low) + " から " + std::to_string(high) + " の外です。");
    return n;
}

int64_t OptionalInteger(const json& object, const std::string& place, const char* key, int64_t low,
                        int64_t high, int64_t fallback) {
    const json* value = Find(object, key);
    return value == nullptr ? fallback : ReadInteger(*value, Key(place, key), low, high);
}

// A flag byte: true, false or an integer 0 to 255; absent is 0.
uint8_t OptionalFlag(const json& object, const std::string& place, const char* key) {
    const json* value = Find(object, key);
    if (value == nullptr)
        return 0;
    if (value->is_boolean())
        return value->get<bool>() ? 1 : 0;
    return static_cast<uint8_t>(ReadInteger(*value, Key(place, key), 0, 255));
}

// A text converted to Shift_JIS that must fit a field of maxBytes bytes before its NUL.
std::string ReadText(const json& value, const std::string& place, std::size_t maxBytes,
                     bool allowEmpty) {
    if (!value.is_string())
        Fail(place, "文字列ではありません。");
    const std::string& utf8 = value.get_ref<const std::string&>();
    if (utf8.find('\0') != std::string::npos)
        Fail(place, "NUL 文字は使えません。");
    if (utf8.empty() && !allowEmpty)
        Fail(place, "空です。");
    std::string sjis = Utf8ToSjis(utf8);
    if (sjis.size() > maxBytes)
        Fail(place, "長すぎます (Shift_JIS で " + std::to_string(sjis.size()) + " バイト、最大 " +
                        std::to_string(maxBytes) + " バイト)。");
    return sjis;
}

std::string ReadPath(const json& value, const std::string& place) {
#ifdef _WIN32
    return ReadText(value, place, 259, true);
#else
    // The native file system takes the UTF-8 bytes as they are.
    if (!value.is_string())
        Fail(place, "文字列ではありません。");
    const std::string& path = value.get_ref<const std::string&>();
    if (path.find('\0') != std::string::npos)
        Fail(place, "NUL 文字は使えません。");
    return path;
#endif
}

bool ParseJson(const std::string& text, json& doc, JsonProblem& problem) {
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        problem.place = LineAndColumn(text, e.byte == 0 ? 0 : e.byte - 1);
        problem.problem = std::string("JSON の構文エラーです (") + e.what() + ")。";
        return false;
    } catch (const json::exception& e) {
        // A number out of range, for one: the parser names no place of its own.
        problem.place = "-";
        problem.problem = std::string("JSON として読めません (") + e.what() + ")。";
        return false;
    }
    return true;
}

} // namespace standin
