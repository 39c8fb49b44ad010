// The host's own libraries behind the program's table of host methods.
#pragma once

#include "platform/host.h"

#include <memory>

namespace platform {

// The host as its libraries give it: the only place that reaches their singletons.
std::unique_ptr<Host> OpenHostLibrary();

} // namespace platform
