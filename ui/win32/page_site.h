// What a page of the condition-entry sheet asks of the sheet that holds it: the conditions the
// pages edit together, the host whose accounts they map, the desktop that shows their messages,
// and the navigation buttons for the page shown.
#pragma once

#include "platform/desktop.h"
#include "platform/host.h"
#include "settings/conditions.h"

class PageSite {
  public:
    virtual AggregationConditions& Conditions() = 0;
    virtual platform::Host& Host() = 0;
    // The desktop through which the pages show their messages.
    virtual platform::Desktop& Desktop() = 0;
    // Enables Previous and Next as the page with the index wants them.
    virtual void ShowNavigationFor(int pageIndex) const = 0;

  protected:
    ~PageSite() = default;
};
