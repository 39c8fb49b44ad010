#include "support/portable/uncounted.h"

namespace testsupport {
namespace {

thread_local int uncountedDepth = 0;

} // namespace

UncountedScope::UncountedScope() {
    ++uncountedDepth;
}

UncountedScope::~UncountedScope() {
    --uncountedDepth;
}

bool AllocationsCounted() {
    return uncountedDepth == 0;
}

} // namespace testsupport
