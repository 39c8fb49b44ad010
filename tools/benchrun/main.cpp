// benchrun: times what the user of a link program waits for, from outside and as the user sees
// it, and reads the program's peak working set; and times the start of the floor dialog program
// (floordialog.exe) the same way. scripts/bench-e2e.sh runs it.
//
//   benchrun.exe run PROGRAM OUTPUT [--button ID] [--timeout SECONDS]
//   benchrun.exe survey PROGRAM [--timeout SECONDS]
//   benchrun.exe dialog PROGRAM [--timeout SECONDS]
//
// A window counts as shown when it is visible, every visible window and control of the program
// has nothing left to paint, and every window's thread answers (the program waits for input).
//
// run: a host window of this tool starts PROGRAM with OUTPUT as the report to write (the file is
// removed first) and prints, one "key=value" line each:
//   start_ms=T              start -> the condition sheet shown, its first page usable
//   mapping_ms=T            (with --button) the line button ID of page 2 pressed -> its mapping
//                           dialog shown (the dialog is then cancelled)
//   close_ms=T              F12 on the sheet -> the closing message shown
//   peak_working_set_kb=N   the program's peak working set at the closing message
// then confirms the message and requires the host window to be told result 0.
// survey: opens the mapping dialog of every usable line button of page 2 and prints the one that
//   lists the most accounts, button=ID and rows=N (the first of equals); then cancels the sheet
//   without saving.
// dialog: start -> PROGRAM's dialog shown: dialog_ms=T; then closes it.
//
// Exit status 0; 1 when the program did not do what was expected or took longer than the time-out
// (default 60 s per step; the program is then ended); 2 for a usage error or a code page other
// than 932.
#include "common/console.h"
#include "common/host_window.h"
#include "common/process.h"
#include "common/program_windows.h"
#include "common/text.h"
#include "robot/painted.h"
#include "robot/windows.h"
#include "ui/page2_logic.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using tools::kMappingTitle;
using tools::kSheetTitle;

const wchar_t kClosingMessage[] =
    L"事業概況情報の出力が終了しました。\n\nアプリケーションを終了します。";
const wchar_t kSaveQuestion[] = L"入力した情報を保存して終了しますか？";
const wchar_t kCancelledNotice[] = L"｢事業概況書｣の集計を中止します。";
const wchar_t kFloorTitle[] = L"floor";
const UINT kHostMessage = WM_USER + 1;
// Between two looks: often enough for a figure to the few milliseconds, seldom enough that the
// looks (each asks Wine's server about every window and control) do not slow the program down.
const DWORD kPollMs = 5;

// What went wrong: printed, and the tool ends with status 1.
struct Failure {
    std::string what;
};

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool Usable(HWND control) {
    return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control);
}

class Bench {
  public:
    explicit Bench(DWORD timeoutMs) : timeoutMs_(timeoutMs) {}

    void Start(const std::wstring& program, const std::wstring& arguments) {
        if (!child_.Start(program, arguments))
            throw Failure{"cannot start " + tools::WideToUtf8(program) + ": " + child_.error()};
    }

    // A visible top-level window of the program with this title, once it and every other
    // window of the program are shown; with a control ID, once that control is usable too.
    HWND WaitShown(const wchar_t* title, int control, const char* what) {
        HWND found = nullptr;
        Wait(what, [&] {
            found = nullptr;
            for (HWND window : robot::TopWindows(child_.id())) {
                if (robot::TextOf(window) == title)
                    found = window;
            }
            return found != nullptr &&
                   (control == 0 || Usable(robot::FindControl(found, control))) && AllShown();
        });
        return found;
    }

    // The program's message box with this text, once it is shown.
    HWND WaitMessage(const wchar_t* text, const char* what) {
        HWND box = nullptr;
        Wait(what, [&] {
            box = robot::FindMessageBox(child_.id());
            return box != nullptr && robot::TextOf(GetDlgItem(box, 0xFFFF)) == text && AllShown();
        });
        return box;
    }

    // Until no window of the program has this title.
    void WaitGone(const wchar_t* title, const char* what) {
        Wait(what, [&] {
            for (HWND window : robot::TopWindows(child_.id())) {
                if (robot::TextOf(window) == title)
                    return false;
            }
            return AllShown();
        });
    }

    void WaitExit() {
        Wait("the program to end", [&] { return child_.Exited(); });
    }

    // A button of window once it is usable, clicked (posted: it may open a modal window).
    void Press(HWND window, int id, const char* what) {
        HWND button = nullptr;
        Wait(what, [&] {
            button = robot::FindControl(window, id);
            return Usable(button);
        });
        PostMessageW(button, BM_CLICK, 0, 0);
    }

    SIZE_T PeakWorkingSetKb() const {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(child_.handle(), &counters, sizeof counters))
            throw Failure{"the program's memory counters (error " + std::to_string(GetLastError()) +
                          ")"};
        return counters.PeakWorkingSetSize / 1024;
    }

    void SetHost(HWND host) { host_ = host; }

  private:
    robot::PaintState PaintState() const {
        return robot::ReadPaintState(robot::ProgramWindows(child_.id(), host_), false);
    }
    // Every window of the program is drawn and answers.
    bool AllShown() const { return PaintState().painted; }

    template <typename Check> void Wait(const char* what, Check check) {
        const double start = NowMs();
        while (!check()) {
            if (child_.Exited() && !check())
                throw Failure{std::string("the program ended while waiting for ") + what};
            if (NowMs() - start > timeoutMs_)
                throw Failure{std::string("time-out waiting for ") + what + "; open: " +
                              robot::DescribeWindows(child_.id()) + "; " + PaintState().why};
            Sleep(kPollMs);
        }
    }

    DWORD timeoutMs_;
    HWND host_ = nullptr;
    tools::ChildProcess child_;
};

void Print(const char* key, double ms) {
    std::printf("%s=%.1f\n", key, ms);
    std::fflush(stdout);
}

int Run(const std::wstring& program, const std::wstring& output, int button, DWORD timeoutMs) {
    DeleteFileW(output.c_str());
    tools::HostWindow host(kHostMessage);
    Bench bench(timeoutMs);
    bench.SetHost(host.handle());
    const double started = NowMs();
    bench.Start(program, host.CommandLine(2, output));
    HWND sheet = bench.WaitShown(kSheetTitle, IDC_P1_END_MONTH, "the condition sheet");
    Print("start_ms", NowMs() - started);

    if (button != 0) {
        bench.Press(sheet, IDC_SHEET_NEXT, "the next-page button");
        bench.WaitShown(kSheetTitle, button, "page 2");
        HWND line = robot::FindControl(sheet, button);
        const double pressed = NowMs();
        PostMessageW(line, BM_CLICK, 0, 0);
        HWND mapping = bench.WaitShown(kMappingTitle, IDC_MAP_LIST, "the mapping dialog");
        Print("mapping_ms", NowMs() - pressed);
        bench.Press(mapping, IDC_MAP_CANCEL, "the mapping dialog's cancel button");
        bench.WaitGone(kMappingTitle, "the mapping dialog to close");
    }

    const double executed = NowMs();
    robot::PostKey(sheet, VK_F12);
    HWND box = bench.WaitMessage(kClosingMessage, "the closing message");
    Print("close_ms", NowMs() - executed);
    std::printf("peak_working_set_kb=%zu\n", static_cast<std::size_t>(bench.PeakWorkingSetKb()));
    bench.Press(box, IDOK, "the closing message's OK button");
    bench.WaitExit();
    host.Flush();
    const std::vector<tools::Notification> told = host.Notifications();
    if (told.size() != 1 || told.front().lParam != 0)
        throw Failure{"the host window told result 0 once"};
    return 0;
}

// Page 2's line buttons: those of the older form generation, which has every one of them.
std::vector<int> LineButtons() {
    std::vector<int> buttons;
    for (const pages::LineControl& control : pages::MainAccountControls(FormGeneration::k16)) {
        if (control.kind == pages::LineControlKind::kButton)
            buttons.push_back(control.controlId);
    }
    return buttons;
}

int Survey(const std::wstring& program, DWORD timeoutMs) {
    tools::HostWindow host(kHostMessage);
    Bench bench(timeoutMs);
    bench.SetHost(host.handle());
    bench.Start(program, host.CommandLine(2, L""));
    HWND sheet = bench.WaitShown(kSheetTitle, IDC_P1_END_MONTH, "the condition sheet");
    bench.Press(sheet, IDC_SHEET_NEXT, "the next-page button");
    int best = 0;
    int bestRows = -1;
    const std::vector<int> buttons = LineButtons();
    for (int button : buttons) {
        bench.WaitShown(kSheetTitle, buttons.front(), "page 2");
        if (!Usable(robot::FindControl(sheet, button)))
            continue;
        PostMessageW(robot::FindControl(sheet, button), BM_CLICK, 0, 0);
        HWND mapping = bench.WaitShown(kMappingTitle, IDC_MAP_LIST, "a mapping dialog");
        const int rows = robot::ListViewCount(robot::FindControl(mapping, IDC_MAP_LIST));
        if (rows > bestRows) {
            best = button;
            bestRows = rows;
        }
        bench.Press(mapping, IDC_MAP_CANCEL, "the mapping dialog's cancel button");
        bench.WaitGone(kMappingTitle, "the mapping dialog to close");
    }
    if (best == 0)
        throw Failure{"a usable line button on page 2"};
    std::printf("button=%d\nrows=%d\n", best, bestRows);
    // Cancelled without saving: No to the question, OK to the notice that follows.
    robot::PostKey(sheet, VK_ESCAPE);
    bench.Press(bench.WaitMessage(kSaveQuestion, "the question on cancelling"), IDNO,
                "the question's No button");
    bench.Press(bench.WaitMessage(kCancelledNotice, "the notice of the cancelled run"), IDOK,
                "the notice's OK button");
    bench.WaitExit();
    return 0;
}

int Dialog(const std::wstring& program, DWORD timeoutMs) {
    Bench bench(timeoutMs);
    const double started = NowMs();
    bench.Start(program, L"");
    HWND dialog = bench.WaitShown(kFloorTitle, IDOK, "the dialog");
    Print("dialog_ms", NowMs() - started);
    bench.Press(dialog, IDOK, "the dialog's OK button");
    bench.WaitExit();
    return 0;
}

int Usage() {
    std::fputs("usage: benchrun.exe run PROGRAM OUTPUT [--button ID] [--timeout SECONDS]\n"
               "       benchrun.exe survey PROGRAM [--timeout SECONDS]\n"
               "       benchrun.exe dialog PROGRAM [--timeout SECONDS]\n",
               stderr);
    return 2;
}

} // namespace

int main() {
    std::vector<std::wstring> words;
    int button = 0;
    DWORD timeoutMs = 60000;
    const std::vector<std::wstring> args = tools::StartConsole();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--button" && i + 1 < args.size())
            button = _wtoi(args[++i].c_str());
        else if (args[i] == L"--timeout" && i + 1 < args.size())
            timeoutMs = static_cast<DWORD>(_wtoi(args[++i].c_str())) * 1000;
        else
            words.push_back(args[i]);
    }
    if (!tools::HasCodePage932(stdout, "benchrun: "))
        return 2;
    try {
        if (words.size() == 3 && words[0] == L"run")
            return Run(words[1], words[2], button, timeoutMs);
        if (words.size() == 2 && words[0] == L"survey")
            return Survey(words[1], timeoutMs);
        if (words.size() == 2 && words[0] == L"dialog")
            return Dialog(words[1], timeoutMs);
    } catch (const Failure& failure) {
        std::printf("benchrun: FAILED: %s\n", failure.what.c_str());
        return 1;
    }
    return Usage();
}
