// A stand-in for the host application's window: a top-level window on a thread of its own that
// records what a link program does to it (disabled, enabled, exit notification), and the
// command line that names it to the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tools {

struct Notification {
    std::int32_t wParam;
    std::int32_t lParam;
};

class HostWindow {
  public:
    // msg is the message number that the program is to post at its end.
    explicit HostWindow(UINT msg);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window_; }
    UINT message() const { return msg_; }
    // "hwnd,msg,functionId,text" for this window.
    std::wstring CommandLine(int functionId, const std::wstring& text) const;

    // Returns once every message posted to the window before the call has been handled.
    void Flush();

    bool Enabled() const { return IsWindowEnabled(window_) != FALSE; }
    // "disable", "enable" and "notify", in the order the window saw them.
    std::vector<std::string> Events() const;
    std::vector<Notification> Notifications() const;
    bool WasDisabled() const;

  private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Record(const char* event, const Notification* notification);

    UINT msg_;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE flushed_ = nullptr;
    mutable CRITICAL_SECTION lock_;
    std::vector<std::string> events_;
    std::vector<Notification> notifications_;
};

} // namespace tools
