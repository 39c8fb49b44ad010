// Fuzz target of the stand-in host's book reader: any bytes are either refused with a place
// and a problem, or give a book whose texts fit the host records.
#include "standin/book.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    standin::Book book;
    standin::BookError error;
    if (!standin::ParseBook(text, book, error)) {
        if (error.place.empty() || error.problem.empty())
            std::abort();
        return 0;
    }
    if (book.userId.size() > 64 || book.dataSets.empty())
        std::abort();
    for (const standin::DataSet& set : book.dataSets) {
        if (set.dataId.empty() || set.dataId.size() > 15 || set.companyName.size() > 259)
            std::abort();
        for (const standin::Account& account : set.accounts) {
            if (account.name.size() > 87 || account.code <= 0 ||
                (account.side != 1 && account.side != 2))
                std::abort();
        }
    }
    return 0;
}
