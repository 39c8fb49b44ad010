#include "robot/windows.h"

#include "common/text.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>

namespace robot {

namespace {

const UINT kAnswerMs = 2000;

struct EnumState {
    DWORD pid;
    bool all;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == state->pid && (state->all || IsWindowVisible(window)))
        state->found.push_back(window);
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND visible = nullptr;
    HWND any = nullptr;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(window) != search->id)
        return TRUE;
    if (search->any == nullptr)
        search->any = window;
    if (IsWindowVisible(window)) {
        search->visible = window;
        return FALSE;
    }
    return TRUE;
}

LRESULT Ask(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL, kAnswerMs, &result);
    return static_cast<LRESULT>(result);
}

// A block of memory inside the target process, freed when it goes out of scope.
class RemoteMemory {
  public:
    RemoteMemory(HWND owner, std::size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_ == nullptr)
            throw std::runtime_error("cannot open the target process");
        address_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (address_ == nullptr) {
            CloseHandle(process_);
            throw std::runtime_error("cannot allocate memory in the target process");
        }
    }
    ~RemoteMemory() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    char* at(std::size_t offset) const { return address_ + offset; }
    void Write(std::size_t offset, const void* data, std::size_t size) {
        WriteProcessMemory(process_, at(offset), data, size, nullptr);
    }
    void Read(std::size_t offset, void* data, std::size_t size) const {
        ReadProcessMemory(process_, at(offset), data, size, nullptr);
    }
    std::wstring ReadText(std::size_t offset, std::size_t maxChars) const {
        std::wstring text(maxChars, L'\0');
        Read(offset, &text[0], maxChars * sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), maxChars));
        return text;
    }

  private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
};

const std::size_t kTextChars = 1024;

} // namespace

std::vector<HWND> TopWindows(DWORD pid, bool all) {
    EnumState state = {pid, all, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerMs, &length)) {
        wchar_t title[1024] = {};
        InternalGetWindowText(window, title, 1024);
        return title;
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_NORMAL, kAnswerMs, &copied);
    text.resize(copied);
    return text;
}

bool IsMessageBox(HWND window) {
    return ClassOf(window) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr &&
           GetDlgItem(window, 0x440) != nullptr;
}

HWND FindMessageBox(DWORD pid) {
    for (HWND window : TopWindows(pid)) {
        if (IsMessageBox(window))
            return window;
    }
    return nullptr;
}

std::string DescribeWindows(DWORD pid) {
    std::string text;
    for (HWND window : TopWindows(pid))
        text += (text.empty() ? "" : ", ") + tools::WideToUtf8(ClassOf(window)) + " \"" +
                tools::WideToUtf8(TextOf(window)) + "\"";
    if (HWND box = FindMessageBox(pid))
        text += "; message box \"" + tools::WideToUtf8(TextOf(GetDlgItem(box, 0xFFFF))) + "\"";
    return text.empty() ? "no window" : text;
}

HWND FindControl(HWND parent, int id) {
    ControlSearch search = {id};
    EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.visible != nullptr ? search.visible : search.any;
}

void Settle(HWND window) {
    // Each WM_NULL is answered only when the thread fetches messages again.
    for (int i = 0; i < 2; ++i)
        Ask(window, WM_NULL, 0, 0);
}

void PostKey(HWND window, UINT virtualKey) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND target = window;
    if (GetGUIThreadInfo(thread, &info))
        target = info.hwndFocus != nullptr    ? info.hwndFocus
                 : info.hwndActive != nullptr ? info.hwndActive
                                              : window;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | (1L << 30) | (1UL << 31));
}

void ClickAt(POINT screen, bool right) {
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void RightClickAt(POINT screen) {
    // Two clicks within the double-click time count as a double click, which opens no menu:
    // let that time pass since the previous click first.
    static DWORD lastClick = 0;
    const DWORD wait = GetDoubleClickTime() + 50;
    const DWORD since = GetTickCount() - lastClick;
    if (lastClick != 0 && since < wait)
        Sleep(wait - since);
    ClickAt(screen, true);
    lastClick = GetTickCount();
}

void SendChord(WORD modifier, WORD key) {
    INPUT inputs[4] = {};
    const WORD keys[4] = {modifier, key, key, modifier};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

int ListViewCount(HWND listView) {
    return static_cast<int>(Ask(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListViewText(HWND listView, int row, int column) {
    RemoteMemory memory(listView, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(memory.at(sizeof item));
    item.cchTextMax = kTextChars;
    memory.Write(0, &item, sizeof item);
    Ask(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
        reinterpret_cast<LPARAM>(memory.at(0)));
    return memory.ReadText(sizeof item, kTextChars);
}

int ListViewCheck(HWND listView, int row) {
    const LRESULT state =
        Ask(listView, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

bool ListViewRowRect(HWND listView, int row, RECT& rect) {
    RemoteMemory memory(listView, sizeof(RECT));
    RECT request = {};
    request.left = LVIR_LABEL;
    memory.Write(0, &request, sizeof request);
    if (!Ask(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row),
             reinterpret_cast<LPARAM>(memory.at(0))))
        return false;
    memory.Read(0, &rect, sizeof rect);
    MapWindowPoints(listView, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

bool TooltipText(DWORD pid, HWND control, std::wstring& text) {
    const HWND parent = GetParent(control);
    const UINT_PTR id = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    for (HWND tip : TopWindows(pid, true)) {
        if (ClassOf(tip) != TOOLTIPS_CLASSW)
            continue;
        RemoteMemory memory(tip, sizeof(TOOLINFOW) + kTextChars * sizeof(wchar_t));
        const int count = static_cast<int>(Ask(tip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TOOLINFOW info = {};
            info.cbSize = sizeof info;
            memory.Write(0, &info, sizeof info);
            if (!Ask(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(memory.at(0))))
                continue;
            memory.Read(0, &info, sizeof info);
            const bool byHandle = (info.uFlags & TTF_IDISHWND) != 0 &&
                                  info.uId == reinterpret_cast<UINT_PTR>(control);
            const bool byId =
                (info.uFlags & TTF_IDISHWND) == 0 && info.hwnd == parent && info.uId == id;
            if (!byHandle && !byId)
                continue;
            info.lpszText = reinterpret_cast<LPWSTR>(memory.at(sizeof info));
            memory.Write(0, &info, sizeof info);
            memory.Write(sizeof info, L"", sizeof(wchar_t));
            Ask(tip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(memory.at(0)));
            text = memory.ReadText(sizeof info, kTextChars);
            return true;
        }
    }
    return false;
}

bool SaveScreenshot(const std::wstring& path, const RECT* area, const std::vector<RECT>* shown) {
    RECT screenRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT part = screenRect;
    if (area != nullptr && !IntersectRect(&part, area, &screenRect))
        return false;
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    HDC screen = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memoryDc, bitmap);
        BitBlt(memoryDc, 0, 0, width, height, screen, part.left, part.top, SRCCOPY);
        if (shown != nullptr) {
            HRGN bare = CreateRectRgn(0, 0, width, height);
            for (const RECT& rect : *shown) {
                HRGN window = CreateRectRgn(rect.left - part.left, rect.top - part.top,
                                            rect.right - part.left, rect.bottom - part.top);
                CombineRgn(bare, bare, window, RGN_DIFF);
                DeleteObject(window);
            }
            FillRgn(memoryDc, bare, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DeleteObject(bare);
        }
        GdiFlush();
        const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        if (FILE* out = _wfopen(path.c_str(), L"wb")) {
            saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                    std::fwrite(bits, imageSize, 1, out) == 1;
            saved = std::fclose(out) == 0 && saved;
        }
        SelectObject(memoryDc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memoryDc);
    ReleaseDC(nullptr, screen);
    return saved;
}

} // namespace robot
