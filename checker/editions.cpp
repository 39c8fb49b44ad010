#include "checker/editions.h"

#include "checker/text_decode.h"

namespace checker {

const Edition* const* Editions() {
    static const Edition* const kEditions[] = {&kEditionIvy, &kEditionOak, &kEditionElm, nullptr};
    return kEditions;
}

const Edition* EditionOf(const std::string& programName) {
    for (const Edition* const* edition = Editions(); *edition != nullptr; ++edition) {
        if (ShiftJisToUtf8Lenient((*edition)->defaultProductName) == programName)
            return *edition;
    }
    return nullptr;
}

std::string EditionText(const Report& report) {
    const Edition* edition = EditionOf(report.programName);
    return edition != nullptr ? edition->dataPrefix : report.programName;
}

} // namespace checker
