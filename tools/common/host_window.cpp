#include "common/host_window.h"

#include <algorithm>
#include <stdexcept>

namespace tools {

namespace {

const wchar_t kClassName[] = L"OvwHostSimulator";
// Posted by Flush; every earlier post has been handled when it arrives.
const UINT kFlushMessage = WM_APP + 0x3F00;

class Lock {
  public:
    explicit Lock(CRITICAL_SECTION& section) : section_(section) {
        EnterCriticalSection(&section_);
    }
    ~Lock() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION& section_;
};

} // namespace

HostWindow::HostWindow(UINT msg) : msg_(msg) {
    InitializeCriticalSection(&lock_);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    flushed_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    WaitForSingleObject(ready_, INFINITE);
    if (window_ == nullptr)
        throw std::runtime_error("the host window could not be created");
}

HostWindow::~HostWindow() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(flushed_);
    CloseHandle(ready_);
    DeleteCriticalSection(&lock_);
}

std::wstring HostWindow::CommandLine(int functionId, const std::wstring& text) const {
    return std::to_wstring(reinterpret_cast<std::intptr_t>(window_)) + L"," +
           std::to_wstring(msg_) + L"," + std::to_wstring(functionId) + L"," + text;
}

void HostWindow::Flush() {
    PostMessageW(window_, kFlushMessage, 0, 0);
    WaitForSingleObject(flushed_, 5000);
}

std::vector<std::string> HostWindow::Events() const {
    Lock lock(lock_);
    return events_;
}

std::vector<Notification> HostWindow::Notifications() const {
    Lock lock(lock_);
    return notifications_;
}

bool HostWindow::WasDisabled() const {
    Lock lock(lock_);
    return std::find(events_.begin(), events_.end(), "disable") != events_.end();
}

void HostWindow::Record(const char* event, const Notification* notification) {
    Lock lock(lock_);
    events_.emplace_back(event);
    if (notification != nullptr)
        notifications_.push_back(*notification);
}

DWORD WINAPI HostWindow::ThreadMain(LPVOID param) {
    auto* self = static_cast<HostWindow*>(param);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    RegisterClassW(&wc);
    self->window_ =
        CreateWindowExW(0, kClassName, L"ホスト (hostsim)", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        320, 200, nullptr, nullptr, wc.hInstance, self);
    SetEvent(self->ready_);
    if (self->window_ == nullptr)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_ENABLE) {
        self->Record(wParam != 0 ? "enable" : "disable", nullptr);
        return 0;
    }
    if (msg == self->msg_) {
        const Notification notification = {static_cast<std::int32_t>(wParam),
                                           static_cast<std::int32_t>(lParam)};
        self->Record("notify", &notification);
        return 0;
    }
    if (msg == kFlushMessage) {
        SetEvent(self->flushed_);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace tools
