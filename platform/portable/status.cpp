#include "platform/status.h"

#include "platform/hex.h"

#include <new>
#include <utility>

namespace platform {

namespace {

const char* NameOf(Cause cause) {
    switch (cause) {
    case Cause::kNone:
        return "ok";
    case Cause::kHostRefused:
        return "host-refused";
    case Cause::kNoData:
        return "no-data";
    case Cause::kRangeRefused:
        return "range-refused";
    case Cause::kOverflow:
        return "overflow";
    case Cause::kOutOfMemory:
        return "out-of-memory";
    case Cause::kIo:
        return "io";
    case Cause::kBadFile:
        return "bad-file";
    case Cause::kException:
        return "exception";
    }
    return "unknown";
}

// Printable ASCII as it is, but a backslash doubled; any other byte as \xHH. The line stays one
// line of ASCII whatever a Shift_JIS name holds, and reads back without doubt.
void AppendPrintable(std::string& line, const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            line += "\\\\";
            continue;
        }
        if (byte >= 0x20 && byte < 0x7F) {
            line += c;
            continue;
        }
        line += "\\x" + HexByte(byte);
    }
}

} // namespace

Status::Status(Cause cause, const char* step, long long code, std::string file, std::string place)
    : cause_(cause), step_(step != nullptr ? step : ""), code_(code), file_(std::move(file)),
      place_(std::move(place)) {}

Status Status::HostRefused(const char* step, long code) {
    return Status(Cause::kHostRefused, step, code, std::string(), std::string());
}

Status Status::NoData(const char* step, long long code) {
    return Status(Cause::kNoData, step, code, std::string(), std::string());
}

Status Status::RangeRefused(const char* step, long long value) {
    return Status(Cause::kRangeRefused, step, value, std::string(), std::string());
}

Status Status::Overflow(const char* step) {
    return Status(Cause::kOverflow, step, 0, std::string(), std::string());
}

Status Status::OutOfMemory(const char* step) {
    return Status(Cause::kOutOfMemory, step, 0, std::string(), std::string());
}

Status Status::Io(const char* step, unsigned long systemError, std::string file) {
    return Status(Cause::kIo, step, static_cast<long long>(systemError), std::move(file),
                  std::string());
}

Status Status::BadFile(const char* step, std::string file, std::string place) {
    return Status(Cause::kBadFile, step, 0, std::move(file), std::move(place));
}

Status Status::Exception(const char* step, std::string what) {
    return Status(Cause::kException, step, 0, std::string(), std::move(what));
}

Status CauseOfException(const char* step, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return Status::OutOfMemory(step);
    } catch (const std::exception& error) {
        return Status::Exception(step, error.what());
    } catch (...) {
        return Status::Exception(step, std::string());
    }
}

std::string LogLine(const Status& status) {
    std::string line = NameOf(status.cause());
    if (status.ok())
        return line;
    if (*status.step() != '\0') {
        line += " step=";
        AppendPrintable(line, status.step());
    }
    switch (status.cause()) {
    case Cause::kHostRefused:
        line += " code=" + std::to_string(status.code());
        break;
    case Cause::kNoData:
        if (status.code() != 0)
            line += " value=" + std::to_string(status.code());
        break;
    case Cause::kRangeRefused:
        line += " value=" + std::to_string(status.code());
        break;
    case Cause::kIo:
        line += " error=" + std::to_string(status.code());
        break;
    default:
        break;
    }
    if (!status.file().empty()) {
        line += " file=";
        AppendPrintable(line, status.file());
    }
    if (!status.place().empty()) {
        line += status.cause() == Cause::kException ? " what=" : " place=";
        AppendPrintable(line, status.place());
    }
    return line;
}

} // namespace platform
