#include "report/report_writer.h"

#include "platform/sjis.h"
#include "report/support_info.h"
#include "report/xml_check.h"
#include "settings/paths.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
const char kBusinessPrefix[] = "RV16";
const char kFormatVersion[] = "1";
const char kDefaultProductVersion[] = "21.00.0X";
constexpr unsigned kConnectedProgramVersionId = 1;
constexpr std::size_t kFullWidthNameLimit = 32;

constexpr std::int64_t kAmountUnit = 10000;
constexpr std::int64_t kLargestAmount = 999999999999LL;
constexpr std::int64_t kSmallestAmount = -99999999999LL;

// Room for any 64-bit number in decimal with its sign.
using NumberText = char[24];

// Whole yen of an amount slot, truncated toward zero; empty when zero or out of the range the
// filing application takes.
const char* AmountText(std::int64_t slot, NumberText& text) {
    const std::int64_t yen = slot / kAmountUnit;
    if (yen == 0 || yen > kLargestAmount || yen < kSmallestAmount)
        text[0] = '\0';
    else
        std::snprintf(text, sizeof text, "%" PRId64, yen);
    return text;
}

const char* NumberTextOf(long value, NumberText& text) {
    std::snprintf(text, sizeof text, "%ld", value);
    return text;
}

} // namespace

std::string ToFullWidthName(platform::TextMapping& text, const std::string& name) {
    std::string wide = text.ToFullWidth(name);
    wide.resize(platform::CutLength(wide.data(), wide.size(), kFullWidthNameLimit));
    return wide;
}

int ClReportWriter::WriteReport(const std::string& path, std::int16_t functionId, int firstMonth,
                                const StDATAINFO& dataRecord) {
    std::string temporary;
    ClXmlWriter xml;
    xml_ = &xml;
    const bool opened =
        xml.OpenFile(CreateTemporaryBeside(services_.files, path, temporary), temporary) == 0;
    xml.WriteText(kDeclaration);
    xml.WriteStartTag(line_, "REPORT", 0);
    progress_.ActivityTick();

    int written = WriteSystemSection(functionId);
    if (written != 0) {
        progress_.ActivityTick();
        written = WriteBasicSection(dataRecord);
    }
    if (written != 0) {
        progress_.ActivityTick();
        written = WriteDataSection(firstMonth);
    }
    if (written != 0)
        progress_.ActivityTick();

    xml.WriteEndTag(line_, "REPORT", 0);
    xml.CloseFile();
    xml_ = nullptr;

    if (written != 0 && xml.AllWritten() && ReadsBackSound(temporary) &&
        services_.files.MoveReplacing(temporary, path))
        return 1;
    if (opened)
        RemoveLeftover(services_.files, temporary);
    return 0;
}

int ClReportWriter::WriteElementTick(const char* name, const char* value) {
    if (xml_->WriteElement(line_, name, value, 2) == 0)
        return 0;
    progress_.ActivityTick();
    return 1;
}

int ClReportWriter::WriteSystemSection(std::int16_t functionId) {
    ClSupportInfo support(services_.files, services_.memory, services_.desktop);
    std::string productName = support.GetProductName();
    if (productName.empty())
        productName = defaultProductName_;
    std::string productVersion = support.GetProductVersion();
    if (productVersion.empty())
        productVersion = kDefaultProductVersion;
    const std::string connectedVersion = services_.strings.Load(kConnectedProgramVersionId);
    NumberText number;

    if (xml_->WriteStartTag(line_, "SYSTEM", 1) == 0 ||
        WriteElementTick("GYOUMUPREFIX", kBusinessPrefix) == 0 ||
        WriteElementTick("VERSION", kFormatVersion) == 0 ||
        WriteElementTick("FUNCTIONID", NumberTextOf(functionId, number)) == 0 ||
        WriteElementTick("CONNECTEDPROGRAMVER", connectedVersion.c_str()) == 0 ||
        WriteElementTick("PROGRAMNAME", productName.c_str()) == 0 ||
        WriteElementTick("PROGRAMVER", productVersion.c_str()) == 0 ||
        xml_->WriteEndTag(line_, "SYSTEM", 1) == 0)
        return 0;
    progress_.AdvanceTo(progressBase, static_cast<std::int16_t>(progressBase + 100));
    return 1;
}

int ClReportWriter::WriteBasicSection(const StDATAINFO& dataRecord) {
    const std::string companyName(dataRecord.companyName(),
                                  strnlen(dataRecord.companyName(), StDATAINFO::companyNameSize));
    const std::string fullWidthName = ToFullWidthName(services_.text, companyName);
    NumberText from;
    NumberText to;

    if (xml_->WriteStartTag(line_, "BASIC", 1) == 0)
        return 0;
    progress_.ActivityTick();
    if (WriteElementTick("KOMONSAKINAME", fullWidthName.c_str()) == 0 ||
        WriteElementTick("JIGYOUNENDOFROM", NumberTextOf(dataRecord.periodStart(), from)) == 0 ||
        WriteElementTick("JIGYOUNENDOTO", NumberTextOf(dataRecord.periodEnd(), to)) == 0 ||
        xml_->WriteEndTag(line_, "BASIC", 1) == 0)
        return 0;
    progress_.AdvanceTo(static_cast<std::int16_t>(progressBase + 100),
                        static_cast<std::int16_t>(progressBase + 200));
    return 1;
}

int ClReportWriter::WriteDataSection(int firstMonth) {
    if (xml_->WriteStartTag(line_, "DATA", 1) == 0)
        return 0;
    StatementLines::const_iterator monthlyStart;
    if (WriteMainItems(monthlyStart) == 0 || WriteMonthlyItems(monthlyStart, firstMonth) == 0 ||
        xml_->WriteEndTag(line_, "DATA", 1) == 0)
        return 0;
    progress_.AdvanceTo(static_cast<std::int16_t>(progressBase + 200), 1000);
    return 1;
}

int ClReportWriter::WriteMainItems(StatementLines::const_iterator& monthlyStart) {
    const int firstMonthly = FirstMonthlyLine(newForm_ != 0);
    NumberText amount;
    // Line 1 opens the main items and line M - 1 closes them; whatever lines the catalogue
    // holds, a group is opened once at a time and every group opened is closed.
    bool groupOpen = false;
    for (monthlyStart = statementLines_.begin(); monthlyStart != statementLines_.end();
         ++monthlyStart) {
        const StatementLine& line = **monthlyStart;
        progress_.ActivityTick();
        if (line.lineNo >= firstMonthly)
            break;
        if (line.lineNo == 1 && !groupOpen) {
            if (xml_->WriteStartTag(line_, "SYUYOUKAMOKU", 3) == 0)
                return 0;
            groupOpen = true;
        }
        if (!IsPlaceholderTag(line.tag) &&
            xml_->WriteElement(line_, line.tag.c_str(), AmountText(line.amounts[0], amount), 4) ==
                0)
            return 0;
        if (line.lineNo == firstMonthly - 1 && groupOpen) {
            if (xml_->WriteEndTag(line_, "SYUYOUKAMOKU", 3) == 0)
                return 0;
            groupOpen = false;
        }
    }
    return !groupOpen || xml_->WriteEndTag(line_, "SYUYOUKAMOKU", 3) != 0 ? 1 : 0;
}

int ClReportWriter::WriteMonthlyItems(StatementLines::const_iterator monthlyStart, int firstMonth) {
    if (xml_->WriteStartTag(line_, "TUKIBETUURIAGEDAKA", 3) == 0)
        return 0;
    NumberText number;
    NumberText monthText;
    NumberText amount;
    for (int index = 1; index <= 12; ++index) {
        progress_.ActivityTick();
        int month = firstMonth + index - 1;
        if (month > 12)
            month -= 12;
        std::snprintf(number, sizeof number, "%02d", index);
        name_ = "TUKIBETU_";
        name_ += number;
        if (xml_->WriteElement(line_, name_.c_str(), NumberTextOf(month, monthText), 4) == 0)
            return 0;
        for (auto it = monthlyStart; it != statementLines_.end(); ++it) {
            const StatementLine& line = **it;
            if (IsPlaceholderTag(line.tag))
                continue;
            name_ = line.tag;
            name_ += number;
            if (xml_->WriteElement(line_, name_.c_str(), AmountText(line.amounts[index], amount),
                                   4) == 0)
                return 0;
        }
    }
    return xml_->WriteEndTag(line_, "TUKIBETUURIAGEDAKA", 3);
}

std::vector<std::string> ClReportWriter::CatalogueElements() const {
    std::vector<std::string> names;
    const int firstMonthly = FirstMonthlyLine(newForm_ != 0);
    bool monthly = false;
    NumberText number;
    for (const auto& line : statementLines_) {
        monthly = monthly || line->lineNo >= firstMonthly;
        if (IsPlaceholderTag(line->tag))
            continue;
        if (!monthly) {
            names.push_back(line->tag);
            continue;
        }
        for (int index = 1; index <= 12; ++index) {
            std::snprintf(number, sizeof number, "%02d", index);
            names.push_back(line->tag + number);
        }
    }
    return names;
}

bool ClReportWriter::ReadsBackSound(const std::string& temporary) const {
    std::string bytes;
    return services_.files.ReadFile(temporary, bytes) &&
           IsSoundXmlDocument(bytes, kDeclaration, CatalogueElements());
}
