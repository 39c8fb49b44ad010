// bookkern: the host's business-core data objects.
#pragma once

#include "host/hostapi.h"
#include "host/records.h"

class ClSetMgr;
class ClOptLink;

// Code of ClRuleKamoku::MoveNext after the last row.
constexpr long kHostEndOfRows = 5000;
// Code of the record walks (ClSetData::WalkDat, ClSetKamoku::Walk and WalkFind) after the last
// record; any other nonzero code of a walk is a failure.
constexpr long kHostEndOfWalk = 1;

class HOST_API ClSetBase {
  public:
    virtual ~ClSetBase();
    long AttachSetMgr(ClSetMgr* mgr);
    long SetCurDataID(const char* dataId);

  protected:
    ClSetBase();
    ClSetMgr* setMgr_;
    char curDataId_[16];
};

// Company data sets.
class HOST_API ClSetData : public ClSetBase {
  public:
    long GetSelectedInfo(StDATAINFO* info);
    long GetDatCursor(long* cursor);
    long ReadyDat(long cursor, long mode);
    long WalkDat(StDATAINFO* info, long cursor);
    long ReleaseDatCursor(long cursor);
};

// Account master.
class HOST_API ClSetKamoku : public ClSetBase {
  public:
    long GetCursor(long* cursor);
    long ReadyCursor(long cursor);
    long Walk(StKAMOKUINFO* info, long cursor);
    // terms: StFINDINFO terms end to end, the last with link 0.
    long WalkFind(const StFINDINFO* terms, StKAMOKUINFO* info, long cursor);
    long ReleaseCursor(long cursor);
};

// Consumption-tax settings.
class HOST_API ClSetShohizei : public ClSetBase {
  public:
    long Get(StSHOHIZEIINFO* info);
};

class HOST_API ClRuleBase {
  public:
    virtual ~ClRuleBase();
    long AttachSetMgr(ClSetMgr* mgr);
    long SetCurDataID(const char* dataId);
    long AttachOptLink(ClOptLink* link);

  protected:
    ClRuleBase();
    ClSetMgr* setMgr_;
    ClOptLink* optLink_;
    char curDataId_[16];
};

// Cursor over the monthly account totals of the current data.
class HOST_API ClRuleKamoku : public ClRuleBase {
  public:
    ClRuleKamoku();
    ~ClRuleKamoku() override;
    ClRuleKamoku(const ClRuleKamoku&) = delete;
    ClRuleKamoku& operator=(const ClRuleKamoku&) = delete;

    long MoveReady(long sumType, long bumonType, long dispType, const StFINDINFO* terms,
                   const StBUMONINFO* bumon, long pastType);
    long GetSumCount(long* count);
    long SetMovePos(long pos);
    // 0 with a row; kHostEndOfRows after the last row; another code on failure.
    long MoveNext(StKAMOKUSUMINFO* row);
    long MoveFinish();

  private:
    struct Rows;
    Rows* rows_;
};

// Accounting period arithmetic.
class HOST_API ClAccPeriod {
  public:
    ClAccPeriod();
    long SetPeriod(long startDate, long endDate);
    long GetClosingDayByEndDate(long endDate, long mode, short* closingDay);
    long SetClosingDay(short closingDay);
    // The accounting month (1 to 12) of a yyyymmdd date.
    long GetAMonthByDate(long date, short* month, long mode);

  private:
    long start_;
    long end_;
    short closingDay_;
};

// The logged-in user.
class HOST_API ClSysUser {
  public:
    // userId: 65 bytes.
    long GetCurUserID(char* userId);
    long GetSelectedNo(const char* userId, long* first, long* dataNo);
};
