// The account-mapping dialog and the tooltips over a large account master, in the in-memory host:
// the catalogue read once per run, the dialog opened on a line (its list filled and the mapped
// accounts checked), the switch to every account, every displayed account checked, and one
// tooltip. Each is timed as a whole and per account of the master (counter "per_account").
//
//   build/native/bin/mapping_bench --benchmark_counters_tabular=true
#include "aggregate/account_catalogue.h"
#include "support/fake_host.h"
#include "support/list_view.h"
#include "ui/mapping_logic.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

// The kinds of the line the dialog opens on: one account in four is of them.
constexpr std::uint32_t kLineKinds[] = {0x80881000, 0x80882000};
constexpr std::uint32_t kOtherKinds[] = {0x80883000, 0x80884000, 0x80885000,
                                         0x80889000, 0x80841000, 0x80842000};
constexpr std::int16_t kLine = 22;
// Mapping entries of the line: the first accounts of its kinds.
constexpr int kMappedAccounts = 200;

// A host whose account master holds count main accounts (numbers 1..count, a name of nine
// double-byte characters each), one in four of the line's kinds.
testsupport::FakeHost HostWith(int count) {
    testsupport::FakeHost host;
    host.accounts.reserve(static_cast<std::size_t>(count));
    for (int number = 1; number <= count; ++number) {
        StKAMOKUINFO account =
            testsupport::FakeHost::Account(0, number * 10000, "\x8A\xA8\x92\xE8\x89\xC8\x96\xDA");
        unsigned char id[StKAMOKUINFO::kIdSize] = {};
        for (std::size_t byte = 0; byte < 4; ++byte)
            id[byte] = static_cast<unsigned char>(number >> (8 * byte));
        account.set_accountId(id);
        const int slot = number % 8;
        account.set_kindCode(slot < 2 ? kLineKinds[slot] : kOtherKinds[slot - 2]);
        host.accounts.push_back(account);
    }
    return host;
}

struct Dialog {
    explicit Dialog(int count) : host(HostWith(count)) {
        benchmark::DoNotOptimize(catalogue.Read(host).ok());
        kinds.fill(0);
        kinds[0] = kLineKinds[0];
        kinds[1] = kLineKinds[1];
        int mapped = 0;
        for (const StKAMOKUINFO& account : host.accounts) {
            if (account.kindCode() != kLineKinds[0] && account.kindCode() != kLineKinds[1])
                continue;
            auto entry = std::make_unique<MappingEntry>();
            entry->lineNo = kLine;
            entry->key = MakeAccountKey(account).str();
            mappings.push_back(std::move(entry));
            if (++mapped == kMappedAccounts)
                break;
        }
        conditions.mappings = &mappings;
    }

    mapping::AccountMapping Logic() {
        return mapping::AccountMapping(host, catalogue, kLine, kinds, mappings, defaults, view);
    }

    testsupport::FakeHost host;
    AccountCatalogue catalogue;
    std::array<std::uint32_t, StatementLine::kKindCodes> kinds{};
    MappingEntries mappings;
    MappingEntries defaults;
    AggregationConditions conditions;
    testsupport::ListView view;
};

void PerAccount(benchmark::State& state, int count) {
    state.counters["per_account"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_CatalogueRead(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    testsupport::FakeHost host = HostWith(count);
    for (auto _ : state) {
        AccountCatalogue catalogue;
        if (!catalogue.Read(host).ok())
            state.SkipWithError("the host refused its account master");
        benchmark::DoNotOptimize(catalogue.accounts().data());
    }
    PerAccount(state, count);
}

void BM_OpenDialog(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Dialog dialog(count);
    for (auto _ : state) {
        mapping::AccountMapping logic = dialog.Logic();
        if (!logic.Open().ok())
            state.SkipWithError("the host refused its find");
        benchmark::DoNotOptimize(dialog.view.rows.data());
    }
    state.counters["rows"] = static_cast<double>(dialog.view.rows.size());
    PerAccount(state, count);
}

void BM_SwitchToAllAccounts(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Dialog dialog(count);
    mapping::AccountMapping logic = dialog.Logic();
    if (!logic.Open().ok())
        state.SkipWithError("the host refused its find");
    for (auto _ : state) {
        dialog.view.allAccounts = true;
        logic.ToggleAllAccounts();
        state.PauseTiming();
        dialog.view.allAccounts = false;
        logic.ToggleAllAccounts();
        state.ResumeTiming();
    }
    PerAccount(state, count);
}

void BM_CheckEveryDisplayedAccount(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Dialog dialog(count);
    mapping::AccountMapping logic = dialog.Logic();
    if (!logic.Open().ok())
        state.SkipWithError("the host refused its find");
    dialog.view.allAccounts = true;
    logic.ToggleAllAccounts();
    for (auto _ : state) {
        logic.RunMenuCommand(mapping::kMenuCheckDisplayed);
        state.PauseTiming();
        logic.RunMenuCommand(mapping::kMenuUncheckDisplayed);
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(dialog.view.rows.size());
    PerAccount(state, count);
}

void BM_Tooltip(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Dialog dialog(count);
    const mapping::AccountNameLookup names = mapping::CatalogueAccountNames(dialog.catalogue);
    for (auto _ : state)
        benchmark::DoNotOptimize(mapping::describeMappedAccounts(dialog.conditions, kLine, names));
    PerAccount(state, count);
}

} // namespace

BENCHMARK(BM_CatalogueRead)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDialog)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchToAllAccounts)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckEveryDisplayedAccount)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tooltip)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
