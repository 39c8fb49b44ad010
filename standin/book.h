// The books the stand-in host serves: company data sets with their charts of accounts and
// monthly figures, read from a JSON book file (format in standin/README.md).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// Slots as the account-total cursor delivers them: 0 opening, 1 to 12 the fiscal months,
// 13 the year-end closing period (month code 18), 14 the interim closing period (code 15).
constexpr int kSlots = 15;
constexpr int kClosingSlot = 13;
constexpr int kInterimSlot = 14;

// Amounts are raw ten-thousandths of a yen.
struct Figures {
    std::array<int64_t, kSlots> debit{};
    std::array<int64_t, kSlots> credit{};
};

using AccountId = std::array<unsigned char, 16>;

struct Account {
    int32_t code = 0;
    std::string name; // Shift_JIS
    uint32_t kind = 0;
    uint8_t side = 1;
    uint8_t hideFlag1 = 0;
    uint8_t hideFlag2 = 0;
    AccountId id{};
    bool isSub = false;
    Figures excluded; // tax-exclusive
    Figures included; // tax-inclusive
};

// A host total row of one data set.
struct TotalRow {
    uint32_t kind = 0;
    uint8_t side = 1;
    bool grandTotal = false;
    AccountId id{};
    Figures excluded;
    Figures included;
};

struct DataSet {
    std::string dataId;      // Shift_JIS, at most 15 bytes
    std::string companyName; // Shift_JIS, at most 259 bytes
    int32_t dataNo = 0;
    int32_t periodStart = 0;
    int32_t periodEnd = 0;
    int32_t interimClosing = 0;
    int16_t startUseMonth = 1;
    uint8_t equityLabel = 0;
    uint8_t taxIncludedPreset = 0;
    // Main accounts each followed by their sub-accounts, in the book's order.
    std::vector<Account> accounts;
    std::vector<TotalRow> totals;
};

struct Book {
    std::string userId; // Shift_JIS, at most 64 bytes
    int32_t selectedFirst = 0;
    int32_t selectedDataNo = 0;
    std::vector<DataSet> dataSets;
};

// Where a book went wrong: place is a line and column or a JSON pointer such as
// "/dataSets/0/accounts/3/kind"; problem is Shift_JIS.
struct BookError {
    std::string place;
    std::string problem;
};

// Reads a book from the bytes of a book file. False with error filled when the text is not a
// valid book; book is then unspecified.
bool ParseBook(const std::string& text, Book& book, BookError& error);

// The stable identifier of an account code, the same in every run and every data set.
AccountId AccountIdOf(int32_t code);

} // namespace standin
