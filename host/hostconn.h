// hostconn: the connection of a link program to the host's data.
#pragma once

#include "host/hostapi.h"
#include "host/sysprof.h"

class HOST_API ClAccConnect {
  public:
    static ClAccConnect* Inst();

    // Caption of the connection's own dialogs; set before Initiate.
    char appTitle[128];
    // Owner of the connection's own dialogs; the host window of a host-started run.
    HostWnd ownerWnd;

    long SetAppType(ClSysEnvMgr::_AppType type);
    long SetUseDataType(long type);
    // 0: connected to the host's data.
    long Initiate();
    // 0: the link may proceed.
    long ExpSysLink();
    // Shows a message modally; "ES_APRPACKAGENAME" in the text names the target package.
    unsigned DispMsg(HostWnd owner, const char* text, const char* caption, unsigned style);
    int LogOut();
    void Terminate();
    void Release();

  private:
    ClAccConnect();
};
