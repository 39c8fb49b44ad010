// The delivered form-item and default-mapping files of every edition and generation, and the
// sample books aggregated through them.
#include "aggregate/aggregator.h"
#include "app/company_data.h"
#include "settings/account_lookup.h"
#include "settings/statement_files.h"
#include "standin/kinds.h"
#include "support/delivered.h"
#include "support/host_accounts.h"
#include "support/served_book.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Generation {
    FormGeneration form;
    int mainLines;    // 1 .. mainLines are the main-account lines
    const char* book; // sample book of a company of this generation
};
const Generation kGenerations[] = {{FormGeneration::k16, 35, "older_form.json"},
                                   {FormGeneration::k30, 36, "trading.json"}};
const char* const kEditions[] = {"Ivy", "Oak", "Elm"};

std::string Describe(const Generation& g) {
    return g.form == FormGeneration::k30 ? "generation 30" : "generation 16";
}

// The body lines of the common section, as written.
std::ptrdiff_t BodyLineCount(const std::string& bytes) {
    const std::string header = "[共通様式]\r\n";
    const std::size_t start = bytes.find(header) + header.size();
    const std::size_t end = bytes.find("[終了]", start);
    return std::count(bytes.begin() + start, bytes.begin() + end, '\n');
}

class ProgressDiscarded : public ProgressSink {
  public:
    void ResetMainBar() override {}
    void AdvanceTo(std::int16_t, std::int16_t) override {}
    void ActivityTick() override {}
};

} // namespace

TEST(DeliveredData, FilesAreShiftJisWithCrLfAndTheSameForEveryEdition) {
    for (const Generation& g : kGenerations) {
        for (const auto& name :
             {FormItemFileName("Ivy", g.form), DefaultMappingFileName("Ivy", g.form)}) {
            const std::string ivy = testsupport::ReadDelivered(name);
            ASSERT_FALSE(ivy.empty()) << name;
            for (std::size_t i = 0; i < ivy.size(); ++i) {
                if (ivy[i] == '\n') {
                    ASSERT_TRUE(i > 0 && ivy[i - 1] == '\r') << name << " byte " << i;
                }
            }
            EXPECT_NE(std::string::npos, ivy.find("[共通様式]\r\n")) << name;
            for (const char* edition : {"Oak", "Elm"})
                EXPECT_EQ(ivy, testsupport::ReadDelivered(edition + name.substr(3)))
                    << edition << name;
        }
    }
}

TEST(DeliveredData, StatementLinesAreWhatThePagesAndTheReportRelyOn) {
    for (const Generation& g : kGenerations) {
        SCOPED_TRACE(Describe(g));
        const std::string bytes = testsupport::ReadDelivered(FormItemFileName("Ivy", g.form));
        StatementLines lines;
        ASSERT_TRUE(loadStatementLines(bytes, lines));
        // Every written line is read: none is rejected by a limit.
        EXPECT_EQ(BodyLineCount(bytes), static_cast<std::ptrdiff_t>(lines.size()));

        std::vector<int> numbers;
        std::set<std::string> tags;
        for (const auto& line : lines) {
            numbers.push_back(line->lineNo);
            EXPECT_TRUE(tags.insert(line->tag).second) << "tag " << line->tag << " twice";
            EXPECT_LE(line->tag.size(), 50u) << line->tag;
            EXPECT_LE(line->name.size(), 30u) << line->tag;
            EXPECT_FALSE(line->name.empty()) << line->tag;
            // Placeholders are named "-" and never written; every other tag is in capitals.
            const bool placeholder = line->tag.find('-') != std::string::npos;
            EXPECT_EQ(placeholder, line->name == "-") << line->tag;
            EXPECT_FALSE(placeholder && IsMainAccountLine(line->lineNo, g.form)) << line->tag;
            if (!placeholder) {
                EXPECT_EQ(std::string::npos,
                          line->tag.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
                    << line->tag;
            }
            for (std::uint32_t kind : line->kindCodes)
                EXPECT_TRUE(kind == 0 || standin::IsDetailKind(kind))
                    << line->tag << " offers kind " << std::hex << kind;
            EXPECT_TRUE(line->side == 1 || line->side == 2) << line->tag;
        }
        // Main lines 1..N, then the eight monthly lines of page 3, in ascending order.
        std::vector<int> expected;
        for (int n = 1; n <= g.mainLines + 8; ++n)
            expected.push_back(n);
        EXPECT_EQ(expected, numbers);
    }
}

TEST(DeliveredData, DefaultMappingsNameSampleAccountsOfTheirLines) {
    for (const Generation& g : kGenerations) {
        SCOPED_TRACE(Describe(g));
        ASSERT_TRUE(
            testsupport::ServeBook("delivered", "", "", std::string(OVW_BIN_DIR) + "/" + g.book));
        testsupport::ServedBookScope scope;
        StatementLines lines;
        ASSERT_TRUE(
            loadStatementLines(testsupport::ReadDelivered(FormItemFileName("Ivy", g.form)), lines));
        std::map<int, const StatementLine*> byNumber;
        for (const auto& line : lines)
            byNumber[line->lineNo] = line.get();

        std::vector<std::int32_t> missing;
        MappingEntries entries;
        const std::string bytes = testsupport::ReadDelivered(DefaultMappingFileName("Ivy", g.form));
        AccountCatalogue catalogue;
        ASSERT_OK(catalogue.Read(testsupport::LibraryHost()));
        const AccountCodeLookup hostLookup = CatalogueAccountCodes(catalogue);
        ASSERT_TRUE(loadDefaultMappings(bytes, entries, [&](std::int32_t code, std::string& key) {
            if (hostLookup(code, key))
                return true;
            missing.push_back(code);
            return false;
        }));
        EXPECT_TRUE(missing.empty()) << "first missing account " << missing.front();
        // Every reference became an entry.
        EXPECT_EQ(static_cast<std::ptrdiff_t>(entries.size()),
                  std::count(bytes.begin(), bytes.begin() + bytes.find("[終了]"), ',') -
                      std::count(bytes.begin(), bytes.begin() + bytes.find("[共通様式]"), ','));

        std::set<int> sourceLines;
        for (const auto& entry : entries) {
            ASSERT_EQ(1u, byNumber.count(entry->lineNo)) << "no line " << entry->lineNo;
            const StatementLine& line = *byNumber[entry->lineNo];
            if (FindSourceKey(entry->key.c_str()) != SourceKey::kNone) {
                // Totals go to main lines that offer no accounts of their own.
                EXPECT_TRUE(IsMainAccountLine(line.lineNo, g.form)) << line.tag;
                EXPECT_EQ(0u, line.kindCodes[0]) << line.tag;
                sourceLines.insert(line.lineNo);
                continue;
            }
            const std::int32_t code =
                testsupport::CodeOfKey(testsupport::LibraryHost(), entry->key);
            ASSERT_GT(code, 0) << line.tag;
            const StKAMOKUINFO account =
                testsupport::AccountWithCode(testsupport::LibraryHost(), code);
            const auto& kinds = line.kindCodes;
            EXPECT_NE(kinds.end(), std::find(kinds.begin(), kinds.end(), account.kindCode()))
                << line.tag << " does not offer account " << account.code();
        }
        // Every line that offers no accounts takes a host total.
        for (const auto& line : lines) {
            if (IsMainAccountLine(line->lineNo, g.form) && line->kindCodes[0] == 0) {
                EXPECT_EQ(1u, sourceLines.count(line->lineNo)) << line->tag;
            }
        }
    }
}

namespace {

// What a book implies: balances summed from the figures of its main accounts.
class BookFigures {
  public:
    explicit BookFigures(const standin::DataSet& data) : data_(data) {}

    // Movement of slot on the given side (1: debit less credit, else credit less debit).
    static std::int64_t Movement(const standin::Account& account, int side, int slot) {
        const std::int64_t debitLessCredit =
            account.excluded.debit[slot] - account.excluded.credit[slot];
        return side == 1 ? debitLessCredit : -debitLessCredit;
    }
    // Balance at the year end, closing postings included.
    static std::int64_t Balance(const standin::Account& account, int side) {
        std::int64_t balance = 0;
        for (int slot = 0; slot <= standin::kClosingSlot; ++slot)
            balance += Movement(account, side, slot);
        return balance;
    }
    // The total that a source key stands for, from the documented kind groups.
    std::int64_t Total(SourceKey key) const {
        const auto in = [](std::uint32_t kind, std::uint32_t prefix, int bits) {
            return kind >> (32 - bits) == prefix;
        };
        const auto sum = [&](int side, auto member) {
            std::int64_t total = 0;
            for (const standin::Account& account : data_.accounts) {
                if (!account.isSub && member(account.kind))
                    total += Balance(account, side);
            }
            return total;
        };
        switch (key) {
        case SourceKey::kSales:
            return sum(2, [&](std::uint32_t k) { return in(k, 0x40888, 20); });
        case SourceKey::kCostOfSales:
            return sum(1, [&](std::uint32_t k) { return in(k, 0x40884, 20); });
        case SourceKey::kGrossMargin:
            return sum(2,
                       [&](std::uint32_t k) { return in(k, 0x40888, 20) || in(k, 0x40884, 20); });
        case SourceKey::kOperatingResult:
            return sum(2, [&](std::uint32_t k) { return in(k, 0x4088, 16); });
        case SourceKey::kExtraordinaryGains:
            return sum(2, [&](std::uint32_t k) { return in(k, 0x4048, 16); });
        case SourceKey::kExtraordinaryLosses:
            return sum(1, [&](std::uint32_t k) { return in(k, 0x4044, 16); });
        case SourceKey::kResultBeforeTax:
            return sum(2, [&](std::uint32_t k) { return in(k, 0x408, 12) || in(k, 0x404, 12); });
        case SourceKey::kCapital:
            return sum(2, [&](std::uint32_t k) { return in(k, 0x802, 12) || in(k, 0x4, 4); });
        case SourceKey::kAssets:
            return sum(1, [&](std::uint32_t k) { return in(k, 0x808, 12); });
        case SourceKey::kLiabilities:
            return sum(2, [&](std::uint32_t k) { return in(k, 0x804, 12); });
        default:
            ADD_FAILURE() << "no default file uses source key " << static_cast<int>(key);
            return 0;
        }
    }
    const standin::Account& Account(std::int32_t code) const {
        for (const standin::Account& account : data_.accounts) {
            if (account.code == code)
                return account;
        }
        throw std::logic_error("no account " + std::to_string(code));
    }

  private:
    const standin::DataSet& data_;
};

} // namespace

TEST(DeliveredData, SampleCompaniesAggregatedForTheirFullYear) {
    for (const Generation& g : kGenerations) {
        SCOPED_TRACE(g.book);
        ASSERT_TRUE(
            testsupport::ServeBook("whole_book", "", "", std::string(OVW_BIN_DIR) + "/" + g.book));
        testsupport::ServedBookScope scope;
        platform::Host& host = testsupport::LibraryHost();
        StDATAINFO record{};
        ASSERT_OK(SelectCompanyData(host, record));
        ASSERT_EQ(g.form, FormGenerationOf(record.periodEnd()));
        AggregationRequest request;
        ASSERT_OK(BuildAggregationRequest(
            host, request, record, static_cast<std::int16_t>(record.periodStart() % 10000 / 100),
            static_cast<std::int16_t>(record.periodEnd() % 10000 / 100)));

        StatementLines lines;
        MappingEntries mappings;
        ASSERT_TRUE(
            loadStatementLines(testsupport::ReadDelivered(FormItemFileName("Elm", g.form)), lines));
        AccountCatalogue catalogue;
        ASSERT_OK(catalogue.Read(host));
        ASSERT_TRUE(
            loadDefaultMappings(testsupport::ReadDelivered(DefaultMappingFileName("Elm", g.form)),
                                mappings, CatalogueAccountCodes(catalogue)));
        ProgressDiscarded progress;
        OverviewAggregator aggregator(progress, mappings, lines, g.form, host);
        ASSERT_OK(aggregator.Aggregate(0, request, record));

        const BookFigures book(*standin::SelectedDataSet());
        std::map<int, std::array<std::int64_t, StatementLine::kAmounts>> expected;
        std::map<SourceKey, std::int64_t> totals;
        for (const auto& line : lines)
            expected[line->lineNo] = {};
        for (const auto& entry : mappings) {
            auto& amounts = expected[entry->lineNo];
            const SourceKey key = FindSourceKey(entry->key.c_str());
            if (key != SourceKey::kNone) {
                amounts[0] = totals[key] = book.Total(key);
                continue;
            }
            const standin::Account& account =
                book.Account(testsupport::CodeOfKey(testsupport::LibraryHost(), entry->key));
            const StatementLine* line = nullptr;
            for (const auto& l : lines)
                line = l->lineNo == entry->lineNo ? l.get() : line;
            const int sign = line->side == account.side ? 1 : -1;
            if (IsMainAccountLine(line->lineNo, g.form)) {
                amounts[0] += sign * BookFigures::Balance(account, account.side);
                continue;
            }
            for (int month = 1; month <= 12; ++month)
                amounts[month] += sign * BookFigures::Movement(account, account.side, month);
            amounts[record.startUseMonth()] +=
                sign * BookFigures::Movement(account, account.side, 0);
            amounts[12] +=
                sign * BookFigures::Movement(account, account.side, standin::kClosingSlot);
        }
        for (const auto& line : lines) {
            for (int slot = 0; slot < StatementLine::kAmounts; ++slot)
                EXPECT_EQ(expected[line->lineNo][slot], line->amounts[slot])
                    << line->tag << " slot " << slot;
        }
        // The statement adds up as the books do.
        EXPECT_GT(totals[SourceKey::kSales], 0);
        EXPECT_EQ(totals[SourceKey::kSales] - totals[SourceKey::kCostOfSales],
                  totals[SourceKey::kGrossMargin]);
        EXPECT_EQ(totals[SourceKey::kAssets],
                  totals[SourceKey::kLiabilities] + totals[SourceKey::kCapital]);
    }
}
