// Reading the stand-in's JSON files with exact places for every problem.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace standin {

// A problem met while reading a value; place is its JSON pointer, problem is Shift_JIS.
struct JsonProblem {
    std::string place;
    std::string problem;
};

[[noreturn]] void Fail(const std::string& place, const std::string& problem);

std::string Key(const std::string& place, const std::string& key);
std::string Index(const std::string& place, std::size_t i);

// Fails unless object is an object whose keys are all allowed; keys starting with '_' are
// comments.
void CheckKeys(const nlohmann::json& object, const std::string& place,
               std::initializer_list<const char*> allowed);
const nlohmann::json* Find(const nlohmann::json& object, const char* key);
const nlohmann::json& Require(const nlohmann::json& object, const std::string& place,
                              const char* key);

int64_t ReadInteger(const nlohmann::json& value, const std::string& place, int64_t low,
                    int64_t high);
int64_t OptionalInteger(const nlohmann::json& object, const std::string& place, const char* key,
                        int64_t low, int64_t high, int64_t fallback);
// A flag byte: true, false or an integer 0 to 255; absent is 0.
uint8_t OptionalFlag(const nlohmann::json& object, const std::string& place, const char* key);
// A text converted to Shift_JIS that must fit maxBytes bytes (its NUL not counted).
std::string ReadText(const nlohmann::json& value, const std::string& place, std::size_t maxBytes,
                     bool allowEmpty);

// A path: in the system code page (Shift_JIS, at most 259 bytes) on Windows, the UTF-8 bytes as
// they are elsewhere.
std::string ReadPath(const nlohmann::json& value, const std::string& place);

// Parses text; on a syntax error fills problem with its line and column and returns false.
bool ParseJson(const std::string& text, nlohmann::json& doc, JsonProblem& problem);

} // namespace standin
