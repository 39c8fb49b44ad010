#include "robot/scenario.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace robot {

namespace {

struct Word {
    std::string text;
    // Length of the option name when the word is name=value with the '=' outside quotes.
    std::size_t optionName = 0;
};

bool IsRunnerDirective(const std::string& name) {
    return name == "folder" || name == "file" || name == "file-sjis" || name == "remove";
}

std::runtime_error SyntaxError(int line, const std::string& what) {
    return std::runtime_error("line " + std::to_string(line) + ": " + what);
}

// Splits one line into commands of words.
std::vector<std::vector<Word>> SplitLine(const std::string& text, int line) {
    std::vector<std::vector<Word>> commands(1);
    Word word;
    bool inWord = false;
    bool quoted = false;
    auto finishWord = [&] {
        if (inWord)
            commands.back().push_back(word);
        word = Word();
        inWord = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < text.size()) {
                const char e = text[++i];
                word.text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
            } else {
                word.text += c;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            finishWord();
        } else if (c == ';') {
            finishWord();
            commands.emplace_back();
        } else if (c == '#' && !inWord) {
            break;
        } else {
            if (c == '=' && word.optionName == 0 && !word.text.empty())
                word.optionName = word.text.size();
            word.text += c;
            inWord = true;
        }
    }
    if (quoted)
        throw SyntaxError(line, "unterminated quote");
    finishWord();
    return commands;
}

} // namespace

std::vector<Command> ParseScenario(const std::string& text) {
    std::vector<Command> commands;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    bool inBlock = false;
    while (std::getline(in, raw)) {
        ++line;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (inBlock) {
            inBlock = raw != ">>";
            continue;
        }
        for (const std::vector<Word>& words : SplitLine(raw, line)) {
            if (words.empty())
                continue;
            Command command;
            command.line = line;
            command.name = words[0].text;
            if (IsRunnerDirective(command.name)) {
                inBlock = words.back().text == "<<";
                break;
            }
            command.source = raw;
            for (std::size_t i = 1; i < words.size(); ++i) {
                const Word& w = words[i];
                if (w.optionName > 0)
                    command.options[w.text.substr(0, w.optionName)] =
                        w.text.substr(w.optionName + 1);
                else
                    command.args.push_back(w.text);
            }
            commands.push_back(command);
        }
    }
    if (inBlock)
        throw SyntaxError(line, "file block without its closing >>");
    return commands;
}

} // namespace robot
