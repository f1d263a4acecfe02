#include "ui/controls/ReportLayoutStore.h"

#include <cstdint>
#include <vector>

#include "platform/qt/ProfileStore.h"
#include "ui/controls/ReportCtrl.h"

namespace {
const char* const kColumnValue = "Column";
const char* const kSortValue = "SortEx";
}  // namespace

void SaveReportLayout(const CReportCtrl& list, const std::string& strSection)
{
    const std::vector<uint8_t> columns = list.GetColumnRecords();
    ProfileStore::WriteBinary(strSection, kColumnValue, columns.data(), columns.size());
    const std::vector<uint8_t> keys = list.GetSortKeyRecords();
    ProfileStore::WriteBinary(strSection, kSortValue, keys.data(), keys.size());
}

void RestoreReportLayout(CReportCtrl& list, const std::string& strSection)
{
    std::vector<uint8_t> data;
    if (ProfileStore::GetBinary(strSection, kColumnValue, data))
        list.ApplyColumnRecords(data);
    data.clear();
    if (ProfileStore::GetBinary(strSection, kSortValue, data))
        list.AppendSortKeyRecords(data);
    if (list.SortKeys().empty())
        list.SortKeys().push_back(ColumnSortInfo{0, 1});
}
