// Text conversions of the test tools: scenario files and transcripts are UTF-8, windows are
// read as UTF-16, and the programs under test see code page 932.
#pragma once

#include <string>

namespace tools {

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
// Shows control characters as escapes ("\n", "\t", "\r") so that a transcript line stays one line.
std::string Escaped(const std::string& utf8);

} // namespace tools
