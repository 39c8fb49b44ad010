#include "settings/paths.h"

#include "platform/sjis.h"

#include <cstring>
#include <vector>

namespace {

bool IsUnc(const std::string& path) {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A pair of single-byte backslashes whose first one lies at or after from.
bool HasDoubledBackslash(const std::string& path, std::size_t from) {
    bool previous = false;
    for (std::size_t i = 0; i < path.size(); i += platform::CharLength(path, i)) {
        const bool backslash = platform::CharLength(path, i) == 1 && path[i] == '\\';
        if (backslash && previous)
            return true;
        previous = backslash && i >= from;
    }
    return false;
}

bool HasForbiddenCharacter(const std::string& path, std::size_t from) {
    static const char kForbidden[] = "/:,;*?\"><|";
    for (std::size_t i = 0; i < path.size(); i += platform::CharLength(path, i)) {
        if (i >= from && platform::CharLength(path, i) == 1 && path[i] != '\0' &&
            std::strchr(kForbidden, path[i]) != nullptr)
            return true;
    }
    return false;
}

} // namespace

bool CheckPathCharacters(const std::string& path) {
    std::size_t checkedFrom = 0;
    if (IsUnc(path)) {
        if (HasDoubledBackslash(path, 2))
            return false;
        checkedFrom = 2;
    } else {
        if (HasDoubledBackslash(path, 0))
            return false;
        const std::size_t colon = path.find(':');
        checkedFrom = colon == std::string::npos ? 0 : colon + 1;
    }
    return !HasForbiddenCharacter(path, checkedFrom);
}

bool CheckPathDrive(platform::FileSystem& files, const std::string& path) {
    if (IsUnc(path)) {
        const std::size_t serverEnd = platform::FindText(path, "\\", 2);
        if (serverEnd == std::string::npos)
            return false;
        const std::size_t shareEnd = platform::FindText(path, "\\", serverEnd + 1);
        if (shareEnd == std::string::npos)
            return false;
        return files.CanReadWrite(path.substr(0, shareEnd));
    }
    if (HasDoubledBackslash(path, 0) || path.size() < 2 || !IsDriveLetter(path[0]) ||
        path[1] != ':')
        return false;
    const char letter = path[0] >= 'a' ? static_cast<char>(path[0] - 'a' + 'A') : path[0];
    const std::string root = std::string(1, letter) + ":\\";
    switch (files.DriveTypeOf(root)) {
    case platform::kDriveUnknown:
    case platform::kDriveCdRom:
    case platform::kDriveRamDisk:
        return false;
    case platform::kDriveRemovable:
    case platform::kDriveFixed:
    case platform::kDriveRemote:
        return files.CanReadWrite(root);
    default:
        return true;
    }
}

bool EnsureTrailingSeparator(std::string& text) {
    if (text.empty())
        return false;
    if (platform::EndsWithBackslash(text))
        return text.size() <= kMaxPathText;
    if (text.size() >= kMaxPathText)
        return false;
    text += '\\';
    return true;
}

// The length of the drive and directory part of path: up to its last '\' or '/', else its
// "X:", else 0.
std::size_t DirectoryEnd(const std::string& path) {
    const std::size_t directoryStart = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    std::size_t directoryEnd = directoryStart;
    for (std::size_t i = 0; i < path.size(); i += platform::CharLength(path, i)) {
        if (i >= directoryStart && platform::CharLength(path, i) == 1 &&
            (path[i] == '\\' || path[i] == '/'))
            directoryEnd = i + 1;
    }
    return directoryEnd;
}

bool FolderOfPath(const std::string& path, std::string& folder) {
    std::string result = path.substr(0, DirectoryEnd(path));
    if (!EnsureTrailingSeparator(result))
        return false;
    folder = result;
    return true;
}

std::string RootOfPath(const std::string& folder) {
    if (IsUnc(folder)) {
        const std::size_t serverEnd = platform::FindText(folder, "\\", 2);
        if (serverEnd == std::string::npos || serverEnd == 2)
            return std::string();
        const std::size_t shareEnd = platform::FindText(folder, "\\", serverEnd + 1);
        if (shareEnd == serverEnd + 1 || serverEnd + 1 == folder.size())
            return std::string();
        return shareEnd == std::string::npos ? folder + '\\' : folder.substr(0, shareEnd + 1);
    }
    if (folder.size() >= 3 && IsDriveLetter(folder[0]) && folder[1] == ':' && folder[2] == '\\')
        return folder.substr(0, 3);
    return std::string();
}

platform::Status CreateFolderChain(platform::FileSystem& files, const std::string& path,
                                   std::vector<std::string>* created) {
    std::string folder;
    if (!FolderOfPath(path, folder))
        return platform::Status::RangeRefused("folder-length", static_cast<long long>(path.size()));
    const std::string root = RootOfPath(folder);
    if (root.empty())
        return platform::Status::NoData("folder-root");
    std::vector<std::string> made;
    for (std::size_t i = root.size(); i < folder.size(); i += platform::CharLength(folder, i)) {
        if (platform::CharLength(folder, i) != 1 || folder[i] != '\\')
            continue;
        const std::string level = folder.substr(0, i + 1);
        if (files.DirectoryExists(level))
            continue;
        if (!files.MakeDirectory(level)) {
            platform::Status refused =
                platform::Status::Io("create-folder", files.LastError(), level);
            RemoveFolders(files, made);
            return refused;
        }
        made.push_back(level);
    }
    if (created != nullptr)
        *created = std::move(made);
    return platform::Status();
}

void RemoveFolders(platform::FileSystem& files, const std::vector<std::string>& folders) {
    for (auto deepest = folders.rbegin(); deepest != folders.rend(); ++deepest)
        RemoveLeftover(files, *deepest, true);
}

void RemoveLeftover(platform::FileSystem& files, const std::string& path, bool folder) {
    const auto remove = [&] {
        return folder ? files.RemoveFolder(path) : files.DeleteFileAt(path);
    };
    if (!remove() && !remove())
        files.DebugOutput("could not remove " + path);
}

std::string TemporaryPathBeside(const std::string& path, unsigned long processId,
                                unsigned counter) {
    const std::size_t nameStart = DirectoryEnd(path);
    if (path.empty() || nameStart > kMaxPathText)
        return std::string();
    return path.substr(0, nameStart) + "~ovw" + std::to_string(processId) + '_' +
           std::to_string(counter) + ".tmp";
}

std::unique_ptr<platform::OutputFile> CreateTemporaryBeside(platform::FileSystem& files,
                                                            const std::string& path,
                                                            std::string& temporary) {
    // Numbers go on from call to call; a name that something already holds is stepped over.
    static unsigned counter = 0;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = TemporaryPathBeside(path, files.ProcessId(), ++counter);
        if (temporary.empty())
            return nullptr;
        if (auto file = files.CreateNewFile(temporary))
            return file;
        if (!files.Exists(temporary))
            return nullptr;
    }
    return nullptr;
}
