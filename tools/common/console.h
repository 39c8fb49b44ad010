// The start of every test tool's main: its output, its arguments and the code page it needs.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tools {

// Makes standard output end its lines in LF, as the shell scripts that read it expect, and
// returns the command line's arguments after the program's name.
std::vector<std::wstring> StartConsole();

// True when the ANSI code page is 932: the programs' texts are code page 932, and in any other
// locale they would all read '?'. Otherwise writes "<prefix>the ANSI code page is N, not 932
// (run under LC_ALL=ja_JP.UTF-8)" to stream and returns false.
bool HasCodePage932(std::FILE* stream, const char* prefix);

} // namespace tools
