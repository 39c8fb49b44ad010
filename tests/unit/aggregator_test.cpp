// The account totals aggregation over the stand-in host's books, and over an in-memory host for
// rows that no book produces (several host totals of one kind, odd marks, amounts at the limits).
#include "aggregate/aggregator.h"

#include "host/bookkern.h"
#include "support/fake_host.h"
#include "support/host_accounts.h"
#include "support/served_book.h"
#include "support/status_matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr std::int64_t kYen = 10000;

class RecordingProgress : public ProgressSink {
  public:
    // Each AdvanceTo with the number of activity steps taken before it.
    struct Advance {
        int start;
        int end;
        int ticksBefore;
        bool operator==(const Advance& o) const {
            return start == o.start && end == o.end && ticksBefore == o.ticksBefore;
        }
    };
    std::vector<Advance> advances;
    int ticks = 0;
    int resets = 0;

    void ResetMainBar() override { ++resets; }
    void AdvanceTo(std::int16_t start, std::int16_t end) override {
        advances.push_back({start, end, ticks});
    }
    void ActivityTick() override { ++ticks; }
    std::vector<std::pair<int, int>> Stages() const {
        std::vector<std::pair<int, int>> stages;
        for (const Advance& a : advances)
            stages.emplace_back(a.start, a.end);
        return stages;
    }
};

void PrintTo(const RecordingProgress::Advance& a, std::ostream* os) {
    *os << "(" << a.start << ", " << a.end << " after " << a.ticksBefore << " ticks)";
}

// Months from..to, then the closing-period month codes linked by "or", as the run builds them.
AggregationRequest Request(std::int16_t from, std::int16_t to,
                           const std::vector<std::int16_t>& closing = {}) {
    AggregationRequest request;
    const auto set = [](MonthTerm& term, StFINDINFO::Operator op, std::int16_t month,
                        StFINDINFO::Link link) {
        term.set_field(StFINDINFO::kAccountingMonth);
        term.set_op(op);
        term.set_valueType(StFINDINFO::kInt16);
        term.set_value16(month);
        term.set_link(link);
    };
    set(request.terms[0], StFINDINFO::kAtLeast, from, StFINDINFO::kAnd);
    set(request.terms[1], StFINDINFO::kAtMost, to,
        closing.empty() ? StFINDINFO::kNone : StFINDINFO::kOr);
    for (std::size_t i = 0; i < closing.size(); ++i)
        set(request.terms[2 + i], StFINDINFO::kEqual, closing[i],
            i + 1 < closing.size() ? StFINDINFO::kOr : StFINDINFO::kNone);
    return request;
}

StDATAINFO DataInfo(std::int16_t startUseMonth = 1, std::int32_t interimClosing = 0) {
    StDATAINFO info{};
    info.set_startUseMonth(startUseMonth);
    info.set_interimClosing(interimClosing);
    return info;
}

StatementLines Lines(const std::vector<std::pair<int, int>>& numbersAndSides) {
    StatementLines lines;
    for (const auto& [lineNo, side] : numbersAndSides) {
        auto line = std::make_unique<StatementLine>();
        line->lineNo = static_cast<std::int16_t>(lineNo);
        line->side = static_cast<std::int16_t>(side);
        line->tag = "L" + std::to_string(lineNo);
        lines.push_back(std::move(line));
    }
    return lines;
}

MappingEntries Mappings(const std::vector<std::pair<int, std::string>>& entries) {
    MappingEntries list;
    for (const auto& [lineNo, key] : entries) {
        auto entry = std::make_unique<MappingEntry>();
        entry->lineNo = static_cast<std::int16_t>(lineNo);
        entry->key = key;
        list.push_back(std::move(entry));
    }
    return list;
}

const StatementLine& LineOf(const StatementLines& lines, int lineNo, int occurrence = 0) {
    for (const auto& line : lines) {
        if (line->lineNo == lineNo && occurrence-- == 0)
            return *line;
    }
    throw std::logic_error("no line " + std::to_string(lineNo));
}

std::int64_t Value(const StatementLines& lines, int lineNo) {
    return LineOf(lines, lineNo).amounts[0];
}

std::vector<std::int64_t> Amounts(const StatementLines& lines, int lineNo) {
    const auto& a = LineOf(lines, lineNo).amounts;
    return std::vector<std::int64_t>(a.begin(), a.end());
}

// Amounts of a monthly line: slot 0 and the twelve months, given in yen.
std::vector<std::int64_t> Months(std::vector<std::int64_t> yen) {
    yen.resize(StatementLine::kAmounts);
    for (std::int64_t& v : yen)
        v *= kYen;
    return yen;
}

bool AllZero(const StatementLines& lines) {
    for (const auto& line : lines) {
        for (std::int64_t v : line->amounts) {
            if (v != 0)
                return false;
        }
    }
    return true;
}

// ---- Over the stand-in host ----

// Selected data set 1. Hand-computed figures are in the tests.
const char kBook[] = u8R"({
  "user": { "id": "tester", "selectedNo": [1, 1] },
  "dataSets": [ { "dataId": "AGG", "dataNo": 1, "companyName": "集計テスト",
    "periodStart": 20240401, "periodEnd": 20250331, "taxIncludedPreset": 1, "accounts": [
      { "number": 1110, "name": "現金", "kind": "80881000", "side": 1,
        "opening": 100, "debit": [5, 7], "credit": [2] },
      { "number": 1120, "name": "当座預金", "kind": "80881000", "side": 1,
        "opening": "0.0001", "debit": ["1.2345"], "credit": ["0.0002"] },
      { "number": 1150, "name": "受取手形", "kind": "80882000", "side": 1, "opening": 10,
        "debit": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12], "closingDebit": 50,
        "interimDebit": 7 },
      { "number": 1160, "name": "売掛金", "kind": "80883000", "side": 1, "opening": 40 },
      { "number": 1170, "name": "商品", "kind": "80884000", "side": 1, "opening": 60 },
      { "number": 2110, "name": "支払手形", "kind": "80481000", "side": 2, "opening": 30 },
      { "number": 2120, "name": "買掛金", "kind": "80482000", "side": 2,
        "opening": 1200, "credit": [80], "debit": [0, 40] },
      { "number": 2130, "name": "短期借入金", "kind": "80483000", "side": 2, "opening": 100 },
      { "number": 3110, "name": "資本金", "kind": "80201000", "side": 2, "opening": 500 },
      { "number": 4110, "name": "売上高", "kind": "40888100", "side": 2,
        "credit": [300, 200], "taxIncluded": { "credit": [330, 220] } },
      { "number": 5120, "name": "仕入高", "kind": "40884500", "side": 1, "debit": [80, 20] },
      { "number": 8110, "name": "固定資産売却益", "kind": "40481000", "side": 2,
        "credit": [0, 15] },
      { "number": 8210, "name": "固定資産除却損", "kind": "40441000", "side": 1, "debit": [4] }
    ] } ]
})";

class AggregateOverBook : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(testsupport::ServeBook("aggregate", kBook)); }

    static std::string Key(std::int32_t number) {
        return testsupport::KeyOfCode(testsupport::LibraryHost(), number);
    }

    platform::Status Run(StatementLines& lines, const MappingEntries& mappings,
                         const AggregationRequest& request, const StDATAINFO& info = DataInfo(),
                         FormGeneration form = FormGeneration::k30, int taxIncluded = 0) {
        OverviewAggregator aggregator(progress_, mappings, lines, form, host_);
        return aggregator.Aggregate(taxIncluded, request, info);
    }

    RecordingProgress progress_;
    testsupport::ServedBookScope scope_;
    platform::Host& host_ = testsupport::LibraryHost();
};

} // namespace

TEST_F(AggregateOverBook, WorkedExampleToTheTenThousandth) {
    StatementLines lines = Lines({{21, 1}, {22, 2}, {23, 1}, {37, 1}, {38, 2}});
    const MappingEntries mappings = Mappings(
        {{21, Key(1110)}, {22, Key(1110)}, {23, Key(1120)}, {37, Key(1110)}, {38, Key(1110)}});
    ASSERT_OK(Run(lines, mappings, Request(1, 2)));
    // Opening 100, months 5 - 2 and 7: 110 yen on the account's own side.
    EXPECT_EQ(1100000, Value(lines, 21));
    EXPECT_EQ(-1100000, Value(lines, 22));
    // 0.0001 + 1.2345 - 0.0002
    EXPECT_EQ(12344, Value(lines, 23));
    // The opening lands in the start-of-use month 1 together with month 1.
    EXPECT_THAT(Amounts(lines, 37), ElementsAreArray(Months({0, 103, 7})));
    EXPECT_THAT(Amounts(lines, 38), ElementsAreArray(Months({0, -103, -7})));
}

TEST_F(AggregateOverBook, ProgressStagesAndActivitySteps) {
    StatementLines lines = Lines({{1, 2}, {21, 1}, {22, 1}, {37, 1}});
    const MappingEntries mappings = Mappings(
        {{21, Key(1110)}, {37, Key(1110)}, {22, Key(1120)}, {1, "URIAGEDAKA"}, {5, "UNKNOWN"}});
    StDATAINFO selected{};
    ASSERT_OK(host_.SelectedData(selected));
    std::unique_ptr<platform::AccountTotalCursor> cursor;
    ASSERT_OK(host_.OpenAccountTotals(selected.dataId(), cursor));
    ASSERT_OK(cursor->MoveReady(Request(1, 2).terms));
    long rows = 0;
    ASSERT_OK(cursor->GetSumCount(rows));
    ASSERT_GT(rows, 13);

    ASSERT_OK(Run(lines, mappings, Request(1, 2)));
    // One step per row and per entry that a row's key matched; then one per entry of the
    // source-key pass, and one per line that SetLineValue visits (line 1 is the first).
    const int walk = static_cast<int>(rows) + 3;
    EXPECT_THAT(progress_.advances,
                ElementsAre(RecordingProgress::Advance{0, 100, 0},
                            RecordingProgress::Advance{100, 200, 0},
                            RecordingProgress::Advance{200, 300, 0},
                            RecordingProgress::Advance{300, 400, walk},
                            RecordingProgress::Advance{400, 500, walk + 5 + 1}));
    EXPECT_EQ(0, progress_.resets);
}

TEST_F(AggregateOverBook, OpeningPartWithFromIndex4) {
    StatementLines lines = Lines({{21, 1}, {37, 1}});
    const MappingEntries mappings = Mappings({{21, Key(1150)}, {37, Key(1150)}});
    ASSERT_OK(Run(lines, mappings, Request(4, 5)));
    // Slots 0 to 3 are the opening part: 10 + 1 + 2 + 3, then months 4 and 5.
    EXPECT_EQ(25 * kYen, Value(lines, 21));
    // Monthly lines take months 1 to toIndex whatever fromIndex is.
    EXPECT_THAT(Amounts(lines, 37), ElementsAreArray(Months({0, 11, 2, 3, 4, 5})));
}

TEST_F(AggregateOverBook, StartOfUseMonth) {
    const MappingEntries mappings = Mappings({{21, Key(1150)}, {37, Key(1150)}});
    // In use from month 7, aggregated to month 6: neither the opening part nor slot 0 counts.
    StatementLines late = Lines({{21, 1}, {37, 1}});
    ASSERT_OK(Run(late, mappings, Request(1, 6), DataInfo(7)));
    EXPECT_EQ(21 * kYen, Value(late, 21));
    EXPECT_THAT(Amounts(late, 37), ElementsAreArray(Months({0, 1, 2, 3, 4, 5, 6})));
    // In use from month 3: the opening lands in month 3.
    StatementLines early = Lines({{21, 1}, {37, 1}});
    ASSERT_OK(Run(early, mappings, Request(1, 6), DataInfo(3)));
    EXPECT_EQ(31 * kYen, Value(early, 21));
    EXPECT_THAT(Amounts(early, 37), ElementsAreArray(Months({0, 1, 2, 13, 4, 5, 6})));
    // A start-of-use month of 0 or less counts as month 1.
    StatementLines zero = Lines({{37, 1}});
    ASSERT_OK(Run(zero, mappings, Request(1, 2), DataInfo(0)));
    EXPECT_THAT(Amounts(zero, 37), ElementsAreArray(Months({0, 11, 2})));
}

TEST_F(AggregateOverBook, ClosingPeriods) {
    const MappingEntries mappings = Mappings({{21, Key(1150)}, {37, Key(1150)}});
    // The year-end closing period (slot 13) lands in the last month of the range.
    StatementLines yearEnd = Lines({{21, 1}, {37, 1}});
    ASSERT_OK(Run(yearEnd, mappings, Request(1, 12, {18})));
    EXPECT_EQ((10 + 78 + 50) * kYen, Value(yearEnd, 21));
    EXPECT_THAT(Amounts(yearEnd, 37),
                ElementsAreArray(Months({0, 11, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 62})));
    // Interim closing (slot 14) to month 6.
    StatementLines interim = Lines({{21, 1}, {37, 1}});
    ASSERT_OK(Run(interim, mappings, Request(1, 6, {15}), DataInfo(1, 1)));
    EXPECT_EQ((10 + 21 + 7) * kYen, Value(interim, 21));
    EXPECT_THAT(Amounts(interim, 37), ElementsAreArray(Months({0, 11, 2, 3, 4, 5, 13})));
    // A six-month period with interim closing asks for both closing periods: the year-end
    // postings count too, although their term comes fourth.
    StatementLines both = Lines({{21, 1}, {37, 1}});
    ASSERT_OK(Run(both, mappings, Request(1, 6, {15, 18}), DataInfo(1, 1)));
    EXPECT_EQ((10 + 21 + 7 + 50) * kYen, Value(both, 21));
    EXPECT_THAT(Amounts(both, 37), ElementsAreArray(Months({0, 11, 2, 3, 4, 5, 63})));
}

TEST_F(AggregateOverBook, SideRuleAndDuplicateEntries) {
    StatementLines lines = Lines({{32, 2}, {33, 1}, {34, 2}});
    // Accounts payable (credit side): 1200 + 80 - 40. Twice on line 32, once on 33 and 34.
    const MappingEntries mappings =
        Mappings({{32, Key(2120)}, {33, Key(2120)}, {32, Key(2120)}, {34, Key(2120)}});
    ASSERT_OK(Run(lines, mappings, Request(1, 2)));
    EXPECT_EQ(2 * 1240 * kYen, Value(lines, 32));
    EXPECT_EQ(-1240 * kYen, Value(lines, 33));
    EXPECT_EQ(1240 * kYen, Value(lines, 34));
}

TEST_F(AggregateOverBook, LinesThatOccurTwiceAndEntriesWithoutLines) {
    StatementLines lines = Lines({{22, 1}, {22, 1}});
    const MappingEntries mappings = Mappings({{22, Key(1110)}, {99, Key(1110)}, {22, "NOKEY"}});
    ASSERT_OK(Run(lines, mappings, Request(1, 2)));
    EXPECT_EQ(110 * kYen, LineOf(lines, 22, 0).amounts[0]);
    EXPECT_EQ(110 * kYen, LineOf(lines, 22, 1).amounts[0]);
}

TEST_F(AggregateOverBook, TaxIncludedFigures) {
    StatementLines lines = Lines({{1, 2}, {2, 2}});
    const MappingEntries mappings = Mappings({{1, "URIAGEDAKA"}, {2, Key(4110)}});
    ASSERT_OK(Run(lines, mappings, Request(1, 12, {18}), DataInfo(), FormGeneration::k30, 1));
    EXPECT_EQ(550 * kYen, Value(lines, 1));
    EXPECT_EQ(550 * kYen, Value(lines, 2));
    StatementLines excluded = Lines({{1, 2}, {2, 2}});
    ASSERT_OK(Run(excluded, mappings, Request(1, 12, {18}), DataInfo(), FormGeneration::k30, 0));
    EXPECT_EQ(500 * kYen, Value(excluded, 1));
}

TEST_F(AggregateOverBook, SourceKeysTakeTheHostTotals) {
    StatementLines lines = Lines(
        {{1, 2}, {3, 1}, {11, 2}, {17, 2}, {18, 2}, {19, 1}, {20, 2}, {21, 1}, {31, 2}, {36, 2}});
    const MappingEntries mappings = Mappings({{1, "URIAGEDAKA"},
                                              {3, "URIAGEGENKA"},
                                              {11, "URIAGESOURIEKI"},
                                              {17, "EIGYOUSONEKI"},
                                              {18, "TOKUBETURIEKI"},
                                              {19, "TOKUBETUSONSITU"},
                                              {20, "ZEIBIKIMAE"},
                                              {21, "SISAN"},
                                              {31, "FUSAI"},
                                              {36, "SIHON"}});
    ASSERT_OK(Run(lines, mappings, Request(1, 12, {18})));
    EXPECT_EQ(500 * kYen, Value(lines, 1));
    EXPECT_EQ(100 * kYen, Value(lines, 3));
    EXPECT_EQ(400 * kYen, Value(lines, 11));
    EXPECT_EQ(400 * kYen, Value(lines, 17));
    EXPECT_EQ(15 * kYen, Value(lines, 18));
    EXPECT_EQ(4 * kYen, Value(lines, 19));
    EXPECT_EQ(411 * kYen, Value(lines, 20));
    // 110 + 1.2344 + 138 + 40 + 60
    EXPECT_EQ(3492344, Value(lines, 21));
    EXPECT_EQ(1370 * kYen, Value(lines, 31));
    // Capital 500 and the period's result 411.
    EXPECT_EQ(911 * kYen, Value(lines, 36));
}

TEST_F(AggregateOverBook, OtherAssetsAndOtherLiabilities) {
    const std::vector<std::pair<int, int>> numbers = {{18, 1}, {19, 1}, {20, 1}, {21, 1}, {24, 1},
                                                      {25, 1}, {26, 2}, {27, 2}, {30, 2}};
    // Line 25: total assets less lines 18 to 24 (110, 1.2344, 138, 40): the goods, 60.
    StatementLines lines = Lines(numbers);
    ASSERT_OK(Run(lines,
                  Mappings({{18, Key(1110)},
                            {19, Key(1120)},
                            {21, Key(1150)},
                            {24, Key(1160)},
                            {25, "SOREIGAI"},
                            {26, Key(2110)},
                            {27, Key(2120)},
                            {30, "SONOTAFUSAI"}}),
                  Request(1, 12, {18})));
    EXPECT_EQ(60 * kYen, Value(lines, 25));
    // Line 30: total liabilities 1370 less lines 26 and 27: the borrowings, 100.
    EXPECT_EQ(100 * kYen, Value(lines, 30));

    // On line 20 only the lines before it count: 349.2344 - 110 - 1.2344.
    StatementLines early = Lines(numbers);
    ASSERT_OK(Run(early,
                  Mappings({{18, Key(1110)}, {19, Key(1120)}, {21, Key(1150)}, {20, "SOREIGAI"}}),
                  Request(1, 12, {18})));
    EXPECT_EQ(238 * kYen, Value(early, 20));

    // Entries are taken in list order: a source key set earlier is seen, a later one is not.
    StatementLines ordered = Lines(numbers);
    ASSERT_OK(Run(ordered,
                  Mappings({{18, "SISAN"}, {20, "SOREIGAI"}, {25, "SOREIGAI"}, {19, "SISAN"}}),
                  Request(1, 12, {18})));
    EXPECT_EQ(0, Value(ordered, 20));
    EXPECT_EQ(0, Value(ordered, 25));
    EXPECT_EQ(3492344, Value(ordered, 19));
}

TEST_F(AggregateOverBook, SourceKeyOnMonthlyLines) {
    const MappingEntries newer = Mappings({{37, "SISAN"}, {38, "FUSAI"}});
    StatementLines lines = Lines({{36, 2}, {37, 1}, {38, 2}});
    ASSERT_OK(Run(lines, newer, Request(1, 12, {18}), DataInfo(), FormGeneration::k30));
    // The first monthly line takes the value in slot 0, which is never reported; a later one
    // takes nothing.
    EXPECT_EQ(3492344, Value(lines, 37));
    EXPECT_THAT(Amounts(lines, 38), ElementsAreArray(Months({})));
    // In the older form line 36 is the first monthly line and 37 is beyond the main lines.
    StatementLines older = Lines({{36, 1}, {37, 1}});
    ASSERT_OK(Run(older, Mappings({{36, "SISAN"}, {37, "SISAN"}}), Request(1, 12, {18}), DataInfo(),
                  FormGeneration::k16));
    EXPECT_EQ(3492344, Value(older, 36));
    EXPECT_EQ(0, Value(older, 37));
}

TEST_F(AggregateOverBook, TaxSettings) {
    StSHOHIZEIINFO settings{};
    ASSERT_OK(GetTaxSettings(host_, settings));
    EXPECT_EQ(1, settings.taxIncludedPreset());

    ASSERT_TRUE(testsupport::ServeBook("aggregate_tax", kBook, R"(, "faults": { "taxGet": 3 })"));
    StSHOHIZEIINFO untouched{};
    untouched.bytes[0] = 0x5A;
    EXPECT_EQ("host-refused step=ClSetShohizei::Get code=3",
              platform::LogLine(GetTaxSettings(host_, untouched)));
    EXPECT_EQ(0x5A, untouched.bytes[0]);
}

// ---- Over an in-memory host whose cursor delivers the rows of the test ----

namespace {

constexpr std::int64_t kLimit = FixedAmount::kSumLimit;

// A row of the account-total cursor; a and b are movesA and movesB from slot 0, raw, the same
// in the tax-exclusive and tax-inclusive tables.
StKAMOKUSUMINFO Row(unsigned char id, int side, std::uint32_t kind, std::vector<std::int64_t> a,
                    std::vector<std::int64_t> b = {}, int subMark = 0, int totalMark = 0,
                    int noMapMark = 0) {
    StKAMOKUSUMINFO row{};
    const unsigned char accountId[16] = {id};
    row.set_accountId(accountId);
    row.set_side(static_cast<std::uint8_t>(side));
    row.set_kindCode(kind);
    row.set_subMark(static_cast<std::uint8_t>(subMark));
    row.set_totalMark(static_cast<std::uint8_t>(totalMark));
    row.set_noMapMark(static_cast<std::uint8_t>(noMapMark));
    a.resize(StKAMOKUSUMINFO::kSlots);
    b.resize(StKAMOKUSUMINFO::kSlots);
    for (int slot = 0; slot < StKAMOKUSUMINFO::kSlots; ++slot) {
        for (bool included : {false, true}) {
            row.set_moveA(included, slot, a[slot]);
            row.set_moveB(included, slot, b[slot]);
        }
    }
    return row;
}

std::string KeyOf(const StKAMOKUSUMINFO& row) {
    return MakeAccountKey(row).str();
}

class AggregateScripted : public ::testing::Test {
  protected:
    AggregateScripted() {
        host_.dataSets = {testsupport::FakeHost::DataSet("SCRIPT", 1, "", 20240401, 20250331)};
        host_.selected = 0;
    }
    platform::Status Run(StatementLines& lines, const MappingEntries& mappings,
                         const std::vector<StKAMOKUSUMINFO>& rows,
                         const AggregationRequest& request, const StDATAINFO& info = DataInfo()) {
        host_.totalRows = rows;
        OverviewAggregator aggregator(progress_, mappings, lines, FormGeneration::k30, host_);
        return aggregator.Aggregate(0, request, info);
    }

    RecordingProgress progress_;
    testsupport::FakeHost host_;
};

constexpr std::uint32_t kCash = 0x80881000;

} // namespace

TEST_F(AggregateScripted, LastQualifyingTotalRowWins) {
    const std::vector<StKAMOKUSUMINFO> rows = {
        Row(1, 2, 0x40888000, {}, {0, 300 * kYen}, 0, 1, 1),
        Row(2, 2, 0x40888000, {}, {0, 500 * kYen}, 0, 1, 1),
        // A sub-total and an account row of the same kind leave the total alone.
        Row(3, 2, 0x40888000, {}, {0, 999 * kYen}, 1, 1, 1),
        Row(4, 2, 0x40888000, {}, {0, 777 * kYen}, 0, 0, 0),
        // The result before tax is taken whatever its marks.
        Row(5, 2, 0x40200080, {}, {0, 411 * kYen}, 1, 0, 0),
        Row(6, 1, 0x80800000, {0, 5 * kYen}, {}, 0, 1, 1),
    };
    StatementLines lines = Lines({{1, 2}, {20, 2}, {21, 1}});
    ASSERT_OK(Run(lines, Mappings({{1, "URIAGEDAKA"}, {20, "ZEIBIKIMAE"}, {21, "SISAN"}}), rows,
                  Request(1, 12)));
    EXPECT_EQ(500 * kYen, Value(lines, 1));
    EXPECT_EQ(411 * kYen, Value(lines, 20));
    EXPECT_EQ(5 * kYen, Value(lines, 21));
}

TEST_F(AggregateScripted, TotalsNeverSetStayZero) {
    StatementLines lines = Lines({{1, 2}, {36, 2}});
    lines[0]->amounts[0] = 123;
    ASSERT_OK(Run(lines, Mappings({{1, "URIAGEDAKA"}, {36, "SIHON"}}), {}, Request(1, 12)));
    EXPECT_EQ(0, Value(lines, 1));
    EXPECT_EQ(0, Value(lines, 36));
}

TEST_F(AggregateScripted, OnlyTheRequestedSlotsAreRead) {
    // One yen in every slot from 1 to 14 and 100 in the opening slot.
    std::vector<std::int64_t> a(StKAMOKUSUMINFO::kSlots, kYen);
    a[0] = 100 * kYen;
    const std::vector<StKAMOKUSUMINFO> rows = {Row(1, 1, kCash, a)};
    const MappingEntries mappings = Mappings({{21, KeyOf(rows[0])}, {37, KeyOf(rows[0])}});
    struct Case {
        const char* name;
        AggregationRequest request;
        StDATAINFO info;
        std::int64_t main;
        std::vector<std::int64_t> months;
    };
    const Case cases[] = {
        {"months 1-6", Request(1, 6), DataInfo(), 106, {0, 101, 1, 1, 1, 1, 1}},
        {"interim", Request(1, 6, {15}), DataInfo(1, 1), 107, {0, 101, 1, 1, 1, 1, 2}},
        {"year end",
         Request(1, 12, {18}),
         DataInfo(),
         113,
         {0, 101, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2}},
        {"interim and year end",
         Request(1, 6, {15, 18}),
         DataInfo(1, 1),
         108,
         {0, 101, 1, 1, 1, 1, 3}},
        // A year-end term right after the months reads every month up to the closing slot,
        // whatever the last month is.
        {"year end of a short period",
         Request(1, 6, {18}),
         DataInfo(),
         113,
         {0, 101, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 1}},
        {"interim term on data without interim closing",
         Request(1, 6, {15}),
         DataInfo(),
         106,
         {0, 101, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        StatementLines lines = Lines({{21, 1}, {37, 1}});
        ASSERT_OK(Run(lines, mappings, rows, c.request, c.info)) << c.name;
        EXPECT_EQ(c.main * kYen, Value(lines, 21)) << c.name;
        EXPECT_THAT(Amounts(lines, 37), ElementsAreArray(Months(c.months))) << c.name;
    }
}

TEST_F(AggregateScripted, SumsAtTheLimitAreRefused) {
    const std::vector<StKAMOKUSUMINFO> rows = {
        Row(1, 1, kCash, {kLimit - 1}),
        Row(2, 2, kCash, {0, kLimit - 1}),
        Row(3, 1, kCash, {kLimit - 2, 1}),
        Row(4, 1, kCash, {kLimit - 1, 1}),
    };
    StatementLines lines = Lines({{21, 1}, {22, 1}, {23, 1}, {24, 1}});
    const MappingEntries mappings = Mappings(
        {{21, KeyOf(rows[0])}, {22, KeyOf(rows[1])}, {23, KeyOf(rows[2])}, {24, KeyOf(rows[3])}});
    EXPECT_EQ("overflow step=row-balance", LogLine(Run(lines, mappings, rows, Request(1, 12))));
    // The rows before the refused one stay, and it is not stored.
    EXPECT_EQ(kLimit - 1, Value(lines, 21));
    // A credit-side row with debits only: a negative balance, subtracted from a debit line.
    EXPECT_EQ(kLimit - 1, Value(lines, 22));
    EXPECT_EQ(kLimit - 1, Value(lines, 23));
    EXPECT_EQ(0, Value(lines, 24));
    EXPECT_THAT(progress_.Stages(),
                ElementsAre(std::pair(0, 100), std::pair(100, 200), std::pair(200, 300)));

    // The same on the negative side.
    StatementLines negative = Lines({{21, 1}});
    EXPECT_EQ("overflow step=row-balance",
              LogLine(Run(negative, Mappings({{21, KeyOf(rows[0])}}),
                          {Row(1, 1, kCash, {-(kLimit - 1), -1})}, Request(1, 12))));
    EXPECT_EQ(0, Value(negative, 21));
}

TEST_F(AggregateScripted, SixtyFourBitOverflowFailsTheAggregation) {
    const auto fails = [this](const StKAMOKUSUMINFO& row, const char* what) {
        StatementLines lines = Lines({{21, 1}, {37, 1}});
        EXPECT_EQ(platform::Cause::kOverflow,
                  Run(lines, Mappings({{21, KeyOf(row)}, {37, KeyOf(row)}}), {row}, Request(1, 12))
                      .cause())
            << what;
        EXPECT_TRUE(AllZero(lines)) << what;
    };
    fails(Row(1, 1, kCash, {0, LLONG_MAX, 1}), "period sum");
    fails(Row(1, 1, kCash, {LLONG_MIN, 0}, {}, 0, 0, 0), "opening difference");
    fails(Row(1, 2, kCash, {LLONG_MIN + 1, 0}, {LLONG_MAX}), "opening part");
    // The balance is 1 yen, but month 1 moves by more than 64 bits can hold.
    fails(Row(1, 1, kCash, {0, LLONG_MAX, -LLONG_MAX}, {0, -1}), "monthly movement");
}

TEST_F(AggregateScripted, LineOverflowLeavesNoPartOfTheRow) {
    std::vector<StKAMOKUSUMINFO> rows;
    MappingEntries mappings;
    for (unsigned char id = 1; id <= 10; ++id) {
        rows.push_back(Row(id, 1, kCash, {kLimit - 1}));
        if (id == 10)
            mappings.push_back(std::move(Mappings({{21, KeyOf(rows.back())}})[0]));
        mappings.push_back(std::move(Mappings({{22, KeyOf(rows.back())}})[0]));
    }
    StatementLines lines = Lines({{21, 1}, {22, 1}});
    EXPECT_EQ("overflow step=line-amount", LogLine(Run(lines, mappings, rows, Request(1, 12))));
    // The tenth row reached line 21 first, then overflowed line 22: neither keeps it.
    EXPECT_EQ(0, Value(lines, 21));
    EXPECT_EQ(9 * (kLimit - 1), Value(lines, 22));
}

// An account whose n sub-accounts each post 999,999,999,999 yen in fiscal months 1 and 2 and
// take them back in months 3 and 4: from 462 sub-accounts on, months 1 and 2 together exceed 64
// bits, yet the balance is 0 and every month fits.
TEST_F(AggregateScripted, SumsOnTheWayAreExact) {
    for (const std::int64_t subAccounts : {461, 462}) {
        const std::int64_t month = subAccounts * 999999999999 * kYen;
        const StKAMOKUSUMINFO row = Row(1, 1, kCash, {0, month, month, -month, -month});
        const MappingEntries mappings = Mappings({{21, KeyOf(row)}, {37, KeyOf(row)}});
        // Months 1 to 12, and from month 3 on, where months 1 and 2 are the opening part.
        for (const std::int16_t from : {1, 3}) {
            StatementLines lines = Lines({{21, 1}, {37, 1}});
            ASSERT_OK(Run(lines, mappings, {row}, Request(from, 12)))
                << subAccounts << " sub-accounts from month " << from;
            EXPECT_EQ(0, Value(lines, 21)) << subAccounts << " from " << from;
            EXPECT_THAT(Amounts(lines, 37),
                        ElementsAre(0, month, month, -month, -month, 0, 0, 0, 0, 0, 0, 0, 0))
                << subAccounts << " from " << from;
        }
    }
}

// "SOREIGAI" subtracts lines 18 to 24 from total assets: lines of 4.68 x 10^18 each pass 64 bits
// on the way, while the exact value may fit.
TEST_F(AggregateScripted, DerivedValuesAreExact) {
    constexpr std::int64_t kPart = 936000000000000000; // below the range-checked sum's limit
    std::vector<StKAMOKUSUMINFO> rows;
    std::vector<std::pair<int, std::string>> entries;
    for (unsigned char id = 1; id <= 5; ++id) {
        rows.push_back(Row(id, 1, kCash, {kPart}));
        entries.push_back({18, KeyOf(rows.back())});
        entries.push_back({19, KeyOf(rows.back())});
        // A credit-side row subtracted from the debit-side line 20.
        rows.push_back(Row(static_cast<unsigned char>(id + 100), 2, kCash, {0}, {kPart}));
        entries.push_back({20, KeyOf(rows.back())});
    }
    entries.push_back({25, "SOREIGAI"});
    // The assets total: one yen.
    rows.push_back(Row(200, 1, 0x80800000, {kYen}, {}, 0, 1, 1));

    StatementLines lines = Lines({{18, 1}, {19, 1}, {20, 1}, {25, 1}});
    ASSERT_OK(Run(lines, Mappings(entries), rows, Request(1, 12)));
    EXPECT_EQ(5 * kPart, Value(lines, 18));
    EXPECT_EQ(5 * kPart, Value(lines, 19));
    EXPECT_EQ(-5 * kPart, Value(lines, 20));
    EXPECT_EQ(kYen - 5 * kPart, Value(lines, 25));

    // Without line 20 the exact value, 1 yen less 9.36 x 10^18, does not fit: the run fails.
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const auto& entry) { return entry.first == 20; }),
                  entries.end());
    StatementLines tooLarge = Lines({{18, 1}, {19, 1}, {25, 1}});
    EXPECT_EQ("overflow step=other-assets",
              LogLine(Run(tooLarge, Mappings(entries), rows, Request(1, 12))));
    EXPECT_EQ(0, Value(tooLarge, 25));
}

// An exact result that does not fit where it is stored still fails the aggregation.
TEST_F(AggregateScripted, ExactResultsThatDoNotFitFail) {
    const std::int64_t month = 462 * 999999999999 * kYen;
    // Months 1 and 2 of the monthly line exceed 64 bits over two rows.
    const std::vector<StKAMOKUSUMINFO> rows = {Row(1, 1, kCash, {0, month, 0, -month}),
                                               Row(2, 1, kCash, {0, month, 0, -month})};
    StatementLines lines = Lines({{37, 1}});
    EXPECT_EQ("overflow step=line-amount",
              LogLine(Run(lines, Mappings({{37, KeyOf(rows[0])}, {37, KeyOf(rows[1])}}), rows,
                          Request(1, 12))));
    // The first row is kept, the second is not stored.
    EXPECT_THAT(Amounts(lines, 37), ElementsAre(0, month, 0, -month, 0, 0, 0, 0, 0, 0, 0, 0, 0));

    // A balance beyond 64 bits: the opening part (months 1 and 2) and the debits pass the range
    // check with 0, the credits of months 3 and 4 make the balance -2 x (2^63 - 1).
    const StKAMOKUSUMINFO balance = Row(3, 1, kCash, {0, LLONG_MAX, LLONG_MAX},
                                        {0, LLONG_MAX, LLONG_MAX, LLONG_MAX, LLONG_MAX});
    StatementLines main = Lines({{21, 1}});
    EXPECT_EQ("overflow step=row-balance",
              LogLine(Run(main, Mappings({{21, KeyOf(balance)}}), {balance}, Request(3, 12))));
    EXPECT_EQ(0, Value(main, 21));
}

TEST_F(AggregateScripted, HostFailures) {
    // Cash: opening 100, months 5 - 2 and 7; then a second account and the total of the assets.
    const std::vector<StKAMOKUSUMINFO> rows = {
        Row(1, 1, kCash, {100 * kYen, 5 * kYen, 7 * kYen}, {0, 2 * kYen}),
        Row(2, 1, kCash, {40 * kYen}),
        Row(3, 1, 0x80800000, {150 * kYen, 5 * kYen, 7 * kYen}, {0, 2 * kYen}, 0, 1, 1),
    };
    const MappingEntries mappings = Mappings({{21, KeyOf(rows[0])}, {20, "SISAN"}});
    // MoveNext fails on the first row: nothing is added, no source key is set.
    host_.moveNextErrorRow = 1;
    StatementLines first = Lines({{20, 1}, {21, 1}});
    EXPECT_EQ("host-refused step=ClRuleKamoku::MoveNext code=9",
              LogLine(Run(first, mappings, rows, Request(1, 2))));
    EXPECT_TRUE(AllZero(first));
    EXPECT_THAT(progress_.Stages(),
                ElementsAre(std::pair(0, 100), std::pair(100, 200), std::pair(200, 300)));
    // The end code ends the walk as success: MoveNext failing with 5000 on row 3.
    host_.moveNextErrorRow = 3;
    host_.moveNextErrorCode = kHostEndOfRows;
    StatementLines ended = Lines({{20, 1}, {21, 1}});
    EXPECT_OK(Run(ended, mappings, rows, Request(1, 2)));
    EXPECT_EQ(110 * kYen, Value(ended, 21));
    EXPECT_EQ(0, Value(ended, 20)) << "the total row was never delivered";
    host_.moveNextErrorRow = 0;
    StatementLines whole = Lines({{20, 1}, {21, 1}});
    EXPECT_OK(Run(whole, mappings, rows, Request(1, 2)));
    EXPECT_EQ(160 * kYen, Value(whole, 20));

    const char* const causes[] = {"host-refused step=ClRuleKamoku::GetSumCount code=7",
                                  "host-refused step=ClRuleKamoku::SetMovePos code=7",
                                  "host-refused step=ClRuleKamoku::MoveNext code=9"};
    for (const int fault : {0, 1, 2}) {
        host_.sumCountError = fault == 0 ? 7 : 0;
        host_.setMovePosError = fault == 1 ? 7 : 0;
        host_.moveNextErrorRow = fault == 2 ? 2 : 0;
        host_.moveNextErrorCode = 9;
        StatementLines lines = Lines({{20, 1}, {21, 1}});
        EXPECT_EQ(causes[fault], LogLine(Run(lines, mappings, rows, Request(1, 2))))
            << "fault " << fault;
        EXPECT_EQ(0, Value(lines, 20)) << "fault " << fault;
    }
}

TEST_F(AggregateScripted, RequestsOutsideTheFiscalYearAreRefused) {
    const std::vector<StKAMOKUSUMINFO> rows = {Row(1, 1, kCash, {100 * kYen, 5 * kYen})};
    const MappingEntries mappings = Mappings({{21, KeyOf(rows[0])}});
    for (const auto& [from, to] : {std::pair(0, 2), std::pair(1, 13), std::pair(13, 12),
                                   std::pair(1, 0), std::pair(-1, 12)}) {
        StatementLines lines = Lines({{21, 1}});
        const platform::Status refused = Run(lines, mappings, rows, Request(from, to));
        EXPECT_EQ(platform::Cause::kRangeRefused, refused.cause()) << from << ".." << to;
        EXPECT_EQ(from < 1 || from > 12 ? from : to, refused.code()) << from << ".." << to;
        EXPECT_TRUE(AllZero(lines));
    }
    EXPECT_EQ(0, host_.totalsLog.opened) << "no cursor for a refused request";
}

TEST_F(AggregateScripted, CursorIsKeptAfterAFailureAndClosedAfterSuccess) {
    const std::vector<StKAMOKUSUMINFO> rows = {Row(1, 1, kCash, {kYen})};
    host_.totalRows = rows;
    const MappingEntries mappings = Mappings({{21, KeyOf(rows[0])}});
    StatementLines lines = Lines({{21, 1}});
    host_.moveNextErrorRow = 1;
    OverviewAggregator failing(progress_, mappings, lines, FormGeneration::k30, host_);
    EXPECT_EQ("host-refused step=ClRuleKamoku::MoveNext code=9",
              LogLine(failing.Aggregate(0, Request(1, 12), DataInfo())));
    EXPECT_EQ("host-refused step=ClRuleKamoku::MoveNext code=9",
              LogLine(failing.Aggregate(0, Request(1, 12), DataInfo())));
    EXPECT_EQ(1, host_.totalsLog.opened);
    EXPECT_EQ(2, host_.totalsLog.readied);
    EXPECT_EQ(0, host_.totalsLog.finished);

    host_.moveNextErrorRow = 0;
    OverviewAggregator succeeding(progress_, mappings, lines, FormGeneration::k30, host_);
    EXPECT_OK(succeeding.Aggregate(0, Request(1, 12), DataInfo()));
    EXPECT_OK(succeeding.Aggregate(0, Request(1, 12), DataInfo()));
    EXPECT_EQ(3, host_.totalsLog.opened);
    EXPECT_EQ(2, host_.totalsLog.finished);
    // Amounts are only ever added to.
    EXPECT_EQ(2 * kYen, Value(lines, 21));

    host_.totalsAvailable = false;
    OverviewAggregator unavailable(progress_, mappings, lines, FormGeneration::k30, host_);
    EXPECT_EQ("host-refused step=ClDataMgr::GetSetMgr code=0",
              LogLine(unavailable.Aggregate(0, Request(1, 12), DataInfo())));
    host_.totalsAvailable = true;
    host_.hasDataSets = false;
    OverviewAggregator withoutData(progress_, mappings, lines, FormGeneration::k30, host_);
    EXPECT_EQ("host-refused step=ClDataMgr::GetSetObject code=0",
              LogLine(withoutData.Aggregate(0, Request(1, 12), DataInfo())));
    EXPECT_EQ(3, host_.totalsLog.opened);
    EXPECT_EQ(2 * kYen, Value(lines, 21));
}

TEST_F(AggregateScripted, CursorThatIsNotReadyFailsWithTheHostsCode) {
    const std::vector<StKAMOKUSUMINFO> rows = {Row(1, 1, kCash, {kYen})};
    StatementLines lines = Lines({{21, 1}, {37, 1}});
    host_.moveReadyError = 3;
    EXPECT_EQ("host-refused step=ClRuleKamoku::MoveReady code=3",
              LogLine(Run(lines, Mappings({{21, KeyOf(rows[0])}, {37, KeyOf(rows[0])}}), rows,
                          Request(1, 12))));
    EXPECT_TRUE(AllZero(lines));
    EXPECT_THAT(progress_.Stages(), ElementsAre(std::pair(0, 100), std::pair(100, 200)));
}

TEST_F(AggregateScripted, MemoryRunningOutFailsTheAggregation) {
    StatementLines lines = Lines({{21, 1}});
    host_.totalsOutOfMemory = true;
    EXPECT_EQ("out-of-memory step=Aggregate",
              LogLine(Run(lines, Mappings({{21, "URIAGEDAKA"}}), {}, Request(1, 12))));
    EXPECT_TRUE(AllZero(lines));
}

TEST_F(AggregateScripted, CursorIsBoundToTheSelectedDataAndAskedForTheRequestedMonths) {
    host_.dataSets.push_back(testsupport::FakeHost::DataSet("OTHER", 2, "", 20240401, 20250331));
    host_.selected = 1;
    StatementLines lines = Lines({{21, 1}});
    const AggregationRequest request = Request(2, 12, {18});
    ASSERT_OK(Run(lines, Mappings({}), {}, request));
    EXPECT_EQ("OTHER", host_.totalsLog.dataId);
    ASSERT_EQ(3u, host_.totalsLog.terms.size());
    for (std::size_t i = 0; i < host_.totalsLog.terms.size(); ++i) {
        EXPECT_EQ(0, std::memcmp(request.terms[i].bytes, host_.totalsLog.terms[i].bytes,
                                 sizeof request.terms[i].bytes))
            << "term " << i;
    }
}

TEST_F(AggregateScripted, TaxSettingsOfTheSelectedData) {
    host_.tax.set_taxIncludedPreset(1);
    StSHOHIZEIINFO settings{};
    ASSERT_OK(GetTaxSettings(host_, settings));
    EXPECT_EQ(1, settings.taxIncludedPreset());
    EXPECT_EQ("SCRIPT", host_.taxDataId);

    StSHOHIZEIINFO untouched{};
    untouched.bytes[0] = 0x5A;
    host_.taxError = 3;
    EXPECT_EQ("host-refused step=ClSetShohizei::Get code=3",
              platform::LogLine(GetTaxSettings(host_, untouched)));
    host_.taxError = 0;
    host_.hasDataSets = false;
    EXPECT_EQ("host-refused step=ClDataMgr::GetSetObject code=0",
              platform::LogLine(GetTaxSettings(host_, untouched)));
    EXPECT_EQ(0x5A, untouched.bytes[0]);
}

TEST(FixedAmount, ConversionsAreExact) {
    const FixedAmount negative(-12345678);
    EXPECT_EQ(1234, negative.whole());
    EXPECT_EQ(5678, negative.fraction());
    EXPECT_EQ(-1, negative.sign());
    EXPECT_EQ(-12345678, negative.ToRaw());
    EXPECT_EQ(1, FixedAmount(0).sign());
    EXPECT_EQ(LLONG_MIN, FixedAmount(LLONG_MIN).ToRaw());
    EXPECT_EQ(LLONG_MAX, FixedAmount(LLONG_MAX).ToRaw());

    // Whole units and ten-thousandths; a fraction of 10000 or more carries.
    EXPECT_EQ(-70001, FixedAmount(-7, 1).ToRaw());
    EXPECT_EQ(123456, FixedAmount(10, 23456).ToRaw());
    EXPECT_EQ(0, FixedAmount(0, 0).ToRaw());
    const FixedAmount carried(2, 4294967295u);
    EXPECT_EQ(2 + 429496, carried.whole());
    EXPECT_EQ(7295, carried.fraction());
}

TEST(FixedAmount, SumWithRangeCheck) {
    FixedAmount sum;
    ASSERT_TRUE(FixedAmount::Sum(FixedAmount(kLimit - 2), FixedAmount(1), sum));
    EXPECT_EQ(kLimit - 1, sum.ToRaw());
    EXPECT_FALSE(FixedAmount::Sum(FixedAmount(kLimit - 1), FixedAmount(1), sum));
    EXPECT_FALSE(FixedAmount::Sum(FixedAmount(-kLimit + 1), FixedAmount(-1), sum));
    EXPECT_FALSE(FixedAmount::Sum(FixedAmount(LLONG_MAX), FixedAmount(1), sum));
    EXPECT_EQ(kLimit - 1, sum.ToRaw()) << "a refused sum leaves the result alone";
    ASSERT_TRUE(FixedAmount::Sum(FixedAmount(-5), FixedAmount(3), sum));
    EXPECT_EQ(-2, sum.ToRaw());
}

TEST(FixedAmount, ExactArithmeticWithoutOverflow) {
    std::int64_t raw = 7;
    EXPECT_TRUE(FixedAmount::RawPlus(raw, FixedAmount(-10), raw));
    EXPECT_EQ(-3, raw);
    EXPECT_TRUE(FixedAmount::RawMinus(raw, FixedAmount(-10), raw));
    EXPECT_EQ(7, raw);
    raw = LLONG_MAX;
    EXPECT_FALSE(FixedAmount::RawPlus(raw, FixedAmount(1), raw));
    EXPECT_FALSE(FixedAmount::RawMinus(LLONG_MIN, FixedAmount(1), raw));
    EXPECT_EQ(LLONG_MAX, raw);

    FixedAmount total(0, 0);
    EXPECT_TRUE(total.Add(LLONG_MAX));
    EXPECT_FALSE(total.Add(1));
    EXPECT_EQ(LLONG_MAX, total.ToRaw());
}

TEST(ExactRaw, AddsAndSubtractsPastSixtyFourBits) {
    std::int64_t raw = 0;
    ExactRaw sum = LLONG_MAX;
    sum += LLONG_MAX;
    EXPECT_FALSE(sum.Fits(raw));
    sum = sum - LLONG_MAX;
    ASSERT_TRUE(sum.Fits(raw));
    EXPECT_EQ(LLONG_MAX, raw);
    ExactRaw low = LLONG_MIN;
    low += -1;
    EXPECT_FALSE(low.Fits(raw));
    ASSERT_TRUE((low + 1).Fits(raw));
    EXPECT_EQ(LLONG_MIN, raw);
    ASSERT_TRUE((-ExactRaw(LLONG_MIN) - 1).Fits(raw));
    EXPECT_EQ(LLONG_MAX, raw);
    EXPECT_FALSE((-ExactRaw(LLONG_MIN)).Fits(raw));
    ASSERT_TRUE((ExactRaw(-5) + 3).Fits(raw));
    EXPECT_EQ(-2, raw);
    ASSERT_TRUE((ExactRaw(0) - 0).Fits(raw));
    EXPECT_EQ(0, raw);
}
