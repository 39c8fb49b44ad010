// The texts that the text view and the page share: header values, findings in words.
#include "checker/editions.h"
#include "checker/format.h"
#include "checker/views.h"
#include "texts/checker.h"

namespace checker {

namespace {

const char* PartText(LinePart part) {
    switch (part) {
    case LinePart::kAmount:
        return "";
    case LinePart::kTwelveMonths:
        return texts::kTwelveMonthsPart;
    case LinePart::kLastYear:
        return texts::kLastYearPart;
    case LinePart::kThisYear:
        return texts::kThisYearPart;
    }
    return "";
}

std::string WithPart(const std::string& place, LinePart part) {
    const std::string text = PartText(part);
    return text.empty() ? place : place + " " + text;
}

// The captions of lines, each in its brackets (texts::kButtonCaption).
std::string Captions(const std::vector<const FormItem*>& lines) {
    std::string captions;
    for (const FormItem* line : lines)
        captions += Fill(texts::kButtonCaption, {{"caption", line->caption}});
    return captions;
}

// Where the buttons are (texts::kButtonsPlace), one phrase for each page.
std::string ButtonsText(const std::vector<const FormItem*>& buttons) {
    std::string text;
    for (int page : {2, 3}) {
        std::vector<const FormItem*> onPage;
        for (const FormItem* line : buttons) {
            if (line->page == page)
                onPage.push_back(line);
        }
        if (!onPage.empty())
            text += (text.empty() ? "" : texts::kAnd) +
                    Fill(texts::kButtonsPlace,
                         {{"page", std::to_string(page)}, {"captions", Captions(onPage)}});
    }
    return text;
}

// The line of a term of the finding other than its own lines (the whole, the base of a share).
const FormItem* OtherLine(const Finding& finding) {
    for (const FindingTerm& term : finding.terms) {
        if (finding.lines.empty() || term.line != finding.lines.front())
            return term.line;
    }
    return nullptr;
}

} // namespace

std::string FormText(FormGeneration form) {
    return form == FormGeneration::k30 ? texts::kFormNewer : texts::kFormOlder;
}

std::string ProgramText(const Report& report) {
    return Fill(texts::kProgramFormat, {{"name", report.programName},
                                        {"version", report.programVersion},
                                        {"connected", report.connectedVersion}});
}

std::string MonthText(int month) {
    return Fill(texts::kMonthFormat, {{"month", std::to_string(month)}});
}

std::string SeverityText(Severity severity) {
    switch (severity) {
    case Severity::kFinding:
        return texts::kSeverityFinding;
    case Severity::kHint:
        return texts::kSeverityHint;
    case Severity::kNotApplicable:
        return texts::kSeverityNotApplicable;
    }
    return {};
}

std::string SummaryText(const std::vector<Finding>& findings) {
    const int count = CountOf(findings, Severity::kFinding);
    const int hints = CountOf(findings, Severity::kHint);
    std::string text = count == 0 ? std::string(texts::kNoFindings)
                                  : Fill(texts::kFindingsCount, {{"count", std::to_string(count)}});
    if (hints > 0)
        text += Fill(texts::kHintsCount, {{"count", std::to_string(hints)}});
    return text;
}

std::string DifferenceText(const Finding& finding) {
    if (!finding.difference)
        return {};
    std::string text =
        Fill(texts::kDifferenceFormat, {{"amount", WithSeparators(*finding.difference)}});
    if (finding.tolerance > 0)
        text += Fill(texts::kToleranceFormat, {{"tolerance", std::to_string(finding.tolerance)}});
    return text;
}

std::string SubjectText(const Finding& finding) {
    if (finding.lines.empty())
        return texts::kSheetMainItemsPlace;
    if (finding.lines.size() > 1)
        return Fill(texts::kSheetPlaces, {{"page", std::to_string(finding.lines.front()->page)},
                                          {"captions", Captions(finding.lines)}});
    std::string subject = WithPart(SheetPlace(*finding.lines.front()), finding.part);
    if (finding.month)
        subject += " " + MonthText(finding.calendarMonth);
    return subject;
}

std::string TermText(const FindingTerm& term) {
    return WithPart(SheetPlace(*term.line), term.part);
}

std::string FindingLine(const Finding& finding) {
    return "[" + SeverityText(finding.severity) + "] " + SubjectText(finding) + ": " +
           WordingText(finding);
}

std::string WordingText(const Finding& finding) {
    if (!finding.note.empty())
        return finding.note;
    std::string terms;
    for (std::size_t i = 1; i < finding.terms.size(); ++i)
        terms += (i > 1 ? texts::kAnd : "") + finding.terms[i].line->caption;
    const FormItem* line = finding.lines.empty() ? nullptr : finding.lines.front();
    const FormItem* other = OtherLine(finding);
    return Fill(finding.rule->wording, {{"line", line != nullptr ? line->caption : ""},
                                        {"base", other != nullptr ? other->caption : ""},
                                        {"terms", terms}});
}

std::string AdviceText(const Finding& finding) {
    const std::vector<const FormItem*> buttons = ButtonsOf(finding);
    const char* advice = buttons.empty() && finding.rule->labelAdvice != nullptr
                             ? finding.rule->labelAdvice
                             : finding.rule->advice;
    return Fill(advice, {{"buttons", ButtonsText(buttons)}});
}

std::string TagsText(const Finding& finding) {
    std::string text;
    if (finding.terms.empty()) {
        for (const FormItem* line : finding.lines) {
            text += (text.empty() ? "" : ", ") + line->tag;
            if (finding.month) {
                const int index = *finding.month + 1;
                text += (index < 10 ? "0" : "") + std::to_string(index);
            }
        }
        return text;
    }
    for (std::size_t i = 0; i < finding.terms.size(); ++i) {
        const FindingTerm& term = finding.terms[i];
        if (i > 0 && term.line == finding.terms[i - 1].line)
            continue;
        const std::string mark = TermMark(finding, i);
        text += (mark.empty() ? (i > 0 ? ", " : "") : " " + mark + " ") + term.line->tag +
                (term.part == LinePart::kTwelveMonths ? "01-12" : "");
    }
    return text;
}

std::string TermMark(const Finding& finding, std::size_t index) {
    if (index == 0)
        return {};
    if (finding.rule->kind == RuleKind::kPartOf)
        return "<=";
    if (finding.terms[index].sign == 0)
        return {};
    const int sign = finding.terms[index].sign;
    if (index == 1)
        return sign < 0 ? "= -" : "=";
    return sign < 0 ? "-" : "+";
}

std::vector<std::string> ComparedColumns() {
    return {texts::kCaptionColumn, texts::kPreviousColumn, texts::kCurrentColumn,
            texts::kDifferenceColumn, texts::kPercentColumn};
}

std::vector<std::string> ComparedCells(const ComparedLine& line) {
    const auto amount = [](const std::optional<Amount>& value) {
        return value ? AmountText(*value) : std::string(texts::kNoLine);
    };
    const std::optional<std::int64_t> difference = DifferenceOf(line);
    const std::optional<double> percent = ChangePercentOf(line);
    return {line.line->caption, amount(line.previous), amount(line.current),
            difference ? WithSeparators(*difference) : std::string(),
            percent ? PercentText(*percent) : std::string()};
}

std::vector<std::string> SummaryColumns() {
    return {texts::kFileColumn,      texts::kCompanyLabel, texts::kPeriodLabel,
            texts::kEditionColumn,   texts::kSalesColumn,  texts::kTotalAssetsColumn,
            texts::kSeverityFinding, texts::kSeverityHint, texts::kFirstFindingColumn};
}

std::vector<std::string> SummaryCells(const SummaryRow& row) {
    if (!row.checked)
        return {row.source, texts::kUnreadableCell, "", "", "", "", "", "", row.problem};
    const Report& report = row.checked->report;
    const std::vector<Finding>& findings = row.checked->findings;
    const auto amount = [&report](const char* tag) {
        const MainItem* item = report.FindMain(tag);
        return item != nullptr ? AmountText(item->amount) : std::string();
    };
    std::string first;
    for (const Finding& finding : findings) {
        if (finding.severity == Severity::kFinding) {
            first = SubjectText(finding) + ": " + WordingText(finding);
            break;
        }
    }
    return {row.source,
            report.company,
            PeriodText(report),
            EditionText(report),
            amount("URIAGEDAKA"),
            amount("SISAN"),
            std::to_string(CountOf(findings, Severity::kFinding)),
            std::to_string(CountOf(findings, Severity::kHint)),
            first};
}

} // namespace checker
