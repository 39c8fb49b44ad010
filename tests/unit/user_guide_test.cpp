// The user guide docs/使い方.md explains every message the program can show: each message text
// appears in it as the user sees it, line by line, so that a new message cannot go undocumented.
// What it says about the file dialog matches the flags with which page 1 opens it (the overwrite
// question of Execute: condition_sheet_logic_test.cpp).
#include "support/user_guide.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The sources are UTF-8; u8 literals stay UTF-8 whatever the execution character set.
const char kGuide[] = u8"docs/使い方.md";
const char kCatalogue[] = "texts/catalogue.txt";
// The sources that show message boxes, while the texts are written in them.
const char* const kMessageSources[] = {
    "app/environment_check.cpp",    "app/overview_app.cpp",         "app/overview_run.cpp",
    "ui/condition_sheet_logic.cpp", "ui/win32/condition_sheet.cpp", "report/support_info.cpp",
};
// The host's message service shows the filing application's package name for this placeholder;
// the guide names it as the stand-in host does.
const char kPackagePlaceholder[] = "ES_APRPACKAGENAME";
const char kPackageName[] = u8"Quorin申告";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The escapes the texts use: \n, \\ and \".
std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next;
    }
    return out;
}

// Catalogue entries "kName<TAB>text" whose name ends in "Message".
std::vector<std::string> CatalogueMessages(const std::string& catalogue) {
    std::vector<std::string> messages;
    std::istringstream lines(catalogue);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos)
            continue;
        const std::string name = line.substr(0, tab);
        if (name.size() > 7 && name.compare(name.size() - 7, 7, "Message") == 0)
            messages.push_back(Unescaped(line.substr(tab + 1)));
    }
    return messages;
}

// The string constants of a C++ source (adjacent literals joined, comments skipped) that read as
// a message: a sentence ending in "。" or a question ending in "？".
std::vector<std::string> SourceMessages(const std::string& source) {
    std::vector<std::string> literals;
    bool joining = false;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '/' && i + 1 < source.size() && source[i + 1] == '/') {
            i = source.find('\n', i);
            if (i == std::string::npos)
                break;
            continue;
        }
        if (c == '"') {
            std::string literal;
            for (++i; i < source.size() && source[i] != '"'; ++i) {
                literal += source[i];
                if (source[i] == '\\' && i + 1 < source.size())
                    literal += source[++i];
            }
            if (joining)
                literals.back() += Unescaped(literal);
            else
                literals.push_back(Unescaped(literal));
            joining = true;
            continue;
        }
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            joining = false;
    }
    std::vector<std::string> messages;
    for (const std::string& literal : literals)
        if (Contains(literal, u8"。") ||
            (literal.size() >= 3 && literal.compare(literal.size() - 3, 3, u8"？") == 0))
            messages.push_back(literal);
    return messages;
}

// Every text the program shows in a message box: from the text catalogue when the sources have
// one, else from the sources that show the messages.
std::vector<std::string> ProgramMessages() {
    std::string text;
    if (testsupport::ReadSourceFile(kCatalogue, text))
        return CatalogueMessages(text);
    std::vector<std::string> messages;
    for (const char* source : kMessageSources) {
        EXPECT_TRUE(testsupport::ReadSourceFile(source, text)) << source;
        for (const std::string& message : SourceMessages(text))
            messages.push_back(message);
    }
    return messages;
}

std::string AsShown(std::string message) {
    for (std::size_t at; (at = message.find(kPackagePlaceholder)) != std::string::npos;)
        message.replace(at, sizeof kPackagePlaceholder - 1, kPackageName);
    return message;
}

TEST(UserGuideTest, ExtractionFindsTheMessagesOfSourcesAndCatalogue) {
    const std::string source =
        u8"// \"not this。\"\n"
        u8"const char kA[] = \"one。\\n\\n\"\n"
        u8"                  \"two。\";\n"
        u8"const char kB[] = \"caption\";\n"
        u8"const char kC[] = \"question？\"; const char kD[] = \"three。\";\n";
    const std::vector<std::string> fromSource = SourceMessages(source);
    ASSERT_EQ(3u, fromSource.size());
    EXPECT_EQ(u8"one。\n\ntwo。", fromSource[0]);
    EXPECT_EQ(u8"question？", fromSource[1]);
    EXPECT_EQ(u8"three。", fromSource[2]);

    const std::string catalogue = u8"# comment\n"
                                  u8"kAppTitle\tcaption\n"
                                  u8"kWrittenMessage\tdone。\\n\\nend。\r\n"
                                  u8"kTip\ttip。\n"
                                  u8"kPathMessage\tC:\\\\a\n";
    const std::vector<std::string> fromCatalogue = CatalogueMessages(catalogue);
    ASSERT_EQ(2u, fromCatalogue.size());
    EXPECT_EQ(u8"done。\n\nend。", fromCatalogue[0]);
    EXPECT_EQ("C:\\a", fromCatalogue[1]);
}

TEST(UserGuideTest, EveryMessageOfTheProgramIsInTheGuide) {
    const std::string lf = testsupport::UserGuide();
    const std::vector<std::string> messages = ProgramMessages();
    // The program has about twenty messages; far fewer means the extraction lost them.
    EXPECT_GE(messages.size(), 20u);
    for (const std::string& message : messages)
        EXPECT_NE(std::string::npos, lf.find(AsShown(message)))
            << "not in " << kGuide << " (as the user sees it):\n"
            << AsShown(message);
}

// The OFN_ flags of the statement "dialog.Flags = ...;" of a source; empty when there is none.
std::set<std::string> DialogFlags(const std::string& source) {
    std::set<std::string> flags;
    const std::size_t start = source.find("dialog.Flags =");
    if (start == std::string::npos)
        return flags;
    const std::string statement = source.substr(start, source.find(';', start) - start);
    const std::regex flag("OFN_[A-Z]+");
    for (auto it = std::sregex_iterator(statement.begin(), statement.end(), flag);
         it != std::sregex_iterator(); ++it)
        flags.insert(it->str());
    return flags;
}

TEST(UserGuideTest, WhatTheGuideSaysOfTheFileDialogMatchesItsFlags) {
    std::string page1;
    ASSERT_TRUE(testsupport::ReadSourceFile("ui/win32/page1.cpp", page1));
    const std::set<std::string> flags = DialogFlags(page1);
    ASSERT_FALSE(flags.empty()) << "no \"dialog.Flags = ...;\" in ui/win32/page1.cpp";
    const testsupport::GuideStatement statements[] = {
        {"OFN_OVERWRITEPROMPT",
         u8"ファイルを選ぶ画面で既にあるファイルを選ぶと、上書きしてよいか確認されます。",
         u8"ファイルを選ぶ画面では、既にあるファイルを選んでも上書きの確認は表示されません。"},
        {"OFN_FILEMUSTEXIST", u8"ファイルを選ぶ画面では、既にあるファイルしか選べません。",
         u8"ファイルを選ぶ画面では、まだないファイルの名前も入力できます。"},
        {"OFN_PATHMUSTEXIST", u8"ファイルを選ぶ画面では、ないフォルダは指定できません。",
         u8"ファイルを選ぶ画面では、ないフォルダも指定できます。"},
    };
    for (const testsupport::GuideStatement& statement : statements)
        testsupport::ExpectGuideSays(statement, flags.count(statement.condition) != 0);
}

} // namespace
