#include "checker/win32/no_console.h"

#include "checker/command.h"
#include "checker/format.h"
#include "checker/system.h"
#include "checker/views.h"
#include "texts/checker.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <new>
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

// The page of a report: beside it, with the report's name and ".html".
std::wstring PageBeside(const std::wstring& report) {
    std::wstring page = report;
    const std::size_t dot = page.find_last_of(L'.');
    if (dot != std::wstring::npos && dot >= NameStart(page))
        page.erase(dot);
    return page + L".html";
}

// The same name in the temporary folder; empty when there is none.
std::wstring InTemporaryFolder(const std::wstring& page) {
    std::vector<wchar_t> temporary(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(static_cast<DWORD>(temporary.size()), temporary.data());
    if (length == 0 || length >= temporary.size())
        return std::wstring();
    return std::wstring(temporary.data(), length) + page.substr(NameStart(page));
}

// The summary of a report checked: the report, the number of findings and hints, the findings
// named, the page (or why there is none).
std::string Summary(const std::string& report, const std::vector<Finding>& findings,
                    const std::string& pageLine) {
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
    return text + "\n\n" + pageLine;
}

void Show(const std::string& text, UINT icon) {
    MessageBoxW(nullptr, Text(text).c_str(), Text(texts::kWindowCaption).c_str(), MB_OK | icon);
}

// Checks the report, writes its page beside it or else in the temporary folder, opens it and
// says what was found.
int Check(const std::wstring& report, const std::string& reportName) {
    // The checker takes paths in the system's code page, as on its command line.
    const auto files = SystemFileAccess();
    ReportChecker checker(*files, ProgramFolder(), std::string(), StampNow(),
                          texts::kWindowDataAdvice);
    CheckOutcome outcome = checker.CheckOne(Narrowed(report, CP_ACP), std::string(), false);
    if (outcome.status == kUnreadable) {
        Show(Fill(texts::kWindowUnreadable, {{"file", reportName}}) + "\n\n" + outcome.err,
             MB_ICONEXCLAMATION);
        return outcome.status;
    }
    std::wstring page = PageBeside(report);
    platform::Status written = checker.WritePage(outcome, Narrowed(page, CP_ACP));
    if (!written.ok()) {
        const std::wstring temporary = InTemporaryFolder(page);
        if (!temporary.empty()) {
            page = temporary;
            written = checker.WritePage(outcome, Narrowed(page, CP_ACP));
        }
    }
    const std::string shownPage = Narrowed(page, CP_UTF8);
    std::string pageLine;
    if (!written.ok()) {
        outcome.status = kUnreadable;
        const std::string place =
            written.code() != 0
                ? Fill(texts::kSystemError,
                       {{"file", shownPage}, {"code", std::to_string(written.code())}})
                : shownPage;
        pageLine = Fill(texts::kWindowPageNotWritten, {{"file", place}});
    } else {
        const bool opened =
            reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", page.c_str(), nullptr,
                                                    nullptr, SW_SHOWNORMAL)) > 32;
        pageLine =
            Fill(opened ? texts::kWindowPage : texts::kWindowPageNotOpened, {{"file", shownPage}});
    }
    Show(Summary(reportName, outcome.findings, pageLine),
         outcome.status == kClean ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
    return outcome.status;
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
    const std::wstring report = ReportToCheck();
    if (report.empty())
        return kUnreadable;
    const std::string reportName = Narrowed(report.substr(NameStart(report)), CP_UTF8);
    try {
        return Check(report, reportName);
    } catch (const std::bad_alloc&) {
        Show(Fill(texts::kWindowUnreadable, {{"file", reportName}}) + "\n\n" + texts::kOutOfMemory,
             MB_ICONEXCLAMATION);
        return kUnreadable;
    }
}

} // namespace checker::win32
