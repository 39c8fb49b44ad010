#include "settings/file_replacement.h"

#include "settings/paths.h"

#include <utility>

FileReplacement::FileReplacement(platform::FileSystem& files, std::string target)
    : files_(files), target_(std::move(target)) {}

FileReplacement::~FileReplacement() {
    if (!committed_)
        RollBack();
}

platform::Status FileReplacement::MakeFolders() {
    std::string folder;
    if (FolderOfPath(target_, folder) && files_.DirectoryExists(folder))
        return platform::Status();
    return CreateFolderChain(files_, target_, &madeFolders_);
}

platform::Status FileReplacement::Create(std::unique_ptr<platform::OutputFile>& file) {
    file = CreateTemporaryBeside(files_, target_, temporary_);
    if (file == nullptr) {
        if (temporary_.empty())
            return platform::Status::RangeRefused("output-path-length",
                                                  static_cast<long long>(target_.size()));
        return platform::Status::Io("create-temporary", files_.LastError(), temporary_);
    }
    created_ = true;
    return platform::Status();
}

platform::Status FileReplacement::WriteWhole(const std::string& bytes, const char* step) {
    std::unique_ptr<platform::OutputFile> file;
    if (platform::Status created = Create(file); !created.ok())
        return created;
    const bool written = file->Write(bytes.data(), bytes.size());
    const bool closed = file->Close();
    if (!written || !closed)
        return platform::Status::Io(step, file->Error(), temporary_);
    return Commit();
}

platform::Status FileReplacement::Commit() {
    if (!files_.MoveReplacing(temporary_, target_))
        return platform::Status::Io("replace-file", files_.LastError(), target_);
    committed_ = true;
    madeFolders_.clear();
    return platform::Status();
}

void FileReplacement::RollBack() noexcept {
    // Called on the way out of an exception too, where a second one would end the process. The
    // removals themselves do not throw; the debugger line that names a leftover needs memory, and
    // without it nothing more can be said.
    try {
        if (created_)
            RemoveLeftover(files_, temporary_);
        RemoveFolders(files_, madeFolders_);
    } catch (...) {
    }
}
