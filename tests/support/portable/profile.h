// A portable reader of Windows private-profile (ini) text, answering as GetPrivateProfileStringA
// answers for a file that holds these bytes. The test doubles of FileSystem::ReadProfileString
// use it; the Win32 build asks the system.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The value of key in section of the ini text (Shift_JIS bytes), as GetPrivateProfileStringA
// copies it into a buffer of size bytes:
// - lines end with CR, LF or both; a UTF-8 byte-order mark at the start is skipped; blanks
//   (space, tab, VT, FF) around section names, keys and values are dropped, and a value ends
//   at a NUL byte;
// - "[name]" starts a section (the last single-byte ']' on the line closes the name); a line
//   "key=value" is split at its first '='; a line without '=' names a key without a value;
// - section and key compare without regard to the case of ASCII letters; the bytes of a
//   double-byte character compare exactly;
// - only the first section of a name is searched, and the first matching key in it answers;
// - a value enclosed in a pair of the same quotes (' or ") loses them;
// - defaultValue, without its trailing blanks, answers when the section, the key or the key's
//   value is absent;
// - the answer is cut to size - 1 bytes without splitting a double-byte character (empty when
//   size is 0).
std::string ReadProfileStringFromText(const std::string& text, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      std::size_t size);

} // namespace platform
