#include "dialog_template.h"

#include "file_bytes.h"

#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace {

std::string ReadAll(const std::string& path) {
    std::string text;
    if (!ReadFileBytes(path, text))
        throw std::runtime_error("cannot read " + path);
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Splits a statement at the commas outside quoted text.
std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (c == ',' && !quoted) {
            parts.push_back(Trim(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(Trim(part));
    return parts;
}

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

int Resolve(const std::string& symbol, const std::map<std::string, int>& ids) {
    const auto found = ids.find(symbol);
    if (found != ids.end()) {
        return found->second;
    }
    return std::stoi(symbol);
}

// The script's lines with continuation lines (a line ending in ',') joined to their statement.
std::vector<std::string> Statements(const std::string& script) {
    std::vector<std::string> statements;
    std::istringstream lines(script);
    std::string line;
    std::string pending;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.rfind("//", 0) == 0) {
            continue;
        }
        pending += (pending.empty() ? "" : " ") + line;
        if (!pending.empty() && pending.back() == ',') {
            continue;
        }
        statements.push_back(pending);
        pending.clear();
    }
    return statements;
}

TemplateControl ParseControl(const std::string& statement, const std::map<std::string, int>& ids) {
    TemplateControl control;
    const auto space = statement.find_first_of(" \t");
    control.kind = statement.substr(0, space);
    const std::vector<std::string> args = SplitArguments(statement.substr(space + 1));
    // CONTROL text, id, class, style, x, y, w, h; the others text, id, x, y, w, h [, style].
    const bool generic = control.kind == "CONTROL";
    const std::size_t geometry = generic ? 4 : 2;
    if (args.size() < geometry + 4) {
        throw std::runtime_error("short control statement: " + statement);
    }
    control.text = Unquote(args[0]);
    control.id = Resolve(args[1], ids);
    control.left = std::stoi(args[geometry]);
    control.top = std::stoi(args[geometry + 1]);
    control.width = std::stoi(args[geometry + 2]);
    control.height = std::stoi(args[geometry + 3]);
    if (generic) {
        control.style = args[3];
    } else if (args.size() > geometry + 4) {
        control.style = args[geometry + 4];
    }
    return control;
}

} // namespace

const TemplateControl* DialogTemplate::Find(int controlId) const {
    for (const TemplateControl& control : controls) {
        if (control.id == controlId) {
            return &control;
        }
    }
    return nullptr;
}

std::map<std::string, int> ReadIdHeader(const std::string& path) {
    std::map<std::string, int> ids;
    std::istringstream lines(ReadAll(path));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string define;
        std::string name;
        int value = 0;
        if (words >> define >> name >> value && define == "#define") {
            ids[name] = value;
        }
    }
    return ids;
}

DialogTemplate ReadDialogTemplate(const std::string& scriptPath,
                                  const std::map<std::string, int>& ids, int dialogId) {
    const std::vector<std::string> statements = Statements(ReadAll(scriptPath));
    for (std::size_t i = 0; i < statements.size(); ++i) {
        std::istringstream head(statements[i]);
        std::string symbol;
        std::string keyword;
        if (!(head >> symbol >> keyword) || keyword != "DIALOGEX" ||
            Resolve(symbol, ids) != dialogId) {
            continue;
        }
        DialogTemplate dialog;
        dialog.id = dialogId;
        std::string rest;
        std::getline(head, rest);
        const std::vector<std::string> size = SplitArguments(rest);
        dialog.width = std::stoi(size.at(2));
        dialog.height = std::stoi(size.at(3));
        std::size_t j = i + 1;
        for (; j < statements.size() && statements[j] != "BEGIN"; ++j) {
            if (statements[j].rfind("CAPTION", 0) == 0) {
                dialog.caption = Unquote(Trim(statements[j].substr(7)));
            }
        }
        for (++j; j < statements.size() && statements[j] != "END"; ++j) {
            dialog.controls.push_back(ParseControl(statements[j], ids));
        }
        return dialog;
    }
    throw std::runtime_error("no dialog " + std::to_string(dialogId) + " in " + scriptPath);
}

} // namespace testsupport
