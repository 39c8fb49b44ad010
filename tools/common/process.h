// A program started by a test tool: the tool owns it and ends it (by its handle) if it must.
#pragma once

#include <windows.h>

#include <string>

namespace tools {

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program with arguments (the text after the program's quoted name), in the program's
    // own folder; flags are CreateProcess's (CREATE_NEW_CONSOLE: a console of its own, as
    // Explorer gives a console program). Returns false with the system error in error() when it
    // cannot start.
    bool Start(const std::wstring& program, const std::wstring& arguments, DWORD flags = 0);
    bool Started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    // Waits up to timeoutMs for the program to end; true when it has ended.
    bool WaitForExit(DWORD timeoutMs) const;
    bool Exited() const { return WaitForExit(0); }
    DWORD ExitCode() const;
    // Ends a program that is still running (a failed test must not leave it behind).
    void Terminate();
    const std::string& error() const { return error_; }

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    std::string error_;
};

} // namespace tools
