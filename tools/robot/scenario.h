// Scenario files: UTF-8 text, one command per line (or several separated by ';'), '#' starts a
// comment. Arguments are words or "quoted texts" with the escapes \n \t \" \\; a word of the
// form name=value (value possibly quoted) is an option. Lines that prepare the program folder
// (folder, file, file-sjis, remove, with their <<...>> blocks) belong to the runner and are
// skipped here.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace robot {

struct Command {
    int line = 0;
    std::string source; // the command as written, for the transcript
    std::string name;
    std::vector<std::string> args;
    std::map<std::string, std::string> options;
};

// Parses a whole scenario. Throws std::runtime_error naming the line on a syntax error.
std::vector<Command> ParseScenario(const std::string& text);

} // namespace robot
