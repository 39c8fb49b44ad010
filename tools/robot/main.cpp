// robot: drives a program's real windows from outside, as a user would, following a scenario
// file, and writes a transcript. The command set is described in tests/e2e/README.md.
//
//   robot.exe --scenario FILE --folder PROGRAM_FOLDER --out OUTPUT_FOLDER [--timeout SECONDS]
//
// Exit status 0 when every command held, 1 when one failed (expected and actual are printed,
// the transcript and a screenshot are left in OUTPUT_FOLDER), 2 for a usage or scenario error.
#include "common/console.h"
#include "common/focus.h"
#include "common/host_window.h"
#include "common/process.h"
#include "common/program_windows.h"
#include "common/text.h"
#include "robot/layout.h"
#include "robot/painted.h"
#include "robot/scenario.h"
#include "robot/windows.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tools::Utf8ToWide;
using tools::WideToUtf8;

// A command that did not hold: what was expected and what was found.
struct Failure {
    std::string expected;
    std::string actual;
};

const DWORD kPollMs = 20;

bool ReadFile(const std::wstring& path, std::string& bytes);

std::string YesNo(bool value) {
    return value ? "yes" : "no";
}

class Robot {
  public:
    Robot(std::wstring folder, std::wstring out, DWORD timeoutMs)
        : folder_(std::move(folder)), out_(std::move(out)), timeoutMs_(timeoutMs),
          started_(GetTickCount()) {
        transcript_ = _wfopen((out_ + L"\\transcript.txt").c_str(), L"wb");
    }
    ~Robot() {
        if (transcript_ != nullptr)
            std::fclose(transcript_);
    }

    std::wstring transcriptPath() const { return out_ + L"\\transcript.txt"; }

    void Log(const std::string& text) {
        if (transcript_ == nullptr)
            return;
        std::fprintf(transcript_, "[%7.3fs] %s\n", (GetTickCount() - started_) / 1000.0,
                     text.c_str());
        std::fflush(transcript_);
    }

    // Runs every command; returns the process exit status.
    int Run(const std::vector<robot::Command>& commands, const std::string& scenarioName) {
        for (const robot::Command& command : commands) {
            try {
                const std::string detail = Execute(command);
                Log("line " + std::to_string(command.line) + ": " + Describe(command) + " -> ok" +
                    (detail.empty() ? "" : " (" + tools::Escaped(detail) + ")"));
            } catch (const Failure& failure) {
                return Fail(scenarioName + ":" + std::to_string(command.line) + ": " +
                                Describe(command),
                            failure);
            } catch (const std::exception& e) {
                return Fail(scenarioName + ":" + std::to_string(command.line) + ": " +
                                Describe(command),
                            Failure{"the command to run", e.what()});
            }
        }
        // A scenario ends with the program gone: whatever is still open is a fault.
        try {
            if (child_.Started())
                WaitExit(timeoutMs_);
        } catch (const Failure& failure) {
            return Fail(scenarioName + ": end of scenario", failure);
        }
        Log("scenario passed");
        return 0;
    }

  private:
    using Handler = std::function<std::string(Robot&, const robot::Command&)>;

    static std::string Describe(const robot::Command& command) {
        std::string text = command.name;
        for (const std::string& arg : command.args)
            text += " \"" + tools::Escaped(arg) + "\"";
        for (const auto& option : command.options)
            text += " " + option.first + "=\"" + tools::Escaped(option.second) + "\"";
        return text;
    }

    int Fail(const std::string& where, const Failure& failure) {
        const std::wstring shot = out_ + L"\\failure.bmp";
        const bool shotSaved = robot::SaveScreenshot(shot);
        Log("FAILED " + where);
        Log("  expected: " + tools::Escaped(failure.expected));
        Log("  actual:   " + tools::Escaped(failure.actual));
        std::printf("FAILED %s\n  expected: %s\n  actual:   %s\n  transcript: %s\n", where.c_str(),
                    tools::Escaped(failure.expected).c_str(),
                    tools::Escaped(failure.actual).c_str(), WideToUtf8(transcriptPath()).c_str());
        if (shotSaved)
            std::printf("  screenshot: %s\n", WideToUtf8(shot).c_str());
        std::fflush(stdout);
        child_.Terminate();
        return 1;
    }

    std::string Execute(const robot::Command& command) {
        static const std::map<std::string, Handler> handlers = {
            {"start", &Robot::Start},
            {"start-hosted", &Robot::StartHosted},
            {"wait-window", &Robot::WaitWindow},
            {"expect-message", &Robot::ExpectMessage},
            {"expect-no-message", &Robot::ExpectNoMessage},
            {"press", &Robot::Press},
            {"key", &Robot::Key},
            {"set-text", &Robot::SetText},
            {"expect-text", &Robot::ExpectText},
            {"expect-title", &Robot::ExpectTitle},
            {"expect-enabled", &Robot::ExpectEnabled},
            {"expect-focus", &Robot::ExpectFocus},
            {"expect-visible", &Robot::ExpectVisible},
            {"expect-checked", &Robot::ExpectChecked},
            {"expect-list-count", &Robot::ExpectListCount},
            {"expect-list-row", &Robot::ExpectListRow},
            {"expect-list-check", &Robot::ExpectListCheck},
            {"expect-tooltip", &Robot::ExpectTooltip},
            {"right-click", &Robot::RightClick},
            {"alt-f4", &Robot::AltF4},
            {"choose-menu", &Robot::ChooseMenu},
            {"screenshot", &Robot::Screenshot},
            {"snap", &Robot::Snap},
            {"expect-layout", &Robot::ExpectLayout},
            {"expect-file", &Robot::ExpectFile},
            {"expect-no-file", &Robot::ExpectNoFile},
            {"expect-file-contains", &Robot::ExpectFileContains},
            {"expect-exit", &Robot::ExpectExit},
            {"expect-exit-notification", &Robot::ExpectExitNotification},
            {"expect-no-exit-notification", &Robot::ExpectNoExitNotification},
            {"expect-host-enabled", &Robot::ExpectHostEnabled},
            {"expect-host-events", &Robot::ExpectHostEvents},
            {"answer-to-end", &Robot::AnswerToEnd},
            {"expect-run-outcome", &Robot::ExpectRunOutcome},
        };
        const auto found = handlers.find(command.name);
        if (found == handlers.end())
            throw std::runtime_error("unknown command \"" + command.name + "\"");
        return found->second(*this, command);
    }

    // ---- arguments ----

    static const std::string& Arg(const robot::Command& command, std::size_t index,
                                  const char* what) {
        if (index >= command.args.size())
            throw std::runtime_error(std::string("missing argument: ") + what);
        return command.args[index];
    }
    static int Number(const std::string& text) {
        std::size_t used = 0;
        const long value = std::stol(text, &used, 0);
        if (used != text.size())
            throw std::runtime_error("not a number: " + text);
        return static_cast<int>(value);
    }
    static bool Flag(const std::string& text) {
        if (text == "yes")
            return true;
        if (text == "no")
            return false;
        throw std::runtime_error("expected yes or no, not " + text);
    }
    static std::string Option(const robot::Command& command, const char* name,
                              const std::string& fallback) {
        const auto found = command.options.find(name);
        return found == command.options.end() ? fallback : found->second;
    }
    DWORD TimeoutOf(const robot::Command& command) const {
        const auto found = command.options.find("timeout");
        return found == command.options.end() ? timeoutMs_
                                              : static_cast<DWORD>(Number(found->second)) * 1000;
    }
    std::wstring InFolder(const std::string& name) const {
        const std::wstring wide = Utf8ToWide(name);
        const bool absolute = wide.size() > 1 && (wide[1] == L':' || wide[0] == L'\\');
        return absolute ? wide : folder_ + L"\\" + wide;
    }

    // ---- polling ----

    // Calls check until it returns true or the time is up; check may throw Failure to report
    // the last state seen, which is rethrown when time runs out.
    template <typename Check> void Poll(DWORD timeoutMs, Check check) {
        const DWORD start = GetTickCount();
        for (;;) {
            try {
                if (check())
                    return;
                if (GetTickCount() - start >= timeoutMs)
                    throw Failure{"a state that did not come", "time-out"};
            } catch (const Failure&) {
                if (GetTickCount() - start >= timeoutMs)
                    throw;
            }
            Sleep(kPollMs);
        }
    }

    void RequireChild() const {
        if (!child_.Started())
            throw std::runtime_error("no program started yet (use start or start-hosted)");
    }
    HWND RequireWindow() const {
        if (current_ == nullptr || !IsWindow(current_))
            throw Failure{"a current window (wait-window or expect-message first)", "none"};
        return current_;
    }
    // The control of the current window, once it is visible and enabled if asked.
    HWND Control(const robot::Command& command, DWORD timeoutMs, bool usable) {
        const int id = Number(Arg(command, 0, "control ID"));
        HWND control = nullptr;
        Poll(timeoutMs, [&] {
            control = robot::FindControl(RequireWindow(), id);
            if (control == nullptr)
                throw Failure{"control " + std::to_string(id), "no such control"};
            if (usable && !(IsWindowVisible(control) && IsWindowEnabled(control)))
                throw Failure{"control " + std::to_string(id) + " visible and enabled",
                              "visible=" + YesNo(IsWindowVisible(control)) +
                                  " enabled=" + YesNo(IsWindowEnabled(control))};
            return true;
        });
        return control;
    }
    std::string OpenWindows() const { return robot::DescribeWindows(child_.id()); }
    void SettleChild() {
        HWND window = current_ != nullptr && IsWindow(current_) ? current_ : nullptr;
        if (window == nullptr) {
            const std::vector<HWND> windows = robot::TopWindows(child_.id());
            if (!windows.empty())
                window = windows.front();
        }
        if (window != nullptr)
            robot::Settle(window);
    }

    // ---- commands: starting ----

    std::string StartProgram(const std::string& program, const std::wstring& arguments,
                             DWORD flags = 0) {
        if (child_.Started())
            throw std::runtime_error("a program was started already");
        program_ = InFolder(program);
        if (!child_.Start(program_, WithFolder(arguments), flags))
            throw Failure{"the program started", child_.error()};
        return "pid " + std::to_string(child_.id()) + ", command line \"" + WideToUtf8(arguments) +
               "\"";
    }
    // console=new: the program gets a console of its own, as Explorer starts a console program
    // on a double-click or with a file dropped on it.
    std::string Start(const robot::Command& command) {
        const std::string console = Option(command, "console", "inherited");
        if (console != "inherited" && console != "new")
            throw std::runtime_error("console must be inherited or new, not " + console);
        return StartProgram(Arg(command, 0, "program"),
                            command.args.size() > 1 ? Utf8ToWide(command.args[1]) : std::wstring(),
                            console == "new" ? CREATE_NEW_CONSOLE : 0);
    }
    std::string StartHosted(const robot::Command& command) {
        host_ = std::make_unique<tools::HostWindow>(
            static_cast<UINT>(Number(Option(command, "msg", "1025"))));
        const auto line = command.options.find("line");
        if (line == command.options.end()) {
            const int functionId = Number(Option(command, "function", "2"));
            return StartProgram(Arg(command, 0, "program"),
                                host_->CommandLine(functionId, WithFolder(Utf8ToWide(
                                                                   Option(command, "text", "")))));
        }
        // A command line of the scenario's own, with {hwnd} and {msg} of the host window.
        std::wstring arguments = Utf8ToWide(line->second);
        const std::pair<std::wstring, std::wstring> fields[] = {
            {L"{hwnd}", std::to_wstring(reinterpret_cast<std::intptr_t>(host_->handle()))},
            {L"{msg}", std::to_wstring(host_->message())}};
        for (const auto& field : fields)
            for (std::size_t at; (at = arguments.find(field.first)) != std::wstring::npos;)
                arguments.replace(at, field.first.size(), field.second);
        return StartProgram(Arg(command, 0, "program"), arguments);
    }

    // ---- commands: windows ----

    std::string WaitWindow(const robot::Command& command) {
        RequireChild();
        const std::wstring pattern = Utf8ToWide(Arg(command, 0, "title"));
        const bool prefix = !pattern.empty() && pattern.back() == L'*';
        const std::wstring wanted = prefix ? pattern.substr(0, pattern.size() - 1) : pattern;
        // The window the user can work in: enabled, with the keyboard focus inside it. Keys
        // are posted to the focused control, so a key must not be sent before the focus is back
        // from a message box or a dialog that was just closed. focus=any: a window that takes no
        // keys (the progress window, which the program may not activate while it works) needs
        // only to be enabled.
        const std::string focusWanted = Option(command, "focus", "inside");
        if (focusWanted != "inside" && focusWanted != "any")
            throw std::runtime_error("focus must be inside or any, not " + focusWanted);
        Poll(TimeoutOf(command), [&] {
            for (HWND window : robot::TopWindows(child_.id())) {
                const std::wstring title = robot::TextOf(window);
                if (prefix ? title.compare(0, wanted.size(), wanted) == 0 : title == wanted) {
                    const HWND focus = tools::FocusOf(window);
                    const bool focusInside =
                        focus != nullptr && (focus == window || IsChild(window, focus));
                    if (!IsWindowEnabled(window) || (focusWanted == "inside" && !focusInside))
                        throw Failure{"window \"" + WideToUtf8(pattern) + "\" enabled and focused",
                                      tools::DescribeFocus(focus) + "; " + OpenWindows()};
                    current_ = window;
                    return true;
                }
            }
            throw Failure{"a window titled \"" + WideToUtf8(pattern) + "\"", OpenWindows()};
        });
        return WideToUtf8(robot::ClassOf(current_));
    }

    // match=part: the message holds the text somewhere (a message with parts made at run time).
    std::string ExpectMessage(const robot::Command& command) {
        RequireChild();
        const std::string wanted = Arg(command, 0, "text");
        const auto caption = command.options.find("caption");
        const std::string match = Option(command, "match", "whole");
        if (match != "whole" && match != "part")
            throw std::runtime_error("match must be whole or part, not " + match);
        Poll(TimeoutOf(command), [&] {
            HWND box = robot::FindMessageBox(child_.id());
            if (box == nullptr)
                throw Failure{"a message box \"" + wanted + "\"", OpenWindows()};
            const std::string text = WideToUtf8(robot::TextOf(GetDlgItem(box, 0xFFFF)));
            if (match == "part" ? text.find(wanted) == std::string::npos : text != wanted)
                throw Failure{"message " + std::string(match == "part" ? "with " : "") + "\"" +
                                  wanted + "\"",
                              "message \"" + text + "\""};
            const std::string title = WideToUtf8(robot::TextOf(box));
            if (caption != command.options.end() && title != caption->second)
                throw Failure{"caption \"" + caption->second + "\"", "caption \"" + title + "\""};
            current_ = box;
            return true;
        });
        return "caption \"" + WideToUtf8(robot::TextOf(current_)) + "\"";
    }

    std::string ExpectNoMessage(const robot::Command&) {
        RequireChild();
        HWND box = robot::FindMessageBox(child_.id());
        if (box != nullptr)
            throw Failure{"no message box",
                          "message \"" + WideToUtf8(robot::TextOf(GetDlgItem(box, 0xFFFF))) + "\""};
        return {};
    }

    std::string Press(const robot::Command& command) {
        HWND button = Control(command, TimeoutOf(command), true);
        // Posted: a button that opens a modal window must not block the robot.
        PostMessageW(button, BM_CLICK, 0, 0);
        SettleChild();
        return {};
    }

    std::string Key(const robot::Command& command) {
        HWND window = RequireWindow();
        static const std::map<std::string, UINT> names = {
            {"ESC", VK_ESCAPE}, {"ENTER", VK_RETURN}, {"TAB", VK_TAB},       {"SPACE", VK_SPACE},
            {"UP", VK_UP},      {"DOWN", VK_DOWN},    {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},
            {"HOME", VK_HOME},  {"END", VK_END},      {"DELETE", VK_DELETE}, {"BACKSPACE", VK_BACK},
        };
        if (command.args.empty())
            throw std::runtime_error("missing argument: key name");
        for (const std::string& name : command.args) {
            UINT key = 0;
            if (names.count(name) != 0)
                key = names.at(name);
            else if (name.size() > 1 && name[0] == 'F' && Number(name.substr(1)) >= 1 &&
                     Number(name.substr(1)) <= 12)
                key = VK_F1 + static_cast<UINT>(Number(name.substr(1)) - 1);
            else if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
                key = static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0])));
            else
                throw std::runtime_error("unknown key " + name);
            robot::PostKey(window, key);
            SettleChild();
        }
        return {};
    }

    std::string SetText(const robot::Command& command) {
        HWND control = Control(command, TimeoutOf(command), false);
        const std::wstring text = WithFolder(Utf8ToWide(Arg(command, 1, "text")));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_NORMAL, 2000, &result);
        return {};
    }

    std::string ExpectText(const robot::Command& command) {
        const std::string wanted = Arg(command, 1, "text");
        Poll(TimeoutOf(command), [&] {
            const std::string text = WideToUtf8(robot::TextOf(Control(command, 0, false)));
            if (text != wanted)
                throw Failure{"\"" + wanted + "\"", "\"" + text + "\""};
            return true;
        });
        return {};
    }

    std::string ExpectTitle(const robot::Command& command) {
        const std::string wanted = Arg(command, 0, "title");
        Poll(TimeoutOf(command), [&] {
            const std::string text = WideToUtf8(robot::TextOf(RequireWindow()));
            if (text != wanted)
                throw Failure{"title \"" + wanted + "\"", "title \"" + text + "\""};
            return true;
        });
        return {};
    }

    template <typename Read>
    std::string ExpectState(const robot::Command& command, Read read, const char* what) {
        const bool wanted = Flag(Arg(command, 1, "yes or no"));
        Poll(TimeoutOf(command), [&] {
            const bool state = read(Control(command, 0, false));
            if (state != wanted)
                throw Failure{std::string(what) + "=" + YesNo(wanted),
                              std::string(what) + "=" + YesNo(state)};
            return true;
        });
        return {};
    }
    // The program's keyboard focus is on the control with this ID, visible and enabled.
    std::string ExpectFocus(const robot::Command& command) {
        const int wanted = Number(Arg(command, 0, "control ID"));
        const std::string expected =
            "focus on control " + std::to_string(wanted) + ", visible and enabled";
        Poll(TimeoutOf(command), [&] {
            const HWND focus = tools::FocusOf(RequireWindow());
            if (focus == nullptr || GetDlgCtrlID(focus) != wanted || !tools::CanTakeKeys(focus))
                throw Failure{expected, tools::DescribeFocus(focus)};
            return true;
        });
        return {};
    }
    std::string ExpectEnabled(const robot::Command& command) {
        return ExpectState(
            command, [](HWND w) { return IsWindowEnabled(w) != FALSE; }, "enabled");
    }
    std::string ExpectVisible(const robot::Command& command) {
        return ExpectState(
            command, [](HWND w) { return IsWindowVisible(w) != FALSE; }, "visible");
    }
    std::string ExpectChecked(const robot::Command& command) {
        return ExpectState(
            command,
            [](HWND w) {
                DWORD_PTR state = 0;
                SendMessageTimeoutW(w, BM_GETCHECK, 0, 0, SMTO_NORMAL, 2000, &state);
                return state == BST_CHECKED;
            },
            "checked");
    }

    // ---- commands: list views, tooltips, menus ----

    std::string ExpectListCount(const robot::Command& command) {
        const int wanted = Number(Arg(command, 1, "row count"));
        Poll(TimeoutOf(command), [&] {
            const int count = robot::ListViewCount(Control(command, 0, false));
            if (count != wanted)
                throw Failure{std::to_string(wanted) + " rows", std::to_string(count) + " rows"};
            return true;
        });
        return {};
    }

    std::string ExpectListRow(const robot::Command& command) {
        const int row = Number(Arg(command, 1, "row"));
        const std::string wanted = Arg(command, 2, "text");
        const int column = Number(Option(command, "column", "0"));
        Poll(TimeoutOf(command), [&] {
            const std::string text =
                WideToUtf8(robot::ListViewText(Control(command, 0, false), row, column));
            if (text != wanted)
                throw Failure{"row " + std::to_string(row) + " column " + std::to_string(column) +
                                  " \"" + wanted + "\"",
                              "\"" + text + "\""};
            return true;
        });
        return {};
    }

    std::string ExpectListCheck(const robot::Command& command) {
        const int row = Number(Arg(command, 1, "row"));
        const bool wanted = Flag(Arg(command, 2, "yes or no"));
        Poll(TimeoutOf(command), [&] {
            const int state = robot::ListViewCheck(Control(command, 0, false), row);
            if ((state == 2) != wanted)
                throw Failure{"row " + std::to_string(row) + " checked=" + YesNo(wanted),
                              "state image " + std::to_string(state) + " (1 unchecked, 2 checked)"};
            return true;
        });
        return {};
    }

    std::string ExpectTooltip(const robot::Command& command) {
        const std::string wanted = Arg(command, 1, "text");
        Poll(TimeoutOf(command), [&] {
            std::wstring text;
            if (!robot::TooltipText(child_.id(), Control(command, 0, false), text))
                throw Failure{"tooltip \"" + wanted + "\"", "no tooltip for the control"};
            if (WideToUtf8(text) != wanted)
                throw Failure{"tooltip \"" + wanted + "\"", "tooltip \"" + WideToUtf8(text) + "\""};
            return true;
        });
        return {};
    }

    std::string RightClick(const robot::Command& command) {
        HWND control = Control(command, TimeoutOf(command), true);
        RECT rect = {};
        const auto row = command.options.find("row");
        if (row != command.options.end()) {
            if (!robot::ListViewRowRect(control, Number(row->second), rect))
                throw Failure{"list-view row " + row->second, "no such row"};
        } else {
            GetWindowRect(control, &rect);
        }
        // Real input goes to the foreground window.
        SetForegroundWindow(GetAncestor(control, GA_ROOT));
        robot::RightClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        SettleChild();
        return {};
    }

    std::string AltF4(const robot::Command&) {
        HWND window = RequireWindow();
        // Real input goes to the foreground window.
        SetForegroundWindow(GetAncestor(window, GA_ROOT));
        robot::SendChord(VK_MENU, VK_F4);
        SettleChild();
        return {};
    }

    std::string ChooseMenu(const robot::Command& command) {
        RequireChild();
        const int position = Number(Arg(command, 0, "entry position"));
        HWND menu = nullptr;
        Poll(TimeoutOf(command), [&] {
            for (HWND window : robot::TopWindows(child_.id()))
                if (robot::ClassOf(window) == L"#32768")
                    menu = window;
            if (menu == nullptr)
                throw Failure{"a pop-up menu", OpenWindows()};
            return true;
        });
        for (int i = 0; i < position; ++i)
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN,
                         1 | (MapVirtualKeyW(VK_DOWN, MAPVK_VK_TO_VSC) << 16));
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN,
                     1 | (MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC) << 16));
        SettleChild();
        return {};
    }

    std::string Screenshot(const robot::Command& command) {
        const std::wstring path = out_ + L"\\" + Utf8ToWide(Arg(command, 0, "name")) + L".bmp";
        if (!robot::SaveScreenshot(path))
            throw Failure{"a screenshot", "the screen could not be saved"};
        return WideToUtf8(path);
    }

    // A picture of the program's windows, cut to them, once they have been drawn: nothing left
    // to paint in any visible window or control, every window answering (unless busy=yes, for
    // a window whose thread works without pumping), and the same windows and controls in the
    // same places over three looks.
    std::string Snap(const robot::Command& command) {
        RequireChild();
        const bool busyAllowed = Flag(Option(command, "busy", "no"));
        // Without a window manager Wine draws the title bar of the window the user works in
        // (the enabled one on top of the others) as inactive although it is the active window:
        // the caption is drawn as a window manager would show it, nothing else changes.
        if (!busyAllowed)
            for (HWND window : robot::TopWindows(child_.id()))
                if (IsWindowEnabled(window)) {
                    DWORD_PTR result = 0;
                    SendMessageTimeoutW(window, WM_NCACTIVATE, TRUE, 0, SMTO_NORMAL, 2000, &result);
                    break;
                }
        robot::PaintState last;
        int sameLooks = 0;
        Poll(TimeoutOf(command), [&] {
            Sleep(50);
            robot::PaintState state = robot::ReadPaintState(
                robot::ProgramWindows(child_.id(), HostHandle()), busyAllowed);
            if (!state.painted) {
                sameLooks = 0;
                throw Failure{"the program's windows drawn", state.why};
            }
            sameLooks = state.signature == last.signature ? sameLooks + 1 : 0;
            last = state;
            if (sameLooks < 2)
                throw Failure{"windows that stay as they are", "they still change"};
            return true;
        });
        const std::wstring path = out_ + L"\\" + Utf8ToWide(Arg(command, 0, "name")) + L".bmp";
        if (!robot::SaveScreenshot(path, &last.area, &last.shown))
            throw Failure{"a picture of the windows", "the screen could not be saved"};
        return WideToUtf8(path);
    }

    // Every visible window of the program is laid out so that each text can be read: no text cut
    // off by its control, no two controls overlapping, no control reaching out of its window.
    // Texts are measured with the font of the program's dialog templates (message boxes: the
    // system's message font) at the system's DPI.
    std::string ExpectLayout(const robot::Command& command) {
        RequireChild();
        robot::DialogFont font;
        std::string why;
        if (!robot::ReadDialogFont(program_, font, why))
            throw Failure{"the font of the program's dialog templates", why};
        std::size_t windows = 0;
        Poll(TimeoutOf(command), [&] {
            const std::vector<HWND> shown = robot::ProgramWindows(child_.id(), HostHandle());
            if (shown.empty())
                throw Failure{"the program's windows", "no visible window"};
            windows = shown.size();
            std::string faults;
            for (const std::string& fault : robot::LayoutFaults(shown, font))
                faults += (faults.empty() ? "" : "; ") + fault;
            if (!faults.empty())
                throw Failure{"no text cut off, no controls overlapping", faults};
            return true;
        });
        return std::to_string(windows) + " windows at " + std::to_string(robot::SystemDpi()) +
               " DPI, \"" + WideToUtf8(font.face) + "\" " + std::to_string(font.points) + " pt";
    }

    // ---- commands: files ----

    std::string ExpectFile(const robot::Command& command) {
        const std::wstring path = InFolder(Arg(command, 0, "path"));
        Poll(TimeoutOf(command), [&] {
            if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
                throw Failure{"file " + WideToUtf8(path), "missing"};
            return true;
        });
        return {};
    }

    std::string ExpectNoFile(const robot::Command& command) {
        const std::wstring path = InFolder(Arg(command, 0, "path"));
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            throw Failure{"no file " + WideToUtf8(path), "it exists"};
        return {};
    }

    // The text with every "{folder}" replaced by the program folder.
    std::wstring WithFolder(std::wstring text) const {
        const std::wstring field = L"{folder}";
        for (std::size_t at = 0; (at = text.find(field, at)) != std::wstring::npos;) {
            text.replace(at, field.size(), folder_);
            at += folder_.size();
        }
        return text;
    }

    // A file whose text, read as code page 932, contains TEXT (waits for it).
    std::string ExpectFileContains(const robot::Command& command) {
        const std::wstring path = InFolder(Arg(command, 0, "path"));
        const std::wstring wanted = Utf8ToWide(Arg(command, 1, "text"));
        Poll(TimeoutOf(command), [&] {
            std::string bytes;
            if (!ReadFile(path, bytes))
                throw Failure{"file " + WideToUtf8(path), "missing"};
            std::wstring text(bytes.size(), L'\0');
            const int length =
                MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    text.data(), static_cast<int>(text.size()));
            text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
            if (text.find(wanted) == std::wstring::npos)
                throw Failure{"\"" + WideToUtf8(wanted) + "\" in " + WideToUtf8(path),
                              std::to_string(text.size()) + " characters without it"};
            return true;
        });
        return {};
    }

    // ---- commands: the end of the run and the host window ----

    void WaitExit(DWORD timeoutMs) {
        Poll(timeoutMs, [&] {
            if (!child_.Exited())
                throw Failure{"the program to end", "still running with " + OpenWindows()};
            return true;
        });
        if (host_)
            host_->Flush();
    }

    std::string ExpectExit(const robot::Command& command) {
        RequireChild();
        WaitExit(TimeoutOf(command));
        const std::string code = std::to_string(child_.ExitCode());
        const auto wanted = command.options.find("code");
        if (wanted != command.options.end() && std::to_string(Number(wanted->second)) != code)
            throw Failure{"exit status " + wanted->second, "exit status " + code};
        return "exit status " + code;
    }

    // The host window of a host-started run, else null.
    HWND HostHandle() const { return host_ ? host_->handle() : nullptr; }

    tools::HostWindow& RequireHost() const {
        if (!host_)
            throw std::runtime_error("no host window (use start-hosted)");
        return *host_;
    }

    std::string NotificationsText() const {
        std::string text;
        for (const tools::Notification& n : RequireHost().Notifications())
            text += (text.empty() ? "" : ", ") + std::string("wparam=") + std::to_string(n.wParam) +
                    " lparam=" + std::to_string(n.lParam);
        return text.empty() ? "no notification" : text;
    }

    std::string ExpectExitNotification(const robot::Command& command) {
        tools::HostWindow& host = RequireHost();
        const std::string wanted =
            "wparam=" + std::to_string(Number(Option(command, "wparam", "2"))) +
            " lparam=" + std::to_string(Number(Option(command, "lparam", "0")));
        Poll(TimeoutOf(command), [&] {
            host.Flush();
            if (host.Notifications().empty())
                throw Failure{wanted, "no notification"};
            return true;
        });
        if (NotificationsText() != wanted)
            throw Failure{wanted, NotificationsText()};
        return {};
    }

    std::string ExpectNoExitNotification(const robot::Command&) {
        tools::HostWindow& host = RequireHost();
        // Only an ended program can no longer post.
        WaitExit(timeoutMs_);
        host.Flush();
        if (!host.Notifications().empty())
            throw Failure{"no notification", NotificationsText()};
        return {};
    }

    std::string ExpectHostEnabled(const robot::Command& command) {
        tools::HostWindow& host = RequireHost();
        const bool wanted = Flag(Arg(command, 0, "yes or no"));
        Poll(TimeoutOf(command), [&] {
            if (host.Enabled() != wanted)
                throw Failure{"host window enabled=" + YesNo(wanted),
                              "enabled=" + YesNo(host.Enabled())};
            return true;
        });
        return {};
    }

    std::string ExpectHostEvents(const robot::Command& command) {
        tools::HostWindow& host = RequireHost();
        host.Flush();
        std::string wanted;
        for (const std::string& event : command.args)
            wanted += (wanted.empty() ? "" : " ") + event;
        std::string actual;
        for (const std::string& event : host.Events())
            actual += (actual.empty() ? "" : " ") + event;
        if (actual != wanted)
            throw Failure{"host events \"" + wanted + "\"", "host events \"" + actual + "\""};
        return {};
    }

    // ---- commands: a run whatever it shows ----

    // Answers whatever the program shows until it ends: OK (or Yes) on a message box, F12 on the
    // condition sheet. For runs whose course is not known beforehand (a host that fails).
    std::string AnswerToEnd(const robot::Command& command) {
        RequireChild();
        const std::wstring sheetTitle =
            Utf8ToWide(Option(command, "sheet", WideToUtf8(tools::kSheetTitle)));
        std::string answered;
        Poll(TimeoutOf(command), [&] {
            if (child_.Exited())
                return true;
            if (HWND box = robot::FindMessageBox(child_.id())) {
                for (int id : {IDOK, IDYES}) {
                    HWND button = GetDlgItem(box, id);
                    if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) {
                        answered += (answered.empty() ? "" : ", ") + std::string("message \"") +
                                    WideToUtf8(robot::TextOf(GetDlgItem(box, 0xFFFF))) + "\"";
                        PostMessageW(button, BM_CLICK, 0, 0);
                        robot::Settle(box);
                        break;
                    }
                }
                throw Failure{"the program to end", OpenWindows()};
            }
            for (HWND window : robot::TopWindows(child_.id())) {
                if (robot::TextOf(window) == sheetTitle && IsWindowEnabled(window)) {
                    answered += (answered.empty() ? "" : ", ") + std::string("F12 on the sheet");
                    robot::PostKey(window, VK_F12);
                    robot::Settle(window);
                    break;
                }
            }
            throw Failure{"the program to end", OpenWindows()};
        });
        if (host_)
            host_->Flush();
        return answered.empty() ? "nothing to answer" : answered;
    }

    // The promises of a host-started run that ended, whatever its result: the host window ended
    // enabled; it saw nothing (the run ended before it knew the window) or was disabled, enabled
    // and told once; a result 0 comes with report equal to the file same-as, any other result
    // and no notification with no report.
    std::string ExpectRunOutcome(const robot::Command& command) {
        tools::HostWindow& host = RequireHost();
        WaitExit(TimeoutOf(command));
        std::string events;
        for (const std::string& event : host.Events())
            events += (events.empty() ? "" : " ") + event;
        if (!host.Enabled())
            throw Failure{"the host window enabled", "disabled"};
        const std::vector<tools::Notification>& told = host.Notifications();
        if (!(events.empty() && told.empty()) &&
            !(events == "disable enable notify" && told.size() == 1))
            throw Failure{"host events \"\" or \"disable enable notify\" with one notification",
                          "host events \"" + events + "\", " + NotificationsText()};
        const std::wstring report = InFolder(Arg(command, 0, "report"));
        std::string written;
        const bool exists = ReadFile(report, written);
        if (told.empty() || told.front().lParam != 0) {
            if (exists)
                throw Failure{"no report " + WideToUtf8(report), "it exists"};
            return events.empty() ? "nothing told, no report" : NotificationsText() + ", no report";
        }
        std::string clean;
        const std::wstring sameAs = InFolder(Option(command, "same-as", ""));
        if (!ReadFile(sameAs, clean))
            throw std::runtime_error("cannot read " + WideToUtf8(sameAs));
        if (!exists || written != clean)
            throw Failure{"the report of " + WideToUtf8(sameAs),
                          exists ? std::to_string(written.size()) + " other bytes" : "no report"};
        return NotificationsText() + ", the report as without faults";
    }

    std::wstring folder_;
    std::wstring out_;
    DWORD timeoutMs_;
    DWORD started_;
    std::FILE* transcript_ = nullptr;
    // Declared before child_: a program still running at the end is ended before its host
    // window goes away.
    std::unique_ptr<tools::HostWindow> host_;
    std::wstring program_;
    tools::ChildProcess child_;
    HWND current_ = nullptr;
};

int Usage() {
    std::fputs("usage: robot.exe --scenario FILE --folder PROGRAM_FOLDER --out OUTPUT_FOLDER "
               "[--timeout SECONDS]\n",
               stderr);
    return 2;
}

bool ReadFile(const std::wstring& path, std::string& bytes) {
    FILE* in = _wfopen(path.c_str(), L"rb");
    if (in == nullptr)
        return false;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.append(buffer, n);
    std::fclose(in);
    return true;
}

} // namespace

int main() {
    // The program under test is aware of the system's DPI: so is the robot, which then sees its
    // windows' places and sizes, and measures its texts, in the same pixels.
    SetProcessDPIAware();
    const std::vector<std::wstring> words = tools::StartConsole();
    std::map<std::wstring, std::wstring> args;
    for (std::size_t i = 0; i + 1 < words.size(); i += 2)
        args[words[i]] = words[i + 1];
    if (words.size() % 2 != 0 || args.count(L"--scenario") == 0 || args.count(L"--folder") == 0 ||
        args.count(L"--out") == 0)
        return Usage();
    if (!tools::HasCodePage932(stdout, "FAILED: "))
        return 2;

    const std::wstring scenarioPath = args[L"--scenario"];
    std::string text;
    if (!ReadFile(scenarioPath, text)) {
        std::printf("FAILED: cannot read %s\n", WideToUtf8(scenarioPath).c_str());
        return 2;
    }
    std::vector<robot::Command> commands;
    const std::string name = WideToUtf8(scenarioPath.substr(scenarioPath.find_last_of(L"\\/") + 1));
    try {
        commands = robot::ParseScenario(text);
    } catch (const std::exception& e) {
        std::printf("FAILED: %s: %s\n", name.c_str(), e.what());
        return 2;
    }
    const DWORD timeoutMs = args.count(L"--timeout") != 0
                                ? static_cast<DWORD>(_wtoi(args[L"--timeout"].c_str())) * 1000
                                : 10000;
    Robot robot(args[L"--folder"], args[L"--out"], timeoutMs);
    const int status = robot.Run(commands, name);
    if (status == 0)
        std::printf("passed: %s (%zu commands)\n", name.c_str(), commands.size());
    return status;
}
