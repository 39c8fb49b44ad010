// Fuzz target of the report writer, where a catalogue or a support value could break the file:
// the input is a form-item file and a "SUPPORT.INF", split at the first "\n%%\n". The lines the
// reader takes are given amounts from the input's bytes and written as a report; a report that
// the writer calls written must be a well-formed document in its declared encoding to a real
// XML parser (libxml2), with an element for every tag of the lines. A write the writer calls
// failed must leave no file behind.
#include "app/edition.h"
#include "platform/sjis.h"
#include "report/report_writer.h"
#include "settings/statement_files.h"
#include "support/memory_filesystem.h"
#include "support/portable/heap_memory.h"
#include "support/portable/text_mapping.h"
#include "support/recording_desktop.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

namespace {

const char kTarget[] = "C:\\Out\\report.xml";

class NoProgress : public ProgressSink {
  public:
    void ResetMainBar() override {}
    void AdvanceTo(std::int16_t, std::int16_t) override {}
    void ActivityTick() override {}
};

class NoStrings : public platform::StringResources {
  public:
    std::string Load(unsigned) override { return "21.00.01"; }
};

// Every double-byte character becomes あ (82 A0): which pairs code page 932 maps is not this
// target's question, while a lead byte without its second byte stays for the parser to judge.
std::string WithPairsMapped(const std::string& bytes) {
    std::string out = bytes;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(out[i])) &&
            platform::IsTrailByte(static_cast<unsigned char>(out[i + 1]))) {
            out[i] = '\x82';
            out[++i] = '\xA0';
        }
    }
    return out;
}

void CollectNames(xmlNodePtr node, std::set<std::string>& names) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            names.insert(reinterpret_cast<const char*>(node->name));
            CollectNames(node->children, names);
        }
    }
}

void Silence(void*, const char*, ...) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find("\n%%\n");
    const std::string catalogue = input.substr(0, split);
    const std::string support =
        split == std::string::npos ? std::string() : input.substr(split + 4);

    StatementLines lines;
    if (!loadStatementLines(catalogue, lines))
        return 0;
    std::size_t seed = std::hash<std::string>()(input);
    for (auto& line : lines) {
        for (std::int64_t& amount : line->amounts) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            amount = static_cast<std::int64_t>(seed);
        }
    }

    testsupport::MemoryFileSystem files;
    files.AddStandardMachine();
    files.AddFolder("C:\\Out");
    files.AddFile("C:\\Program\\SUPPORT.INF", support);
    testsupport::RecordingDesktop desktop;
    platform::PortableTextMapping text;
    NoStrings strings;
    platform::HeapMemory memory;
    NoProgress progress;
    const ReportServices services{files, desktop, text, strings, memory};
    const FormGeneration form = (seed & 1) != 0 ? FormGeneration::k30 : FormGeneration::k16;
    ClReportWriter writer(progress, lines, form, kEditionIvy.defaultProductName, services);
    StDATAINFO record{};
    record.set_periodStart(20240401);
    record.set_periodEnd(20250331);
    const auto before = files.Tree();
    if (!writer.WriteReport(kTarget, 2, 4, record).ok()) {
        if (files.Tree() != before)
            std::abort();
        return 0;
    }

    xmlSetGenericErrorFunc(nullptr, Silence);
    const std::string report = WithPairsMapped(files.FileBytes(kTarget));
    xmlDocPtr doc =
        xmlReadMemory(report.data(), static_cast<int>(report.size()), "report.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr || doc->encoding == nullptr ||
        std::string(reinterpret_cast<const char*>(doc->encoding)) != "Shift_JIS")
        std::abort();
    std::set<std::string> names;
    CollectNames(xmlDocGetRootElement(doc), names);
    xmlFreeDoc(doc);
    const int firstMonthly = FirstMonthlyLine(form);
    bool monthly = false;
    for (const auto& line : lines) {
        monthly = monthly || line->lineNo >= firstMonthly;
        if (!IsPlaceholderTag(line->tag) &&
            names.count(monthly ? line->tag + "12" : line->tag) == 0)
            std::abort();
    }
    return 0;
}
