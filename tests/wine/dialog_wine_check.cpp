// The window layer's modal loops under Wine: an exception that a handler throws inside a window
// procedure ends the loop of its window and comes out of the call that ran the window, with the
// owner enabled again and the window gone; nothing is held in between.
#include "tests/wine/wine_check.h"
#include "ui/resources/mapping_ids.h"
#include "ui/resources/page1_ids.h"
#include "ui/win32/dialog.h"
#include "ui/win32/property_sheet.h"
#include "ui/win32/window.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

using winecheck::Check;

// A top-level window that owns the dialogs, as the sheet owns the mapping dialog.
class Owner {
  public:
    Owner() {
        handle_ = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    ~Owner() { ::DestroyWindow(handle_); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    HWND handle() const { return handle_; }

  private:
    HWND handle_;
};

// The mapping dialog's template with handlers that throw where the check asks; whatever its
// loop dispatches last is its last command.
class ThrowingDialog : public win::ModalDialog {
  public:
    enum class Where { kNowhere, kInit, kCommand };
    explicit ThrowingDialog(Where where) : where_(where) {}

    HWND seen = nullptr;

  protected:
    bool OnInit() override {
        seen = Handle();
        if (where_ == Where::kInit)
            throw std::runtime_error("thrown in WM_INITDIALOG");
        // A command the loop takes from the queue once it runs.
        ::PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDC_MAP_APPLY, BN_CLICKED), 0);
        return true;
    }
    bool OnCommand(int, int id, HWND) override {
        if (id != IDC_MAP_APPLY)
            return false;
        if (where_ == Where::kCommand)
            throw std::runtime_error("thrown in WM_COMMAND");
        End(IDC_MAP_APPLY);
        return true;
    }

  private:
    Where where_;
};

// Runs the dialog owned by owner and says what came out of the run: its result, or the text of
// the exception.
std::string RunDialog(ThrowingDialog& dialog, HWND owner) {
    try {
        return "result " + std::to_string(dialog.Run(IDD_MAPPING, owner));
    } catch (const std::exception& error) {
        return std::string("exception: ") + error.what();
    }
}

void CheckModalDialogs() {
    const Owner owner;
    for (const auto& [where, expected] :
         {std::pair{ThrowingDialog::Where::kNowhere, std::string("result 1032")},
          std::pair{ThrowingDialog::Where::kInit,
                    std::string("exception: thrown in WM_INITDIALOG")},
          std::pair{ThrowingDialog::Where::kCommand,
                    std::string("exception: thrown in WM_COMMAND")}}) {
        ThrowingDialog dialog(where);
        const std::string outcome = RunDialog(dialog, owner.handle());
        Check(outcome == expected, "modal dialog: " + expected, outcome);
        Check(::IsWindowEnabled(owner.handle()) != FALSE, "owner enabled after: " + expected);
        Check(dialog.seen != nullptr && ::IsWindow(dialog.seen) == FALSE,
              "dialog window gone after: " + expected);
    }
    // The loop is its own per run: a run after an exception runs as any other.
    ThrowingDialog again(ThrowingDialog::Where::kNowhere);
    Check(RunDialog(again, owner.handle()) == "result 1032", "a run after an exception");
}

// A page of page 1's template that throws when it is set up, or when a command reaches it.
class ThrowingPage : public win::PropertyPage {
  public:
    explicit ThrowingPage(bool inInit) : win::PropertyPage(IDD_PAGE1), inInit_(inInit) {}

    // The sheet's window, as the page saw it.
    HWND sheetSeen = nullptr;

  protected:
    bool OnInit() override {
        sheetSeen = ::GetParent(Handle());
        if (inInit_)
            throw std::runtime_error("page thrown in WM_INITDIALOG");
        ::PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDC_P1_BROWSE, BN_CLICKED), 0);
        return true;
    }
    bool OnCommand(int, int id, HWND) override {
        if (id != IDC_P1_BROWSE)
            return false;
        throw std::runtime_error("page thrown in WM_COMMAND");
    }

  private:
    bool inInit_;
};

// Counts its start-ups: a sheet whose page failed while it was created starts nothing.
class Sheet : public win::PropertySheet {
  public:
    explicit Sheet(ThrowingPage& page) { AddPage(page); }
    int startUps = 0;

  protected:
    void OnCreated() override { ++startUps; }
};

void CheckPropertySheets() {
    const Owner owner;
    for (const bool inInit : {true, false}) {
        const std::string expected = inInit ? "exception: page thrown in WM_INITDIALOG"
                                            : "exception: page thrown in WM_COMMAND";
        ThrowingPage page(inInit);
        Sheet sheet(page);
        std::string outcome;
        try {
            if (sheet.Create(owner.handle(), "sheet", 0))
                outcome = "result " + std::to_string(sheet.RunModal(owner.handle()));
            else
                outcome = "not created";
        } catch (const std::exception& error) {
            outcome = std::string("exception: ") + error.what();
        }
        Check(outcome == expected, "property sheet: " + expected, outcome);
        Check(sheet.startUps == (inInit ? 0 : 1), "start-ups of the sheet: " + expected,
              std::to_string(sheet.startUps));
        Check(::IsWindowEnabled(owner.handle()) != FALSE, "owner enabled after: " + expected);
        Check(page.sheetSeen != nullptr && ::IsWindow(page.sheetSeen) == FALSE,
              "sheet window gone after: " + expected);
    }
}

} // namespace

int main() {
    if (::GetACP() != 932) {
        std::printf("FAIL the ANSI code page is %u, not 932\n", ::GetACP());
        return 1;
    }
    win::RegisterCommonControls();
    CheckModalDialogs();
    CheckPropertySheets();
    std::printf("%d failures\n", winecheck::Failures());
    return winecheck::Failures() == 0 ? 0 : 1;
}
