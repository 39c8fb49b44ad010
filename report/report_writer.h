// Writes the result of one run as the filing application's import file: the link's
// identification (SYSTEM), the company and its period (BASIC) and the statement amounts (DATA),
// in Shift_JIS, while it drives the progress from progressBase to 1000.
#pragma once

#include "aggregate/progress.h"
#include "aggregate/statement_line.h"
#include "host/records.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/status.h"
#include "platform/text.h"
#include "report/xml_writer.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The platform services that writing a report calls.
struct ReportServices {
    platform::FileSystem& files;
    platform::Desktop& desktop;
    platform::TextMapping& text;
    platform::StringResources& strings;
    platform::GlobalMemory& memory;
};

// The company name as the report holds it: mapped to full width under the system locale and
// cut to at most 32 bytes, before a double-byte character that the cut would split.
std::string ToFullWidthName(platform::TextMapping& text, const std::string& name);

class ClReportWriter {
  public:
    // defaultProductName is written when the support file names no product.
    ClReportWriter(ProgressSink& progress, const StatementLines& statementLines,
                   FormGeneration form, std::string defaultProductName,
                   const ReportServices& services)
        : progress_(progress), statementLines_(statementLines), form_(form),
          defaultProductName_(std::move(defaultProductName)), services_(services) {}

    // Main-bar value at which writing starts.
    std::int16_t progressBase = 500;

    // Writes the whole document to path: success when every byte was written and the file is
    // in place; else the cause, the first failure met. The document is written into a
    // temporary file beside path that replaces path only when complete and read back sound
    // (well-formed, in its declared encoding, with an element for every tag of the statement
    // lines); after a failure path is as it was and no temporary file remains.
    [[nodiscard]] platform::Status WriteReport(const std::string& path, std::int16_t functionId,
                                               int firstMonth, const StDATAINFO& dataRecord);

  private:
    [[nodiscard]] platform::Status WriteSystemSection(std::int16_t functionId);
    [[nodiscard]] platform::Status WriteBasicSection(const StDATAINFO& dataRecord);
    [[nodiscard]] platform::Status WriteDataSection(int firstMonth);
    // Writes one element and, when it was written, ticks the activity bar.
    [[nodiscard]] platform::Status WriteElementTick(const char* name, const char* value);
    // The first line of the monthly items: the first numbered M or above (end when none).
    [[nodiscard]] platform::Status WriteMainItems(StatementLines::const_iterator& monthlyStart);
    [[nodiscard]] platform::Status WriteMonthlyItems(StatementLines::const_iterator monthlyStart,
                                                     int firstMonth);
    // The element names that the statement lines ask for: each main item's tag, and each
    // monthly item's tag numbered 01 to 12.
    std::vector<std::string> CatalogueElements() const;
    [[nodiscard]] platform::Status ReadBack(const std::string& temporary) const;

    ProgressSink& progress_;
    const StatementLines& statementLines_;
    FormGeneration form_;
    std::string defaultProductName_;
    ReportServices services_;

    // Working storage of one WriteReport call, reused from line to line.
    ClXmlWriter* xml_ = nullptr;
    std::string line_;
    std::string name_;
};
