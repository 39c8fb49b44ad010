#include "checker/system.h"

#include "platform/program_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace checker {

namespace {

class PosixFileAccess : public FileAccess {
  public:
    platform::Status ReadWhole(const std::string& path, std::string& bytes,
                               std::size_t limit) override {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr && (errno == ENOENT || errno == ENOTDIR))
            return platform::Status::NoData("open", errno);
        if (file == nullptr)
            return platform::Status::Io("open", static_cast<unsigned long>(errno), path);
        std::string read;
        char buffer[65536];
        while (read.size() <= limit) {
            const std::size_t got =
                std::fread(buffer, 1, std::min(sizeof buffer, limit + 1 - read.size()), file);
            if (got == 0)
                break;
            read.append(buffer, got);
        }
        int error = std::ferror(file) ? errno : 0;
        if (std::fclose(file) != 0 && error == 0)
            error = errno;
        if (error != 0)
            return platform::Status::Io("read", static_cast<unsigned long>(error), path);
        bytes = std::move(read);
        return {};
    }

    bool SameFile(const std::string& one, const std::string& other) override {
        struct stat first {};
        struct stat second {};
        return ::stat(one.c_str(), &first) == 0 && ::stat(other.c_str(), &second) == 0 &&
               first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    }

    bool IsFolder(const std::string& path) override {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    }

    platform::Status ListFiles(const std::string& folder,
                               std::vector<std::string>& names) override {
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr)
            return platform::Status::Io("list-folder", static_cast<unsigned long>(errno), folder);
        std::vector<std::string> found;
        while (const dirent* entry = ::readdir(dir)) {
            struct stat status {};
            const std::string name = entry->d_name;
            if (::stat(InFolder(folder, name).c_str(), &status) == 0 && S_ISREG(status.st_mode))
                found.push_back(name);
        }
        if (::closedir(dir) != 0)
            return platform::Status::Io("list-folder", static_cast<unsigned long>(errno), folder);
        names = std::move(found);
        return {};
    }

    platform::Status WriteWhole(const std::string& path, const std::string& bytes) override {
        const std::string temporary =
            path.substr(0, NameStart(path)) + "~ovwcheck" + std::to_string(::getpid()) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return platform::Status::Io("create-temporary", static_cast<unsigned long>(errno),
                                        temporary);
        std::size_t done = 0;
        int error = 0;
        while (done < bytes.size() && error == 0) {
            const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (wrote <= 0)
                error = wrote < 0 ? errno : ENOSPC;
            else
                done += static_cast<std::size_t>(wrote);
        }
        if (error == 0 && ::fsync(fd) != 0)
            error = errno;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
            error = errno;
        if (error == 0)
            return {};
        // A temporary file that cannot be removed is named instead of the page.
        const bool removed = std::remove(temporary.c_str()) == 0;
        return platform::Status::Io("write-page", static_cast<unsigned long>(error),
                                    removed ? path : temporary);
    }
};

} // namespace

std::unique_ptr<FileAccess> SystemFileAccess() {
    return std::make_unique<PosixFileAccess>();
}

std::string ProgramFolder() {
    const std::string folder = platform::ProgramFolderOfProcess();
    return folder.empty() ? "./" : folder;
}

std::string ArgumentToUtf8(const std::string& argument) {
    return argument;
}

void PrepareConsole() {}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace checker
