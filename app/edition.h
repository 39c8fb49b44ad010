// The three deliverables differ only in this constant.
#pragma once

#include "host/sysprof.h"

struct Edition {
    ClSysEnvMgr::_AppType appType;
    // Prefix of the data-file names ("Ivy", "Oak", "Elm").
    const char* dataPrefix;
    // Product name written into the report when "SUPPORT.INF" names none.
    const char* defaultProductName;
};

extern const Edition kEditionIvy;
extern const Edition kEditionOak;
extern const Edition kEditionElm;
