// ovwcheck: reads a report written by the link program, shows it as a statement and checks it
// before filing (checker/command.h has the command line). Exit status: 0 no findings, 1
// findings, 2 a file cannot be read as a report, a page cannot be written, or the command cannot
// be carried out.
#include "checker/command.h"
#include "checker/system.h"
#include "texts/checker.h"
#ifdef _WIN32
#include "checker/win32/no_console.h"
#endif

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace {

// Whether the text reached the stream.
[[nodiscard]] bool Say(std::FILE* stream, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Started by a double-click or with a report dropped on it: the outcome shown in windows.
    if (checker::win32::StartedWithoutConsole(argc, argv))
        return checker::win32::RunWithoutConsole();
#endif
    checker::PrepareConsole();
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        const auto files = checker::SystemFileAccess();
        const checker::CheckOutcome outcome =
            checker::RunCommand(arguments, *files, checker::StampNow());
        const bool said = Say(stdout, outcome.out);
        // What cannot be said cannot be relied on: the worst exit status.
        if (!Say(stderr, outcome.err) || !said)
            return checker::kUnreadable;
        return outcome.status;
    } catch (const std::bad_alloc&) {
        // Said without asking for more memory.
        std::fputs(checker::texts::kOutOfMemory, stderr);
        std::fputs("\n", stderr);
        return checker::kUnreadable;
    }
}
