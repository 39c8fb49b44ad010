// The fail-the-Nth-operation loop over one write path of the in-memory file system, removals
// counted: "nothing partial left behind, or else said so in the debugger output".
#pragma once

#include "support/memory_filesystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace testsupport {

// setUp(fs) builds the machine, write(fs) runs the write path and gives its result. The write
// runs once without faults to count its operations, then, on a fresh machine each time, with
// operation n failing once, twice and three times in a row (so that the clean-up's removal and
// its second try fail too) and from n on for good. Every faulty run must fail and leave nothing
// changed that the debug output does not name; a fault that strikes once leaves nothing at all.
inline void CheckEveryFault(const std::function<void(MemoryFileSystem&)>& setUp,
                            const std::function<bool(MemoryFileSystem&)>& write,
                            const std::string& what) {
    constexpr unsigned kAll = MemoryFileSystem::kDefaultFaults | MemoryFileSystem::kRemove;
    int operations = 0;
    {
        MemoryFileSystem fs;
        setUp(fs);
        fs.FailNth(0, kAll);
        ASSERT_TRUE(write(fs)) << what;
        operations = fs.CountedOperations();
        ASSERT_GT(operations, 0) << what;
    }
    for (const bool persistent : {false, true}) {
        for (int times = 1; times <= 3; ++times) {
            for (int n = 1; n <= operations; ++n) {
                const std::string run = what + ": operation " + std::to_string(n) + " fails " +
                                        (persistent ? "from then on" : std::to_string(times) + "x");
                auto fs = std::make_unique<MemoryFileSystem>();
                setUp(*fs);
                const auto before = fs->Tree();
                fs->FailNth(n, kAll, persistent, times);
                EXPECT_FALSE(write(*fs)) << run;
                EXPECT_TRUE(fs->FaultFired()) << run;
                fs->ClearFaults();
                EXPECT_EQ(std::vector<std::string>(), fs->UnreportedChanges(before)) << run;
                if (!persistent && times == 1) {
                    EXPECT_EQ(before, fs->Tree()) << run;
                    EXPECT_EQ(std::vector<std::string>(), fs->DebugLines()) << run;
                }
            }
        }
    }
}

} // namespace testsupport
