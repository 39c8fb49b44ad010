// The folder of the running program's executable, where the delivered files lie.
#pragma once

#include <string>

namespace platform {

// The folder with its trailing separator ('\' on Windows, '/' elsewhere), cut after the last
// separator that is no second byte of a double-byte character; empty when the system cannot
// tell it (a name relative to it then names a file of the current folder).
std::string ProgramFolderOfProcess();

} // namespace platform
