#include "report/report_writer.h"

#include "platform/sjis.h"
#include "report/support_info.h"
#include "report/xml_check.h"
#include "settings/file_replacement.h"

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

platform::Status ClReportWriter::WriteReport(const std::string& path, std::int16_t functionId,
                                             int firstMonth, const StDATAINFO& dataRecord) {
    FileReplacement replacement(services_.files, path);
    std::unique_ptr<platform::OutputFile> file;
    platform::Status notOpened = replacement.Create(file);
    const std::string& temporary = replacement.temporary();
    ClXmlWriter xml;
    xml_ = &xml;
    // The writer goes on into a file that did not open, failing at every write.
    static_cast<void>(xml.OpenFile(std::move(file), temporary, std::move(notOpened)));
    static_cast<void>(xml.WriteText(kDeclaration));
    static_cast<void>(xml.WriteStartTag(line_, "REPORT", 0));
    progress_.ActivityTick();

    platform::Status written = WriteSystemSection(functionId);
    if (written.ok()) {
        progress_.ActivityTick();
        written = WriteBasicSection(dataRecord);
    }
    if (written.ok()) {
        progress_.ActivityTick();
        written = WriteDataSection(firstMonth);
    }
    if (written.ok())
        progress_.ActivityTick();

    static_cast<void>(xml.WriteEndTag(line_, "REPORT", 0));
    const platform::Status closed = xml.CloseFile();
    xml_ = nullptr;

    if (written.ok())
        written = closed;
    if (written.ok())
        written = ReadBack(temporary);
    if (written.ok())
        written = replacement.Commit();
    return written;
}

platform::Status ClReportWriter::WriteElementTick(const char* name, const char* value) {
    platform::Status written = xml_->WriteElement(line_, name, value, 2);
    if (written.ok())
        progress_.ActivityTick();
    return written;
}

platform::Status ClReportWriter::WriteSystemSection(std::int16_t functionId) {
    ClSupportInfo support(services_.files, services_.memory, services_.desktop);
    std::string productName = support.GetProductName();
    if (productName.empty())
        productName = defaultProductName_;
    std::string productVersion = support.GetProductVersion();
    if (productVersion.empty())
        productVersion = kDefaultProductVersion;
    const std::string connectedVersion = services_.strings.Load(kConnectedProgramVersionId);
    NumberText number;

    if (!xml_->WriteStartTag(line_, "SYSTEM", 1).ok() ||
        !WriteElementTick("GYOUMUPREFIX", kBusinessPrefix).ok() ||
        !WriteElementTick("VERSION", kFormatVersion).ok() ||
        !WriteElementTick("FUNCTIONID", NumberTextOf(functionId, number)).ok() ||
        !WriteElementTick("CONNECTEDPROGRAMVER", connectedVersion.c_str()).ok() ||
        !WriteElementTick("PROGRAMNAME", productName.c_str()).ok() ||
        !WriteElementTick("PROGRAMVER", productVersion.c_str()).ok() ||
        !xml_->WriteEndTag(line_, "SYSTEM", 1).ok())
        return xml_->status();
    progress_.AdvanceTo(progressBase, static_cast<std::int16_t>(progressBase + 100));
    return platform::Status();
}

platform::Status ClReportWriter::WriteBasicSection(const StDATAINFO& dataRecord) {
    const std::string companyName(dataRecord.companyName(),
                                  strnlen(dataRecord.companyName(), StDATAINFO::companyNameSize));
    const std::string fullWidthName = ToFullWidthName(services_.text, companyName);
    NumberText from;
    NumberText to;

    if (!xml_->WriteStartTag(line_, "BASIC", 1).ok())
        return xml_->status();
    progress_.ActivityTick();
    if (!WriteElementTick("KOMONSAKINAME", fullWidthName.c_str()).ok() ||
        !WriteElementTick("JIGYOUNENDOFROM", NumberTextOf(dataRecord.periodStart(), from)).ok() ||
        !WriteElementTick("JIGYOUNENDOTO", NumberTextOf(dataRecord.periodEnd(), to)).ok() ||
        !xml_->WriteEndTag(line_, "BASIC", 1).ok())
        return xml_->status();
    progress_.AdvanceTo(static_cast<std::int16_t>(progressBase + 100),
                        static_cast<std::int16_t>(progressBase + 200));
    return platform::Status();
}

platform::Status ClReportWriter::WriteDataSection(int firstMonth) {
    if (!xml_->WriteStartTag(line_, "DATA", 1).ok())
        return xml_->status();
    StatementLines::const_iterator monthlyStart;
    if (!WriteMainItems(monthlyStart).ok() || !WriteMonthlyItems(monthlyStart, firstMonth).ok() ||
        !xml_->WriteEndTag(line_, "DATA", 1).ok())
        return xml_->status();
    progress_.AdvanceTo(static_cast<std::int16_t>(progressBase + 200), 1000);
    return platform::Status();
}

platform::Status ClReportWriter::WriteMainItems(StatementLines::const_iterator& monthlyStart) {
    const int firstMonthly = FirstMonthlyLine(form_);
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
            if (!xml_->WriteStartTag(line_, "SYUYOUKAMOKU", 3).ok())
                return xml_->status();
            groupOpen = true;
        }
        if (!IsPlaceholderTag(line.tag) &&
            !xml_->WriteElement(line_, line.tag.c_str(), AmountText(line.amounts[0], amount), 4)
                 .ok())
            return xml_->status();
        if (line.lineNo == firstMonthly - 1 && groupOpen) {
            if (!xml_->WriteEndTag(line_, "SYUYOUKAMOKU", 3).ok())
                return xml_->status();
            groupOpen = false;
        }
    }
    return groupOpen ? xml_->WriteEndTag(line_, "SYUYOUKAMOKU", 3) : platform::Status();
}

platform::Status ClReportWriter::WriteMonthlyItems(StatementLines::const_iterator monthlyStart,
                                                   int firstMonth) {
    if (!xml_->WriteStartTag(line_, "TUKIBETUURIAGEDAKA", 3).ok())
        return xml_->status();
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
        if (!xml_->WriteElement(line_, name_.c_str(), NumberTextOf(month, monthText), 4).ok())
            return xml_->status();
        for (auto it = monthlyStart; it != statementLines_.end(); ++it) {
            const StatementLine& line = **it;
            if (IsPlaceholderTag(line.tag))
                continue;
            name_ = line.tag;
            name_ += number;
            if (!xml_->WriteElement(line_, name_.c_str(), AmountText(line.amounts[index], amount),
                                    4)
                     .ok())
                return xml_->status();
        }
    }
    return xml_->WriteEndTag(line_, "TUKIBETUURIAGEDAKA", 3);
}

std::vector<std::string> ClReportWriter::CatalogueElements() const {
    std::vector<std::string> names;
    const int firstMonthly = FirstMonthlyLine(form_);
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

platform::Status ClReportWriter::ReadBack(const std::string& temporary) const {
    std::string bytes;
    if (!services_.files.ReadFile(temporary, bytes))
        return platform::Status::Io("read-back", services_.files.LastError(), temporary);
    const std::string fault = XmlDocumentFault(bytes, kDeclaration, CatalogueElements());
    if (!fault.empty())
        return platform::Status::BadFile("read-back", temporary, fault);
    return platform::Status();
}
