// Pages 2 (main accounts) and 3 (monthly sales and the like) of the condition-entry sheet: line
// buttons that open the account-mapping dialog, with tooltips that list the accounts mapped to each
// line.
#pragma once

#include "ui/page2_logic.h"
#include "ui/win32/page_site.h"
#include "ui/win32/property_sheet.h"

#include <cstdint>
#include <vector>

class ClCEPage3;

// A page of line buttons and line labels, one per statement line of its table.
class ClLineButtonPage : public win::PropertyPage {
  public:
    // The owning sheet, set by its start-up; until then the page does nothing of its own.
    void SetSite(PageSite& site) { site_ = &site; }

    // false creates the tooltips (once, at start-up), true refreshes all their texts.
    void SetUpTips(bool update);
    // Shows the mapping dialog for one line; nothing happens for a line the catalogue lacks.
    void OpenMappingDialog(std::int16_t lineNo);
    // Texts and enabled states from the statement lines.
    void ApplyCaptions(const StatementLines& lines);

    bool PreTranslate(MSG& message) override;

  protected:
    ClLineButtonPage(int templateId, const std::vector<pages::LineControl>& controls,
                     int pageIndex);

    void OnSetActive() override;
    bool OnCommand(int code, int id, HWND control) override;
    void OnDestroy() override;

  private:
    // Opens the dialog for the button's line, then refreshes the button's tooltip.
    void PressLineButton(const pages::LineControl& button);
    const pages::LineControl* LineButtonAt(HWND window) const;
    const pages::LineControl* LineButtonWithId(int id) const;
    void SetTipText(HWND button, std::int16_t lineNo, bool add);

    PageSite* site_ = nullptr;
    const std::vector<pages::LineControl>& controls_;
    int pageIndex_;
    HWND tips_ = nullptr;
};

class ClCEPage2 : public ClLineButtonPage {
  public:
    ClCEPage2() : ClCEPage2(FormGeneration::k16) {}
    // Layout work that ends the sheet's caption set-up.
    virtual void FinishCaptions() {}

  protected:
    explicit ClCEPage2(FormGeneration form);
};

class ClCEPage2RV30 : public ClCEPage2 {
  public:
    ClCEPage2RV30() : ClCEPage2(FormGeneration::k30) {}
    void FinishCaptions() override { RelayoutMainAccountsPage(); }

  private:
    void RelayoutMainAccountsPage();
};

// The sheet's caption set-up of the generation's pages 2 and 3: line captions, the two fixed
// texts of page 2, and for the newer generation the relayout of page 2.
void SetUpItemCaptions(ClCEPage2& page2, ClCEPage3& page3, const StatementLines& lines,
                       int equityLabel);
