// Checks under Wine of the Windows side of the report and the progress window, and the timing
// of the progress ticks. Console program; its modes:
//   check              the system's full-width mapping against the portable one, string
//                      resource 1, global memory, a report written to disk, and the progress
//                      window's template and steps
//   bench [TICKS [UNLIMITED]]  TICKS activity ticks (default 100000) without a window and on
//                      the window with the refresh limit, and UNLIMITED ticks (default TICKS)
//                      on the window without it, in one run
// Exit status 0 when every check passed.
#include "app/edition.h"
#include "platform/text.h"
#include "report/report_writer.h"
#include "report/support_info.h"
#include "support/portable/text_mapping.h"
#include "tests/wine/wine_check.h"
#include "ui/resources/progress_ids.h"
#include "ui/win32/progress_dialog.h"
#include "win32_desktop.h"
#include "win32_filesystem.h"
#include "win32_text.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using winecheck::Check;
using winecheck::HexBytes;

void CheckFullWidth() {
    platform::Win32TextMapping system;
    platform::PortableTextMapping portable;
    std::string ascii;
    for (int c = 0x20; c <= 0x7E; ++c)
        if (c != '\\')
            ascii += static_cast<char>(c);
    std::string kana;
    for (int c = 0xA1; c <= 0xDD; ++c)
        kana += static_cast<char>(c);
    const std::vector<std::string> names = {
        ascii,
        kana,
        "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ",
        "ｱｶｰ｡｢｣､･",
        "ﾜﾞｦﾞ",
        "株式会社ABC ｶﾌﾞｼｷｶﾞｲｼｬ",
        "有限会社&ｿ表 <ﾎﾟ>",
        "ABCDEFGHIJKLMNOPQRST",
        "\x7F"
        "ABCDEFGHIJKLMNOPQ",
        "表ソポ全角のまま",
    };
    for (const std::string& name : names) {
        const std::string expected = portable.ToFullWidth(name);
        const std::string actual = system.ToFullWidth(name);
        Check(actual == expected, "LCMapStringA full width of " + HexBytes(name),
              actual == expected ? std::string()
                                 : HexBytes(actual) + " portable " + HexBytes(expected));
        const std::string systemName = ToFullWidthName(system, name);
        const std::string portableName = ToFullWidthName(portable, name);
        Check(systemName == portableName, "company name of " + HexBytes(name),
              systemName == portableName
                  ? HexBytes(systemName)
                  : HexBytes(systemName) + " portable " + HexBytes(portableName));
    }
    // Where Wine is known to differ from Windows, which the portable mapping follows: Wine keeps
    // '\' (Windows: 81 5F) and turns a voiced or semi-voiced mark that combines with nothing
    // into '?' (Windows: 81 4A, 81 4B).
    for (const char* name : {"\\", "ﾞ", "ﾟ", "ｱﾞ"})
        std::printf("note %s: system %s, portable %s\n", HexBytes(name).c_str(),
                    HexBytes(system.ToFullWidth(name)).c_str(),
                    HexBytes(portable.ToFullWidth(name)).c_str());
}

void CheckResourcesAndMemory() {
    platform::Win32StringResources strings;
    Check(strings.Load(1) == "21.00.01", "string resource 1", strings.Load(1));
    Check(strings.Load(9999).empty(), "missing string resource is empty");
    platform::Win32GlobalMemory memory;
    auto block = memory.AllocateZeroed(ClSupportInfo::kBlockSize);
    bool zero = block != nullptr && block->size() == ClSupportInfo::kBlockSize;
    for (std::size_t i = 0; zero && i < block->size(); ++i)
        zero = block->data()[i] == 0;
    Check(zero, "30000 zeroed bytes of global memory");
}

class NoWindow : public ProgressSink {
  public:
    void ResetMainBar() override {}
    void AdvanceTo(std::int16_t, std::int16_t) override {}
    void ActivityTick() override {}
};

// A report written through the real file system: in place over an older file, in a folder whose
// name ends in a double-byte character with 5C as its second byte, and no temporary file left.
void CheckReportOnDisk() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "ovw_report_表\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string target = folder + "report.xml";
    platform::Win32FileSystem files;
    {
        auto old = files.OpenForWrite(target);
        Check(old != nullptr && old->Write("old", 3) && old->Close(), "an older report");
    }
    StatementLines lines;
    auto line = std::make_unique<StatementLine>();
    line->lineNo = 1;
    line->tag = "URIAGEDAKA";
    line->amounts[0] = 12345678999900;
    lines.push_back(std::move(line));
    StDATAINFO record{};
    std::memcpy(record.companyNameField(), "ABC", 3);
    record.set_periodStart(20180401);
    record.set_periodEnd(20190331);
    platform::Win32Desktop desktop;
    platform::Win32TextMapping text;
    platform::Win32StringResources strings;
    platform::Win32GlobalMemory memory;
    NoWindow progress;
    ClReportWriter writer(progress, lines, FormGeneration::k30, kEditionIvy.defaultProductName,
                          ReportServices{files, desktop, text, strings, memory});
    Check(writer.WriteReport(target, 2, 4, record).ok(), "report written");
    std::string bytes;
    files.ReadFile(target, bytes);
    Check(bytes.compare(0, 44, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n") == 0,
          "report in place of the older file");
    Check(bytes.find("\t\t<KOMONSAKINAME>ＡＢＣ</KOMONSAKINAME>\r\n") != std::string::npos,
          "company name through LCMapStringA");
    Check(bytes.find("\t\t\t\t<URIAGEDAKA>1234567899</URIAGEDAKA>\r\n") != std::string::npos,
          "amount text");
    Check(!files.Exists(folder + "~report.xml"), "no temporary file left");
    const platform::Status missing =
        writer.WriteReport(folder + "missing\\report.xml", 2, 4, record);
    // ERROR_PATH_NOT_FOUND, as the system gave it.
    Check(platform::LogLine(missing).rfind("io step=create-temporary error=3 file=", 0) == 0,
          "a folder that does not exist fails with the system's error", platform::LogLine(missing));
    Check(!files.Exists(folder + "missing"), "and creates nothing");
    files.DeleteFileAt(target);
    files.RemoveFolder(folder);
}

std::string Caption(HWND window) {
    char text[128] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

LRESULT Position(HWND window, int id) {
    return ::SendDlgItemMessageA(window, id, PBM_GETPOS, 0, 0);
}

void CheckProgressWindow() {
    ClProgressDlg dialog;
    if (!dialog.Create(nullptr)) {
        Check(false, "progress window from template 133");
        return;
    }
    HWND window = dialog.Handle();
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
    Check(Caption(window) == "集計中", "template caption", Caption(window));
    Check((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) == 0,
          "caption without system menu");
    Check((style & DS_SYSMODAL) != 0, "system-modal");
    std::printf("note extended style %08lX\n", static_cast<unsigned long>(exStyle));
    char className[64] = {};
    ::GetClassNameA(::GetDlgItem(window, IDC_PROGRESS_MAIN), className, sizeof className);
    Check(std::string(className) == "msctls_progress32", "main bar 1000", className);
    ::GetClassNameA(::GetDlgItem(window, IDC_PROGRESS_ACTIVITY), className, sizeof className);
    Check(std::string(className) == "msctls_progress32", "activity bar 1001", className);

    dialog.Show(SW_SHOW);
    dialog.ResetMainBar();
    dialog.AdvanceTo(0, 0);
    Check(Caption(window) == "集計中 0％", "caption at 0", Caption(window));
    dialog.AdvanceTo(1, 9);
    Check(Caption(window) == "集計中 0％", "caption kept between tenths", Caption(window));
    Check(Position(window, IDC_PROGRESS_MAIN) == 10, "main bar after ten steps",
          std::to_string(Position(window, IDC_PROGRESS_MAIN)));
    PBRANGE range{};
    ::SendDlgItemMessageA(window, IDC_PROGRESS_ACTIVITY, PBM_GETRANGE, FALSE,
                          reinterpret_cast<LPARAM>(&range));
    Check(range.iLow == 0 && range.iHigh == 5, "activity range 0..5");
    dialog.AdvanceTo(10, 100);
    Check(Caption(window) == "集計中 10％", "caption at 100", Caption(window));
    for (int stage = 1; stage < 5; ++stage)
        dialog.AdvanceTo(static_cast<std::int16_t>(stage * 100),
                         static_cast<std::int16_t>(stage * 100 + 100));
    dialog.AdvanceTo(500, 600);
    dialog.AdvanceTo(600, 700);
    dialog.AdvanceTo(700, 1000);
    Check(Caption(window) == "集計中 100％", "caption at the end", Caption(window));
    std::printf("note main bar after 1008 steps: %ld, activity bar after a tick: %ld\n",
                static_cast<long>(Position(window, IDC_PROGRESS_MAIN)),
                static_cast<long>(Position(window, IDC_PROGRESS_ACTIVITY)));
    dialog.Hide();
    Check(::IsWindow(window) && !::IsWindowVisible(window), "ended: hidden, still a window");
    dialog.Destroy();

    // Inside a disabled host window, as a host-started run shows it: hiding and destroying the
    // dialog leave the host disabled (EndDialog would enable it).
    HWND host = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::EnableWindow(host, FALSE);
    ClProgressDlg hosted;
    Check(hosted.Create(nullptr), "hosted progress window created");
    ::SetParent(hosted.Handle(), host);
    hosted.Show(SW_SHOW);
    hosted.Hide();
    Check(!::IsWindowEnabled(host), "host disabled after the progress window is hidden");
    hosted.Destroy();
    Check(!::IsWindowEnabled(host), "host disabled after the progress window is gone");
    ::DestroyWindow(host);
}

double TimeTicks(ProgressSink& progress, int ticks) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i)
        progress.ActivityTick();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double TimeOnWindow(std::chrono::nanoseconds interval, int ticks) {
    ClProgressDlg dialog(interval);
    dialog.Create(nullptr);
    dialog.Show(SW_SHOW);
    dialog.ResetMainBar();
    const double seconds = TimeTicks(dialog, ticks);
    dialog.Destroy();
    return seconds;
}

void Bench(int ticks, int unlimitedTicks) {
    NoWindow none;
    const double bare = TimeTicks(none, ticks);
    const double limited = TimeOnWindow(ProgressController::kRefreshInterval, ticks);
    const double unlimited = TimeOnWindow(std::chrono::nanoseconds::zero(), unlimitedTicks);
    const double perTickLimited = limited / ticks;
    const double perTickUnlimited = unlimited / unlimitedTicks;
    std::printf("no window          %7d ticks %10.3f s %10.2f us/tick\n", ticks, bare,
                bare * 1e6 / ticks);
    std::printf("window, limited    %7d ticks %10.3f s %10.2f us/tick\n", ticks, limited,
                perTickLimited * 1e6);
    std::printf("window, unlimited  %7d ticks %10.3f s %10.2f us/tick (%d ticks: %.0f s)\n",
                unlimitedTicks, unlimited, perTickUnlimited * 1e6, ticks, perTickUnlimited * ticks);
    std::printf("unlimited / limited per tick: %.0f\n", perTickUnlimited / perTickLimited);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "check";
    if (::GetACP() != 932) {
        std::printf("FAIL the ANSI code page is %u, not 932\n", ::GetACP());
        return 1;
    }
    win::RegisterCommonControls();
    if (mode == "check") {
        CheckFullWidth();
        CheckResourcesAndMemory();
        CheckReportOnDisk();
        CheckProgressWindow();
        std::printf("%d failed\n", winecheck::Failures());
    } else if (mode == "bench") {
        const int ticks = argc > 2 ? std::atoi(argv[2]) : 100000;
        Bench(ticks, argc > 3 ? std::atoi(argv[3]) : ticks);
    } else {
        std::printf("unknown mode %s\n", mode.c_str());
        return 2;
    }
    std::fflush(stdout);
    return winecheck::Failures() == 0 ? 0 : 1;
}
