// What a page of the condition-entry sheet asks of the sheet that holds it: the conditions the
// pages edit together, the host whose accounts they map and the catalogue of those accounts, the
// desktop that shows their messages, the navigation buttons for the page shown, and the end of
// the sheet when the host fails.
#pragma once

#include "aggregate/account_catalogue.h"
#include "platform/desktop.h"
#include "platform/host.h"
#include "platform/status.h"
#include "settings/conditions.h"

class PageSite {
  public:
    virtual AggregationConditions& Conditions() = 0;
    virtual platform::Host& Host() = 0;
    virtual const AccountCatalogue& Accounts() = 0;
    // A failure that the sheet cannot do without: the sheet ends with it.
    virtual void Fail(platform::Status failure) = 0;
    // The desktop through which the pages show their messages.
    virtual platform::Desktop& Desktop() = 0;
    // Enables Previous and Next as the page with the index wants them.
    virtual void ShowNavigationFor(int pageIndex) const = 0;

  protected:
    ~PageSite() = default;
};
