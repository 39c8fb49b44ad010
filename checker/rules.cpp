#include "checker/rules.h"

#include "texts/checker.h"

namespace checker {

namespace {

Rule PartOf(const char* id, const char* part, const char* whole) {
    return {id,
            RuleKind::kPartOf,
            Severity::kFinding,
            part,
            {{+1, whole}},
            texts::kPartWording,
            texts::kPartAdvice,
            texts::kPartLabelAdvice,
            0,
            0};
}

const std::vector<Rule> kRules = {
    {"balance",
     RuleKind::kSum,
     Severity::kFinding,
     "SISAN",
     {{+1, "FUSAI"}, {+1, "SIHON"}},
     texts::kBalanceWording,
     texts::kBalanceAdvice,
     nullptr,
     0,
     0},
    {"gross-profit",
     RuleKind::kSum,
     Severity::kFinding,
     "URIAGESOURIEKI",
     {{+1, "URIAGEDAKA"}, {-1, "URIAGEGENKA"}},
     texts::kGrossProfitWording,
     texts::kGrossProfitAdvice,
     nullptr,
     0,
     0},
    {"cost-of-sales",
     RuleKind::kSum,
     Severity::kFinding,
     "URIAGEGENKA",
     {{+1, "KISYUTANAOROSIDAKA"},
      {+1, "GENZAIRYOUSIIREDAKA"},
      {+1, "ROUMUHI"},
      {+1, "GAITYUUHI"},
      {+1, "SIIREDAKA"},
      {+1, "SEIZOUKEIHI"},
      {-1, "KIMATUTANAOROSIDAKA"}},
     texts::kCostOfSalesWording,
     texts::kCostOfSalesAdvice,
     nullptr,
     0,
     0},
    PartOf("part-side-sales", "KENGYOUURIAGEDAKA", "URIAGEDAKA"),
    PartOf("part-cash", "GENKINYOKIN", "SISAN"),
    PartOf("part-notes-receivable", "UKETORITEGATA", "SISAN"),
    PartOf("part-accounts-receivable", "URIKAKEKIN", "SISAN"),
    PartOf("part-inventories", "TANAOROSISISAN", "SISAN"),
    PartOf("part-loans", "KASITUKEKIN", "SISAN"),
    PartOf("part-buildings", "TATEMONO", "SISAN"),
    PartOf("part-machinery", "KIKAISOUTI", "SISAN"),
    PartOf("part-vehicles", "SYARYOUSENPAKU", "SISAN"),
    PartOf("part-land", "TOTI", "SISAN"),
    PartOf("part-notes-payable", "SIHARAITEGATA", "FUSAI"),
    PartOf("part-accounts-payable", "KAIKAKEKIN", "FUSAI"),
    PartOf("part-personal-borrowings", "KOZINKARIIREKIN", "FUSAI"),
    PartOf("part-other-borrowings", "SONOTAKARIIREKIN", "FUSAI"),
    {"monthly-sales",
     RuleKind::kMonthlySum,
     Severity::kFinding,
     "TUKIBETUURIAGEKINGAKU",
     {{+1, "URIAGEDAKA"}},
     texts::kMonthlySalesWording,
     texts::kMonthlySumAdvice,
     nullptr,
     0,
     0},
    {"monthly-purchases",
     RuleKind::kMonthlySum,
     Severity::kFinding,
     "TUKIBETUSIIREKINGAKU",
     {{+1, "SIIREDAKA"}, {+1, "GENZAIRYOUSIIREDAKA"}},
     texts::kMonthlyPurchasesWording,
     texts::kMonthlySumAdvice,
     nullptr,
     0,
     0},
    {"all-empty",
     RuleKind::kAllMainEmpty,
     Severity::kFinding,
     nullptr,
     {},
     texts::kAllEmptyWording,
     texts::kAllEmptyAdvice,
     nullptr,
     0,
     0},
    // A company that buys goods and sells them (trade, retail, services) has no costs of making:
    // raw materials, factory labour and factory expenses stay empty.
    {"usually-empty-trade",
     RuleKind::kUsuallyEmpty,
     Severity::kHint,
     "SIIREDAKA",
     {{+1, "GENZAIRYOUSIIREDAKA"}, {+1, "ROUMUHI"}, {+1, "SEIZOUKEIHI"}},
     texts::kUsuallyEmptyTradeWording,
     texts::kUsuallyEmptyAdvice,
     nullptr,
     0,
     0},
    // A maker buys raw materials and buys no goods to sell as they are.
    {"usually-empty-making",
     RuleKind::kUsuallyEmpty,
     Severity::kHint,
     "GENZAIRYOUSIIREDAKA",
     {{+1, "SIIREDAKA"}},
     texts::kUsuallyEmptyMakingWording,
     texts::kUsuallyEmptyAdvice,
     nullptr,
     0,
     0},
    {"empty-line",
     RuleKind::kEmptyMainItem,
     Severity::kHint,
     nullptr,
     {},
     texts::kEmptyLineWording,
     texts::kEmptyLineAdvice,
     texts::kEmptyLineLabelAdvice,
     0,
     0},
    {"empty-monthly-line",
     RuleKind::kEmptyMonthlyLine,
     Severity::kHint,
     nullptr,
     {},
     texts::kEmptyMonthlyLineWording,
     texts::kEmptyLineAdvice,
     nullptr,
     0,
     0},
    {"empty-month",
     RuleKind::kEmptyMonth,
     Severity::kHint,
     nullptr,
     {},
     texts::kEmptyMonthWording,
     texts::kEmptyMonthAdvice,
     nullptr,
     0,
     0},
};

// Thresholds of the comparisons, and why:
// - changed: a line at half or less, or at one and a half times or more, of last year's amount
//   is rarely ordinary business, and is what an account mapped twice, or a mapping lost, does
//   to a line. Small lines swing by that much without meaning anything, so the change must also
//   exceed 1 % of the company's size (the larger of this year's sales and total assets), the
//   materiality that an accountant's review works to.
// - shares: the cost of sales against the sales (the cost ratio) moves by a point or two a year
//   in a going business, and the liabilities against the total assets by a few; a move of more
//   than 10 points means costs and sales (or assets and liabilities) are not aggregated as they
//   were last year, or the business changed, which the accountant should be able to say.
// - a sign that turns is a fault for every line but the profits, which turn between profit and
//   loss in the ordinary course of business.
const std::vector<Rule> kComparisonRules = {
    {"vanished",
     RuleKind::kVanished,
     Severity::kFinding,
     nullptr,
     {},
     texts::kVanishedWording,
     texts::kVanishedAdvice,
     texts::kVanishedLabelAdvice,
     0,
     0},
    {"appeared",
     RuleKind::kAppeared,
     Severity::kFinding,
     nullptr,
     {},
     texts::kAppearedWording,
     texts::kAppearedAdvice,
     texts::kAppearedLabelAdvice,
     0,
     0},
    {"sign-changed",
     RuleKind::kSignChanged,
     Severity::kFinding,
     nullptr,
     {{+1, "URIAGESOURIEKI"}, {+1, "EIGYOUSONEKI"}, {+1, "TOKUBETUSONEKI"}, {+1, "ZEIBIKIMAE"}},
     texts::kSignChangedWording,
     texts::kSignChangedAdvice,
     texts::kSignChangedLabelAdvice,
     0,
     0},
    {"changed",
     RuleKind::kChangedBeyond,
     Severity::kFinding,
     "URIAGEDAKA",
     {{+1, "SISAN"}},
     texts::kChangedWording,
     texts::kChangedAdvice,
     texts::kChangedLabelAdvice,
     50,
     1},
    {"share-cost-of-sales",
     RuleKind::kShareMoved,
     Severity::kFinding,
     "URIAGEGENKA",
     {{+1, "URIAGEDAKA"}},
     texts::kShareWording,
     texts::kShareCostAdvice,
     nullptr,
     10,
     0},
    {"share-liabilities",
     RuleKind::kShareMoved,
     Severity::kFinding,
     "FUSAI",
     {{+1, "SISAN"}},
     texts::kShareWording,
     texts::kShareLiabilitiesAdvice,
     nullptr,
     10,
     0},
};

std::vector<const Rule*> Pointers(const std::vector<Rule>& rules) {
    std::vector<const Rule*> pointers;
    pointers.reserve(rules.size());
    for (const Rule& rule : rules)
        pointers.push_back(&rule);
    return pointers;
}

} // namespace

std::vector<const Rule*> ReportRules() {
    return Pointers(kRules);
}

std::vector<const Rule*> ComparisonRules() {
    return Pointers(kComparisonRules);
}

} // namespace checker
