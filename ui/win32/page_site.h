// What a page of the condition-entry sheet asks of the sheet that holds it: the conditions the
// pages edit together, and the navigation buttons for the page shown.
#pragma once

#include "settings/conditions.h"

class PageSite {
  public:
    virtual AggregationConditions& Conditions() = 0;
    // Enables Previous and Next as the page with the index wants them.
    virtual void ShowNavigationFor(int pageIndex) const = 0;

  protected:
    ~PageSite() = default;
};
