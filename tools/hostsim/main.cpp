// hostsim: plays the host application for one host-started run of a link program.
//
//   hostsim.exe [--function N] [--text TEXT] [--msg N] [--timeout SECONDS] PROGRAM
//
// Opens a host window, starts PROGRAM with the command line "hwnd,msg,functionId,text", waits
// for the program to end, and prints one "key=value" line each:
//   command-line=...        what the program was given
//   exit-status=N           the program's process exit status
//   disabled-during=yes|no  the window was disabled while the program ran
//   enabled-after=yes|no    the window was enabled when the program had ended
//   notification=yes|no    the exit notification arrived
//   wparam=N lparam=N       the notification's values, signed (only when it arrived)
//   events=...              what the window saw, in order: disable, enable, notify
// Exit status: 0 when the notification arrived, the window was disabled during the run and
// enabled after; 1 when any of that is missing; 2 for a usage or start-up error or a code page
// other than 932; 3 when the program did not end within the time-out (it is then ended).
#include "common/console.h"
#include "common/host_window.h"
#include "common/process.h"
#include "common/text.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage() {
    std::fputs(
        "usage: hostsim.exe [--function N] [--text TEXT] [--msg N] [--timeout SECONDS] PROGRAM\n",
        stderr);
    return 2;
}

std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

} // namespace

int main() {
    const std::vector<std::wstring> args = tools::StartConsole();
    int functionId = 2;
    std::wstring text;
    UINT msg = WM_USER + 1;
    DWORD timeoutMs = 60000;
    std::wstring program;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == L"--function" && hasValue)
            functionId = _wtoi(args[++i].c_str());
        else if (arg == L"--text" && hasValue)
            text = args[++i];
        else if (arg == L"--msg" && hasValue)
            msg = static_cast<UINT>(_wtoi(args[++i].c_str()));
        else if (arg == L"--timeout" && hasValue)
            timeoutMs = static_cast<DWORD>(_wtoi(args[++i].c_str())) * 1000;
        else if (program.empty() && arg.rfind(L"--", 0) != 0)
            program = arg;
        else
            return Usage();
    }
    if (program.empty())
        return Usage();
    if (!tools::HasCodePage932(stderr, "hostsim: "))
        return 2;

    tools::HostWindow host(msg);
    const std::wstring commandLine = host.CommandLine(functionId, text);
    std::printf("command-line=%s\n", tools::WideToUtf8(commandLine).c_str());
    std::fflush(stdout);

    tools::ChildProcess child;
    if (!child.Start(program, commandLine)) {
        std::fprintf(stderr, "hostsim: cannot start %s: %s\n", tools::WideToUtf8(program).c_str(),
                     child.error().c_str());
        return 2;
    }
    if (!child.WaitForExit(timeoutMs)) {
        child.Terminate();
        std::printf("timeout=yes\n");
        return 3;
    }
    // The notification was posted before the program ended; let the window take it up.
    host.Flush();

    const bool disabled = host.WasDisabled();
    const bool enabled = host.Enabled();
    const std::vector<tools::Notification> notifications = host.Notifications();
    std::printf("exit-status=%lu\n", static_cast<unsigned long>(child.ExitCode()));
    std::printf("disabled-during=%s\n", disabled ? "yes" : "no");
    std::printf("enabled-after=%s\n", enabled ? "yes" : "no");
    std::printf("notification=%s\n", notifications.empty() ? "no" : "yes");
    for (const tools::Notification& n : notifications)
        std::printf("wparam=%ld lparam=%ld\n", static_cast<long>(n.wParam),
                    static_cast<long>(n.lParam));
    std::printf("events=%s\n", Join(host.Events()).c_str());
    return !notifications.empty() && disabled && enabled ? 0 : 1;
}
