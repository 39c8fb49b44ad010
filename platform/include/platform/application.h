// The application object's start-up and shutdown framework: one run is InitInstance, then
// (there being no main window) straight on to ExitInstance, whose result ends the process.
// Whatever leaves InitInstance, ExitInstance still runs: an exception is handed to Abandon
// first, so that the application can keep its cause and tell the user.
#pragma once

#include <exception>

namespace platform {

class Application {
  public:
    virtual ~Application() = default;
    virtual bool InitInstance() = 0;
    // InitInstance was left by failure; ExitInstance follows.
    virtual void Abandon(std::exception_ptr failure) noexcept = 0;
    virtual int ExitInstance() noexcept = 0;
};

// The one boundary for everything that escapes the run.
inline int RunApplication(Application& app) {
    try {
        app.InitInstance();
    } catch (...) {
        app.Abandon(std::current_exception());
    }
    return app.ExitInstance();
}

} // namespace platform
