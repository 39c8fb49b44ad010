// The host calls that the stand-in answers, as the configuration's faults watch them: each
// exported method begins with AnswerCall, which counts the call (per method, from 1 in the
// process), writes it to the call log ("Class::Method n", one line a call) and gives the code
// that failCall sets for exactly this call.
#pragma once

#include <optional>
#include <string>

namespace standin {

// method: "Class::Method" as declared in host/*.h. A value: the call must fail with that code
// (a method that answers with a pointer answers null; one without a result only counts).
std::optional<long> AnswerCall(const char* method);

// A new configuration: the calls are counted from 1 again and the log reopened.
void ResetCalls();

// While one lives, the calls are the stand-in's own (binding its objects to a new book): they
// are neither counted, logged nor failed.
class OwnCalls {
  public:
    OwnCalls();
    ~OwnCalls();
    OwnCalls(const OwnCalls&) = delete;
    OwnCalls& operator=(const OwnCalls&) = delete;
};

// Whether method names an exported host method.
bool IsHostMethod(const std::string& method);

} // namespace standin
