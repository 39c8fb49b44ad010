// Entry point of one deliverable: the edition constant is the only thing that differs.
#include "app/overview_app.h"
#include "platform/host_library.h"
#include "ui/win32/run_ui.h"
#include "ui/win32/window.h"
#include "win32_desktop.h"
#include "win32_filesystem.h"
#include "win32_text.h"

#include <windows.h>

namespace {

#if defined(OVW_EDITION_IVY)
const Edition& kEdition = kEditionIvy;
#elif defined(OVW_EDITION_OAK)
const Edition& kEdition = kEditionOak;
#elif defined(OVW_EDITION_ELM)
const Edition& kEdition = kEditionElm;
#else
#error "one edition must be selected"
#endif

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // Control containment: the common controls of the sheet, the pages and the progress
    // dialog are registered before any dialog opens.
    win::RegisterCommonControls();

    platform::Win32Desktop desktop;
    platform::Win32FileSystem files;
    platform::Win32TextMapping text;
    platform::Win32StringResources strings;
    platform::Win32GlobalMemory memory;
    Win32RunUi ui(desktop, files);
    const RunServices services{ui, text, strings, memory};
    const std::unique_ptr<platform::Host> host = platform::OpenHostLibrary();
    ClOverviewApp app(kEdition, *host, desktop, files, commandLine != nullptr ? commandLine : "",
                      &services);
    return platform::RunApplication(app);
}
