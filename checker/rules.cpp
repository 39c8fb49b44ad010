#include "checker/rules.h"

namespace checker {

namespace {

const char kPartWording[] =
    u8"「うち」の行が、それを含む行より大きくなっています。集約する科目を確認してください。";

Rule PartOf(const char* id, const char* part, const char* whole) {
    return {id, kBothForms, RuleKind::kPartOf, part, {{+1, whole}}, kPartWording};
}

const std::vector<Rule> kRules = {
    {"balance",
     kBothForms,
     RuleKind::kSum,
     "SISAN",
     {{+1, "FUSAI"}, {+1, "SIHON"}},
     u8"貸借が合いません。資産の部合計は、負債の部合計と純資産（資本）の部合計の和のはずです。"
     u8"集約されていない科目や二重に集約された科目がないか確認してください。"},
    {"gross-profit",
     kBothForms,
     RuleKind::kSum,
     "URIAGESOURIEKI",
     {{+1, "URIAGEDAKA"}, {-1, "URIAGEGENKA"}},
     u8"売上総損益金額が、売上（収入）高から売上原価を引いた額と合いません。"},
    {"cost-of-sales",
     kBothForms,
     RuleKind::kSum,
     "URIAGEGENKA",
     {{+1, "KISYUTANAOROSIDAKA"},
      {+1, "GENZAIRYOUSIIREDAKA"},
      {+1, "ROUMUHI"},
      {+1, "GAITYUUHI"},
      {+1, "SIIREDAKA"},
      {+1, "SEIZOUKEIHI"},
      {-1, "KIMATUTANAOROSIDAKA"}},
     u8"売上原価が、期首棚卸高・原材料仕入高・労務費・外注費・仕入高・製造経費の和から期末棚卸高"
     u8"を引いた額と合いません。原価の科目の集約を確認してください。"},
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
     kBothForms,
     RuleKind::kMonthlySum,
     "TUKIBETUURIAGEKINGAKU",
     {{+1, "URIAGEDAKA"}},
     u8"月別の売上（収入）金額の 12 か月の合計が、売上（収入）高と合いません。"},
    {"monthly-purchases",
     kBothForms,
     RuleKind::kMonthlySum,
     "TUKIBETUSIIREKINGAKU",
     {{+1, "SIIREDAKA"}, {+1, "GENZAIRYOUSIIREDAKA"}},
     u8"月別の仕入金額の 12 か月の合計が、仕入高と原材料仕入高の和と合いません。"},
    {"all-empty",
     kBothForms,
     RuleKind::kAllMainEmpty,
     nullptr,
     {},
     u8"主要科目がすべて空欄（または 0）です。科目の集約が設定されていないか、集計した期間に"
     u8"データがありません。"},
    {"empty-line",
     kBothForms,
     RuleKind::kEmptyMainItem,
     nullptr,
     {},
     u8"空欄です（主要科目のほかの行には金額があります）。集約する科目の漏れがないか確認して"
     u8"ください。"},
    {"empty-monthly-line",
     kBothForms,
     RuleKind::kEmptyMonthlyLine,
     nullptr,
     {},
     u8"12 か月すべて空欄です（ほかの月別の行には金額があります）。"},
    {"empty-month",
     kBothForms,
     RuleKind::kEmptyMonth,
     nullptr,
     {},
     u8"この月だけ空欄です（同じ行のほかの月には金額があります）。"},
};

} // namespace

const std::vector<Rule>& AllRules() {
    return kRules;
}

std::vector<const Rule*> RulesFor(bool newForm) {
    std::vector<const Rule*> rules;
    for (const Rule& rule : kRules) {
        if (rule.forms & (newForm ? kForm30 : kForm16))
            rules.push_back(&rule);
    }
    return rules;
}

} // namespace checker
