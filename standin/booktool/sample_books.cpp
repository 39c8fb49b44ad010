#include "booktool/sample_books.h"

#include "booktool/ledger.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace bookgen {

namespace {

// Account numbers of the sample chart (standin/README.md).
enum Number : int {
    kCash = 1110,
    kChecking = 1120,
    kSavings = 1130,
    kTimeDeposit = 1140,
    kNotesReceivable = 1150,
    kReceivable = 1160,
    kGoods = 1170,
    kSupplies = 1180,
    kPrepaid = 1190,
    kShortLoan = 1200,
    kOtherReceivable = 1210,
    kSuspensePaid = 1220,
    kTaxPaid = 1230,
    kAllowance = 1240,
    kAdvances = 1250,
    kBuilding = 1310,
    kBuildingFixtures = 1320,
    kMachinery = 1330,
    kVehicles = 1340,
    kTools = 1350,
    kLand = 1360,
    kSoftware = 1370,
    kSecurities = 1380,
    kLongLoan = 1390,
    kDeposits = 1400,
    kPhoneRights = 1410,
    kFoundation = 1510,
    kNotesPayable = 2110,
    kPayable = 2120,
    kShortBorrowing = 2130,
    kDirectorLoan = 2140,
    kOtherPayable = 2150,
    kAccrued = 2160,
    kCorporateTaxDue = 2170,
    kConsumptionTaxDue = 2180,
    kAdvanceReceived = 2190,
    kWithheld = 2200,
    kTaxReceived = 2210,
    kLongBorrowing = 2310,
    kRetirement = 2320,
    kCapital = 3110,
    kCapitalReserve = 3120,
    kLegalReserve = 3130,
    kRetained = 3140,
    kSales = 4110,
    kSalesReturns = 4120,
    kCommission = 4130,
    kOpeningStock = 5110,
    kPurchases = 5120,
    kPurchaseReturns = 5130,
    kOutsourcing = 5140,
    kClosingStock = 5150,
    kMaterials = 5160,
    kLabour = 5170,
    kFactoryCosts = 5180,
    kDirectorsPay = 6110,
    kSalaries = 6120,
    kBonuses = 6130,
    kSocialInsurance = 6140,
    kWelfare = 6150,
    kFreight = 6160,
    kAdvertising = 6170,
    kEntertainment = 6180,
    kTravel = 6190,
    kCommunication = 6200,
    kUtilities = 6210,
    kConsumables = 6220,
    kTaxesAndDues = 6230,
    kDepreciation = 6240,
    kRent = 6250,
    kInsurance = 6260,
    kRepairs = 6270,
    kFees = 6280,
    kBadDebt = 6290,
    kSundry = 6300,
    kMeetings = 6310,
    kInterestIncome = 7110,
    kDividends = 7120,
    kMiscIncome = 7130,
    kInterestExpense = 7210,
    kMiscLoss = 7220,
    kGainOnSale = 8110,
    kLossOnDisposal = 8210,
    kCorporateTax = 9110,
};

struct Entry {
    int number;
    const char* name;
    uint32_t kind;
    int side;
    int hide1;
    int hide2;
    std::vector<const char*> subs;
};

std::vector<Entry> TradingChart(bool manufacturer) {
    std::vector<Entry> chart = {
        {kCash, u8"現金", 0x80881000, 1, 0, 0, {}},
        {kChecking, u8"当座預金", 0x80881000, 1, 0, 0, {}},
        {kSavings, u8"普通預金", 0x80881000, 1, 0, 0, {u8"第一港湾銀行", u8"北浜信用金庫"}},
        {kTimeDeposit, u8"定期預金", 0x80881000, 1, 0, 0, {}},
        {kNotesReceivable, u8"受取手形", 0x80882000, 1, 0, 0, {}},
        {kReceivable,
         u8"売掛金",
         0x80883000,
         1,
         0,
         0,
         {u8"株式会社青葉商店", u8"有限会社白川工業", u8"その他"}},
        {kGoods, manufacturer ? u8"製品" : u8"商品", 0x80884000, 1, 0, 0, {}},
        {kSupplies, u8"貯蔵品", 0x80884000, 1, 0, 0, {}},
        {kPrepaid, u8"前払費用", 0x80889000, 1, 0, 0, {}},
        {kShortLoan, u8"短期貸付金", 0x80885000, 1, 0, 0, {}},
        {kOtherReceivable, u8"未収入金", 0x80889000, 1, 0, 0, {}},
        {kSuspensePaid, u8"仮払金", 0x80889000, 1, 0, 0, {}},
        {kTaxPaid, u8"仮払消費税等", 0x80889000, 1, 0, 0, {}},
        {kAllowance, u8"貸倒引当金", 0x80889000, 2, 0, 0, {}},
        {kAdvances, u8"立替金", 0x80889000, 1, 1, 0, {}},
        {kBuilding, u8"建物", 0x80841000, 1, 0, 0, {}},
        {kBuildingFixtures, u8"建物附属設備", 0x80841000, 1, 0, 0, {}},
        {kMachinery, u8"機械装置", 0x80842000, 1, 0, 0, {}},
        {kVehicles, u8"車両運搬具", 0x80843000, 1, 0, 0, {}},
        {kTools, u8"工具器具備品", 0x80849000, 1, 0, 0, {}},
        {kLand, u8"土地", 0x80844000, 1, 0, 0, {}},
        {kSoftware, u8"ソフトウェア", 0x80849000, 1, 0, 0, {}},
        {kSecurities, u8"投資有価証券", 0x80849000, 1, 0, 0, {}},
        {kLongLoan, u8"長期貸付金", 0x80845000, 1, 0, 0, {}},
        {kDeposits, u8"差入保証金", 0x80849000, 1, 0, 0, {}},
        {kPhoneRights, u8"電話加入権", 0x80849000, 1, 0, 1, {}},
        {kFoundation, u8"創立費", 0x80821000, 1, 1, 1, {}},
        {kNotesPayable, u8"支払手形", 0x80481000, 2, 0, 0, {}},
        {kPayable,
         u8"買掛金",
         0x80482000,
         2,
         0,
         0,
         {u8"東邦物産株式会社", u8"株式会社西山産業", u8"その他"}},
        {kShortBorrowing, u8"短期借入金", 0x80483000, 2, 0, 0, {}},
        {kDirectorLoan, u8"役員借入金", 0x80484000, 2, 0, 0, {}},
        {kOtherPayable, u8"未払金", 0x80489000, 2, 0, 0, {}},
        {kAccrued, u8"未払費用", 0x80489000, 2, 0, 0, {}},
        {kCorporateTaxDue, u8"未払法人税等", 0x80489000, 2, 0, 0, {}},
        {kConsumptionTaxDue, u8"未払消費税等", 0x80489000, 2, 0, 0, {}},
        {kAdvanceReceived, u8"前受金", 0x80489000, 2, 0, 0, {}},
        {kWithheld, u8"預り金", 0x80485000, 2, 0, 0, {u8"源泉所得税", u8"住民税", u8"社会保険料"}},
        {kTaxReceived, u8"仮受消費税等", 0x80489000, 2, 0, 0, {}},
        {kLongBorrowing, u8"長期借入金", 0x80443000, 2, 0, 0, {u8"第一港湾銀行", u8"北浜信用金庫"}},
        {kRetirement, u8"退職給付引当金", 0x80449000, 2, 0, 0, {}},
        {kCapital, u8"資本金", 0x80201000, 2, 0, 0, {}},
        {kCapitalReserve, u8"資本準備金", 0x80202000, 2, 0, 0, {}},
        {kLegalReserve, u8"利益準備金", 0x80203000, 2, 0, 0, {}},
        {kRetained, u8"繰越利益剰余金", 0x80203000, 2, 0, 0, {}},
        {kSales, u8"売上高", 0x40888100, 2, 0, 0, {u8"卸売売上", u8"小売売上"}},
        {kSalesReturns, u8"売上値引・返品", 0x40888100, 1, 0, 0, {}},
        {kCommission, u8"手数料収入", 0x40888200, 2, 0, 0, {}},
        {kOpeningStock,
         manufacturer ? u8"期首製品棚卸高" : u8"期首商品棚卸高",
         0x40884100,
         1,
         0,
         0,
         {}},
        {kPurchases, u8"仕入高", 0x40884500, 1, 0, 0, {u8"国内仕入", u8"輸入仕入"}},
        {kPurchaseReturns, u8"仕入値引・返品", 0x40884500, 2, 0, 0, {}},
        {kOutsourcing, u8"外注費", 0x40884400, 1, 0, 0, {}},
        {kClosingStock,
         manufacturer ? u8"期末製品棚卸高" : u8"期末商品棚卸高",
         0x40884700,
         2,
         0,
         0,
         {}},
    };
    if (manufacturer) {
        chart.push_back({kMaterials, u8"材料仕入高", 0x40884200, 1, 0, 0, {}});
        chart.push_back({kLabour, u8"労務費", 0x40884300, 1, 0, 0, {}});
        chart.push_back({kFactoryCosts, u8"製造経費", 0x40884600, 1, 0, 0, {}});
    }
    const std::vector<Entry> rest = {
        {kDirectorsPay, u8"役員報酬", 0x40882100, 1, 0, 0, {}},
        {kSalaries, u8"給料手当", 0x40882200, 1, 0, 0, {}},
        {kBonuses, u8"賞与", 0x40882200, 1, 0, 0, {}},
        {kSocialInsurance, u8"法定福利費", 0x40882300, 1, 0, 0, {}},
        {kWelfare, u8"福利厚生費", 0x40882300, 1, 0, 0, {}},
        {kFreight, u8"荷造運賃", 0x40882900, 1, 0, 0, {}},
        {kAdvertising, u8"広告宣伝費", 0x40882900, 1, 0, 0, {}},
        {kEntertainment, u8"交際費", 0x40882700, 1, 0, 0, {}},
        {kTravel, u8"旅費交通費", 0x40882900, 1, 0, 0, {}},
        {kCommunication, u8"通信費", 0x40882900, 1, 0, 0, {}},
        {kUtilities, u8"水道光熱費", 0x40882800, 1, 0, 0, {}},
        {kConsumables, u8"消耗品費", 0x40882900, 1, 0, 0, {}},
        {kTaxesAndDues, u8"租税公課", 0x40882600, 1, 0, 0, {}},
        {kDepreciation, u8"減価償却費", 0x40882400, 1, 0, 0, {}},
        {kRent, u8"地代家賃", 0x40882500, 1, 0, 0, {}},
        {kInsurance, u8"保険料", 0x40882900, 1, 0, 0, {}},
        {kRepairs, u8"修繕費", 0x40882900, 1, 0, 0, {}},
        {kFees, u8"支払手数料", 0x40882900, 1, 0, 0, {}},
        {kBadDebt, u8"貸倒引当金繰入額", 0x40882900, 1, 0, 0, {}},
        {kSundry, u8"雑費", 0x40882900, 1, 0, 0, {}},
        {kMeetings, u8"会議費", 0x40882900, 1, 1, 0, {}},
        {kInterestIncome, u8"受取利息", 0x40841000, 2, 0, 0, {}},
        {kDividends, u8"受取配当金", 0x40841000, 2, 0, 0, {}},
        {kMiscIncome, u8"雑収入", 0x40841000, 2, 0, 0, {}},
        {kInterestExpense, u8"支払利息", 0x40821000, 1, 0, 0, {}},
        {kMiscLoss, u8"雑損失", 0x40821000, 1, 0, 0, {}},
        {kGainOnSale, u8"固定資産売却益", 0x40481000, 2, 0, 0, {}},
        {kLossOnDisposal, u8"固定資産除却損", 0x40441000, 1, 0, 0, {}},
        {kCorporateTax, u8"法人税、住民税及び事業税", 0x40101000, 1, 0, 0, {}},
    };
    chart.insert(chart.end(), rest.begin(), rest.end());
    return chart;
}

Ledger MakeLedger(const std::vector<Entry>& chart) {
    Ledger ledger;
    for (const Entry& e : chart) {
        ledger.Add({e.number, 0, e.name, e.kind, e.side, e.hide1, e.hide2});
        int sub = 0;
        for (const char* name : e.subs)
            ledger.Add({e.number, ++sub, name, e.kind, e.side, e.hide1, e.hide2});
    }
    return ledger;
}

int C(int number, int sub = 0) {
    return number * 10000 + sub;
}
int64_t Yen(int64_t yen) {
    return yen * kYen;
}
// Consumption tax of 10 %, cut to whole yen.
int64_t TaxOf(int64_t net) {
    return net / 10 / kYen * kYen;
}

// The first year's opening balances, in yen, scaled.
void OpeningBalances(Ledger& l, double scale) {
    auto open = [&](int code, int64_t yen) {
        l.Opening(code, static_cast<int64_t>(static_cast<double>(yen) * scale) * kYen);
    };
    open(C(kCash), 520000);
    open(C(kChecking), 8350000);
    open(C(kSavings, 1), 21400000);
    open(C(kSavings, 2), 6200000);
    open(C(kTimeDeposit), 10000000);
    open(C(kNotesReceivable), 3200000);
    open(C(kReceivable, 1), 13800000);
    open(C(kReceivable, 2), 9600000);
    open(C(kReceivable, 3), 7100000);
    open(C(kGoods), 14500000);
    open(C(kSupplies), 180000);
    open(C(kPrepaid), 420000);
    open(C(kShortLoan), 1200000);
    open(C(kOtherReceivable), 230000);
    open(C(kAllowance), 190000);
    open(C(kBuilding), 18500000);
    open(C(kBuildingFixtures), 3200000);
    open(C(kMachinery), 1200000);
    open(C(kVehicles), 3400000);
    open(C(kTools), 1100000);
    open(C(kLand), 25000000);
    open(C(kSoftware), 800000);
    open(C(kSecurities), 2000000);
    open(C(kLongLoan), 1500000);
    open(C(kDeposits), 1800000);
    open(C(kPhoneRights), 72800);
    open(C(kNotesPayable), 2800000);
    open(C(kPayable, 1), 9100000);
    open(C(kPayable, 2), 5900000);
    open(C(kPayable, 3), 3200000);
    open(C(kShortBorrowing), 5000000);
    open(C(kDirectorLoan), 3000000);
    open(C(kOtherPayable), 1250000);
    open(C(kAccrued), 680000);
    open(C(kCorporateTaxDue), 1450000);
    open(C(kConsumptionTaxDue), 1620000);
    open(C(kAdvanceReceived), 300000);
    open(C(kWithheld, 1), 185000);
    open(C(kWithheld, 2), 142000);
    open(C(kWithheld, 3), 640000);
    open(C(kLongBorrowing, 1), 28000000);
    open(C(kLongBorrowing, 2), 9000000);
    open(C(kRetirement), 2400000);
    open(C(kCapital), 10000000);
    open(C(kCapitalReserve), 2000000);
    open(C(kLegalReserve), 1500000);
    // Retained earnings make the opening balance sheet balance.
    l.Opening(C(kRetained), l.Imbalance(false));
}

struct Profile {
    double scale = 1.0;        // size of the business
    bool manufacturer = false; // materials, labour and factory costs instead of purchases
    int firstCalendarMonth = 4;
    bool interim = false; // half of the depreciation in the interim closing period
    uint64_t seed = 1;
};

// Books a sale of net amount: wholesale on account (view 1: tax to 仮受消費税等; view 2: gross).
void Sale(Ledger& l, int slot, int debitCode, int salesCode, int64_t net) {
    const int64_t tax = TaxOf(net);
    l.Debit(slot, debitCode, net + tax);
    l.CreditIn(1, slot, salesCode, net);
    l.CreditIn(1, slot, C(kTaxReceived), tax);
    l.CreditIn(2, slot, salesCode, net + tax);
}

// Books a taxable purchase or expense paid or owed through creditCode.
void Purchase(Ledger& l, int slot, int expenseCode, int creditCode, int64_t net) {
    const int64_t tax = TaxOf(net);
    l.DebitIn(1, slot, expenseCode, net);
    l.DebitIn(1, slot, C(kTaxPaid), tax);
    l.DebitIn(2, slot, expenseCode, net + tax);
    l.Credit(slot, creditCode, net + tax);
}

void Transfer(Ledger& l, int slot, int debitCode, int creditCode, int64_t raw) {
    if (raw == 0)
        return;
    l.Debit(slot, debitCode, raw);
    l.Credit(slot, creditCode, raw);
}

// The opening notes fall due in three parts, in months 1 to 3.
int64_t ThirdDue(int64_t opening, int month) {
    const int64_t third = opening / 3 / kYen * kYen;
    return month < 3 ? third : opening - 2 * third;
}

// Simulates one year of a small trading (or manufacturing) company.
void SimulateYear(Ledger& l, const Profile& p, Random& r) {
    static const double kSeason[12] = {0.94, 0.97, 1.0,  1.06, 0.9, 1.0,
                                       1.03, 1.08, 1.24, 0.84, 0.9, 1.1};
    const double s = p.scale;
    auto yen = [&](double base, double spread) {
        return r.Around(static_cast<int64_t>(base * s), spread);
    };
    const int bank = C(kSavings, 1), bank2 = C(kSavings, 2);
    int64_t lastSales[3] = {l.Balance(C(kReceivable, 1), 0), l.Balance(C(kReceivable, 2), 0),
                            l.Balance(C(kReceivable, 3), 0)};
    int64_t lastPurchases[3] = {l.Balance(C(kPayable, 1), 0), l.Balance(C(kPayable, 2), 0),
                                l.Balance(C(kPayable, 3), 0)};
    int64_t notesIn[13] = {}, notesOut[13] = {};
    int64_t lastOutsourcing = l.Balance(C(kOtherPayable), 0);
    int64_t lastWithheld[3] = {l.Balance(C(kWithheld, 1), 0), l.Balance(C(kWithheld, 2), 0),
                               l.Balance(C(kWithheld, 3), 0)};
    const int64_t openingNotesIn = l.Balance(C(kNotesReceivable), 0);
    const int64_t openingNotesOut = l.Balance(C(kNotesPayable), 0);
    for (int m = 1; m <= 12; ++m) {
        const int calendarMonth = (p.firstCalendarMonth + m - 2) % 12 + 1;
        const double season = kSeason[(calendarMonth + 8) % 12];
        // Sales: wholesale on account to three customers, retail for cash, commissions.
        const int64_t wholesale = yen(24000000 * season, 0.06);
        const int64_t shares[3] = {wholesale * 45 / 100 / kYen * kYen,
                                   wholesale * 30 / 100 / kYen * kYen, 0};
        const int64_t customers[3] = {shares[0], shares[1], wholesale - shares[0] - shares[1]};
        int64_t billed[3];
        for (int c = 0; c < 3; ++c) {
            Sale(l, m, C(kReceivable, c + 1), C(kSales, 1), customers[c]);
            billed[c] = customers[c] + TaxOf(customers[c]);
        }
        const int64_t retail = yen(4000000 * season, 0.08);
        Sale(l, m, C(kCash), C(kSales, 2), retail);
        Transfer(l, m, bank, C(kCash), retail + TaxOf(retail));
        Sale(l, m, bank2, C(kCommission), yen(150000, 0.3));
        const int64_t returns = yen(60000, 0.5);
        l.DebitIn(1, m, C(kSalesReturns), returns);
        l.DebitIn(1, m, C(kTaxReceived), TaxOf(returns));
        l.DebitIn(2, m, C(kSalesReturns), returns + TaxOf(returns));
        l.Credit(m, C(kReceivable, 3), returns + TaxOf(returns));
        // Collections of last month's invoices: 85 % by transfer, 15 % by notes due in 3 months.
        for (int c = 0; c < 3; ++c) {
            const int64_t note = c == 0 ? lastSales[c] * 15 / 100 / kYen * kYen : 0;
            Transfer(l, m, bank, C(kReceivable, c + 1), lastSales[c] - note);
            Transfer(l, m, C(kNotesReceivable), C(kReceivable, c + 1), note);
            notesIn[m] += note;
            lastSales[c] = billed[c];
        }
        if (m == 1) {
            const int64_t returnsOwed = l.Balance(C(kAdvanceReceived), 0);
            Transfer(l, m, C(kAdvanceReceived), C(kReceivable, 3), returnsOwed);
        }
        const int64_t notesDue = m <= 3 ? ThirdDue(openingNotesIn, m) : notesIn[m - 3];
        Transfer(l, m, bank, C(kNotesReceivable),
                 std::min(notesDue, l.Balance(C(kNotesReceivable), m)));
        // Purchases (materials for the manufacturer), 75 % of sales, from three suppliers; imports
        // are priced in foreign currency and carry fractions of a yen.
        const int purchaseAccount = p.manufacturer ? C(kMaterials) : C(kPurchases, 1);
        const int64_t domestic =
            (wholesale + retail) * (p.manufacturer ? 45 : 57) / 100 / kYen * kYen;
        const int64_t supplierShares[3] = {domestic * 50 / 100 / kYen * kYen,
                                           domestic * 30 / 100 / kYen * kYen, 0};
        const int64_t suppliers[3] = {supplierShares[0], supplierShares[1],
                                      domestic - supplierShares[0] - supplierShares[1]};
        int64_t owed[3];
        for (int c = 0; c < 3; ++c) {
            Purchase(l, m, purchaseAccount, C(kPayable, c + 1), suppliers[c]);
            owed[c] = suppliers[c] + TaxOf(suppliers[c]);
        }
        const int64_t imports =
            (wholesale + retail) * 15 / 100 + static_cast<int64_t>(r.Next() * kYen);
        Purchase(l, m, p.manufacturer ? C(kMaterials) : C(kPurchases, 2), C(kPayable, 3), imports);
        owed[2] += imports + TaxOf(imports);
        const int64_t purchaseReturns = yen(30000, 0.5);
        l.Debit(m, C(kPayable, 3), purchaseReturns + TaxOf(purchaseReturns));
        l.CreditIn(1, m, p.manufacturer ? C(kMaterials) : C(kPurchaseReturns), purchaseReturns);
        l.CreditIn(1, m, C(kTaxPaid), TaxOf(purchaseReturns));
        l.CreditIn(2, m, p.manufacturer ? C(kMaterials) : C(kPurchaseReturns),
                   purchaseReturns + TaxOf(purchaseReturns));
        owed[2] -= purchaseReturns + TaxOf(purchaseReturns);
        // Payments of last month's purchases: the first supplier 20 % by notes due in 3 months,
        // the rest from the checking account, refilled from the bank.
        int64_t paidByCheck = 0;
        for (int c = 0; c < 3; ++c) {
            const int64_t note = c == 0 ? lastPurchases[c] * 20 / 100 / kYen * kYen : 0;
            Transfer(l, m, C(kPayable, c + 1), C(kChecking), lastPurchases[c] - note);
            Transfer(l, m, C(kPayable, c + 1), C(kNotesPayable), note);
            notesOut[m] += note;
            paidByCheck += lastPurchases[c] - note;
            lastPurchases[c] = owed[c];
        }
        const int64_t notesPaid = m <= 3 ? ThirdDue(openingNotesOut, m) : notesOut[m - 3];
        Transfer(l, m, C(kNotesPayable), C(kChecking), notesPaid);
        Transfer(l, m, C(kChecking), bank, paidByCheck + notesPaid);
        // Outsourcing, owed at month end and paid the next month.
        Transfer(l, m, C(kOtherPayable), bank, lastOutsourcing);
        const int64_t outsourcing = yen(p.manufacturer ? 900000 : 400000, 0.2);
        Purchase(l, m, C(kOutsourcing), C(kOtherPayable), outsourcing);
        lastOutsourcing = outsourcing + TaxOf(outsourcing);
        // Payroll: withholding tax, resident tax and the employees' social insurance are held
        // back and paid the next month with the employer's share.
        const int64_t directors = Yen(static_cast<int64_t>(900000 * s));
        const int64_t staff = yen(3600000, 0.03);
        const int64_t labour = p.manufacturer ? yen(1800000, 0.03) : 0;
        const bool bonusMonth = calendarMonth == 7 || calendarMonth == 12;
        const int64_t bonus = bonusMonth ? yen(2800000, 0.02) : 0;
        const int64_t gross = directors + staff + labour + bonus;
        const int64_t withheld[3] = {gross * 4 / 100 / kYen * kYen,
                                     (directors + staff + labour) * 3 / 100 / kYen * kYen,
                                     gross * 145 / 1000 / kYen * kYen};
        l.Debit(m, C(kDirectorsPay), directors);
        l.Debit(m, C(kSalaries), staff);
        if (labour != 0)
            l.Debit(m, C(kLabour), labour);
        if (bonus != 0)
            l.Debit(m, C(kBonuses), bonus);
        l.Credit(m, bank, gross - withheld[0] - withheld[1] - withheld[2]);
        for (int w = 0; w < 3; ++w) {
            l.Credit(m, C(kWithheld, w + 1), withheld[w]);
            Transfer(l, m, C(kWithheld, w + 1), bank, lastWithheld[w]);
            lastWithheld[w] = withheld[w];
        }
        Transfer(l, m, C(kSocialInsurance), bank, withheld[2]);
        // Expenses, mostly taxable, paid from the bank or in cash.
        const bool summerOrWinter =
            calendarMonth == 7 || calendarMonth == 8 || calendarMonth == 1 || calendarMonth == 2;
        Purchase(l, m, C(kRent), bank, Yen(static_cast<int64_t>(350000 * s)));
        Purchase(l, m, C(kUtilities), bank, yen(summerOrWinter ? 128000 : 92000, 0.1));
        Purchase(l, m, C(kCommunication), bank, yen(68000, 0.1));
        Purchase(l, m, C(kFreight), bank, yen(210000 * season, 0.1));
        Purchase(l, m, C(kFees), bank2, yen(45000, 0.2));
        Purchase(l, m, C(kTravel), C(kCash), yen(120000, 0.25));
        Purchase(l, m, C(kConsumables), C(kCash), yen(80000, 0.3));
        Purchase(l, m, C(kEntertainment), C(kCash), yen(90000, 0.4));
        Purchase(l, m, C(kWelfare), C(kCash), yen(40000, 0.3));
        Purchase(l, m, C(kSundry), C(kCash), yen(15000, 0.5));
        Purchase(l, m, C(kMeetings), C(kCash), yen(8000, 0.5));
        if (m % 3 == 1)
            Purchase(l, m, C(kAdvertising), bank, yen(300000, 0.2));
        if (p.manufacturer)
            Purchase(l, m, C(kFactoryCosts), bank, yen(650000, 0.1));
        Transfer(l, m, C(kInsurance), bank, Yen(static_cast<int64_t>(60000 * s)));
        // Cash drawn from the bank to keep the till at its opening amount.
        Transfer(l, m, C(kCash), bank, l.Balance(C(kCash), 0) - l.Balance(C(kCash), m));
        // Loans: monthly repayments with interest; an employee loan repaid by instalments.
        const int64_t repay1 = Yen(static_cast<int64_t>(400000 * s));
        const int64_t repay2 = Yen(static_cast<int64_t>(150000 * s));
        const int64_t interest = (l.Balance(C(kLongBorrowing), m - 1) * 12 / 1000 / 12 +
                                  l.Balance(C(kShortBorrowing), m - 1) * 15 / 1000 / 12) /
                                 kYen * kYen;
        Transfer(l, m, C(kLongBorrowing, 1), bank, repay1);
        Transfer(l, m, C(kLongBorrowing, 2), bank2, repay2);
        Transfer(l, m, C(kInterestExpense), bank, interest);
        if (l.Balance(C(kShortLoan), m) > 0)
            Transfer(l, m, bank, C(kShortLoan), Yen(static_cast<int64_t>(100000 * s)));
        // Once-a-year items.
        if (m == 1) {
            Transfer(l, m, bank, C(kOtherReceivable), l.Balance(C(kOtherReceivable), 0));
            Transfer(l, m, C(kAccrued), bank, l.Balance(C(kAccrued), 0));
        }
        if (m == 2) {
            Transfer(l, m, C(kCorporateTaxDue), bank, l.Balance(C(kCorporateTaxDue), 0));
            Transfer(l, m, C(kConsumptionTaxDue), bank, l.Balance(C(kConsumptionTaxDue), 0));
        }
        if (m == 3) {
            // Dividend, with the legal reserve.
            const int64_t dividend = Yen(static_cast<int64_t>(1000000 * s));
            l.Debit(m, C(kRetained), dividend + dividend / 10);
            l.Credit(m, C(kLegalReserve), dividend / 10);
            l.Credit(m, bank, dividend);
        }
        if (calendarMonth == 5 || calendarMonth == 7 || calendarMonth == 12 || calendarMonth == 2)
            Transfer(l, m, C(kTaxesAndDues), bank, Yen(static_cast<int64_t>(185000 * s)));
        if (m == 3)
            Transfer(l, m, bank2, C(kDividends), Yen(static_cast<int64_t>(40000 * s)));
        if (m == 5)
            Purchase(l, m, C(kRepairs), bank, yen(280000, 0.1));
        if (m == 6) {
            Transfer(l, m, C(kTimeDeposit), bank, Yen(1000000));
            Transfer(l, m, C(kShortBorrowing), bank, l.Balance(C(kShortBorrowing), 0));
        }
        if (m == 7)
            Transfer(l, m, bank, C(kShortBorrowing), Yen(static_cast<int64_t>(5000000 * s)));
        if (m == 8) {
            Transfer(l, m, bank2, C(kMiscIncome), Yen(55000));
            Transfer(l, m, C(kSuspensePaid), bank, Yen(static_cast<int64_t>(700000 * s)));
            Purchase(l, m, C(kTools), bank, Yen(600000));
        }
        if (m == 9)
            Transfer(l, m, bank2, C(kInterestIncome), Yen(1200) + 4567);
        if (m == 10) {
            Transfer(l, m, C(kLossOnDisposal), C(kTools), Yen(45000));
            Purchase(l, m, C(kRepairs), bank, yen(150000, 0.1));
        }
        if (m == 11) {
            // A vehicle sold for 500,000 plus tax (book value 400,000), a new one bought.
            l.Debit(m, bank, Yen(550000));
            l.Credit(m, C(kVehicles), Yen(400000));
            l.CreditIn(1, m, C(kGainOnSale), Yen(100000));
            l.CreditIn(1, m, C(kTaxReceived), Yen(50000));
            l.CreditIn(2, m, C(kGainOnSale), Yen(150000));
            Purchase(l, m, C(kVehicles), C(kOtherPayable), Yen(3000000));
            lastOutsourcing += Yen(3300000);
        }
        if (m == 12)
            Transfer(l, m, C(kDirectorLoan), bank, Yen(static_cast<int64_t>(1000000 * s)));
    }
    // Closing entries: depreciation (half in the interim closing period when kept), stock,
    // allowance, accruals, consumption tax and corporate tax.
    const std::pair<int, int64_t> depreciation[] = {
        {C(kBuilding), 600000},  {C(kBuildingFixtures), 320000},
        {C(kMachinery), 240000}, {C(kVehicles), 520000},
        {C(kTools), 280000},     {C(kSoftware), 200000}};
    for (const auto& [code, amount] : depreciation) {
        const int64_t raw = Yen(static_cast<int64_t>(static_cast<double>(amount) * s));
        const int64_t interimPart = p.interim ? raw / 2 / kYen * kYen : 0;
        Transfer(l, kInterim, C(kDepreciation), code, interimPart);
        Transfer(l, kClosing, C(kDepreciation), code, raw - interimPart);
    }
    Transfer(l, kClosing, C(kOpeningStock), C(kGoods), l.Balance(C(kGoods), 0));
    Transfer(l, kClosing, C(kGoods), C(kClosingStock),
             r.Around(static_cast<int64_t>(15800000 * s), 0.05));
    Transfer(l, kClosing, C(kBadDebt), C(kAllowance), Yen(20000));
    Transfer(l, kClosing, C(kSalaries), C(kAccrued), yen(720000, 0.05));
    Transfer(l, kClosing, C(kPrepaid), C(kInsurance), Yen(30000));
    const int64_t received = l.Balance(C(kTaxReceived), 14, false);
    const int64_t paid = l.Balance(C(kTaxPaid), 14, false);
    l.DebitIn(1, kClosing, C(kTaxReceived), received);
    l.CreditIn(1, kClosing, C(kTaxPaid), paid);
    l.DebitIn(2, kClosing, C(kTaxesAndDues), received - paid);
    l.Credit(kClosing, C(kConsumptionTaxDue), received - paid);
    const int64_t profit = l.ProfitBeforeTax(false);
    const int64_t corporateTax =
        profit > 0 ? profit * 30 / 100 / (100 * kYen) * (100 * kYen) : Yen(70000);
    const int64_t prepaidTax = l.Balance(C(kSuspensePaid), 14);
    l.Debit(kClosing, C(kCorporateTax), corporateTax);
    l.Credit(kClosing, C(kSuspensePaid), prepaidTax);
    l.Credit(kClosing, C(kCorporateTaxDue), corporateTax - prepaidTax);
}

// Simulates consecutive years from the same opening balances; returns one ledger per year.
std::vector<Ledger> SimulateYears(const Profile& profile, int years) {
    std::vector<Ledger> ledgers;
    Ledger ledger = MakeLedger(TradingChart(profile.manufacturer));
    OpeningBalances(ledger, profile.scale);
    Random random(profile.seed);
    for (int y = 0; y < years; ++y) {
        if (y > 0)
            ledger = ledgers.back().CarryForward(C(kRetained));
        SimulateYear(ledger, profile, random);
        if (ledger.Imbalance(false) != 0 || ledger.Imbalance(true) != 0)
            throw std::logic_error("generated books do not balance");
        ledgers.push_back(ledger);
    }
    return ledgers;
}

DataSetInfo Info(const std::string& dataId, int dataNo, const std::string& company, int start,
                 int end) {
    DataSetInfo info;
    info.dataId = dataId;
    info.dataNo = dataNo;
    info.companyName = company;
    info.periodStart = start;
    info.periodEnd = end;
    return info;
}

const char kTradingName[] = u8"株式会社みなと商事";

BookData TradingBook() {
    Profile profile;
    profile.seed = 2024;
    std::vector<Ledger> years = SimulateYears(profile, 1);
    BookData book{"yamada", 1, 2, {}};
    book.dataSets.emplace_back(Info("MNT2024", 2, kTradingName, 20240401, 20250331), years[0]);
    return book;
}

BookData OlderFormBook() {
    Profile profile;
    profile.manufacturer = true;
    profile.scale = 0.8;
    profile.seed = 2017;
    std::vector<Ledger> years = SimulateYears(profile, 1);
    BookData book{"suzuki", 1, 5, {}};
    DataSetInfo info = Info("HKT2017", 5, u8"株式会社北斗精工", 20170401, 20180331);
    info.equityLabel = 0;
    book.dataSets.emplace_back(info, years[0]);
    return book;
}

BookData CalendarBook() {
    Profile profile;
    profile.firstCalendarMonth = 1;
    profile.scale = 0.4;
    profile.seed = 1224;
    BookData book{"tanaka", 1, 7, {}};
    DataSetInfo info = Info("SKR2024", 7, u8"有限会社さくら企画", 20240101, 20241231);
    info.taxIncludedPreset = 1;
    book.dataSets.emplace_back(info, SimulateYears(profile, 1)[0]);
    // A company closing its months on the 20th (accounting months 21st to 20th).
    Profile twentieth;
    twentieth.scale = 0.5;
    twentieth.seed = 2020;
    book.dataSets.emplace_back(Info("HGS2024", 8, u8"株式会社東雲テクノ", 20240321, 20250320),
                               SimulateYears(twentieth, 1)[0]);
    return book;
}

BookData InterimBook() {
    Profile profile;
    profile.interim = true;
    profile.scale = 0.7;
    profile.seed = 1515;
    BookData book{"sato", 1, 3, {}};
    DataSetInfo info = Info("AOI2024", 3, u8"株式会社あおい通商", 20240401, 20250331);
    info.interimClosing = 1;
    book.dataSets.emplace_back(info, SimulateYears(profile, 1)[0]);
    return book;
}

BookData StartUseBook() {
    Profile profile;
    profile.scale = 0.6;
    profile.seed = 7777;
    Ledger ledger = SimulateYears(profile, 1)[0];
    ledger.FoldInto(7);
    BookData book{"ito", 1, 4, {}};
    DataSetInfo info = Info("KZE2024", 4, u8"株式会社風見商会", 20240401, 20250331);
    info.startUseMonth = 7;
    book.dataSets.emplace_back(info, ledger);
    return book;
}

BookData PastResultsBook() {
    Profile profile;
    profile.seed = 2023;
    std::vector<Ledger> years = SimulateYears(profile, 2);
    BookData book{"yamada", 1, 1, {}};
    DataSetInfo past = Info("MNT2023P", 1, kTradingName, 20230401, 20240331);
    past.startUseMonth = 99;
    book.dataSets.emplace_back(past, years[0]);
    book.dataSets.emplace_back(Info("MNT2024", 2, kTradingName, 20240401, 20250331), years[1]);
    return book;
}

BookData SeveralYearsBook() {
    Profile profile;
    profile.seed = 2022;
    std::vector<Ledger> years = SimulateYears(profile, 3);
    BookData book{"yamada", 1, 12, {}};
    book.dataSets.emplace_back(Info("MNT2022", 11, kTradingName, 20220401, 20230331), years[0]);
    book.dataSets.emplace_back(Info("MNT2023", 12, kTradingName, 20230401, 20240331), years[1]);
    book.dataSets.emplace_back(Info("MNT2024", 13, kTradingName, 20240401, 20250331), years[2]);
    return book;
}

} // namespace

std::vector<std::string> SampleBookNames() {
    return {"trading",    "older_form",   "calendar",     "interim",
            "start_use7", "past_results", "several_years"};
}

std::string SampleBook(const std::string& name) {
    if (name == "trading")
        return WriteBook(TradingBook());
    if (name == "older_form")
        return WriteBook(OlderFormBook());
    if (name == "calendar")
        return WriteBook(CalendarBook());
    if (name == "interim")
        return WriteBook(InterimBook());
    if (name == "start_use7")
        return WriteBook(StartUseBook());
    if (name == "past_results")
        return WriteBook(PastResultsBook());
    if (name == "several_years")
        return WriteBook(SeveralYearsBook());
    return {};
}

} // namespace bookgen
