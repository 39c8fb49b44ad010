// Aggregate without a window over synthetic books of the stand-in host, against a bare walk of
// the same account-total rows: the time per row, the ratio of the two and the allocations that
// the walk of the rows makes per row; and the set-up of the mapping entries on its own, per entry.
#include "aggregate/aggregator.h"
#include "aggregate/mapping_index.h"
#include "booktool/sample_books.h"
#include "platform/host_library.h"
#include "settings/statement_files.h"
#include "standin/config.h"
#include "standin/testing.h"

#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Every allocation of the program, counted (the benchmark runs on one thread).
long long allocations = 0;

} // namespace

// Out of line, so that the compiler pairs each allocation with its release, not with malloc.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void* operator new[](std::size_t size) {
    return operator new(size);
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

// No window; counts the allocations made between the start of the walk of the rows (the stage
// from 200) and its end (the stage from 300).
class NoWindow : public ProgressSink {
  public:
    void ResetMainBar() override {}
    void AdvanceTo(std::int16_t start, std::int16_t) override {
        if (start == kWalkStart)
            walkStart_ = allocations;
        else if (start == kWalkEnd)
            walkAllocations += allocations - walkStart_;
    }
    void ActivityTick() override { benchmark::ClobberMemory(); }

    long long walkAllocations = 0;

  private:
    static constexpr std::int16_t kWalkStart = 200;
    static constexpr std::int16_t kWalkEnd = 300;
    long long walkStart_ = 0;
};

// The delivered data files, from the build's program folder or from OVW_BENCH_DATA_DIR.
std::string ReadDelivered(const std::string& name) {
    const char* folder = std::getenv("OVW_BENCH_DATA_DIR");
    std::ifstream in(std::string(folder != nullptr ? folder : OVW_BIN_DIR) + "/" + name,
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A folder of this process's own for the synthetic books (two runs at once must not share
// one), removed when the benchmark ends.
class BookFolder {
  public:
    BookFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("ovw_aggregate_bench_" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~BookFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Serves a synthetic book of about accountCount accounts (written once per size).
void ServeSyntheticBook(int accountCount) {
    static const BookFolder bookFolder;
    static std::map<int, std::string> configs;
    std::string& config = configs[accountCount];
    if (config.empty()) {
        const std::filesystem::path& folder = bookFolder.path();
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

// The processor time of this thread so far: the machine's other processes, which share its
// cores, do not count as they would in the time on the wall.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// What both benchmarks run over; their arguments: accounts of the synthetic book served (about
// the rows of a walk), mapping entries. False, with the benchmark's error set, without the
// delivered form-item file.
bool SetUp(benchmark::State& state, StatementLines& lines, MappingEntries& mappings) {
    ServeSyntheticBook(static_cast<int>(state.range(0)));
    if (!loadStatementLines(ReadDelivered(FormItemFileName("Ivy", FormGeneration::k30)), lines)) {
        state.SkipWithError("no delivered form-item file");
        return false;
    }
    mappings = Mappings(lines, static_cast<int>(state.range(1)));
    return true;
}

void BM_Aggregate(benchmark::State& state) {
    StatementLines lines;
    MappingEntries mappings;
    if (!SetUp(state, lines, mappings))
        return;
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
        const double start = ThreadSeconds();
        rows = BareWalk(*host, request);
        const double walked = ThreadSeconds();
        OverviewAggregator aggregator(progress, mappings, lines, FormGeneration::k30, *host);
        if (!aggregator.Aggregate(0, request, info).ok()) {
            state.SkipWithError("Aggregate failed");
            return;
        }
        const double aggregated = ThreadSeconds();
        walkSeconds += walked - start;
        aggregateSeconds += aggregated - walked;
        state.SetIterationTime(aggregated - walked);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["ns_per_row"] = aggregateSeconds / iterations / rows * 1e9;
    state.counters["walk_ns_per_row"] = walkSeconds / iterations / rows * 1e9;
    state.counters["ratio_to_walk"] = aggregateSeconds / walkSeconds;
    state.counters["allocs_per_row"] =
        static_cast<double>(progress.walkAllocations) / iterations / rows;
}

BENCHMARK(BM_Aggregate)
    ->ArgsProduct({{1000, 5000, 20000}, {100, 2000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The set-up of the mapping entries that precedes the walk, on its own.
void BM_MappingSetUp(benchmark::State& state) {
    StatementLines lines;
    MappingEntries mappings;
    if (!SetUp(state, lines, mappings))
        return;
    for (auto _ : state) {
        const MappingIndex index(mappings, lines, FormGeneration::k30);
        benchmark::DoNotOptimize(index.MostLinesOfOneKey());
    }
    state.counters["mappings"] = static_cast<double>(mappings.size());
    state.counters["ns_per_mapping"] = benchmark::Counter(
        static_cast<double>(mappings.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_MappingSetUp)->ArgsProduct({{1000, 20000}, {100, 2000}});

} // namespace
