#include "checker/win32/no_console.h"

#include "texts/catalogue.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace checker::win32 {

namespace {

// The exit status of a check that could not be carried out.
const int kNotCarriedOut = 2;
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

// A text of the catalogue (code page 932 bytes).
std::wstring Text(const char* catalogueText) {
    return Widened(catalogueText, 932);
}

// A catalogue format with its %s replaced by value.
std::wstring Filled(const char* format, const std::wstring& value) {
    std::wstring text = Text(format);
    const std::size_t at = text.find(L"%s");
    if (at != std::wstring::npos)
        text.replace(at, 2, value);
    return text;
}

std::wstring Quoted(const std::wstring& argument) {
    return L"\"" + argument + L"\"";
}

std::wstring ProgramPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
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

    const std::wstring title = Text(texts::kCheckerChooseTitle);
    std::wstring filter = Text(texts::kCheckerFilterName);
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

// What the checker's command did: its exit status and what it printed (UTF-8).
struct CommandOutcome {
    bool ran = false;
    DWORD status = kNotCarriedOut;
    std::string output;
};

// Runs this program as the console command "--html PAGE REPORT", without a window, and reads
// what it prints (standard output and error, in one pipe).
CommandOutcome RunCommand(const std::wstring& report, const std::wstring& page) {
    CommandOutcome outcome;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0))
        return outcome;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    const std::wstring program = ProgramPath();
    std::wstring line = Quoted(program) + L" --html " + Quoted(page) + L" " + Quoted(report);
    PROCESS_INFORMATION process = {};
    outcome.ran = CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);
    if (outcome.ran) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
            outcome.output.append(buffer, read);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &outcome.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return outcome;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The summary of a check that ran to its end: the report, the findings named, the page.
std::wstring Summary(const std::wstring& report, const std::wstring& page,
                     const std::wstring& output, bool pageOpened) {
    const std::wstring mark = Text(texts::kCheckerFindingMark);
    std::vector<std::wstring> findings;
    for (const std::wstring& line : Lines(output))
        if (line.compare(0, mark.size(), mark) == 0)
            findings.push_back(line);
    std::wstring text = Filled(texts::kCheckerCheckedFormat, report.substr(NameStart(report)));
    text += L"\n\n";
    if (findings.empty()) {
        text += Text(texts::kCheckerCleanText);
    } else {
        text += Filled(texts::kCheckerFindingsFormat, std::to_wstring(findings.size()));
        for (std::size_t i = 0; i < findings.size() && i < kNamedFindings; ++i)
            text += L"\n" + findings[i];
        if (findings.size() > kNamedFindings)
            text += L"\n" + Filled(texts::kCheckerMoreFormat,
                                   std::to_wstring(findings.size() - kNamedFindings));
    }
    text += L"\n\n" +
            Filled(pageOpened ? texts::kCheckerPageFormat : texts::kCheckerNotOpenedFormat, page);
    return text;
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
    const std::wstring caption = Text(texts::kCheckerCaption);
    const std::wstring report = ReportToCheck();
    if (report.empty())
        return kNotCarriedOut;
    const std::wstring page = PageOf(report);
    const CommandOutcome outcome = RunCommand(report, page);
    if (!outcome.ran) {
        MessageBoxW(nullptr, Text(texts::kCheckerNotRunText).c_str(), caption.c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return kNotCarriedOut;
    }
    const std::wstring output = Widened(outcome.output, CP_UTF8);
    if (outcome.status >= kNotCarriedOut) {
        const std::wstring text =
            Filled(texts::kCheckerUnreadableFormat, report.substr(NameStart(report))) + L"\n\n" +
            output;
        MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return static_cast<int>(outcome.status);
    }
    const bool opened = reinterpret_cast<INT_PTR>(ShellExecuteW(
                            nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
    MessageBoxW(nullptr, Summary(report, page, output, opened).c_str(), caption.c_str(),
                MB_OK | (outcome.status == 0 ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return static_cast<int>(outcome.status);
}

} // namespace checker::win32
