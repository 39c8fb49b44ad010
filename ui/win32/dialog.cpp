#include "ui/win32/dialog.h"

namespace win {

namespace {

// One GUI thread: the procedure and the loop that dispatched to it share this.
std::exception_ptr pendingException;

Dialog* ObjectOf(HWND window) {
    return reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

} // namespace

void Dialog::RethrowPending() {
    if (pendingException) {
        std::exception_ptr error = pendingException;
        pendingException = nullptr;
        std::rethrow_exception(error);
    }
}

void Dialog::KeepPendingException(std::exception_ptr error) {
    if (!pendingException)
        pendingException = error;
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
        KeepPendingException(std::current_exception());
        OnHandlerFailed();
        return FALSE;
    }
}

INT_PTR ModalDialog::Run(int templateId, HWND owner) {
    const INT_PTR result =
        ::DialogBoxParamA(Instance(), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                          reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
    RethrowPending();
    return result;
}

bool ModelessDialog::Create(int templateId, HWND parent) {
    HWND window = ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
                                       reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
    RethrowPending();
    return window != nullptr;
}

void ModelessDialog::Destroy() {
    if (Handle() != nullptr)
        ::DestroyWindow(Handle());
}

} // namespace win
