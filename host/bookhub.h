// bookhub: the host's data manager and link manager.
#pragma once

#include "host/bookkern.h"
#include "host/hostapi.h"

class HOST_API ClSetMgr {
  public:
    virtual ~ClSetMgr();
};

class HOST_API ClOptLink {
  public:
    virtual ~ClOptLink();
};

class HOST_API ClDataMgr {
  public:
    enum SetKind { kAccounts = 1, kTax = 4, kCompanyData = 5 };

    static ClDataMgr* Inst();
    // A set object of the given kind bound to the host's current data; owned by the host.
    ClSetBase* GetSetObject(long kind, long flag);
    ClSetMgr* GetSetMgr();
    ClSysUser* GetSysUserObject();

  private:
    ClDataMgr();
};

class HOST_API ClLinkMgr {
  public:
    static ClLinkMgr* Inst();
    ClOptLink* GetOptLink();

  private:
    ClLinkMgr();
};
