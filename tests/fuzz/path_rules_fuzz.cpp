// Fuzz target of the path rules: any path is judged without harm; the folder of a path is a
// prefix of it (with a separator added) within the limit; its root is a prefix of the folder;
// the temporary name lies in that folder; and creating the folder chain on a machine whose
// creations may fail either succeeds or leaves the machine as it was.
#include "settings/paths.h"
#include "support/memory_filesystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses the failing operation of the folder chain; the rest is the path.
    if (size == 0)
        return 0;
    const int failAt = data[0] % 8;
    const std::string path(reinterpret_cast<const char*>(data) + 1, size - 1);

    static_cast<void>(CheckPathCharacters(path));
    std::string folder;
    if (FolderOfPath(path, folder)) {
        if (folder.empty() || folder.size() > kMaxPathText || folder.back() != '\\' ||
            !(StartsWith(path, folder) || StartsWith(path, folder.substr(0, folder.size() - 1))))
            std::abort();
        const std::string root = RootOfPath(folder);
        if (!root.empty() && (!StartsWith(folder, root) || root.back() != '\\'))
            std::abort();
    }
    const std::string temporary = TemporaryPathBeside(path, 77, 5);
    if (!temporary.empty()) {
        const std::string name = "~ovw77_5.tmp";
        if (temporary.size() < name.size() ||
            temporary.compare(temporary.size() - name.size(), name.size(), name) != 0 ||
            !StartsWith(path, temporary.substr(0, temporary.size() - name.size())))
            std::abort();
    }

    testsupport::MemoryFileSystem files;
    files.AddStandardMachine();
    files.AddDrive('D', platform::kDriveRemovable);
    files.AddShare("\\\\srv\\share");
    files.AddFolder("C:\\表");
    static_cast<void>(CheckPathDrive(files, path));
    const auto before = files.Tree();
    files.FailNth(failAt, testsupport::MemoryFileSystem::kCreate);
    if (!CreateFolderChain(files, path).ok() && files.Tree() != before)
        std::abort();
    return 0;
}
