// Non-owning wrapper of a window handle: one-line forwarders, no state beyond the handle.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Registers the common-control classes that the program's windows use (list views, tooltips,
// progress bars, tabs); once per process, before any of its dialogs opens.
void RegisterCommonControls();

class Window {
  public:
    Window() = default;
    explicit Window(HWND handle) : handle_(handle) {}

    HWND Handle() const { return handle_; }
    void Attach(HWND handle) { handle_ = handle; }
    bool IsValid() const { return handle_ != nullptr && ::IsWindow(handle_) != FALSE; }

    Window Item(int id) const { return Window(::GetDlgItem(handle_, id)); }
    Window Parent() const { return Window(::GetParent(handle_)); }

    LRESULT SendMsg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(handle_, message, wParam, lParam);
    }

    bool SetText(const std::string& text) const {
        return ::SetWindowTextA(handle_, text.c_str()) != FALSE;
    }
    std::string GetText() const;

    void Enable(bool enable) const { ::EnableWindow(handle_, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return ::IsWindowEnabled(handle_) != FALSE; }
    void Show(int command) const { ::ShowWindow(handle_, command); }
    void Focus() const { ::SetFocus(handle_); }
    bool Move(int x, int y, int width, int height) const {
        return ::MoveWindow(handle_, x, y, width, height, TRUE) != FALSE;
    }
    RECT ClientRect() const {
        RECT rect{};
        ::GetClientRect(handle_, &rect);
        return rect;
    }
    // The window's rectangle in the client coordinates of parent.
    RECT RectIn(HWND parent) const {
        RECT rect{};
        ::GetWindowRect(handle_, &rect);
        ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    HFONT Font() const { return reinterpret_cast<HFONT>(SendMsg(WM_GETFONT)); }
    void SetFont(HFONT font) const { SendMsg(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

  private:
    HWND handle_ = nullptr;
};

// Edit control helpers shared by the pages.
class Edit : public Window {
  public:
    using Window::Window;
    void LimitText(int characters) const { SendMsg(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    // Focus with the whole text selected and the insertion point scrolled into view.
    void FocusSelectAll() const {
        Focus();
        SendMsg(EM_SETSEL, 0, -1);
        SendMsg(EM_SCROLLCARET);
    }
};

class Button : public Window {
  public:
    using Window::Window;
    bool IsChecked() const { return SendMsg(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) const {
        SendMsg(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
    }
};

} // namespace win
