// The outcome of one of the program's operations: success, or the cause of its failure with the
// detail that answers a support call (the host's code, the system error, the file and the place).
// The user sees the messages of the run; the cause goes to the debugger's output once, when the
// run ends.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace platform {

enum class Cause : std::uint8_t {
    kNone,         // success
    kHostRefused,  // a host call answered with a non-zero code (code)
    kNoData,       // what the run looked for is not there (code: what it looked for, if a number)
    kRangeRefused, // a value lies outside the range the run accepts (code: the value)
    kOverflow,     // an amount does not fit the range it is summed or kept in
    kOutOfMemory,  // memory, or a window, could not be had
    kIo,           // a file-system call failed (code: the system error; file)
    kBadFile,      // a file holds what it must not (file, place)
    kException,    // an exception ended the run (its what(), where it has one)
};

class [[nodiscard]] Status {
  public:
    // Success.
    Status() = default;

    // step names what was being done, in ASCII; it must outlive the status (a literal).
    static Status HostRefused(const char* step, long code);
    static Status NoData(const char* step, long long code = 0);
    static Status RangeRefused(const char* step, long long value);
    static Status Overflow(const char* step);
    static Status OutOfMemory(const char* step);
    static Status Io(const char* step, unsigned long systemError, std::string file);
    static Status BadFile(const char* step, std::string file, std::string place);
    static Status Exception(const char* step, std::string what);

    bool ok() const { return cause_ == Cause::kNone; }
    Cause cause() const { return cause_; }
    const char* step() const { return step_; }
    long long code() const { return code_; }
    const std::string& file() const { return file_; }
    // Where in a bad file the fault lies (kBadFile), or the exception's own text (kException).
    const std::string& place() const { return place_; }

  private:
    Status(Cause cause, const char* step, long long code, std::string file, std::string place);

    Cause cause_ = Cause::kNone;
    const char* step_ = "";
    long long code_ = 0;
    std::string file_;
    std::string place_;
};

// The cause of an exception caught at step: out of memory for std::bad_alloc, else an exception
// with its what() when it is a std::exception.
Status CauseOfException(const char* step, const std::exception_ptr& failure);

// The status as one line of printable ASCII for a log: "ok", or the cause and its detail, such
// as "io step=create-temporary error=5 file=C:\\out\\~ovw42_1.tmp". In a file name or place a
// backslash is doubled and a byte outside printable ASCII (of a Shift_JIS name) written as \xHH.
std::string LogLine(const Status& status);

} // namespace platform
