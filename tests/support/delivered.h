// What the tests of whole runs share: the data files delivered beside the programs, and a
// progress window that shows nothing.
#pragma once

#include "support/file_bytes.h"
#include "ui/run_ui.h"

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// The bytes of a file delivered into the build's program folder; a failure is added when it is
// not there.
inline std::string ReadDelivered(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(std::string(OVW_BIN_DIR) + "/" + name, bytes))
        << name << " is not delivered";
    return bytes;
}

// The progress window of a run, as its window handle window.
class NullProgress : public ProgressWindow {
  public:
    explicit NullProgress(platform::WindowHandle window) : window_(window) {}
    platform::WindowHandle Window() const override { return window_; }
    void Close() override {}
    void ResetMainBar() override {}
    void AdvanceTo(std::int16_t, std::int16_t) override {}
    void ActivityTick() override {}

  private:
    platform::WindowHandle window_;
};

} // namespace testsupport
