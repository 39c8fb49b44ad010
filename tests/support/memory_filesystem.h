// An in-memory model of a Windows file system for native tests of everything that reads or
// writes files through platform::FileSystem.
//
// What it models, as Windows does:
// - Drives by letter, each of a drive type (platform::DriveType), and UNC shares
//   ("\\server\share"). A drive root or share root is a folder that always exists while the
//   drive does. CD-ROM drives are read-only.
// - Folders and files. Paths are Shift_JIS bytes and compared case-insensitively (ASCII letters
//   only; the second byte of a double-byte character is never folded and 0x5C there is never a
//   separator). '/' counts as '\', doubled separators collapse, "." and ".." are resolved, and a
//   relative path is resolved against the current directory (a drive-relative "X:name" against
//   the current directory when it lies on drive X, else against X:\). A name containing
//   * ? " < > | : or a control character is invalid and every call on it fails.
// - Folders whose creation fails (FailCreationOf), folders without write access (DenyWriteTo,
//   inherited by everything below them) and read-only files.
// - CreateFile's sharing: a file open for writing (share mode 0) cannot be opened, read,
//   moved, replaced or deleted until it is closed. OpenForWrite truncates at once and every
//   Write lands in the file at once, so a failed write leaves a partial file behind exactly as
//   a real disk would.
// - The fault hook: FailNth(n) makes the n-th counted operation from then on fail (and with
//   persistent = true every later one too, like a full disk). Counted are creations
//   (MakeDirectory, OpenForWrite, CreateNewFile), writes (OutputFile::Write, OutputFile::Close) and
//   replacements (MoveReplacing); removals (RemoveFolder, DeleteFileAt) only when kRemove is in
//   the mask. A failed Write stores the first half of its bytes. CountedOperations() tells how
//   many counted operations ran, so a test can loop n = 1 .. count and check after each run
//   that Tree() is what it was before ("nothing partial left behind").
//
// ReadProfileString answers as GetPrivateProfileStringA (platform/portable/profile.h) for the
// bytes of the file, or with the default when there is no such file.
//
// Reads (Exists, DirectoryExists, CanReadWrite, ReadFile, ReadProfileString, DriveTypeOf) are
// never counted and never fail by the hook.
//
// LastError reports, as GetLastError would, why the latest failed call failed: the fault
// error for a failure of the hook, else the Win32 code of the reason (a missing file or
// folder, no write access, a file open for writing, a file already there, an invalid name). A
// file's Error is the fault error of its failed Write or Close.
//
// An OutputFile returned by OpenForWrite must not outlive the MemoryFileSystem that made it.
#pragma once

#include "platform/filesystem.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

class MemoryFileSystem : public platform::FileSystem {
  public:
    // Operation kinds for the fault hook's mask.
    enum Operation : unsigned {
        kCreate = 1,  // MakeDirectory, OpenForWrite, CreateNewFile
        kWrite = 2,   // OutputFile::Write, OutputFile::Close
        kReplace = 4, // MoveReplacing
        kRemove = 8,  // RemoveFolder, DeleteFileAt
    };
    static constexpr unsigned kDefaultFaults = kCreate | kWrite | kReplace;

    // System errors that LastError reports, with the values of the Win32 API.
    static constexpr unsigned long kErrorFileNotFound = 2;
    static constexpr unsigned long kErrorPathNotFound = 3;
    static constexpr unsigned long kErrorAccessDenied = 5;
    static constexpr unsigned long kErrorSharingViolation = 32;
    static constexpr unsigned long kErrorFileExists = 80;
    static constexpr unsigned long kErrorDiskFull = 112;
    static constexpr unsigned long kErrorInvalidName = 123;

    // An empty machine: no drives. ProgramFolder, CurrentDirectory and TempFolder start as
    // "C:\Program\", "C:\Program" and "C:\Temp\" but exist only once a test adds them (see
    // AddStandardMachine).
    MemoryFileSystem();
    ~MemoryFileSystem() override;
    MemoryFileSystem(const MemoryFileSystem&) = delete;
    MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

    // ---- Setting up the machine ----

    // A fixed drive C: with the folders C:\Program\ (program folder and current directory) and
    // C:\Temp\ (temp folder).
    void AddStandardMachine();
    // Adds (or changes) drive letter ('A'-'Z', either case) of the given type. Unknown and
    // NoRootDir add nothing that exists (DriveTypeOf reports the type; the root is absent).
    void AddDrive(char letter, platform::DriveType type);
    // Adds the share "\\server\share" (remote); its root exists.
    void AddShare(const std::string& serverShare);
    // Creates the folder and every missing folder above it; the drive or share must exist.
    void AddFolder(const std::string& path);
    // Creates the file (and its folders) with the given bytes, replacing any file there.
    void AddFile(const std::string& path, const std::string& bytes, bool readOnly = false);
    // MakeDirectory of exactly this folder fails (the folder is not created).
    void FailCreationOf(const std::string& path);
    // The folder and everything below it cannot be written: no folder or file can be created,
    // replaced, moved or removed in it, and CanReadWrite fails on it.
    void DenyWriteTo(const std::string& path);
    // Sets the program folder (given with or without a trailing backslash; reported with one).
    void SetProgramFolder(const std::string& path);
    void SetTempFolder(const std::string& path);
    // Sets the current directory without checking that it exists.
    void SetCurrentDirectory(const std::string& path);

    // ---- Fault hook ----

    // The n-th counted operation from now (1 = the next one) fails, and the times - 1 after
    // it; with persistent every operation after it fails too. Resets the count. n <= 0
    // switches faults off.
    void FailNth(int n, unsigned mask = kDefaultFaults, bool persistent = false, int times = 1);
    void ClearFaults();
    // The system error that LastError reports after an operation the hook failed (112, the
    // disk is full, unless set).
    void SetFaultError(unsigned long error) { faultError_ = error; }
    // Counted operations since construction or the last FailNth/ClearFaults, counting those of
    // the default mask (or of the mask given to FailNth).
    int CountedOperations() const { return counted_; }
    // Whether the hook has failed an operation since it was armed.
    bool FaultFired() const { return faultFired_; }

    // ---- Inspecting ----

    // Every folder (path with a trailing backslash, value "<dir>") and every file (path,
    // value its bytes), keyed by the path as first created. Compare two Trees to see what a
    // call changed.
    std::map<std::string, std::string> Tree() const;
    bool HasFile(const std::string& path) const;
    // The bytes of a file; empty when there is none (use HasFile to tell the two apart).
    std::string FileBytes(const std::string& path) const;
    // The path of every file and folder created by calls through the FileSystem interface, in
    // the order created (including ones later removed).
    const std::vector<std::string>& CreatedLog() const { return created_; }
    // The lines given to DebugOutput, in order; ClearDebugLines forgets them.
    const std::vector<std::string>& DebugLines() const { return debugLines_; }
    void ClearDebugLines() { debugLines_.clear(); }
    // The paths whose entry in Tree() differs from before (added, removed or changed) and that
    // no debug line names: what a failed write left behind without saying so.
    std::vector<std::string>
    UnreportedChanges(const std::map<std::string, std::string>& before) const;
    // The process ID that ProcessId reports (4242 unless set).
    void SetProcessId(unsigned long id) { processId_ = id; }

    // ---- platform::FileSystem ----

    std::string ProgramFolder() override;
    std::string CurrentDirectory() override;
    bool ChangeDirectory(const std::string& path) override;
    std::string TempFolder() override;
    bool Exists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool CanReadWrite(const std::string& path) override;
    platform::DriveType DriveTypeOf(const std::string& root) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& bytes) override;
    std::unique_ptr<platform::OutputFile> OpenForWrite(const std::string& path) override;
    std::unique_ptr<platform::OutputFile> CreateNewFile(const std::string& path) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool DeleteFileAt(const std::string& path) override;
    unsigned long LastError() override { return lastError_; }
    unsigned long ProcessId() override { return processId_; }
    void DebugOutput(const std::string& text) override;
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, std::size_t size,
                                  const std::string& path) override;

  private:
    class MemoryOutputFile;
    struct Node {
        std::string path; // as first created, folders without a trailing separator
        bool folder = false;
        bool readOnly = false;
        int openWriters = 0;
        std::string bytes;
    };
    // The absolute, resolved form of a path in its own case, without a trailing separator (a
    // drive root is "C:", a share root "\\server\share"); false when the path is invalid.
    bool Resolve(const std::string& path, std::string& display) const;
    // Resolve, then upper-cased: the key of nodes_. Empty when the path is invalid.
    std::string KeyOf(const std::string& path) const;
    static std::string RootOfKey(const std::string& key);
    static std::string ParentKey(const std::string& key);
    static bool IsRootKey(const std::string& key) { return RootOfKey(key) == key; }
    platform::DriveType TypeOfRoot(const std::string& rootKey) const;
    bool RootExists(const std::string& rootKey) const;
    const Node* Find(const std::string& key) const;
    Node* Find(const std::string& key);
    bool FolderAt(const std::string& key) const;
    bool Writable(const std::string& folderKey) const;
    bool Fault(Operation operation);
    // Keeps error as the system error of the call that fails; returns false.
    bool Failed(unsigned long error);
    bool HasChildren(const std::string& key) const;
    void AddNode(const std::string& key, const std::string& display, bool folder);
    std::unique_ptr<platform::OutputFile> Open(const std::string& path, bool mustBeNew);

    std::map<char, platform::DriveType> drives_;
    std::set<std::string> shares_;      // keys "\\SERVER\SHARE"
    std::map<std::string, Node> nodes_; // key -> node, roots excluded
    std::set<std::string> failCreation_;
    std::set<std::string> denied_;
    std::string programFolder_;
    std::string tempFolder_;
    std::string currentDirectory_;
    std::vector<std::string> created_;
    std::vector<std::string> debugLines_;
    unsigned long processId_ = 4242;
    int failAt_ = 0;
    int failTimes_ = 1;
    unsigned faultMask_ = kDefaultFaults;
    bool persistent_ = false;
    int counted_ = 0;
    bool faultFired_ = false;
    unsigned long faultError_ = kErrorDiskFull;
    unsigned long lastError_ = 0;
};

} // namespace testsupport
