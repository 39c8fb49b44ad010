// pathdesk: the host's folders.
#pragma once

#include "host/hostapi.h"

class HOST_API ClFileMgr {
  public:
    enum FolderType { kDefaultOutput = 0, kSettings = 1 };

    static ClFileMgr* Inst();
    // The folder of the given type; the text stays valid until the next call: copy it at once.
    // Type 0 may be empty (no default output folder).
    const char* GetAppFolderPath(long type);
    void Release();

  private:
    ClFileMgr();
};
