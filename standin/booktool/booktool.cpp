// booktool: prints the trial balance and the host totals of a book, checks that it balances,
// and writes the sample and synthetic books.
//   booktool BOOK.json [DATA_NO] [--included]
//   booktool --sample NAME      (NAME: trading, older_form, ...; "list" names them)
//   booktool --synthetic COUNT [SEED]
//   booktool --load-time BOOK.json   (the time the stand-in takes to read and parse the book)
#include "booktool/sample_books.h"
#include "standin/book.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace {

// Book texts are Shift_JIS; a terminal here takes UTF-8.
std::string ForTerminal(const std::string& sjis) {
#ifdef _WIN32
    return sjis;
#else
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return sjis;
    std::string out(sjis.size() * 3 + 1, '\0');
    char* in = const_cast<char*>(sjis.data());
    std::size_t inLeft = sjis.size();
    char* outPtr = &out[0];
    std::size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
#endif
}

std::string Yen(int64_t raw) {
    const int64_t magnitude = raw < 0 ? -raw : raw;
    char text[64];
    if (magnitude % 10000 == 0)
        std::snprintf(text, sizeof text, "%s%lld", raw < 0 ? "-" : "",
                      static_cast<long long>(magnitude / 10000));
    else
        std::snprintf(text, sizeof text, "%s%lld.%04lld", raw < 0 ? "-" : "",
                      static_cast<long long>(magnitude / 10000),
                      static_cast<long long>(magnitude % 10000));
    return text;
}

int64_t SideBalance(const standin::Figures& f, uint8_t side) {
    int64_t balance = 0;
    for (int s = 0; s < standin::kSlots; ++s)
        balance += f.debit[static_cast<std::size_t>(s)] - f.credit[static_cast<std::size_t>(s)];
    return side == 1 ? balance : -balance;
}

int64_t TotalOf(const standin::DataSet& data, uint32_t kind, bool included) {
    for (const standin::TotalRow& total : data.totals) {
        if (total.kind == kind)
            return SideBalance(included ? total.included : total.excluded, total.side);
    }
    return 0;
}

int PrintTrialBalance(const standin::DataSet& data, bool included) {
    std::printf("%s  %s  %d-%d  data %d%s\n", ForTerminal(data.dataId).c_str(),
                ForTerminal(data.companyName).c_str(), data.periodStart, data.periodEnd,
                data.dataNo, included ? "  (tax included)" : "");
    std::printf("%-10s %-36s %-8s %4s %18s %18s %18s %18s\n", "code", "name", "kind", "side",
                "opening", "debit", "credit", "closing");
    for (const standin::Account& account : data.accounts) {
        const standin::Figures& f = included ? account.included : account.excluded;
        int64_t debit = 0, credit = 0;
        for (int s = 1; s < standin::kSlots; ++s) {
            debit += f.debit[static_cast<std::size_t>(s)];
            credit += f.credit[static_cast<std::size_t>(s)];
        }
        const int64_t opening =
            account.side == 1 ? f.debit[0] - f.credit[0] : f.credit[0] - f.debit[0];
        std::printf("%-10d %-36s %08X %4d %18s %18s %18s %18s%s\n", account.code,
                    ForTerminal((account.isSub ? "  " : "") + account.name).c_str(), account.kind,
                    account.side, Yen(opening).c_str(), Yen(debit).c_str(), Yen(credit).c_str(),
                    Yen(SideBalance(f, account.side)).c_str(),
                    account.hideFlag1 != 0 || account.hideFlag2 != 0 ? "  (hidden)" : "");
    }
    std::printf("\nhost totals (balance on the total's side):\n");
    for (const standin::TotalRow& total : data.totals) {
        std::printf(
            "  %08X %s %18s\n", total.kind, total.grandTotal ? "total   " : "subtotal",
            Yen(SideBalance(included ? total.included : total.excluded, total.side)).c_str());
    }
    const int64_t assets = TotalOf(data, 0x80800000, included);
    const int64_t liabilities = TotalOf(data, 0x80400000, included);
    const int64_t capital = TotalOf(data, 0x80200000, included);
    const bool balanced = assets == liabilities + capital;
    std::printf("\nassets %s = liabilities %s + capital %s: %s\n\n", Yen(assets).c_str(),
                Yen(liabilities).c_str(), Yen(capital).c_str(),
                balanced ? "balanced" : "NOT BALANCED");
    return balanced ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr, "usage: booktool BOOK.json [DATA_NO] [--included]\n"
                         "       booktool --sample NAME|list\n"
                         "       booktool --synthetic COUNT [SEED]\n"
                         "       booktool --load-time BOOK.json\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    if (std::strcmp(argv[1], "--sample") == 0 && argc == 3) {
        if (std::strcmp(argv[2], "list") == 0) {
            for (const std::string& name : bookgen::SampleBookNames())
                std::printf("%s\n", name.c_str());
            return 0;
        }
        const std::string text = bookgen::SampleBook(argv[2]);
        if (text.empty())
            return Usage();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "--synthetic") == 0 && (argc == 3 || argc == 4)) {
        const std::string text = bookgen::SyntheticBook(
            std::atoi(argv[2]), argc == 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 1U);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    const bool timed = std::strcmp(argv[1], "--load-time") == 0;
    if (timed && argc != 3)
        return Usage();
    const char* path = timed ? argv[2] : argv[1];
    const auto started = std::chrono::steady_clock::now();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot open\n", path);
        return 2;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    standin::Book book;
    standin::BookError error;
    if (!standin::ParseBook(text, book, error)) {
        std::fprintf(stderr, "%s: %s: %s\n", path, ForTerminal(error.place).c_str(),
                     ForTerminal(error.problem).c_str());
        return 1;
    }
    if (timed) {
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - started;
        std::printf("load_ms=%.1f\n", took.count());
        return 0;
    }
    bool included = false;
    long dataNo = 0;
    bool oneDataSet = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--included") == 0) {
            included = true;
        } else {
            dataNo = std::atol(argv[i]);
            oneDataSet = true;
        }
    }
    int result = 0;
    for (const standin::DataSet& data : book.dataSets) {
        if (!oneDataSet || data.dataNo == dataNo)
            result |= PrintTrialBalance(data, included);
    }
    return result;
}
