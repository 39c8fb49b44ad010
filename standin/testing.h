// Hooks of the stand-in host for native tests.
#pragma once

#include <string>

namespace standin {

// Reads the configuration again from path (empty: the usual place) together with its book, so
// that one test process can switch books and faults. Returns true when both were read; the
// problem is then in LoadProblem(). Set objects already handed out stay valid and are bound
// again to the selected data of the new book.
bool ReloadConfig(const std::string& path);

} // namespace standin
