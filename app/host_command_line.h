// The command line with which the host starts a link program: "hwnd,msg,functionId,text".
#pragma once

#include "platform/status.h"

#include <cstdint>
#include <string>

struct HostCommandLine {
    std::intptr_t hostWnd = 0;
    std::int32_t hostMsg = 0;
    std::int16_t functionId = 2;
    // Everything after the third comma, kept whole (it may hold commas and be any length).
    std::string hostText;
};

// Success when the line has at least three commas: the host started the program. Otherwise no
// data, with the number of commas found (the program runs alone). Fields are stored as they are
// read, so a line that breaks off early still leaves the fields before the break set. A line
// moved in is read without allocating, so that a program started by the host always knows it.
[[nodiscard]] platform::Status ParseHostCommandLine(std::string text, HostCommandLine& out);
