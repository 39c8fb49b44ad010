// Host records, byte for byte as the host libraries exchange them. Each record is a plain
// byte array with typed accessors at the host's offsets; unnamed bytes belong to the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace hostrec {

template <typename T> T Load(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T> void Store(unsigned char* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

} // namespace hostrec

#define HOSTREC_FIELD(type, name, offset)                                                          \
    type name() const {                                                                            \
        return hostrec::Load<type>(bytes + (offset));                                              \
    }                                                                                              \
    void set_##name(type v) {                                                                      \
        hostrec::Store<type>(bytes + (offset), v);                                                 \
    }

#define HOSTREC_TEXT(name, offset, size)                                                           \
    static constexpr std::size_t name##Size = (size);                                              \
    const char* name() const {                                                                     \
        return reinterpret_cast<const char*>(bytes + (offset));                                    \
    }                                                                                              \
    char* name##Field() {                                                                          \
        return reinterpret_cast<char*>(bytes + (offset));                                          \
    }

// Company data record (one per data set).
struct StDATAINFO {
    unsigned char bytes[1505];

    HOSTREC_TEXT(dataId, 0, 16)
    HOSTREC_FIELD(int32_t, dataNo, 16)
    HOSTREC_TEXT(companyName, 24, 260)
    HOSTREC_FIELD(int32_t, periodStart, 284)
    HOSTREC_FIELD(int32_t, periodEnd, 288)
    HOSTREC_FIELD(int32_t, interimClosing, 304)
    HOSTREC_FIELD(int16_t, startUseMonth, 326)
    HOSTREC_FIELD(uint8_t, equityLabel, 876)
};

// Account master record.
struct StKAMOKUINFO {
    unsigned char bytes[217];

    static constexpr std::size_t kIdSize = 16;
    const unsigned char* accountId() const { return bytes; }
    void set_accountId(const unsigned char* id) { std::memcpy(bytes, id, kIdSize); }
    HOSTREC_FIELD(int32_t, code, 16)
    HOSTREC_TEXT(name, 22, 88)
    HOSTREC_FIELD(uint8_t, hideFlag1, 110)
    HOSTREC_FIELD(uint8_t, hideFlag2, 112)
    // Host bytes of the stand-in's own choosing: the account's kind code and normal side.
    HOSTREC_FIELD(uint32_t, kindCode, 116)
    HOSTREC_FIELD(uint8_t, side, 120)
};

// One row of the account-total cursor: an account or a host total.
struct StKAMOKUSUMINFO {
    unsigned char bytes[636];

    static constexpr int kSlots = 15;
    const unsigned char* accountId() const { return bytes; }
    void set_accountId(const unsigned char* id) { std::memcpy(bytes, id, 16); }
    HOSTREC_FIELD(uint8_t, subMark, 126)
    HOSTREC_FIELD(uint8_t, totalMark, 127)
    HOSTREC_FIELD(uint8_t, noMapMark, 128)
    HOSTREC_FIELD(uint8_t, side, 130)
    HOSTREC_FIELD(uint32_t, kindCode, 136)

    // Slot tables: tax-exclusive movesA / movesB at 152 / 392, tax-inclusive at 272 / 512.
    int64_t moveA(bool taxIncluded, int slot) const { return Load(taxIncluded ? 272 : 152, slot); }
    int64_t moveB(bool taxIncluded, int slot) const { return Load(taxIncluded ? 512 : 392, slot); }
    void set_moveA(bool taxIncluded, int slot, int64_t v) {
        Store(taxIncluded ? 272 : 152, slot, v);
    }
    void set_moveB(bool taxIncluded, int slot, int64_t v) {
        Store(taxIncluded ? 512 : 392, slot, v);
    }

  private:
    int64_t Load(std::size_t table, int slot) const {
        return hostrec::Load<int64_t>(bytes + table + 8 * slot);
    }
    void Store(std::size_t table, int slot, int64_t v) {
        hostrec::Store<int64_t>(bytes + table + 8 * slot, v);
    }
};

// Consumption-tax settings of a data set.
struct StSHOHIZEIINFO {
    unsigned char bytes[12];

    HOSTREC_FIELD(uint8_t, taxIncludedPreset, 5)
};

// One search term; terms lie end to end and the link of the last one is 0.
struct StFINDINFO {
    unsigned char bytes[34];

    enum Field : int32_t { kAccountCode = 2, kKindCode = 16, kAccountingMonth = 17 };
    enum Operator : int16_t { kEqual = 1, kAll = 2, kAtLeast = 4, kAtMost = 6 };
    enum ValueType : int16_t { kInt16 = 2, kInt32 = 3, kKindCodeValue = 19 };
    enum Link : int16_t { kNone = 0, kAnd = 1, kOr = 2 };

    HOSTREC_FIELD(int32_t, field, 0)
    HOSTREC_FIELD(int16_t, op, 6)
    HOSTREC_FIELD(int16_t, valueType, 10)
    HOSTREC_FIELD(int16_t, value16, 18)
    HOSTREC_FIELD(int32_t, value32, 18)
    HOSTREC_FIELD(uint32_t, kindValue, 18)
    HOSTREC_FIELD(int16_t, link, 30)
};

// Department selection of the account-total cursor; this program never passes one.
struct StBUMONINFO;

#undef HOSTREC_FIELD
#undef HOSTREC_TEXT

static_assert(sizeof(StDATAINFO) == 1505, "StDATAINFO layout");
static_assert(sizeof(StKAMOKUINFO) == 217, "StKAMOKUINFO layout");
static_assert(sizeof(StKAMOKUSUMINFO) == 636, "StKAMOKUSUMINFO layout");
static_assert(sizeof(StSHOHIZEIINFO) == 12, "StSHOHIZEIINFO layout");
static_assert(sizeof(StFINDINFO) == 34, "StFINDINFO layout");
