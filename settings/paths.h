// Path rules shared by the settings file and the output file: which characters and drives an
// output path may use, the trailing separator of a folder text, the folder of a path, and the
// creation of a missing folder chain that leaves nothing behind when it fails.
//
// Paths are Shift_JIS bytes: a 0x5C that is the second byte of a double-byte character (0x95 0x5C)
// is never a separator. Nothing here shows a message; callers decide what to tell the user.
#pragma once

#include "platform/filesystem.h"

#include <cstddef>
#include <string>

// The longest folder or path text the program keeps: 260 bytes (a 261-byte buffer).
constexpr std::size_t kMaxPathText = 260;

// The character rule. A UNC path ("\\server\...") fails on a doubled backslash after its first
// two characters and is checked from its third character on; any other path fails on a doubled
// backslash and is checked after its first ':'. The checked part must not hold any of
// / : , ; * ? " > < |
bool CheckPathCharacters(const std::string& path);

// The drive rule. A UNC path passes when its share root ("\\server\share") may be read and
// written. Any other path must begin with a drive letter and a colon and hold no doubled
// backslash; its drive passes unless the drive type cannot be determined, is a CD-ROM or a RAM
// disk, or is a removable, fixed or remote drive whose root may not be read and written. A
// drive without a root directory passes (creating the folder reports the failure). A relative
// path ("out.xml", "\out\a.xml") fails.
bool CheckPathDrive(platform::FileSystem& files, const std::string& path);

// Gives a folder text a trailing '\' when it has none. Fails for an empty text and for a text
// that would be longer than kMaxPathText bytes with the separator.
bool EnsureTrailingSeparator(std::string& text);

// The drive and directory of path ("C:\out\" of "C:\out\a.xml", "\\server\share\" of
// "\\server\share\a.xml") with a trailing separator. '\' and '/' end the directory, as for
// _splitpath. Fails when there is neither drive nor directory, or when the folder would be
// longer than kMaxPathText bytes.
bool FolderOfPath(const std::string& path, std::string& folder);

// The root of a folder text, with its separator: "C:\" or "\\server\share\". Empty for a text
// without one (a relative path, "C:out\", "\out\").
std::string RootOfPath(const std::string& folder);

// Creates the folder of path (FolderOfPath) level by level below its root. On failure it
// removes the folders that this call created, deepest first, and never one that existed
// before. Fails, creating nothing, for a path without a root.
bool CreateFolderChain(platform::FileSystem& files, const std::string& path);
