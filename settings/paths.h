// Path rules shared by the settings file and the output file: which characters and drives an
// output path may use, the trailing separator of a folder text, the folder of a path, and the
// creation of a missing folder chain that leaves nothing behind when it fails.
//
// Paths are Shift_JIS bytes: a 0x5C that is the second byte of a double-byte character (0x95 0x5C)
// is never a separator. Nothing here shows a message; callers decide what to tell the user.
#pragma once

#include "platform/filesystem.h"
#include "platform/status.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The longest folder or path text the program keeps: 260 bytes (a 261-byte buffer).
constexpr std::size_t kMaxPathText = 260;

// The character rule. A UNC path ("\\server\...") fails on a doubled backslash after its first
// two characters and is checked from its third character on; any other path fails on a doubled
// backslash and is checked after its first ':'. The checked part must not hold any of
// / : , ; * ? " > < |
[[nodiscard]] bool CheckPathCharacters(const std::string& path);

// The drive rule. A UNC path passes when its share root ("\\server\share") may be read and
// written. Any other path must begin with a drive letter and a colon and hold no doubled
// backslash; its drive passes unless the drive type cannot be determined, is a CD-ROM or a RAM
// disk, or is a removable, fixed or remote drive whose root may not be read and written. A
// drive without a root directory passes (creating the folder reports the failure). A relative
// path ("out.xml", "\out\a.xml") fails.
[[nodiscard]] bool CheckPathDrive(platform::FileSystem& files, const std::string& path);

// Gives a folder text a trailing '\' when it has none. Fails for an empty text and for a text
// that would be longer than kMaxPathText bytes with the separator.
[[nodiscard]] bool EnsureTrailingSeparator(std::string& text);

// The drive and directory of path ("C:\out\" of "C:\out\a.xml", "\\server\share\" of
// "\\server\share\a.xml") with a trailing separator. '\' and '/' end the directory, as for
// _splitpath. Fails when there is neither drive nor directory, or when the folder would be
// longer than kMaxPathText bytes.
[[nodiscard]] bool FolderOfPath(const std::string& path, std::string& folder);

// The root of a folder text, with its separator: "C:\" or "\\server\share\". Empty for a text
// without one (a relative path, "C:out\", "\out\").
std::string RootOfPath(const std::string& folder);

// Creates the folder of path (FolderOfPath) level by level below its root. On failure it
// removes the folders that this call created, deepest first, and never one that existed
// before. Fails, creating nothing, for a path without a root. The folders it created go to
// created, when given, shallowest first, so that a caller whose later step fails can roll the
// chain back with RemoveFolders. Refused when the folder is too long (range refused), has no
// root (no data) or a level cannot be made (io, with the system's error and the level).
[[nodiscard]] platform::Status CreateFolderChain(platform::FileSystem& files,
                                                 const std::string& path,
                                                 std::vector<std::string>* created = nullptr);

// Removes folders deepest (last) first, with RemoveLeftover.
void RemoveFolders(platform::FileSystem& files, const std::vector<std::string>& folders);

// Removes a file (or, with folder, a folder) that a failed write leaves behind, trying a
// second time when the first removal fails; what still stays is named in the debugger output.
void RemoveLeftover(platform::FileSystem& files, const std::string& path, bool folder = false);

// The path of temporary file number counter of process processId beside path: the file name
// of path replaced by "~ovw<processId>_<counter>.tmp", in the same folder as written in path
// ("C:\out.xml", "C:a.xml" and "a.xml" give "C:\out\~ovw7_1.tmp", "C:~ovw7_1.tmp" and
// "~ovw7_1.tmp"). Empty for an empty path, and when that folder text is longer than
// kMaxPathText bytes.
std::string TemporaryPathBeside(const std::string& path, unsigned long processId, unsigned counter);

// Creates a new temporary file beside path for a write that replaces path only when complete:
// a name of this process that nothing holds yet (CreateNewFile), so that no file of a user is
// ever overwritten or removed. Null when none can be created; temporary is its path.
std::unique_ptr<platform::OutputFile>
CreateTemporaryBeside(platform::FileSystem& files, const std::string& path, std::string& temporary);
