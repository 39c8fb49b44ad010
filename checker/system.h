// The few services of the system that the checker's command needs.
#pragma once

#include <string>

namespace checker {

// The folder of the running program, with a trailing separator.
std::string ProgramFolder();
// A command-line argument or a path as UTF-8 text, for messages.
std::string ArgumentToUtf8(const std::string& argument);
// The terminal takes the UTF-8 bytes as they are written.
void PrepareConsole();
// The path of a file in a folder.
std::string InFolder(const std::string& folder, const std::string& name);

} // namespace checker
