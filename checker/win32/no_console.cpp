#include "checker/win32/no_console.h"

#include "checker/command.h"
#include "checker/format.h"
#include "checker/system.h"
#include "checker/views.h"
#include "texts/checker.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace checker::win32 {

namespace {

// At most this many findings are named in the message box; the page has them all.
const std::size_t kNamedFindings = 5;

std::wstring Widened(const std::string& bytes, UINT codePage) {
    if (bytes.empty())
        return std::wstring();
    const int length =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                            length);
    return text;
}

// The checker's texts are UTF-8.
std::wstring Text(const std::string& utf8) {
    return Widened(utf8, CP_UTF8);
}

std::string Narrowed(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return std::string();
    const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                            length, nullptr, nullptr);
    return bytes;
}

std::size_t NameStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

// The report named on the command line (one argument), or chosen in a file dialog; empty when
// the user chose none.
std::wstring ReportToCheck() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring report = arguments != nullptr && count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    if (!report.empty())
        return report;

    const std::wstring title = Text(texts::kWindowChooseTitle);
    std::wstring filter = Text(texts::kWindowFilterName);
    filter += L'\0';
    filter += L"*.xml";
    filter += L'\0';
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog))
        return std::wstring();
    return file.data();
}

// Whether a file can be made at path: a file is there already, or one can be created (and is
// removed again).
bool CanWrite(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The page of a report: beside it, with the report's name and ".html"; in the temporary folder
// when it cannot be written there.
std::wstring PageOf(const std::wstring& report) {
    std::wstring page = report;
    const std::size_t dot = page.find_last_of(L'.');
    if (dot != std::wstring::npos && dot >= NameStart(page))
        page.erase(dot);
    page += L".html";
    if (CanWrite(page))
        return page;
    std::vector<wchar_t> temporary(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(static_cast<DWORD>(temporary.size()), temporary.data());
    if (length == 0 || length >= temporary.size())
        return page;
    return std::wstring(temporary.data(), length) + page.substr(NameStart(page));
}

// The summary of a report checked: the report, the number of findings and hints, the findings
// named, the page.
std::string Summary(const std::string& report, const std::string& page,
                    const std::vector<Finding>& findings, bool pageOpened) {
    std::string text =
        Fill(texts::kWindowChecked, {{"file", report}}) + "\n\n" + SummaryText(findings);
    std::size_t named = 0;
    for (const Finding& finding : findings) {
        if (finding.severity != Severity::kFinding)
            continue;
        if (named++ < kNamedFindings)
            text += "\n" + FindingLine(finding);
    }
    if (named > kNamedFindings)
        text += "\n" + Fill(texts::kWindowMoreFindings,
                            {{"count", std::to_string(named - kNamedFindings)}});
    return text + "\n\n" +
           Fill(pageOpened ? texts::kWindowPage : texts::kWindowPageNotOpened, {{"file", page}});
}

} // namespace

bool StartedWithoutConsole(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-'))
        return false;
    DWORD processes[2] = {};
    return GetConsoleProcessList(processes, 2) == 1;
}

int RunWithoutConsole() {
    // The console that Windows made for this start shows nothing the user needs.
    FreeConsole();
    const std::wstring caption = Text(texts::kWindowCaption);
    const std::wstring report = ReportToCheck();
    if (report.empty())
        return kUnreadable;
    const std::wstring page = PageOf(report);
    // The command takes paths in the system's code page, as on its command line.
    const auto files = SystemFileAccess();
    const CheckOutcome outcome = RunCommand(
        {"--html", Narrowed(page, CP_ACP), Narrowed(report, CP_ACP)}, *files, StampNow());
    const std::string reportName = Narrowed(report.substr(NameStart(report)), CP_UTF8);
    if (outcome.status == kUnreadable) {
        const std::string text =
            Fill(texts::kWindowUnreadable, {{"file", reportName}}) + "\n\n" + outcome.err;
        MessageBoxW(nullptr, Text(text).c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return outcome.status;
    }
    const bool opened = reinterpret_cast<INT_PTR>(ShellExecuteW(
                            nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
    const std::string text = Summary(reportName, Narrowed(page, CP_UTF8), outcome.findings, opened);
    MessageBoxW(nullptr, Text(text).c_str(), caption.c_str(),
                MB_OK | (outcome.status == kClean ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return outcome.status;
}

} // namespace checker::win32
