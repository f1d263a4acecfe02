#pragma once
#include <QString>
#include <atomic>
#include <vector>

#include "ui/controls/ReportTypes.h"

class CReportModel;

// Raised while a sort rewrites the list's rows: the main window ignores row
// changes and refuses to start a conversion meanwhile.
extern std::atomic<bool> g_bListBusy;

// Orders rows by the sort keys: columns 3 (size), 6 (frequency) and 7
// (channels) by the numbers in the owner's records, every other column by its
// text, compared like strcmp on the UTF-8 bytes (case-sensitive, ordinal).
class CReportRowComparer
{
public:
    CReportRowComparer(const CReportModel& model, const std::vector<ColumnSortInfo>& keys,
                       const ReportRowReader& fnReader);

    // -1 puts row a before row b in ascending order. Ties go to the key after
    // nKeyPosition.
    int CompareRows(int nRowA, int nRowB, int nColumn, size_t nKeyPosition) const;

    // Sorts the row indices by the primary key; every key is read in the
    // primary key's direction. Not stable.
    void SortRowIndices(std::vector<int>& rows) const;

private:
    int CompareColumn(int nRowA, int nRowB, int nColumn) const;
    void QuickSort(std::vector<int>& rows, int nLo, int nHi) const;

    const CReportModel& m_model;
    const std::vector<ColumnSortInfo>& m_keys;
    const ReportRowReader& m_fnReader;
};

// -1, 0 or 1 as the UTF-8 forms of the two texts compare byte by byte.
int CompareUtf8Order(const QString& strA, const QString& strB);
