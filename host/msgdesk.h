// msgdesk: the host's message service.
#pragma once

#include "host/hostapi.h"

class HOST_API ClMsgMgr {
  public:
    static ClMsgMgr* Inst();
    void SetLastError(long code, const char* text, long detail);
    // The last error set by a host object, 0 when none.
    long GetLastError() const;

  private:
    ClMsgMgr();
    long lastError_;
};
