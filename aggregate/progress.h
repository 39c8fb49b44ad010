// What the long work of a run (the aggregation and the report writing) reports its progress to.
// The progress dialog implements it on Windows; tests use a recording double.
#pragma once

#include <cstdint>

class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    // Main bar range 0..1000, step 1, position 0.
    virtual void ResetMainBar() = 0;
    // Steps the main bar over start..end (both included) on the 0..1000 scale.
    virtual void AdvanceTo(std::int16_t start, std::int16_t end) = 0;
    // One run of the activity bar: a unit of work was done.
    virtual void ActivityTick() = 0;
};
