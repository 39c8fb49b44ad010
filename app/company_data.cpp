#include "app/company_data.h"

#include "aggregate/statement_line.h"
#include "host/bookhub.h"
#include "platform/sjis.h"
#include "texts/catalogue.h"

#include <cstdio>
#include <cstring>

namespace {

// Room of the header texts, NUL included.
constexpr std::size_t kHeaderTextSize = 51;

// A data-set cursor of the host, released however the walk ends.
class DatCursor {
  public:
    explicit DatCursor(ClSetData& dataSet) : dataSet_(dataSet) { dataSet_.GetDatCursor(&id_); }
    ~DatCursor() { dataSet_.ReleaseDatCursor(id_); }
    DatCursor(const DatCursor&) = delete;
    DatCursor& operator=(const DatCursor&) = delete;
    long id() const { return id_; }

  private:
    ClSetData& dataSet_;
    long id_ = 0;
};

} // namespace

platform::Status SelectCompanyData(ClSetData*& dataSet, StDATAINFO& record) {
    std::memset(record.bytes, 0, sizeof record.bytes);
    if (dataSet == nullptr)
        dataSet =
            static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kCompanyData, 1));
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    // The host answers these with an object or none: no code to pass on.
    if (dataSet == nullptr)
        return platform::Status::HostRefused("GetSetObject", 0);
    if (user == nullptr)
        return platform::Status::HostRefused("GetSysUserObject", 0);

    char userId[65] = {};
    long first = 0;
    long dataNo = 0;
    user->GetCurUserID(userId);
    user->GetSelectedNo(userId, &first, &dataNo);

    DatCursor cursor(*dataSet);
    dataSet->ReadyDat(cursor.id(), 0);
    StDATAINFO walked{};
    while (dataSet->WalkDat(&walked, cursor.id()) == 0) {
        if (walked.dataNo() == dataNo) {
            record = walked;
            return platform::Status();
        }
    }
    return platform::Status::NoData("selected-data", dataNo);
}

int NewFormOf(const StDATAINFO& record) {
    return IsNewFormPeriodEnd(record.periodEnd()) ? 1 : 0;
}

std::string CompanyHeaderText(const StDATAINFO& record) {
    // The host's name field need not end with a NUL.
    const char* name = record.companyName();
    const void* end = std::memchr(name, '\0', StDATAINFO::companyNameSize);
    const std::size_t length =
        end != nullptr ? static_cast<const char*>(end) - name : StDATAINFO::companyNameSize;
    const std::string text = " " + std::string(name, length);
    return text.substr(0, platform::CutLength(text.data(), text.size(), kHeaderTextSize - 1));
}

std::string PeriodHeaderText(const StDATAINFO& record) {
    const auto year = [](std::int32_t date) { return static_cast<int>(date / 10000); };
    const auto month = [](std::int32_t date) { return static_cast<int>(date % 10000 / 100); };
    const auto day = [](std::int32_t date) { return static_cast<int>(date % 100); };
    const std::int32_t start = record.periodStart();
    const std::int32_t end = record.periodEnd();
    char text[kHeaderTextSize];
    std::snprintf(text, sizeof text, texts::kPeriodHeaderFormat, year(start), month(start),
                  day(start), year(end), month(end), day(end));
    return text;
}
