// sysprof: system profile of the host.
#pragma once

class ClSysEnvMgr {
  public:
    // Host edition that a link program declares when it connects.
    enum _AppType { APP_ELM = 0, APP_OAK = 3, APP_IVY = 4 };
};
