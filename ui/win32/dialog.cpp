#include "ui/win32/dialog.h"

namespace win {

namespace {

Dialog* ObjectOf(HWND window) {
    return reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

// Enables the owner again and destroys the window however the loop ends; the owner comes back
// before the window goes, so that it takes the activation.
class ModalScope {
  public:
    ModalScope(HWND owner, HWND window) : owner_(owner), window_(window) {
        if (owner_ != nullptr && ::IsWindowEnabled(owner_)) {
            ::EnableWindow(owner_, FALSE);
            disabledOwner_ = true;
        }
    }
    ~ModalScope() {
        if (disabledOwner_)
            ::EnableWindow(owner_, TRUE);
        if (::IsWindow(window_))
            ::DestroyWindow(window_);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    HWND owner_;
    HWND window_;
    bool disabledOwner_ = false;
};

} // namespace

INT_PTR ModalLoop::Run(HWND owner, HWND window, const std::function<void(MSG&)>& dispatch) {
    {
        ModalScope scope(owner, window);
        MSG message;
        while (!ended_ && ::IsWindow(window)) {
            const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got == -1)
                break;
            dispatch(message);
        }
    }
    ThrowFailure();
    return result_;
}

void ModalLoop::End(INT_PTR result) {
    result_ = result;
    ended_ = true;
}

void ModalLoop::Fail(std::exception_ptr failure) {
    if (!failure_)
        failure_ = std::move(failure);
    End(-1);
}

void ModalLoop::Reset() {
    ended_ = false;
    result_ = -1;
    failure_ = nullptr;
}

void ModalLoop::ThrowFailure() {
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = ObjectOf(window);
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->Attach(window);
    }
    return dialog != nullptr ? dialog->Dispatch(message, wParam, lParam) : FALSE;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam))
                       ? TRUE
                       : FALSE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
                return FALSE;
            ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(Handle(), DWLP_USER, 0);
            Attach(nullptr);
            return FALSE;
        default: {
            LRESULT result = 0;
            if (!OnMessage(message, wParam, lParam, result))
                return FALSE;
            ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
            return TRUE;
        }
        }
    } catch (...) {
        if (loop_ != nullptr)
            loop_->Fail(std::current_exception());
        else if (!pending_)
            pending_ = std::current_exception();
        return FALSE;
    }
}

void Dialog::ThrowPending() {
    if (pending_) {
        std::exception_ptr failure = pending_;
        pending_ = nullptr;
        std::rethrow_exception(failure);
    }
}

INT_PTR ModalDialog::Run(int templateId, HWND owner) {
    loop_.Reset();
    const HWND window =
        ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                             reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
    if (window == nullptr) {
        loop_.ThrowFailure();
        return -1;
    }
    if (!loop_.Ended())
        ::ShowWindow(window, SW_SHOW);
    return loop_.Run(owner, window, [this, window](MSG& message) {
        if ((message.hwnd == window || ::IsChild(window, message.hwnd)) && PreTranslate(message))
            return;
        if (::IsDialogMessageA(window, &message))
            return;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    });
}

bool ModelessDialog::Create(int templateId, HWND parent) {
    HWND window = ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
                                       reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
    ThrowPending();
    return window != nullptr;
}

void ModelessDialog::Destroy() {
    if (Handle() != nullptr)
        ::DestroyWindow(Handle());
}

} // namespace win
