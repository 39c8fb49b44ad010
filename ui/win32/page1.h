// Page 1 (aggregation conditions) of the condition-entry sheet: the company and its accounting
// period, the last month of the aggregation, the tax treatment and the output file. Every change
// goes straight into the sheet's aggregation conditions; Execute validates them.
#pragma once

#include "ui/page1_logic.h"
#include "ui/win32/page_site.h"
#include "ui/win32/property_sheet.h"

#include <string>

class ClCEPage1 : public win::PropertyPage {
  public:
    ClCEPage1();

    // Header texts, set by the run sequence before the sheet is shown.
    std::string companyText;
    std::string periodText;
    // The owning sheet, set by its start-up; until then the page does nothing of its own.
    void SetSite(PageSite& site) { site_ = &site; }

    // Takes the months, the tax flag and the path from the conditions; with outputPathFixed the
    // path cannot be changed. Nothing happens while the page has no sheet.
    void FillFromConditions(bool outputPathFixed);
    // The save dialog; the chosen file becomes the output path.
    void BrowseOutputFile();
    // The field focused, its whole text selected, the insertion point in view.
    void FocusEndMonth() const;
    void FocusOutputPath() const;

    bool PreTranslate(MSG& message) override;

  protected:
    bool OnInit() override;
    void OnSetActive() override;
    bool OnCommand(int code, int id, HWND control) override;

  private:
    void ShowValues();
    page1::Control ControlOf(HWND window) const;
    void RunEnter(page1::EnterAction action);

    PageSite* site_ = nullptr;
    std::string startMonthText_;
    std::string outputPathText_;
    std::string endMonthText_;
    // Set while ShowValues puts the values into the controls: their change notifications
    // carry nothing new.
    bool showing_ = false;
};
