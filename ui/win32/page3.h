// Page 3 (monthly sales and the like) of the condition-entry sheet: eight line buttons of the
// monthly lines.
#pragma once

#include "ui/win32/page2.h"

class ClCEPage3 : public ClLineButtonPage {
  public:
    ClCEPage3() : ClCEPage3(FormGeneration::k16) {}

  protected:
    explicit ClCEPage3(FormGeneration form);
};

class ClCEPage3RV30 : public ClCEPage3 {
  public:
    ClCEPage3RV30() : ClCEPage3(FormGeneration::k30) {}
};
