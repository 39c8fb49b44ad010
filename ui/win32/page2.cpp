#include "ui/win32/page2.h"

#include "settings/settings_file.h"
#include "texts/catalogue.h"
#include "ui/page3_logic.h"
#include "ui/resources/page2_ids.h"
#include "ui/resources/page3_ids.h"
#include "ui/win32/keys.h"
#include "ui/win32/mapping_dialog.h"
#include "ui/win32/page3.h"

#include <commctrl.h>

#include <map>

namespace {

// Tooltips wrap texts wider than this many pixels.
constexpr int kTipWidth = 800;

} // namespace

ClLineButtonPage::ClLineButtonPage(int templateId, const std::vector<pages::LineControl>& controls,
                                   int pageIndex)
    : win::PropertyPage(templateId), controls_(controls), pageIndex_(pageIndex) {}

void ClLineButtonPage::ApplyCaptions(const StatementLines& lines) {
    for (const pages::ControlCaption& caption : pages::CaptionLineControls(controls_, lines)) {
        const win::Window control = Item(caption.controlId);
        control.SetText(caption.text);
        if (caption.enabled.has_value()) {
            control.Enable(*caption.enabled);
        }
    }
}

void ClLineButtonPage::SetUpTips(bool update) {
    if (site_ == nullptr || Handle() == nullptr) {
        return;
    }
    if (!update) {
        if (tips_ != nullptr) {
            return;
        }
        tips_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (tips_ == nullptr) {
            return;
        }
        ::SendMessageA(tips_, TTM_ACTIVATE, TRUE, 0);
        ::SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    }
    for (const pages::LineControl& control : controls_) {
        if (control.kind == pages::LineControlKind::kButton) {
            SetTipText(Item(control.controlId).Handle(), control.lineNo, !update);
        }
    }
}

void ClLineButtonPage::SetTipText(HWND button, std::int16_t lineNo, bool add) {
    if (tips_ == nullptr || button == nullptr) {
        return;
    }
    std::string text = mapping::describeMappedAccounts(
        site_->Conditions(), lineNo, mapping::CatalogueAccountNames(site_->Accounts()));
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = text.data();
    ::SendMessageA(tips_, add ? TTM_ADDTOOLA : TTM_UPDATETIPTEXTA, 0,
                   reinterpret_cast<LPARAM>(&tool));
}

void ClLineButtonPage::OpenMappingDialog(std::int16_t lineNo) {
    if (site_ == nullptr) {
        return;
    }
    AggregationConditions& conditions = site_->Conditions();
    if (conditions.statementLines == nullptr || conditions.mappings == nullptr) {
        return;
    }
    const StatementLine* line = pages::FindStatementLine(*conditions.statementLines, lineNo);
    if (line == nullptr) {
        return;
    }
    ClAccountMappingDialog dialog(site_->Host(), site_->Accounts());
    dialog.caption = line->name;
    dialog.lineNo = lineNo;
    dialog.lineKindCodes = line->kindCodes;
    dialog.mappings = conditions.mappings;
    dialog.defaultMappings = &conditions.defaultMappings;
    const HWND sheet = ::GetAncestor(Handle(), GA_ROOT);
    // A dialog that cannot be made leaves the mappings as they were, as a cancel would; the
    // user is told, since the button seemed to do nothing.
    switch (dialog.DoModal(sheet)) {
    case sheet::kNotShown:
        site_->Desktop().ShowMessage(sheet, texts::kOutOfMemoryMessage, texts::kAppTitle,
                                     platform::kMbIconExclamation | platform::kMbOk);
        break;
    case sheet::kFailed:
        site_->Fail(dialog.failure());
        break;
    default:
        break;
    }
}

void ClLineButtonPage::PressLineButton(const pages::LineControl& button) {
    OpenMappingDialog(button.lineNo);
    if (site_ != nullptr) {
        SetTipText(Item(button.controlId).Handle(), button.lineNo, false);
    }
}

const pages::LineControl* ClLineButtonPage::LineButtonWithId(int id) const {
    for (const pages::LineControl& control : controls_) {
        if (control.controlId == id && control.kind == pages::LineControlKind::kButton) {
            return &control;
        }
    }
    return nullptr;
}

const pages::LineControl* ClLineButtonPage::LineButtonAt(HWND window) const {
    if (window == nullptr || ::GetParent(window) != Handle()) {
        return nullptr;
    }
    return LineButtonWithId(::GetDlgCtrlID(window));
}

void ClLineButtonPage::OnSetActive() {
    if (site_ == nullptr) {
        return;
    }
    site_->ShowNavigationFor(pageIndex_);
}

bool ClLineButtonPage::OnCommand(int code, int id, HWND) {
    const pages::LineControl* button = LineButtonWithId(id);
    if (button == nullptr || code != BN_CLICKED) {
        return false;
    }
    if (site_ != nullptr) {
        PressLineButton(*button);
    }
    return true;
}

void ClLineButtonPage::OnDestroy() {
    tips_ = nullptr;
}

bool ClLineButtonPage::PreTranslate(MSG& message) {
    if (site_ == nullptr) {
        return false;
    }
    if (message.message == WM_MOUSEMOVE && tips_ != nullptr &&
        ::SendMessageA(tips_, TTM_GETTOOLCOUNT, 0, 0) > 0) {
        ::SendMessageA(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    }
    const sheet::Modifiers modifiers = win::HeldModifiers();
    const pages::LineControl* button = LineButtonAt(message.hwnd);
    switch (pages::TranslatePageKey(win::KindOfMessage(message.message),
                                    static_cast<unsigned>(message.wParam), modifiers,
                                    button != nullptr)) {
    case pages::PageKeyAction::kDefault:
        return false;
    case pages::PageKeyAction::kSwallow:
        return true;
    case pages::PageKeyAction::kPressButton:
        PressLineButton(*button);
        return true;
    }
    return false;
}

ClCEPage2::ClCEPage2(FormGeneration form)
    : ClLineButtonPage(IDD_PAGE2, pages::MainAccountControls(form), 1) {}

void ClCEPage2RV30::RelayoutMainAccountsPage() {
    std::map<int, pages::ControlRect> rects;
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = win::Window(child).RectIn(Handle());
        rects[::GetDlgCtrlID(child)] = {rect.left, rect.top, rect.right, rect.bottom};
    }
    const auto relayout = pages::RelayoutMainAccountsPage(rects);
    if (!relayout) {
        return;
    }
    for (int id : relayout->shown) {
        Item(id).Enable(true);
        Item(id).Show(SW_SHOW);
    }
    for (int id : relayout->hidden) {
        Item(id).Show(SW_HIDE);
        Item(id).Enable(false);
    }
    for (const pages::ControlMove& move : relayout->moves) {
        const pages::ControlRect& rect = rects.at(move.controlId);
        Item(move.controlId)
            .Move(move.left, move.top, rect.right - rect.left, rect.bottom - rect.top);
    }
}

void SetUpItemCaptions(ClCEPage2& page2, ClCEPage3& page3, const StatementLines& lines,
                       int equityLabel) {
    page2.Item(IDC_P2_COST_CAPTION).SetText(texts::kCostOfSalesCaption);
    page2.ApplyCaptions(lines);
    page3.ApplyCaptions(lines);
    page2.Item(IDC_P2_EQUITY_TOTAL).SetText(pages::EquityTotalCaption(equityLabel));
    page2.FinishCaptions();
}
