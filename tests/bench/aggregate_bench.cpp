// Aggregate without a window over synthetic books of the stand-in host, against a bare walk of
// the same account-total rows: the time per row and the ratio of the two.
#include "aggregate/aggregator.h"
#include "booktool/sample_books.h"
#include "platform/host_library.h"
#include "settings/statement_files.h"
#include "standin/config.h"
#include "standin/testing.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class NoWindow : public ProgressSink {
  public:
    void ResetMainBar() override {}
    void AdvanceTo(std::int16_t, std::int16_t) override {}
    void ActivityTick() override { benchmark::ClobberMemory(); }
};

// The delivered data files, from the build's program folder or from OVW_BENCH_DATA_DIR.
std::string ReadDelivered(const std::string& name) {
    const char* folder = std::getenv("OVW_BENCH_DATA_DIR");
    std::ifstream in(std::string(folder != nullptr ? folder : OVW_BIN_DIR) + "/" + name,
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Serves a synthetic book of about accountCount accounts (written once per size).
void ServeSyntheticBook(int accountCount) {
    static std::map<int, std::string> configs;
    std::string& config = configs[accountCount];
    if (config.empty()) {
        const auto folder = std::filesystem::temp_directory_path() / "ovw_aggregate_bench";
        std::filesystem::create_directories(folder);
        const std::string book = "book_" + std::to_string(accountCount) + ".json";
        std::ofstream(folder / book, std::ios::binary) << bookgen::SyntheticBook(accountCount, 7);
        config = (folder / ("host_" + std::to_string(accountCount) + ".json")).string();
        std::ofstream(config, std::ios::binary) << "{ \"book\": \"" << book << "\" }";
    }
    if (!standin::ReloadConfig(config))
        throw std::runtime_error("synthetic book not served: " + standin::LoadProblem());
}

// The full-year request of an April to March period.
AggregationRequest FullYear() {
    AggregationRequest request;
    const auto set = [](MonthTerm& term, StFINDINFO::Operator op, std::int16_t month,
                        StFINDINFO::Link link) {
        term.set_field(StFINDINFO::kAccountingMonth);
        term.set_op(op);
        term.set_valueType(StFINDINFO::kInt16);
        term.set_value16(month);
        term.set_link(link);
    };
    set(request.terms[0], StFINDINFO::kAtLeast, 1, StFINDINFO::kAnd);
    set(request.terms[1], StFINDINFO::kAtMost, 12, StFINDINFO::kOr);
    set(request.terms[2], StFINDINFO::kEqual, 18, StFINDINFO::kNone);
    return request;
}

// The delivered source-key defaults of the newer form, then entryCount entries that map the
// book's main accounts, in turn, to the lines that offer accounts.
MappingEntries Mappings(const StatementLines& lines, int entryCount) {
    MappingEntries mappings;
    if (!loadDefaultMappings(ReadDelivered(DefaultMappingFileName("Ivy", FormGeneration::k30)),
                             mappings, [](std::int32_t, std::string&) { return false; }))
        return mappings;
    std::vector<std::int16_t> targets;
    for (const auto& line : lines) {
        if (line->kindCodes[0] != 0)
            targets.push_back(line->lineNo);
    }
    std::vector<std::string> keys;
    for (const standin::Account& account : standin::SelectedDataSet()->accounts) {
        if (!account.isSub)
            keys.push_back(MakeAccountKey(account.id.data()).str());
    }
    for (int i = 0; i < entryCount; ++i) {
        auto entry = std::make_unique<MappingEntry>();
        entry->lineNo = targets[static_cast<std::size_t>(i) % targets.size()];
        entry->key = keys[static_cast<std::size_t>(i) % keys.size()];
        mappings.push_back(std::move(entry));
    }
    return mappings;
}

// The host calls of a walk and nothing else: the floor that Aggregate is measured against.
long BareWalk(platform::Host& host, const AggregationRequest& request) {
    StDATAINFO selected{};
    std::unique_ptr<platform::AccountTotalCursor> cursor;
    long count = 0;
    if (!host.SelectedData(selected).ok() ||
        !host.OpenAccountTotals(selected.dataId(), cursor).ok() ||
        !cursor->MoveReady(request.terms).ok() || !cursor->GetSumCount(count).ok() ||
        !cursor->SetMovePos(0).ok())
        return -1;
    long rows = 0;
    StKAMOKUSUMINFO row{};
    bool more = true;
    for (long i = 0; i < count && cursor->MoveNext(row, more).ok() && more; ++i) {
        benchmark::DoNotOptimize(row);
        ++rows;
    }
    return cursor->MoveFinish().ok() ? rows : -1;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Arguments: accounts of the book (about the rows of the walk), mapping entries.
void BM_Aggregate(benchmark::State& state) {
    ServeSyntheticBook(static_cast<int>(state.range(0)));
    StatementLines lines;
    if (!loadStatementLines(ReadDelivered(FormItemFileName("Ivy", FormGeneration::k30)), lines)) {
        state.SkipWithError("no delivered form-item file");
        return;
    }
    const MappingEntries mappings = Mappings(lines, static_cast<int>(state.range(1)));
    const AggregationRequest request = FullYear();
    StDATAINFO info{};
    info.set_startUseMonth(1);
    NoWindow progress;
    const std::unique_ptr<platform::Host> host = platform::OpenHostLibrary();

    long rows = 0;
    double aggregateSeconds = 0;
    double walkSeconds = 0;
    for (auto _ : state) {
        for (auto& line : lines)
            line->amounts = {};
        const auto start = std::chrono::steady_clock::now();
        rows = BareWalk(*host, request);
        const auto walked = std::chrono::steady_clock::now();
        OverviewAggregator aggregator(progress, mappings, lines, FormGeneration::k30, *host);
        if (!aggregator.Aggregate(0, request, info).ok()) {
            state.SkipWithError("Aggregate failed");
            return;
        }
        const auto aggregated = std::chrono::steady_clock::now();
        walkSeconds += Seconds(walked - start);
        aggregateSeconds += Seconds(aggregated - walked);
        state.SetIterationTime(Seconds(aggregated - walked));
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["ns_per_row"] = aggregateSeconds / iterations / rows * 1e9;
    state.counters["walk_ns_per_row"] = walkSeconds / iterations / rows * 1e9;
    state.counters["ratio_to_walk"] = aggregateSeconds / walkSeconds;
}

BENCHMARK(BM_Aggregate)
    ->ArgsProduct({{1000, 5000, 20000}, {100, 2000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
