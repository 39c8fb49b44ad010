// Dialogs from templates: one dialog procedure that stores the object at WM_INITDIALOG and
// dispatches to virtual handlers. Modal and modeless dialogs are two small subclasses;
// property pages (property_sheet.h) are dialogs too.
#pragma once

#include "ui/win32/window.h"

#include <exception>

namespace win {

class Dialog : public Window {
  public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog() = default;

    // Pre-translation of a message taken from the queue before it is dispatched; true
    // swallows it.
    virtual bool PreTranslate(MSG& message) {
        (void)message;
        return false;
    }

    // An exception thrown by a handler cannot cross the system's dispatch: the procedure keeps
    // it, and the loop that dispatched the message throws it again on its side.
    static void RethrowPending();
    static void KeepPendingException(std::exception_ptr error);

  protected:
    virtual bool OnInit() { return true; }
    virtual bool OnCommand(int code, int id, HWND control) {
        (void)code;
        (void)id;
        (void)control;
        return false;
    }
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) {
        (void)header;
        (void)result;
        return false;
    }
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)result;
        return false;
    }
    virtual void OnDestroy() {}
    // A handler threw: the window that runs the loop must stop so that the error surfaces.
    virtual void OnHandlerFailed() {}

    // Dialog procedure of dialogs created with this object as the creation parameter.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The object's share of a message once it is known.
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    static HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }
};

class ModalDialog : public Dialog {
  public:
    // Runs the dialog of the template; returns the value given to End (-1 when it could not
    // be created).
    INT_PTR Run(int templateId, HWND owner);
    void End(INT_PTR result) { ::EndDialog(Handle(), result); }

  protected:
    void OnHandlerFailed() override { End(-1); }
};

class ModelessDialog : public Dialog {
  public:
    ~ModelessDialog() override { Destroy(); }
    bool Create(int templateId, HWND parent);
    void Destroy();
};

} // namespace win
