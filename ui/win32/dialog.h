// Dialogs from templates: one dialog procedure that stores the object at WM_INITDIALOG and
// dispatches to virtual handlers. Modal and modeless dialogs are two small subclasses;
// property pages (property_sheet.h) are dialogs too. Modal windows run one kind of loop
// (ModalLoop), which gives their key messages to their PreTranslate before the dialog manager.
#pragma once

#include "ui/win32/window.h"

#include <exception>
#include <functional>

namespace win {

// The message loop of one modal window. It runs until End, with the owner disabled for its
// time. An exception that a handler of one of its windows throws cannot cross the system's
// dispatch: the handler's procedure gives it to the loop (Fail), which ends and throws it again
// on the side of the code that ran it.
class ModalLoop {
  public:
    // Dispatches each message taken from the queue through dispatch until End or Fail; then
    // enables owner again (when it was enabled before) and destroys window, in that order, and
    // throws the failure if one came. Returns the value given to End.
    INT_PTR Run(HWND owner, HWND window, const std::function<void(MSG&)>& dispatch);
    void End(INT_PTR result);
    // Keeps the first failure and ends the loop.
    void Fail(std::exception_ptr failure);
    // Ready for a new run: not ended, no failure.
    void Reset();
    // Throws the failure kept before the loop ran (while its window was being created).
    void ThrowFailure();
    bool Ended() const { return ended_; }

  private:
    bool ended_ = false;
    INT_PTR result_ = 0;
    std::exception_ptr failure_;
};

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

    // The loop that runs this dialog's window modally (its own, or the sheet's for a page).
    void SetLoop(ModalLoop* loop) { loop_ = loop; }

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

    // Dialog procedure of dialogs created with this object as the creation parameter.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The object's share of a message once it is known.
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    static HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }
    // Throws the exception of a handler that ran outside any modal loop.
    void ThrowPending();

  private:
    ModalLoop* loop_ = nullptr;
    std::exception_ptr pending_;
};

class ModalDialog : public Dialog {
  public:
    ModalDialog() { SetLoop(&loop_); }
    // Creates the dialog of the template owned by owner, shows it and runs it until End;
    // returns the value given to End (-1 when it could not be created).
    INT_PTR Run(int templateId, HWND owner);
    void End(INT_PTR result) { loop_.End(result); }

  private:
    ModalLoop loop_;
};

class ModelessDialog : public Dialog {
  public:
    ~ModelessDialog() override { Destroy(); }
    // Creates the dialog of the template; an exception of its set-up is thrown here.
    bool Create(int templateId, HWND parent);
    void Destroy();
};

} // namespace win
