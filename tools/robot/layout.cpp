#include "robot/layout.h"

#include "common/text.h"
#include "robot/windows.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace robot {

namespace {

// ---- the font of the program's dialog templates ----

// Reads a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) far enough to find its font.
class TemplateReader {
  public:
    TemplateReader(const unsigned char* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool Word(unsigned& value) {
        if (at_ + 2 > size_)
            return false;
        value = static_cast<unsigned>(bytes_[at_] | (bytes_[at_ + 1] << 8));
        at_ += 2;
        return true;
    }
    bool DoubleWord(std::uint32_t& value) {
        unsigned low = 0;
        unsigned high = 0;
        if (!Word(low) || !Word(high))
            return false;
        value = static_cast<std::uint32_t>(low | (high << 16));
        return true;
    }
    bool Skip(std::size_t count) {
        if (at_ + count > size_)
            return false;
        at_ += count;
        return true;
    }
    bool Text(std::wstring* text) {
        for (unsigned unit = 0;;) {
            if (!Word(unit))
                return false;
            if (unit == 0)
                return true;
            if (text != nullptr)
                *text += static_cast<wchar_t>(unit);
        }
    }
    // A name or an ordinal (0xFFFF and a number), or nothing (0).
    bool NameOrOrdinal() {
        unsigned first = 0;
        if (!Word(first))
            return false;
        if (first == 0)
            return true;
        if (first == 0xFFFF)
            return Skip(2);
        at_ -= 2;
        return Text(nullptr);
    }

  private:
    const unsigned char* bytes_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The font of one template; false when it names none (no DS_SETFONT) or cannot be read.
bool TemplateFont(const unsigned char* bytes, std::size_t size, DialogFont& font) {
    TemplateReader reader(bytes, size);
    unsigned version = 0;
    unsigned signature = 0;
    if (!reader.Word(version) || !reader.Word(signature))
        return false;
    const bool extended = version == 1 && signature == 0xFFFF;
    std::uint32_t style = 0;
    if (extended) {
        // help ID, extended style, style
        std::uint32_t ignored = 0;
        if (!reader.DoubleWord(ignored) || !reader.DoubleWord(ignored) || !reader.DoubleWord(style))
            return false;
    } else {
        style = static_cast<std::uint32_t>(version | (signature << 16));
        // extended style
        if (!reader.Skip(4))
            return false;
    }
    // item count, x, y, width, height; menu, class, title
    if (!reader.Skip(10) || !reader.NameOrOrdinal() || !reader.NameOrOrdinal() ||
        !reader.Text(nullptr))
        return false;
    if ((style & DS_SETFONT) == 0)
        return false;
    unsigned points = 0;
    unsigned weight = FW_NORMAL;
    unsigned italic = 0;
    if (!reader.Word(points))
        return false;
    if (extended) {
        unsigned italicAndCharset = 0;
        if (!reader.Word(weight) || !reader.Word(italicAndCharset))
            return false;
        italic = italicAndCharset & 0xFF;
    }
    font.face.clear();
    font.points = static_cast<int>(points);
    font.weight = static_cast<int>(weight);
    font.italic = italic != 0;
    return reader.Text(&font.face);
}

struct FontSearch {
    std::vector<DialogFont> fonts;
    std::string why;
};

BOOL CALLBACK CollectTemplateFont(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    auto* search = reinterpret_cast<FontSearch*>(param);
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    DialogFont font;
    if (bytes != nullptr &&
        TemplateFont(static_cast<const unsigned char*>(bytes), SizeofResource(module, found), font))
        search->fonts.push_back(font);
    return TRUE;
}

bool SameFont(const DialogFont& a, const DialogFont& b) {
    return a.face == b.face && a.points == b.points && a.weight == b.weight && a.italic == b.italic;
}

// ---- measuring ----

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The font as a dialog made from the template creates it at the system's DPI.
FontHandle MakeDialogFont(const DialogFont& font, int dpi) {
    return FontHandle(CreateFontW(-MulDiv(font.points, dpi, 72), 0, 0, 0, font.weight,
                                  font.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                  PROOF_QUALITY, FF_DONTCARE, font.face.c_str()));
}

// The font of message boxes.
FontHandle MakeMessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
}

// A memory device context with one font selected.
class Measurer {
  public:
    explicit Measurer(HFONT font) : dc_(CreateCompatibleDC(nullptr)) {
        old_ = SelectObject(dc_, font);
    }
    ~Measurer() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    // The size text needs when drawn with format into a rectangle width pixels wide.
    SIZE Need(const std::wstring& text, UINT format, int width) const {
        RECT rect = {0, 0, width, 0};
        DrawTextW(dc_, text.c_str(), -1, &rect, format | DT_CALCRECT);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
    int LineHeight() const {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc_, &metrics);
        return metrics.tmHeight;
    }
    int HalfDigitWidth() const {
        INT width = 0;
        GetCharWidth32W(dc_, L'0', L'0', &width);
        return width / 2;
    }

  private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

int Width(const RECT& rect) {
    return rect.right - rect.left;
}
int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// The control as the fault names it: class, ID and text.
std::string Named(HWND control) {
    return tools::WideToUtf8(ClassOf(control)) + " " + std::to_string(GetDlgCtrlID(control)) +
           " \"" + tools::WideToUtf8(TextOf(control)) + "\"";
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// Where the control draws its text: the part of its client rectangle, and the DrawText format.
// False for a control that draws no text the user must read in full.
bool TextArea(HWND control, const Measurer& measure, int dpi, RECT& area, UINT& format) {
    const std::wstring type = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    GetClientRect(control, &area);
    if (type == L"Static") {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            format = DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_SIMPLE:
            format = DT_SINGLELINE;
            break;
        case SS_LEFTNOWORDWRAP:
            format = DT_EXPANDTABS;
            break;
        default:
            return false;
        }
        if ((style & SS_TYPEMASK) != SS_SIMPLE && (style & SS_CENTERIMAGE) != 0)
            format = DT_SINGLELINE | DT_VCENTER;
        if ((style & SS_NOPREFIX) != 0)
            format |= DT_NOPREFIX;
        return true;
    }
    if (type != L"Button")
        return false;
    format = (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_TYPEMASK) {
    case BS_DEFPUSHBUTTON:
        // The default button's black border, then the raised edge.
        InflateRect(&area, -3, -3);
        return true;
    case BS_PUSHBUTTON:
        InflateRect(&area, -2, -2);
        return true;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        // The box, a gap of half a digit, and the text one pixel in.
        area.left += 12 * dpi / 96 + 1 + measure.HalfDigitWidth() + 1;
        return true;
    case BS_GROUPBOX:
        // The caption sits on the frame, 7 pixels in, one pixel past the frame's gap.
        InflateRect(&area, -8, 0);
        format = DT_SINGLELINE;
        return true;
    default:
        return false;
    }
}

// The fault of one control's text, or an empty text.
std::string TextFault(HWND control, const Measurer& measure, int dpi) {
    const std::wstring type = ClassOf(control);
    RECT client = {};
    GetClientRect(control, &client);
    if (type == L"Edit") {
        // A one-line field scrolls its text sideways; its height must hold a line.
        if ((GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) == 0 &&
            measure.LineHeight() > Height(client))
            return Named(control) + ": a line is " + std::to_string(measure.LineHeight()) +
                   " pixels high, the field " + std::to_string(Height(client));
        return {};
    }
    RECT area = {};
    UINT format = 0;
    if (!TextArea(control, measure, dpi, area, format))
        return {};
    const std::wstring text = TextOf(control);
    if (text.empty())
        return {};
    const SIZE need = measure.Need(text, format, Width(area));
    if (need.cx <= Width(area) && need.cy <= Height(area))
        return {};
    return Named(control) + ": the text needs " + SizeText(need.cx, need.cy) + " pixels, it has " +
           SizeText(Width(area), Height(area));
}

bool IsGroupBox(HWND control) {
    return ClassOf(control) == L"Button" &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A control that frames others: they may lie inside it.
bool IsFrame(HWND control) {
    return IsGroupBox(control) || ClassOf(control) == L"SysTabControl32";
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Visible direct children of parent.
std::vector<HWND> VisibleChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            children.push_back(child);
    return children;
}

RECT ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The part of the screen that the control draws on: a group box draws its frame from the middle
// of its caption's line down, whether the caption is empty or not.
RECT Drawn(HWND control, const Measurer& measure) {
    RECT rect = ScreenRect(control);
    if (IsGroupBox(control))
        rect.top += measure.LineHeight() / 2 - 1;
    return rect;
}

// The faults among the children of parent, and of their children in turn.
void CheckChildren(HWND parent, const Measurer& measure, int dpi,
                   std::vector<std::string>& faults) {
    RECT inside = {};
    GetClientRect(parent, &inside);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    const std::vector<HWND> children = VisibleChildren(parent);
    // Each child's rectangles and class, asked of the other process once.
    std::vector<RECT> rects;
    std::vector<RECT> drawn;
    std::vector<bool> frames;
    for (HWND child : children) {
        rects.push_back(ScreenRect(child));
        drawn.push_back(Drawn(child, measure));
        frames.push_back(IsFrame(child));
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (!Contains(inside, rects[i]))
            faults.push_back(Named(children[i]) + ": reaches out of " + Named(parent));
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            RECT common = {};
            if (!IntersectRect(&common, &drawn[i], &drawn[j]))
                continue;
            const bool framed = (frames[i] && Contains(rects[i], rects[j])) ||
                                (frames[j] && Contains(rects[j], rects[i]));
            if (!framed)
                faults.push_back(Named(children[i]) + " and " + Named(children[j]) +
                                 " overlap by " + SizeText(Width(common), Height(common)) +
                                 " pixels");
        }
        const std::string fault = TextFault(children[i], measure, dpi);
        if (!fault.empty())
            faults.push_back(fault);
        CheckChildren(children[i], measure, dpi, faults);
    }
}

} // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

bool ReadDialogFont(const std::wstring& program, DialogFont& font, std::string& why) {
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        why = "the program file cannot be read (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    FontSearch search;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(5), CollectTemplateFont,
                       reinterpret_cast<LONG_PTR>(&search));
    FreeLibrary(module);
    if (search.fonts.empty()) {
        why = "no dialog template of the program names a font";
        return false;
    }
    for (const DialogFont& other : search.fonts)
        if (!SameFont(other, search.fonts.front())) {
            why = "the program's dialog templates use different fonts";
            return false;
        }
    font = search.fonts.front();
    return true;
}

std::vector<std::string> LayoutFaults(const std::vector<HWND>& windows,
                                      const DialogFont& dialogFont) {
    const int dpi = SystemDpi();
    const FontHandle dialog = MakeDialogFont(dialogFont, dpi);
    const FontHandle message = MakeMessageFont();
    std::vector<std::string> faults;
    for (HWND window : windows) {
        const Measurer measure(IsMessageBox(window) ? message.get() : dialog.get());
        CheckChildren(window, measure, dpi, faults);
    }
    return faults;
}

} // namespace robot
