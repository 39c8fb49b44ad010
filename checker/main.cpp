// ovwcheck: reads a report written by the link program, shows it as a statement and checks it
// before filing.
//   ovwcheck [--data-dir DIR] [--edition Ivy|Oak|Elm] [--html OUT.html] REPORT.xml
// Exit status: 0 no findings, 1 findings, 2 the file cannot be read as a report (or the
// command cannot be carried out).
#include "app/edition.h"
#include "checker/catalogue.h"
#include "checker/checks.h"
#include "checker/report.h"
#include "checker/system.h"
#include "checker/views.h"
#include "settings/statement_files.h"
#ifdef _WIN32
#include "checker/win32/no_console.h"
#endif

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

constexpr int kClean = 0;
constexpr int kFindings = 1;
constexpr int kUnreadable = 2;

const char kUsage[] =
    u8"使い方: ovwcheck [--data-dir フォルダー] [--edition Ivy|Oak|Elm] [--html 出力.html] "
    u8"報告書.xml\n"
    u8"  報告書を読んで表にし、提出前の確認をします。終了コード: 0 指摘なし、1 指摘あり、"
    u8"2 報告書として読めない。\n";

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

void Say(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// The form-item files of the data folder, read when a generation is first asked for.
class DataFolder {
  public:
    DataFolder(std::string folder, std::string edition)
        : folder_(std::move(folder)), edition_(std::move(edition)) {}

    const checker::Catalogue* Get(bool newForm) {
        auto& slot = loaded_[newForm ? 1 : 0];
        if (!slot.tried) {
            slot.tried = true;
            slot.ok = Load(newForm, slot.catalogue);
        }
        return slot.ok ? &slot.catalogue : nullptr;
    }

    // Whether a generation was asked for and its file could not be read.
    bool Missing(bool newForm) const {
        const Slot& slot = loaded_[newForm ? 1 : 0];
        return slot.tried && !slot.ok;
    }

    std::string Describe(bool newForm) const {
        return checker::ArgumentToUtf8(checker::InFolder(
            folder_, FormItemFileName(edition_.empty() ? "Ivy" : edition_,
                                      newForm ? FormGeneration::k30 : FormGeneration::k16)));
    }

  private:
    struct Slot {
        bool tried = false;
        bool ok = false;
        checker::Catalogue catalogue;
    };

    bool Load(bool newForm, checker::Catalogue& catalogue) const {
        for (const Edition* edition : {&kEditionIvy, &kEditionOak, &kEditionElm}) {
            if (!edition_.empty() && edition_ != edition->dataPrefix)
                continue;
            std::string bytes;
            if (ReadWhole(
                    checker::InFolder(folder_, FormItemFileName(edition->dataPrefix,
                                                                newForm ? FormGeneration::k30
                                                                        : FormGeneration::k16)),
                    bytes))
                return checker::LoadCatalogue(bytes, newForm, catalogue);
        }
        return false;
    }

    std::string folder_;
    std::string edition_;
    Slot loaded_[2];
};

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Started by a double-click or with a report dropped on it: the outcome shown in windows.
    if (checker::win32::StartedWithoutConsole(argc, argv))
        return checker::win32::RunWithoutConsole();
#endif
    checker::PrepareConsole();
    std::string dataDir = checker::ProgramFolder();
    std::string edition;
    std::string htmlPath;
    std::string reportPath;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--data-dir" && hasValue) {
            dataDir = argv[++i];
        } else if (argument == "--edition" && hasValue) {
            edition = argv[++i];
            if (edition != "Ivy" && edition != "Oak" && edition != "Elm") {
                Say(stderr, kUsage);
                return kUnreadable;
            }
        } else if (argument == "--html" && hasValue) {
            htmlPath = argv[++i];
        } else if (argument == "--help" || argument == "-h") {
            Say(stdout, kUsage);
            return kClean;
        } else if (reportPath.empty() && (argument.empty() || argument[0] != '-')) {
            reportPath = argument;
        } else {
            Say(stderr, kUsage);
            return kUnreadable;
        }
    }
    if (reportPath.empty()) {
        Say(stderr, kUsage);
        return kUnreadable;
    }

    const std::string shown = checker::ArgumentToUtf8(reportPath);
    std::string bytes;
    if (!ReadWhole(reportPath, bytes)) {
        Say(stderr, shown + u8": ファイルを開けません。\n");
        return kUnreadable;
    }
    DataFolder data(dataDir, edition);
    const checker::CatalogueSource catalogues = [&data](bool newForm) { return data.Get(newForm); };
    checker::Report report;
    checker::ReadError error;
    if (!checker::ReadReport(bytes, catalogues, report, error)) {
        Say(stderr, shown + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) +
                        u8": 報告書として読めません: " + error.message + "\n");
        for (bool newForm : {false, true}) {
            if (data.Missing(newForm))
                Say(stderr, u8"  読めない項目ファイル: " + data.Describe(newForm) + "\n");
        }
        return kUnreadable;
    }

    const std::vector<checker::Finding> findings = checker::CheckReport(report);
    Say(stdout, checker::TextView(shown, report, findings));
    if (!htmlPath.empty()) {
        if (!WriteWhole(htmlPath, checker::HtmlView(shown, report, findings))) {
            Say(stderr, checker::ArgumentToUtf8(htmlPath) + u8": ページを書けません。\n");
            return kUnreadable;
        }
        Say(stdout, u8"ページ: " + checker::ArgumentToUtf8(htmlPath) + "\n");
    }
    return checker::CountOf(findings, checker::Severity::kFinding) > 0 ? kFindings : kClean;
}
