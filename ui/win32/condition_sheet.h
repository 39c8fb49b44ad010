// The condition-entry sheet: three pages over one set of aggregation conditions, with a bar of
// four buttons (also driven by F5, F6, F12 and Esc) in place of the framework's OK, Cancel and
// Apply. Shown modally; returns sheet::kExecute when the user executes, sheet::kCancel when the
// user cancels, and sheet::kFailed when a failure of the host ended it.
#pragma once

#include "settings/conditions.h"
#include "ui/condition_sheet_logic.h"
#include "ui/win32/page1.h"
#include "ui/win32/page3.h"
#include "ui/win32/property_sheet.h"

#include <string>

class ClConditionEntrySheet : public win::PropertySheet, public PageSite, private sheet::SheetView {
  public:
    // The data files the sheet reads at its start: the default mappings and the statement
    // lines of its form generation.
    struct DataFiles {
        std::string defaultMappingPath;
        std::string formItemPath;
    };

    // The pages are those of the form generation.
    ClConditionEntrySheet(std::string caption, HWND parent, int firstPage, FormGeneration form,
                          platform::Host& host, const AccountCatalogue& accounts,
                          platform::Desktop& desktop, platform::FileSystem& files,
                          DataFiles dataFiles);
    ~ClConditionEntrySheet() override;

    AggregationConditions& Conditions() override { return conditions_; }
    platform::Host& Host() override { return host_; }
    const AccountCatalogue& Accounts() override { return accounts_; }
    void Fail(platform::Status failure) override { controller_.Fail(std::move(failure)); }
    platform::Desktop& Desktop() override { return desktop_; }
    ClCEPage1& Page1() { return page1_; }

    // Creates the sheet, runs its start-up and its modal loop, and ends its work with the host:
    // kExecute, kCancel or kFailed (kNotShown when the window could not be created).
    int DoModal();
    // What ended the sheet with kFailed, else the first failure it could do without.
    const platform::Status& Cause() const { return controller_.cause(); }

    // Enables Previous and Next as the page with the index wants them.
    void ShowNavigationFor(int pageIndex) const override;

    bool PreTranslate(MSG& message) override;

  private:
    void OnCreated() override;
    bool OnSheetMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnSheetDestroy() override;

    void CreateButtonBar();
    void LayOutButtonBar();
    bool RunCommand(int command);
    void Go(int pageIndex);
    ClCEPage2& Page2();
    ClCEPage3& Page3();

    // sheet::SheetView
    platform::WindowHandle Owner() override { return Handle(); }
    void FocusEndMonth() override;
    void FocusOutputPath() override;
    void BrowseOutputFile() override;
    void Close(int result) override { EndModal(result); }

    ClCEPage1 page1_;
    ClCEPage2 page2_;
    ClCEPage2RV30 page2Rv30_;
    ClCEPage3 page3_;
    ClCEPage3RV30 page3Rv30_;
    AggregationConditions conditions_;

    std::string caption_;
    HWND parent_;
    int firstPage_;
    platform::Host& host_;
    const AccountCatalogue& accounts_;
    platform::Desktop& desktop_;
    platform::FileSystem& files_;
    DataFiles dataFiles_;
    sheet::Controller controller_;
};
