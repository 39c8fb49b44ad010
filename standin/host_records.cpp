#include "standin/host_records.h"

#include <cstring>

namespace standin {

namespace {
// The book reader has checked that every text fits its field with its NUL.
void CopyText(char* field, std::size_t size, const std::string& text) {
    std::memcpy(field, text.data(), text.size() < size ? text.size() : size - 1);
}
} // namespace

void FillDataInfo(const DataSet& data, StDATAINFO& info) {
    std::memset(info.bytes, 0, sizeof info.bytes);
    CopyText(info.dataIdField(), StDATAINFO::dataIdSize, data.dataId);
    info.set_dataNo(data.dataNo);
    CopyText(info.companyNameField(), StDATAINFO::companyNameSize, data.companyName);
    info.set_periodStart(data.periodStart);
    info.set_periodEnd(data.periodEnd);
    info.set_interimClosing(data.interimClosing);
    info.set_startUseMonth(data.startUseMonth);
    info.set_equityLabel(data.equityLabel);
}

void FillAccountInfo(const Account& account, StKAMOKUINFO& info) {
    std::memset(info.bytes, 0, sizeof info.bytes);
    info.set_accountId(account.id.data());
    info.set_code(account.code);
    CopyText(info.nameField(), StKAMOKUINFO::nameSize, account.name);
    info.set_hideFlag1(account.hideFlag1);
    info.set_hideFlag2(account.hideFlag2);
    info.set_kindCode(account.kind);
    info.set_side(account.side);
}

} // namespace standin
