// Allocations that the doubles make for themselves (the records of what the program did, the
// files of the in-memory file system, the host's data) stand for the system's own work, which
// never fails the program's allocations. The test executable that fails the program's
// allocations one by one leaves out those made while an UncountedScope lives.
#pragma once

namespace testsupport {

class UncountedScope {
  public:
    UncountedScope();
    ~UncountedScope();
    UncountedScope(const UncountedScope&) = delete;
    UncountedScope& operator=(const UncountedScope&) = delete;
};

// False while an UncountedScope lives on this thread.
bool AllocationsCounted();

} // namespace testsupport
