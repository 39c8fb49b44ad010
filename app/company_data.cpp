#include "app/company_data.h"

#include "aggregate/statement_line.h"
#include "platform/sjis.h"
#include "texts/catalogue.h"

#include <cstdio>
#include <cstring>

namespace {

// Room of the header texts, NUL included.
constexpr std::size_t kHeaderTextSize = 51;

} // namespace

platform::Status SelectCompanyData(platform::Host& host, StDATAINFO& record) {
    std::memset(record.bytes, 0, sizeof record.bytes);
    platform::HostUser user;
    if (platform::Status got = host.CurrentUser(user); !got.ok())
        return got;
    bool found = false;
    platform::Status walked = host.ForEachDataSet([&](const StDATAINFO& walked) {
        found = walked.dataNo() == user.dataNo;
        if (found)
            record = walked;
        return !found;
    });
    if (!walked.ok()) {
        std::memset(record.bytes, 0, sizeof record.bytes);
        return walked;
    }
    return found ? platform::Status() : platform::Status::NoData("selected-data", user.dataNo);
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
