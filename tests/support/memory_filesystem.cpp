#include "support/memory_filesystem.h"

#include "platform/sjis.h"
#include "support/portable/profile.h"
#include "support/portable/uncounted.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

bool IsLead(const std::string& text, std::size_t i) {
    return platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
}

// Splits text at single-byte '\' (never at the second byte of a double-byte character).
std::vector<std::string> SplitAtSeparators(const std::string& text) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLead(text, i)) {
            parts.back() += text.substr(i, 2);
            ++i;
        } else if (text[i] == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

std::string UpperAscii(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsLead(out, i))
            ++i;
        else if (out[i] >= 'a' && out[i] <= 'z')
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
    }
    return out;
}

bool ValidName(const std::string& name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsLead(name, i)) {
            ++i;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || std::strchr("*?\"<>|:", c) != nullptr)
            return false;
    }
    return true;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A path that names its drive and starts at its root, or a UNC path.
bool IsAbsolute(const std::string& path) {
    if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
        (path[1] == '\\' || path[1] == '/'))
        return true;
    return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

char UpperLetter(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string WithSeparator(const std::string& path) {
    return path.empty() || platform::EndsWithBackslash(path) ? path : path + '\\';
}

} // namespace

class MemoryFileSystem::MemoryOutputFile : public platform::OutputFile {
  public:
    explicit MemoryOutputFile(MemoryFileSystem& fs) : fs_(fs) {}
    ~MemoryOutputFile() override {
        if (!closed_)
            Release();
    }
    MemoryOutputFile(const MemoryOutputFile&) = delete;
    MemoryOutputFile& operator=(const MemoryOutputFile&) = delete;

    bool Write(const char* data, std::size_t size) override {
        const UncountedScope uncounted;
        if (closed_ || failed_)
            return false;
        Node* node = fs_.Find(key_);
        if (fs_.Fault(kWrite)) {
            error_ = fs_.faultError_;
            node->bytes.append(data, size / 2);
            failed_ = true;
            return false;
        }
        node->bytes.append(data, size);
        return true;
    }

    bool Close() override {
        const UncountedScope uncounted;
        if (closed_)
            return !failed_;
        Release();
        if (fs_.Fault(kWrite)) {
            error_ = fs_.faultError_;
            failed_ = true;
        }
        return !failed_;
    }

    unsigned long Error() const override { return error_; }

    // The file it writes, opened after the object was made.
    void Adopt(std::string key) {
        key_ = std::move(key);
        closed_ = false;
    }

  private:
    void Release() {
        closed_ = true;
        --fs_.Find(key_)->openWriters;
    }

    MemoryFileSystem& fs_;
    std::string key_;
    bool closed_ = true;
    bool failed_ = false;
    unsigned long error_ = 0;
};

MemoryFileSystem::MemoryFileSystem()
    : programFolder_("C:\\Program\\"), tempFolder_("C:\\Temp\\"), currentDirectory_("C:\\Program") {
}

MemoryFileSystem::~MemoryFileSystem() = default;

void MemoryFileSystem::AddStandardMachine() {
    AddDrive('C', platform::kDriveFixed);
    AddFolder("C:\\Program");
    AddFolder("C:\\Temp");
}

void MemoryFileSystem::AddDrive(char letter, platform::DriveType type) {
    if (!IsAsciiLetter(letter))
        throw std::invalid_argument("drive letter");
    drives_[UpperLetter(letter)] = type;
}

void MemoryFileSystem::AddShare(const std::string& serverShare) {
    const std::string key = KeyOf(serverShare);
    if (key.size() < 2 || key.compare(0, 2, "\\\\") != 0 || !IsRootKey(key))
        throw std::invalid_argument("not a share: " + serverShare);
    shares_.insert(key);
}

void MemoryFileSystem::AddFolder(const std::string& path) {
    std::string display;
    if (!Resolve(path, display))
        throw std::invalid_argument("invalid folder: " + path);
    const std::string key = UpperAscii(display);
    if (!RootExists(RootOfKey(key)))
        throw std::invalid_argument("no such drive or share: " + path);
    if (IsRootKey(key))
        return;
    const std::string parent = ParentKey(key);
    AddFolder(display.substr(0, parent.size()) + '\\');
    const Node* node = Find(key);
    if (node != nullptr && !node->folder)
        throw std::invalid_argument("a file is in the way: " + path);
    if (node == nullptr)
        AddNode(key, display, true);
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& bytes, bool readOnly) {
    std::string display;
    if (!Resolve(path, display) || IsRootKey(UpperAscii(display)))
        throw std::invalid_argument("invalid file: " + path);
    const std::string key = UpperAscii(display);
    AddFolder(display.substr(0, ParentKey(key).size()) + '\\');
    Node* node = Find(key);
    if (node != nullptr && node->folder)
        throw std::invalid_argument("a folder is in the way: " + path);
    if (node == nullptr) {
        AddNode(key, display, false);
        node = Find(key);
    }
    node->bytes = bytes;
    node->readOnly = readOnly;
}

void MemoryFileSystem::FailCreationOf(const std::string& path) {
    const std::string key = KeyOf(path);
    if (key.empty())
        throw std::invalid_argument("invalid folder: " + path);
    failCreation_.insert(key);
}

void MemoryFileSystem::DenyWriteTo(const std::string& path) {
    const std::string key = KeyOf(path);
    if (key.empty())
        throw std::invalid_argument("invalid folder: " + path);
    denied_.insert(key);
}

void MemoryFileSystem::SetProgramFolder(const std::string& path) {
    programFolder_ = WithSeparator(path);
}

void MemoryFileSystem::SetTempFolder(const std::string& path) {
    tempFolder_ = WithSeparator(path);
}

void MemoryFileSystem::SetCurrentDirectory(const std::string& path) {
    currentDirectory_ = path;
}

void MemoryFileSystem::FailNth(int n, unsigned mask, bool persistent, int times) {
    failAt_ = n;
    failTimes_ = times;
    faultMask_ = mask;
    persistent_ = persistent;
    counted_ = 0;
    faultFired_ = false;
}

std::vector<std::string>
MemoryFileSystem::UnreportedChanges(const std::map<std::string, std::string>& before) const {
    const auto now = Tree();
    std::set<std::string> changed;
    for (const auto& [path, value] : now) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != value)
            changed.insert(path);
    }
    for (const auto& entry : before) {
        if (now.count(entry.first) == 0)
            changed.insert(entry.first);
    }
    std::vector<std::string> unreported;
    for (const std::string& path : changed) {
        bool named = false;
        for (const std::string& line : debugLines_)
            named = named || line.find(path) != std::string::npos;
        if (!named)
            unreported.push_back(path);
    }
    return unreported;
}

void MemoryFileSystem::ClearFaults() {
    FailNth(0);
}

std::map<std::string, std::string> MemoryFileSystem::Tree() const {
    std::map<std::string, std::string> tree;
    for (const auto& entry : nodes_) {
        const Node& node = entry.second;
        if (node.folder)
            tree[node.path + '\\'] = "<dir>";
        else
            tree[node.path] = node.bytes;
    }
    return tree;
}

bool MemoryFileSystem::HasFile(const std::string& path) const {
    const Node* node = Find(KeyOf(path));
    return node != nullptr && !node->folder;
}

std::string MemoryFileSystem::FileBytes(const std::string& path) const {
    const Node* node = Find(KeyOf(path));
    return node != nullptr && !node->folder ? node->bytes : std::string();
}

std::string MemoryFileSystem::ProgramFolder() {
    return programFolder_;
}

std::string MemoryFileSystem::CurrentDirectory() {
    const UncountedScope uncounted;
    return IsRootKey(UpperAscii(currentDirectory_)) ? currentDirectory_ + '\\' : currentDirectory_;
}

bool MemoryFileSystem::ChangeDirectory(const std::string& path) {
    const UncountedScope uncounted;
    std::string display;
    if (!Resolve(path, display))
        return Failed(kErrorInvalidName);
    if (!FolderAt(UpperAscii(display)))
        return Failed(kErrorPathNotFound);
    const Node* node = Find(UpperAscii(display));
    currentDirectory_ = node != nullptr ? node->path : display;
    return true;
}

std::string MemoryFileSystem::TempFolder() {
    return tempFolder_;
}

bool MemoryFileSystem::Exists(const std::string& path) {
    const UncountedScope uncounted;
    const std::string key = KeyOf(path);
    if (key.empty())
        return false;
    return IsRootKey(key) ? RootExists(key) : Find(key) != nullptr;
}

bool MemoryFileSystem::DirectoryExists(const std::string& path) {
    const UncountedScope uncounted;
    const std::string key = KeyOf(path);
    return !key.empty() && FolderAt(key);
}

bool MemoryFileSystem::CanReadWrite(const std::string& path) {
    const UncountedScope uncounted;
    const std::string key = KeyOf(path);
    if (key.empty())
        return false;
    if (FolderAt(key))
        return Writable(key);
    const Node* node = Find(key);
    return node != nullptr && !node->readOnly && Writable(ParentKey(key));
}

platform::DriveType MemoryFileSystem::DriveTypeOf(const std::string& root) {
    const UncountedScope uncounted;
    const std::string key = KeyOf(root);
    if (key.empty() || !IsRootKey(key))
        return platform::kDriveNoRootDir;
    return TypeOfRoot(key);
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
    const UncountedScope uncounted;
    if (Fault(kCreate))
        return Failed(faultError_);
    std::string display;
    if (!Resolve(path, display))
        return Failed(kErrorInvalidName);
    const std::string key = UpperAscii(display);
    if (IsRootKey(key) || Find(key) != nullptr)
        return Failed(kErrorFileExists);
    if (failCreation_.count(key) != 0)
        return Failed(kErrorAccessDenied);
    const std::string parent = ParentKey(key);
    if (!FolderAt(parent))
        return Failed(kErrorPathNotFound);
    if (!Writable(parent))
        return Failed(kErrorAccessDenied);
    AddNode(key, display, true);
    created_.push_back(display + '\\');
    return true;
}

bool MemoryFileSystem::RemoveFolder(const std::string& path) {
    const UncountedScope uncounted;
    if (Fault(kRemove))
        return Failed(faultError_);
    const std::string key = KeyOf(path);
    const Node* node = Find(key);
    if (key.empty() || node == nullptr || !node->folder)
        return Failed(kErrorPathNotFound);
    if (HasChildren(key) || !Writable(key))
        return Failed(kErrorAccessDenied);
    std::string current;
    if (Resolve(currentDirectory_, current) && UpperAscii(current) == key)
        return Failed(kErrorSharingViolation);
    nodes_.erase(key);
    return true;
}

bool MemoryFileSystem::ReadFile(const std::string& path, std::string& bytes) {
    const Node* node = nullptr;
    {
        const UncountedScope uncounted;
        node = Find(KeyOf(path));
        if (node == nullptr)
            return Failed(kErrorFileNotFound);
        if (node->folder)
            return Failed(kErrorAccessDenied);
        if (node->openWriters > 0)
            return Failed(kErrorSharingViolation);
    }
    // The program's own copy, as the Windows file system reads into it.
    bytes = node->bytes;
    return true;
}

std::unique_ptr<platform::OutputFile> MemoryFileSystem::OpenForWrite(const std::string& path) {
    return Open(path, false);
}

std::unique_ptr<platform::OutputFile> MemoryFileSystem::CreateNewFile(const std::string& path) {
    return Open(path, true);
}

std::unique_ptr<platform::OutputFile> MemoryFileSystem::Open(const std::string& path,
                                                             bool mustBeNew) {
    // The object is the program's own allocation, made before the file is opened, as the
    // Windows file system makes it; what follows is the system's bookkeeping.
    auto file = std::make_unique<MemoryOutputFile>(*this);
    const UncountedScope uncounted;
    const auto fail = [this](unsigned long error) {
        Failed(error);
        return nullptr;
    };
    if (Fault(kCreate))
        return fail(faultError_);
    std::string display;
    if (!Resolve(path, display))
        return fail(kErrorInvalidName);
    const std::string key = UpperAscii(display);
    const std::string parent = ParentKey(key);
    if (IsRootKey(key) || !Writable(parent))
        return fail(kErrorAccessDenied);
    if (!FolderAt(parent))
        return fail(kErrorPathNotFound);
    Node* node = Find(key);
    if (node != nullptr && mustBeNew)
        return fail(kErrorFileExists);
    if (node != nullptr && (node->folder || node->readOnly))
        return fail(kErrorAccessDenied);
    if (node != nullptr && node->openWriters > 0)
        return fail(kErrorSharingViolation);
    if (node == nullptr) {
        AddNode(key, display, false);
        created_.push_back(display);
        node = Find(key);
    }
    node->bytes.clear();
    ++node->openWriters;
    file->Adopt(key);
    return file;
}

bool MemoryFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    const UncountedScope uncounted;
    if (Fault(kReplace))
        return Failed(faultError_);
    const std::string fromKey = KeyOf(from);
    std::string toDisplay;
    if (fromKey.empty() || !Resolve(to, toDisplay))
        return Failed(kErrorInvalidName);
    const std::string toKey = UpperAscii(toDisplay);
    const Node* source = Find(fromKey);
    if (source == nullptr)
        return Failed(kErrorFileNotFound);
    if (source->openWriters > 0)
        return Failed(kErrorSharingViolation);
    if (source->folder || !Writable(ParentKey(fromKey)))
        return Failed(kErrorAccessDenied);
    if (!IsRootKey(toKey) && !FolderAt(ParentKey(toKey)))
        return Failed(kErrorPathNotFound);
    if (IsRootKey(toKey) || !Writable(ParentKey(toKey)))
        return Failed(kErrorAccessDenied);
    const Node* target = Find(toKey);
    if (target != nullptr && target->openWriters > 0)
        return Failed(kErrorSharingViolation);
    if (target != nullptr && (target->folder || target->readOnly))
        return Failed(kErrorAccessDenied);
    if (fromKey == toKey)
        return true;
    Node moved = *source;
    moved.path = target != nullptr ? target->path : toDisplay;
    if (target == nullptr)
        created_.push_back(toDisplay);
    nodes_.erase(fromKey);
    nodes_[toKey] = moved;
    return true;
}

bool MemoryFileSystem::DeleteFileAt(const std::string& path) {
    const UncountedScope uncounted;
    if (Fault(kRemove))
        return Failed(faultError_);
    const std::string key = KeyOf(path);
    const Node* node = Find(key);
    if (node == nullptr)
        return Failed(kErrorFileNotFound);
    if (node->openWriters > 0)
        return Failed(kErrorSharingViolation);
    if (node->folder || node->readOnly || !Writable(ParentKey(key)))
        return Failed(kErrorAccessDenied);
    nodes_.erase(key);
    return true;
}

// A missing or unreadable file answers as an empty one: with the default value.
std::string MemoryFileSystem::ReadProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue, std::size_t size,
                                                const std::string& path) {
    const UncountedScope uncounted;
    std::string bytes;
    if (!ReadFile(path, bytes))
        bytes.clear();
    return platform::ReadProfileStringFromText(bytes, section, key, defaultValue, size);
}

bool MemoryFileSystem::Resolve(const std::string& path, std::string& display) const {
    std::string p = path;
    for (char& c : p) {
        if (c == '/')
            c = '\\';
    }
    if (p.empty())
        return false;
    std::string root;
    std::string rest;
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        const std::vector<std::string> parts = SplitAtSeparators(p.substr(2));
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty() || !ValidName(parts[0]) ||
            !ValidName(parts[1]))
            return false;
        root = "\\\\" + parts[0] + '\\' + parts[1];
        rest = p.substr(root.size());
    } else if (p.size() >= 2 && IsAsciiLetter(p[0]) && p[1] == ':') {
        root = std::string(1, UpperLetter(p[0])) + ':';
        rest = p.substr(2);
        if (rest.empty() || rest[0] != '\\') {
            const bool onThatDrive = currentDirectory_.size() >= 2 && currentDirectory_[1] == ':' &&
                                     UpperLetter(currentDirectory_[0]) == root[0];
            rest = (onThatDrive ? currentDirectory_.substr(2) : std::string()) + '\\' + rest;
        }
    } else {
        std::string current;
        if (!IsAbsolute(currentDirectory_) || !Resolve(currentDirectory_, current))
            return false;
        const std::string currentRoot = RootOfKey(UpperAscii(current));
        root = current.substr(0, currentRoot.size());
        rest = p[0] == '\\' ? p : current.substr(currentRoot.size()) + '\\' + p;
    }
    std::vector<std::string> components;
    for (const std::string& part : SplitAtSeparators(rest)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!components.empty())
                components.pop_back();
            continue;
        }
        if (!ValidName(part))
            return false;
        components.push_back(part);
    }
    display = root;
    for (const std::string& component : components)
        display += '\\' + component;
    return true;
}

std::string MemoryFileSystem::KeyOf(const std::string& path) const {
    std::string display;
    return Resolve(path, display) ? UpperAscii(display) : std::string();
}

std::string MemoryFileSystem::RootOfKey(const std::string& key) {
    if (key.size() < 2 || key.compare(0, 2, "\\\\") != 0)
        return key.substr(0, 2);
    const std::vector<std::string> parts = SplitAtSeparators(key.substr(2));
    if (parts.size() < 2)
        return key;
    return "\\\\" + parts[0] + '\\' + parts[1];
}

std::string MemoryFileSystem::ParentKey(const std::string& key) {
    if (IsRootKey(key))
        return std::string();
    std::size_t last = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (IsLead(key, i))
            ++i;
        else if (key[i] == '\\')
            last = i;
    }
    return key.substr(0, last);
}

platform::DriveType MemoryFileSystem::TypeOfRoot(const std::string& rootKey) const {
    if (rootKey.size() >= 2 && rootKey[0] == '\\')
        return shares_.count(rootKey) != 0 ? platform::kDriveRemote : platform::kDriveNoRootDir;
    const auto drive = drives_.find(rootKey[0]);
    return drive == drives_.end() ? platform::kDriveNoRootDir : drive->second;
}

bool MemoryFileSystem::RootExists(const std::string& rootKey) const {
    const platform::DriveType type = TypeOfRoot(rootKey);
    return type != platform::kDriveUnknown && type != platform::kDriveNoRootDir;
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& key) const {
    const auto found = nodes_.find(key);
    return found == nodes_.end() ? nullptr : &found->second;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& key) {
    const auto found = nodes_.find(key);
    return found == nodes_.end() ? nullptr : &found->second;
}

bool MemoryFileSystem::FolderAt(const std::string& key) const {
    if (key.empty())
        return false;
    if (IsRootKey(key))
        return RootExists(key);
    const Node* node = Find(key);
    return node != nullptr && node->folder;
}

bool MemoryFileSystem::Writable(const std::string& folderKey) const {
    if (folderKey.empty() || TypeOfRoot(RootOfKey(folderKey)) == platform::kDriveCdRom)
        return false;
    for (std::string key = folderKey; !key.empty(); key = ParentKey(key)) {
        if (denied_.count(key) != 0)
            return false;
    }
    return true;
}

bool MemoryFileSystem::Fault(Operation operation) {
    if ((operation & faultMask_) == 0)
        return false;
    ++counted_;
    if (failAt_ <= 0 || counted_ < failAt_ || (counted_ >= failAt_ + failTimes_ && !persistent_))
        return false;
    faultFired_ = true;
    return true;
}

bool MemoryFileSystem::Failed(unsigned long error) {
    lastError_ = error;
    return false;
}

bool MemoryFileSystem::HasChildren(const std::string& key) const {
    const std::string prefix = key + '\\';
    const auto next = nodes_.lower_bound(prefix);
    return next != nodes_.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

void MemoryFileSystem::AddNode(const std::string& key, const std::string& display, bool folder) {
    Node node;
    node.path = display;
    node.folder = folder;
    nodes_[key] = node;
}

void MemoryFileSystem::DebugOutput(const std::string& text) {
    const UncountedScope uncounted;
    debugLines_.push_back(text);
}

} // namespace testsupport
