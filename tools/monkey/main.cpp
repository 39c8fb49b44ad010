// monkey: drives a program's real windows with a seeded random sequence of user actions, as an
// impatient user would: keys (function keys, Tab, Enter, Esc, arrows, Space, digits, letters, a
// few chords), Japanese text, paths pasted into the output-path field, left and right clicks
// anywhere in the program's windows, and answers to message boxes and dialogs. After every action
// the program must answer a window message within the answer time, and its keyboard focus, if any,
// must be on a visible, enabled window. When the program ends (Execute or Cancel), its exit is
// checked and it is started again until all actions are done; then it is closed the normal way.
// Settings files it wrote must read back.
//
//   monkey.exe --folder PROGRAM_FOLDER --program NAME --seed N [--actions N] [--hosted]
//              [--answer-seconds N] [--out FOLDER]
//
// With --out, every action is written with its time to FOLDER\actions-SEED.txt.
// Prints the seed first, so that a failure can be replayed with the same arguments. Exit status
// 0 when every check held, 1 on a fault (the last actions, the windows and a screenshot in
// FOLDER tell what happened), 2 for a usage error.
#include "common/console.h"
#include "common/focus.h"
#include "common/host_window.h"
#include "common/process.h"
#include "common/program_windows.h"
#include "common/text.h"
#include "robot/windows.h"
#include "settings/settings_file.h"

#include <windows.h>

#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using tools::Utf8ToWide;
using tools::WideToUtf8;

struct Fault {
    std::string what;
};

// The file name field of the file dialog.
const int kSaveFileName = 0x47C;
const DWORD kStartMs = 20000;
const DWORD kCloseMs = 30000;

struct KeyChoice {
    const char* name;
    UINT key;
    int weight;
};
// Esc and F12 end a run often enough to reach the closing paths, rarely enough to explore.
const KeyChoice kKeys[] = {
    {"F5", VK_F5, 5},         {"F6", VK_F6, 5},        {"F12", VK_F12, 3},
    {"ESC", VK_ESCAPE, 2},    {"ENTER", VK_RETURN, 7}, {"TAB", VK_TAB, 6},
    {"UP", VK_UP, 2},         {"DOWN", VK_DOWN, 2},    {"LEFT", VK_LEFT, 2},
    {"RIGHT", VK_RIGHT, 2},   {"SPACE", VK_SPACE, 6},  {"BACKSPACE", VK_BACK, 3},
    {"DELETE", VK_DELETE, 2}, {"HOME", VK_HOME, 1},    {"END", VK_END, 1},
    {"digit", '0', 10},       {"letter", 'A', 6},
};
const wchar_t kJapanese[] = L"表ソ能十ポ事業概況書売上原価ｶﾞﾊﾟｰ";

// Files of a folder tree with their sizes and times of last writing.
using Snapshot = std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>>;

void ListFiles(const std::wstring& folder, Snapshot& files) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            ListFiles(path, files);
            continue;
        }
        const ULONGLONG size = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        const ULONGLONG time = (ULONGLONG(found.ftLastWriteTime.dwHighDateTime) << 32) |
                               found.ftLastWriteTime.dwLowDateTime;
        files[path] = {size, time};
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    FILE* in = _wfopen(path.c_str(), L"rb");
    if (in == nullptr)
        return false;
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        bytes.append(buffer, n);
    std::fclose(in);
    return true;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct Options {
    std::wstring folder;
    std::wstring program;
    std::wstring out;
    unsigned seed = 0;
    int actions = 300;
    bool hosted = false;
    DWORD answerMs = 5000;
};

class Monkey {
  public:
    explicit Monkey(Options options)
        : options_(std::move(options)), random_(options_.seed), started_(GetTickCount()) {
        if (!options_.out.empty())
            log_ = _wfopen(
                (options_.out + L"\\actions-" + std::to_wstring(options_.seed) + L".txt").c_str(),
                L"wb");
    }
    ~Monkey() {
        if (log_ != nullptr)
            std::fclose(log_);
    }
    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    int Run() {
        ListFiles(options_.folder, files_);
        try {
            StartSession();
            for (int i = 1; i <= options_.actions; ++i) {
                if (child_->Exited()) {
                    EndSession();
                    StartSession();
                }
                Record(std::to_string(i) + ": " + Act());
                Check();
            }
            Record("close");
            Close();
            EndSession();
        } catch (const Fault& fault) {
            return Fail(fault);
        }
        std::printf("passed: seed %u, %d actions, %d runs of the program\n", options_.seed,
                    options_.actions, sessions_);
        return 0;
    }

  private:
    // ---- random choices ----

    int Below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }

    // ---- the program's windows ----

    std::vector<HWND> Windows() const { return robot::TopWindows(child_->id()); }
    HWND WindowTitled(const wchar_t* title) const {
        for (HWND window : Windows())
            if (robot::TextOf(window) == title)
                return window;
        return nullptr;
    }
    // Any window of the program, to reach its GUI thread; null when it has none.
    HWND AnyWindow() const {
        const std::vector<HWND> visible = Windows();
        if (!visible.empty())
            return visible.front();
        const std::vector<HWND> all = robot::TopWindows(child_->id(), true);
        return all.empty() ? nullptr : all.front();
    }
    std::string WindowList() const {
        std::string text;
        for (HWND window : Windows())
            text += (text.empty() ? "" : ", ") + WideToUtf8(robot::ClassOf(window)) + " \"" +
                    WideToUtf8(robot::TextOf(window)) + "\"";
        return text.empty() ? "no window" : text;
    }
    void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
    // A visible, enabled button of window with one of the IDs, chosen at random.
    HWND AnyButton(HWND window, std::initializer_list<int> ids) {
        std::vector<HWND> usable;
        for (int id : ids) {
            HWND button = GetDlgItem(window, id);
            if (button != nullptr && tools::CanTakeKeys(button))
                usable.push_back(button);
        }
        return usable.empty() ? nullptr
                              : usable[static_cast<std::size_t>(Below(int(usable.size())))];
    }

    // ---- sessions ----

    void StartSession() {
        ++sessions_;
        const std::wstring program = options_.folder + L"\\" + options_.program;
        std::wstring arguments;
        if (options_.hosted) {
            host_ = std::make_unique<tools::HostWindow>(1025);
            arguments = host_->CommandLine(2, L"");
        }
        child_ = std::make_unique<tools::ChildProcess>();
        if (!child_->Start(program, arguments))
            throw Fault{"the program did not start: " + child_->error()};
        Record("start " + WideToUtf8(options_.program) + (options_.hosted ? " hosted" : ""));
        const DWORD start = GetTickCount();
        while (Windows().empty()) {
            if (child_->Exited())
                throw Fault{"the program ended before it showed a window (exit status " +
                            std::to_string(child_->ExitCode()) + ")"};
            if (GetTickCount() - start > kStartMs)
                throw Fault{"no window " + std::to_string(kStartMs / 1000) + " s after the start"};
            Sleep(20);
        }
    }

    // The program has ended: how it ended, what the host window saw, what it wrote.
    void EndSession() {
        const DWORD code = child_->ExitCode();
        Record("exit status " + std::to_string(code));
        if (code > 2)
            throw Fault{"the program ended with status " + std::to_string(code) +
                        " (a run ends with 0, 1 or 2)"};
        if (host_) {
            host_->Flush();
            if (!host_->Enabled())
                throw Fault{"the host window is still disabled after the end"};
            if (host_->Notifications().size() != 1)
                throw Fault{"the host window got " + std::to_string(host_->Notifications().size()) +
                            " exit notifications, not 1"};
        }
        Snapshot now;
        ListFiles(options_.folder, now);
        for (const auto& [path, stamp] : now) {
            const auto before = files_.find(path);
            if (before != files_.end() && before->second == stamp)
                continue;
            Record("wrote " + WideToUtf8(path));
            if (EndsWith(path, L".env"))
                CheckSettings(path);
        }
        files_ = std::move(now);
    }

    static void CheckSettings(const std::wstring& path) {
        std::string bytes;
        if (!ReadBytes(path, bytes))
            throw Fault{"the settings file " + WideToUtf8(path) + " cannot be read"};
        MappingEntries mappings;
        AggregationConditions conditions;
        conditions.mappings = &mappings;
        if (!ReadSettingsText(bytes, conditions))
            throw Fault{"the settings file " + WideToUtf8(path) + " does not read back"};
    }

    // Ends the program the normal way: every dialog answered with its safe choice, then the
    // sheet's Cancel.
    void Close() {
        const DWORD start = GetTickCount();
        while (!child_->WaitForExit(50)) {
            if (GetTickCount() - start > kCloseMs)
                throw Fault{"the program did not close within " + std::to_string(kCloseMs / 1000) +
                            " s; open: " + WindowList()};
            HWND box = robot::FindMessageBox(child_->id());
            HWND target = nullptr;
            if (box != nullptr) {
                for (int id : {IDNO, IDOK, IDCANCEL})
                    if (target == nullptr && tools::CanTakeKeys(GetDlgItem(box, id)))
                        target = GetDlgItem(box, id);
            } else if (HWND save = WindowTitled(tools::kBrowseTitle)) {
                target = GetDlgItem(save, IDCANCEL);
            } else if (HWND mapping = WindowTitled(tools::kMappingTitle)) {
                target = GetDlgItem(mapping, IDC_MAP_CANCEL);
            } else {
                for (HWND window : Windows()) {
                    if (robot::ClassOf(window) == L"#32768")
                        robot::PostKey(window, VK_ESCAPE);
                    else if (target == nullptr)
                        target = robot::FindControl(window, IDC_SHEET_CANCEL);
                }
            }
            if (target != nullptr && tools::CanTakeKeys(target))
                Click(target);
            Settle();
        }
    }

    // ---- actions ----

    std::string Act() {
        if (HWND box = robot::FindMessageBox(child_->id()); box != nullptr && Chance(30))
            return AnswerMessage(box);
        // The save dialog is only ever answered: its folder view would let random keys and
        // clicks rename, delete or create files anywhere.
        if (HWND save = WindowTitled(tools::kBrowseTitle))
            return robot::FindMessageBox(child_->id()) != nullptr
                       ? AnswerMessage(robot::FindMessageBox(child_->id()))
                       : AnswerSave(save);
        if (HWND mapping = WindowTitled(tools::kMappingTitle); mapping != nullptr && Chance(10))
            return AnswerMapping(mapping);
        const int roll = Below(100);
        if (roll < 58)
            return PressKey();
        if (roll < 66)
            return TypeJapanese();
        if (roll < 70)
            return Chord();
        if (roll < 75)
            return PastePath();
        return ClickSomewhere(roll < 94);
    }

    std::string PressKey() {
        int total = 0;
        for (const KeyChoice& choice : kKeys)
            total += choice.weight;
        int pick = Below(total);
        const KeyChoice* chosen = &kKeys[0];
        for (const KeyChoice& choice : kKeys) {
            if (pick < choice.weight) {
                chosen = &choice;
                break;
            }
            pick -= choice.weight;
        }
        UINT key = chosen->key;
        std::string name = chosen->name;
        if (key == '0' || key == 'A') {
            key += static_cast<UINT>(Below(key == '0' ? 10 : 26));
            name = std::string(1, static_cast<char>(key));
        }
        HWND window = AnyWindow();
        if (window != nullptr)
            robot::PostKey(window, key);
        return "key " + name;
    }

    std::string TypeJapanese() {
        const int count = 1 + Below(3);
        std::wstring text;
        for (int i = 0; i < count; ++i)
            text += kJapanese[Below(static_cast<int>(std::size(kJapanese)) - 1)];
        HWND window = AnyWindow();
        HWND focus = window != nullptr ? tools::FocusOf(window) : nullptr;
        HWND target = focus != nullptr ? focus : window;
        for (wchar_t c : text)
            if (target != nullptr)
                PostMessageW(target, WM_CHAR, c, 1);
        return "text \"" + WideToUtf8(text) + "\"";
    }

    // Keys with Shift, Ctrl or Alt need real input to the foreground window.
    std::string Chord() {
        static const struct {
            const char* name;
            WORD modifier;
            WORD key;
        } chords[] = {
            {"ctrl+tab", VK_CONTROL, VK_TAB},     {"shift+tab", VK_SHIFT, VK_TAB},
            {"ctrl+next", VK_CONTROL, VK_NEXT},   {"alt+f4", VK_MENU, VK_F4},
            {"shift+enter", VK_SHIFT, VK_RETURN}, {"shift+f6", VK_SHIFT, VK_F6},
        };
        const auto& chord = chords[Below(static_cast<int>(std::size(chords)))];
        HWND window = AnyWindow();
        if (window == nullptr)
            return std::string(chord.name) + " (no window)";
        SetForegroundWindow(GetAncestor(window, GA_ROOT));
        robot::SendChord(chord.modifier, chord.key);
        return chord.name;
    }

    std::string ClickSomewhere(bool left) {
        const std::vector<HWND> windows = Windows();
        if (windows.empty())
            return "click (no window)";
        HWND window = windows[static_cast<std::size_t>(Below(static_cast<int>(windows.size())))];
        RECT rect{};
        GetWindowRect(window, &rect);
        const POINT at{rect.left + Below(std::max<LONG>(1, rect.right - rect.left)),
                       rect.top + Below(std::max<LONG>(1, rect.bottom - rect.top))};
        const std::string where = " at " + std::to_string(at.x) + "," + std::to_string(at.y) +
                                  " in \"" + WideToUtf8(robot::TextOf(window)) + "\"";
        if (!left) {
            robot::RightClickAt(at);
            return "right click" + where;
        }
        robot::ClickAt(at, false);
        return "click" + where;
    }

    std::string AnswerMessage(HWND box) {
        HWND button = AnyButton(box, {IDOK, IDCANCEL, IDYES, IDNO});
        const std::string text = WideToUtf8(robot::TextOf(GetDlgItem(box, 0xFFFF)));
        if (button == nullptr)
            return "message \"" + text + "\" (no button)";
        Click(button);
        return "message \"" + text + "\": button " + std::to_string(GetDlgCtrlID(button));
    }

    std::string AnswerSave(HWND save) {
        if (Chance(40)) {
            Click(GetDlgItem(save, IDCANCEL));
            return "save dialog: cancel";
        }
        const std::wstring path = RandomReportPath();
        HWND field = robot::FindControl(save, kSaveFileName);
        if (field == nullptr)
            return "save dialog: no file-name field";
        DWORD_PTR result = 0;
        SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_NORMAL, options_.answerMs, &result);
        Click(GetDlgItem(save, IDOK));
        return "save dialog: " + WideToUtf8(path);
    }

    // A report file in the program folder, now and then in a folder that does not exist yet.
    std::wstring RandomReportPath() {
        std::wstring name;
        const int length = 1 + Below(6);
        for (int i = 0; i < length; ++i)
            name += Chance(25) ? kJapanese[Below(static_cast<int>(std::size(kJapanese)) - 1)]
                               : static_cast<wchar_t>(L'a' + Below(26));
        return options_.folder + (Chance(20) ? L"\\missing\\" : L"\\") + name + L".xml";
    }

    // A path pasted into the output-path field, as a user would: without it, Execute would
    // hardly ever get past the default path's '*'.
    std::string PastePath() {
        for (HWND window : Windows()) {
            HWND field = robot::FindControl(window, IDC_P1_OUTPUT_PATH);
            if (field == nullptr || !tools::CanTakeKeys(field))
                continue;
            const std::wstring path = RandomReportPath();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                SMTO_NORMAL, options_.answerMs, &result);
            return "paste " + WideToUtf8(path);
        }
        return "paste (no output-path field shown)";
    }

    std::string AnswerMapping(HWND mapping) {
        const int choice = Below(3);
        const int id = choice == 0   ? IDC_MAP_APPLY
                       : choice == 1 ? IDC_MAP_CANCEL
                                     : IDC_MAP_ALL_ACCOUNTS;
        HWND button = GetDlgItem(mapping, id);
        if (!tools::CanTakeKeys(button))
            return "mapping dialog: button " + std::to_string(id) + " not usable";
        Click(button);
        return "mapping dialog: button " + std::to_string(id);
    }

    // ---- checks ----

    // Each WM_NULL is answered only when the program's thread fetches messages again. False
    // when the program has no window left (it is ending).
    bool Settle() {
        for (int round = 0; round < 2; ++round) {
            for (;;) {
                HWND window = AnyWindow();
                if (window == nullptr)
                    return false;
                DWORD_PTR result = 0;
                SetLastError(0);
                if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, options_.answerMs,
                                        &result) != 0)
                    break;
                if (IsWindow(window) && !child_->Exited())
                    throw Fault{"no answer to a window message within " +
                                std::to_string(options_.answerMs / 1000) +
                                " s; open: " + WindowList()};
            }
        }
        return true;
    }

    void Check() {
        const DWORD start = GetTickCount();
        while (!Settle()) {
            if (child_->Exited())
                return;
            if (GetTickCount() - start > options_.answerMs)
                throw Fault{"the program has no window and does not end"};
            Sleep(20);
        }
        // A focus in passing is given time to settle: a dialog on its way in is shown only when
        // its queue first runs empty, one on its way out is hidden before it goes. A focus that
        // rests on a hidden or disabled window stays there.
        const DWORD since = GetTickCount();
        for (;;) {
            HWND window = AnyWindow();
            HWND focus = window != nullptr ? tools::FocusOf(window) : nullptr;
            if (focus == nullptr || tools::CanTakeKeys(focus))
                return;
            DWORD pid = 0;
            GetWindowThreadProcessId(focus, &pid);
            if (pid != child_->id())
                return;
            if (GetTickCount() - since > options_.answerMs)
                throw Fault{"the focus rests on a window that cannot take keys: " +
                            tools::DescribeFocus(focus) + " in \"" +
                            WideToUtf8(robot::TextOf(GetAncestor(focus, GA_ROOT))) +
                            "\"; open: " + WindowList()};
            Sleep(100);
            Settle();
        }
    }

    // ---- reporting ----

    void Record(const std::string& line) {
        if (log_ != nullptr) {
            std::fprintf(log_, "[%7.3fs] %s\n", (GetTickCount() - started_) / 1000.0,
                         tools::Escaped(line).c_str());
            std::fflush(log_);
        }
        recent_.push_back(line);
        if (recent_.size() > 12)
            recent_.pop_front();
    }

    int Fail(const Fault& fault) {
        std::printf("FAILED: seed %u: %s\n  last actions:\n", options_.seed, fault.what.c_str());
        for (const std::string& line : recent_)
            std::printf("    %s\n", tools::Escaped(line).c_str());
        if (!options_.out.empty()) {
            const std::wstring shot =
                options_.out + L"\\monkey-" + std::to_wstring(options_.seed) + L".bmp";
            if (robot::SaveScreenshot(shot))
                std::printf("  screenshot: %s\n", WideToUtf8(shot).c_str());
        }
        std::printf("  replay: monkey.exe --folder ... --program %s --seed %u --actions %d%s\n",
                    WideToUtf8(options_.program).c_str(), options_.seed, options_.actions,
                    options_.hosted ? " --hosted" : "");
        std::fflush(stdout);
        if (child_)
            child_->Terminate();
        return 1;
    }

    Options options_;
    std::mt19937 random_;
    Snapshot files_;
    // Declared before child_: a program still running is ended before its host window goes.
    std::unique_ptr<tools::HostWindow> host_;
    std::unique_ptr<tools::ChildProcess> child_;
    std::deque<std::string> recent_;
    int sessions_ = 0;
    DWORD started_;
    // Every action with its time, in the output folder: what a failure is replayed from.
    std::FILE* log_ = nullptr;
};

int Usage() {
    std::fputs("usage: monkey.exe --folder PROGRAM_FOLDER --program NAME --seed N [--actions N] "
               "[--hosted] [--answer-seconds N] [--out FOLDER]\n",
               stderr);
    return 2;
}

} // namespace

int main() {
    const std::vector<std::wstring> args = tools::StartConsole();
    Options options;
    bool seeded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& name = args[i];
        if (name == L"--hosted") {
            options.hosted = true;
            continue;
        }
        if (i + 1 >= args.size())
            return Usage();
        const std::wstring& value = args[++i];
        if (name == L"--folder")
            options.folder = value;
        else if (name == L"--program")
            options.program = value;
        else if (name == L"--out")
            options.out = value;
        else if (name == L"--seed") {
            options.seed = static_cast<unsigned>(std::wcstoul(value.c_str(), nullptr, 10));
            seeded = true;
        } else if (name == L"--actions")
            options.actions = _wtoi(value.c_str());
        else if (name == L"--answer-seconds")
            options.answerMs = static_cast<DWORD>(_wtoi(value.c_str())) * 1000;
        else
            return Usage();
    }
    if (options.folder.empty() || options.program.empty() || !seeded || options.actions < 1 ||
        options.answerMs == 0)
        return Usage();
    if (!tools::HasCodePage932(stdout, "FAILED: "))
        return 2;
    std::printf("seed %u: %d actions on %s%s\n", options.seed, options.actions,
                WideToUtf8(options.program).c_str(), options.hosted ? " (hosted)" : "");
    std::fflush(stdout);
    return Monkey(std::move(options)).Run();
}
