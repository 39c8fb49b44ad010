// Checks under Wine of the path rules and the settings file on real folders: the folder chain
// with its roll-back, folders named with 0x5C second bytes, the portable splitting against the
// system's _splitpath and PathStripToRootA, and a settings file saved, replaced and read back.
// Console program; exit status 0 when every check passed.
#include "settings/paths.h"
#include "settings/settings_file.h"
#include "tests/wine/wine_check.h"
#include "win32_filesystem.h"

#include <windows.h>

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using winecheck::Check;

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Removes a folder and everything in it.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                ::DeleteFileA((folder + name).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ",") + name;
    return text;
}

void CheckFolderChain(platform::FileSystem& files, const std::string& base) {
    Check(CreateFolderChain(files, base + "a\\b\\c\\out.xml").ok(), "chain a\\b\\c created");
    Check(IsFolder(base + "a\\b\\c"), "a\\b\\c is a folder");
    Check(CreateFolderChain(files, base + "a\\b\\c\\out.xml").ok(), "existing chain passes");

    // The second level cannot be created ('*' is no name character): the first is removed
    // again and the folder that existed stays.
    Check(::CreateDirectoryA((base + "keep").c_str(), nullptr) != FALSE, "keep created");
    Check(!CreateFolderChain(files, base + "keep\\new\\bad*name\\out.xml").ok(),
          "chain with a failing second level fails");
    Check(!IsFolder(base + "keep\\new"), "keep\\new removed again");
    Check(IsFolder(base + "keep"), "keep stays");

    // 表 and ソ end in 0x5C: each is one folder, not a separator.
    Check(CreateFolderChain(files, base + "表\\ソ\\out.xml").ok(), "chain 表\\ソ created");
    Check(IsFolder(base + "表\\ソ"), "表\\ソ is a folder");
    Check(Joined(Entries(base + "表\\")) == "ソ", "表 holds only ソ",
          Joined(Entries(base + "表\\")));

    // A relative path is refused and nothing appears in the current folder.
    Check(::SetCurrentDirectoryA(base.c_str()) != FALSE, "current folder set");
    Check(!CreateFolderChain(files, "rel\\out.xml").ok(), "relative chain refused");
    Check(!IsFolder(base + "rel"), "no folder rel");
    Check(!CheckPathDrive(files, "rel.xml"), "relative path fails the drive rule");
    Check(CheckPathDrive(files, base + "a.xml"), "temp folder passes the drive rule");
}

void CheckSplitting() {
    const std::vector<std::string> paths = {
        "C:\\out\\a.xml", "C:\\a.xml",     "C:\\data\\表\\ソ.xml",
        "C:\\表",         "C:\\ソ\\十\\",  "\\\\server\\share\\a\\b.xml",
        "C:a.xml",        "C:\\out\\sub\\"};
    for (const std::string& path : paths) {
        char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
        ::_splitpath(path.c_str(), drive, dir, name, ext);
        std::string expected = std::string(drive) + dir;
        Check(EnsureTrailingSeparator(expected), "separator after " + expected, "too long");
        std::string folder;
        const bool split = FolderOfPath(path, folder);
        Check(split && folder == expected, "folder of " + path, folder + " system " + expected);

        char root[MAX_PATH];
        lstrcpynA(root, folder.c_str(), MAX_PATH);
        std::string systemRoot;
        if (::PathStripToRootA(root)) {
            systemRoot = root;
            Check(EnsureTrailingSeparator(systemRoot), "separator after " + systemRoot, "too long");
        }
        Check(RootOfPath(folder) == systemRoot, "root of " + folder,
              RootOfPath(folder) + " system " + systemRoot);
    }
}

void CheckSettingsFile(platform::FileSystem& files, const std::string& base) {
    MappingEntries mappings;
    AggregationConditions conditions;
    conditions.userId = "山田ソ";
    conditions.selectionNo1 = 1;
    conditions.selectionNo2 = 2;
    conditions.endMonth = 3;
    conditions.taxIncluded = 1;
    conditions.outputPath = "C:\\out\\表.xml";
    conditions.mappings = &mappings;
    auto entry = std::make_unique<MappingEntry>();
    entry->lineNo = 5;
    entry->key = "0x00112233445566778899aabbccddeeff";
    mappings.push_back(std::move(entry));

    const std::string folder = base + "settings\\表\\";
    const std::string file = folder + "RV16_G_山田ソ_1_2.env";
    Check(saveSettings(files, folder, conditions).ok(), "settings saved into a new folder chain");
    std::string bytes;
    files.ReadFile(file, bytes);
    Check(bytes == "[P1]\n3/1/0/C:\\out\\表.xml\n[終了]\n[P2/P3]\n5/"
                   "0x00112233445566778899aabbccddeeff[END]\n[終了]\n",
          "settings bytes");
    conditions.endMonth = 9;
    Check(saveSettings(files, folder, conditions).ok(), "settings replaced");
    Check(Joined(Entries(folder)) == "RV16_G_山田ソ_1_2.env", "only the settings file remains",
          Joined(Entries(folder)));

    MappingEntries read;
    AggregationConditions loaded;
    loaded.userId = conditions.userId;
    loaded.selectionNo1 = 1;
    loaded.selectionNo2 = 2;
    loaded.mappings = &read;
    const bool readBack = loadSettings(files, folder, loaded);
    Check(readBack && loaded.endMonth == 9 && read.size() == 1 &&
              loaded.savedOutputPath == conditions.outputPath,
          "settings read back", "end month " + std::to_string(loaded.endMonth));

    // A folder where the file must go: saving fails and leaves no temporary file.
    Check(::CreateDirectoryA((folder + "RV16_G_山田ソ_1_3.env").c_str(), nullptr) != FALSE,
          "blocking folder created");
    conditions.selectionNo2 = 3;
    Check(!saveSettings(files, folder, conditions).ok(), "save onto a folder fails");
    Check(Joined(Entries(folder)) == "RV16_G_山田ソ_1_2.env,RV16_G_山田ソ_1_3.env",
          "no temporary file left", Joined(Entries(folder)));
}

} // namespace

int main() {
    Check(::GetACP() == 932, "code page 932", std::to_string(::GetACP()));
    if (::GetACP() != 932)
        return 1;
    platform::Win32FileSystem files;
    const std::string base =
        files.TempFolder() + "ovw_paths_" + std::to_string(::GetCurrentProcessId()) + "\\";
    RemoveTree(base);
    if (!::CreateDirectoryA(base.c_str(), nullptr)) {
        Check(false, "base folder " + base);
        return 1;
    }
    const std::string previous = files.CurrentDirectory();
    CheckFolderChain(files, base);
    CheckSplitting();
    CheckSettingsFile(files, base);
    files.ChangeDirectory(previous);
    RemoveTree(base);
    std::printf("%d failed\n", winecheck::Failures());
    return winecheck::Failures() == 0 ? 0 : 1;
}
