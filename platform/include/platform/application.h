// The application object's start-up and shutdown framework: one run is InitInstance, then
// (there being no main window) straight on to ExitInstance, whose result ends the process.
#pragma once

namespace platform {

class Application {
  public:
    virtual ~Application() = default;
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() = 0;
};

inline int RunApplication(Application& app) {
    app.InitInstance();
    return app.ExitInstance();
}

} // namespace platform
