#include "ui/controls/ReportSort.h"

#include <utility>

#include "ui/controls/ReportModel.h"

std::atomic<bool> g_bListBusy{false};

namespace {

template <class T>
int Order(T a, T b)
{
    if (a < b)
        return -1;
    if (a > b)
        return 1;
    return 0;  // also for unordered values
}

// Next code point, decoding surrogate pairs; a lone surrogate stands for itself.
char32_t NextCodePoint(const QChar* p, qsizetype nLength, qsizetype& i)
{
    const char16_t c = p[i++].unicode();
    if (QChar::isHighSurrogate(c) && i < nLength && QChar::isLowSurrogate(p[i].unicode()))
        return QChar::surrogateToUcs4(c, p[i++].unicode());
    return c;
}

}  // namespace

int CompareUtf8Order(const QString& strA, const QString& strB)
{
    // UTF-8 bytes order exactly like the code points they encode, so the
    // texts are compared without converting them.
    const QChar* pA = strA.constData();
    const QChar* pB = strB.constData();
    qsizetype i = 0, j = 0;
    while (i < strA.size() && j < strB.size()) {
        const char32_t a = NextCodePoint(pA, strA.size(), i);
        const char32_t b = NextCodePoint(pB, strB.size(), j);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (i < strA.size())
        return 1;
    if (j < strB.size())
        return -1;
    return 0;
}

CReportRowComparer::CReportRowComparer(const CReportModel& model, const std::vector<ColumnSortInfo>& keys,
                                       const ReportRowReader& fnReader)
    : m_model(model), m_keys(keys), m_fnReader(fnReader)
{
}

int CReportRowComparer::CompareColumn(int nRowA, int nRowB, int nColumn) const
{
    if (nColumn == 3 || nColumn == 6 || nColumn == 7) {
        const ReportRowFields a = m_fnReader ? m_fnReader(m_model.Record(nRowA).ownerData) : ReportRowFields{};
        const ReportRowFields b = m_fnReader ? m_fnReader(m_model.Record(nRowB).ownerData) : ReportRowFields{};
        if (nColumn == 3)
            return Order(a.sizeMB, b.sizeMB);
        if (nColumn == 6)
            return Order(a.sampleRate, b.sampleRate);
        return Order(a.channels, b.channels);
    }
    return CompareUtf8Order(m_model.CellText(nRowA, nColumn), m_model.CellText(nRowB, nColumn));
}

int CReportRowComparer::CompareRows(int nRowA, int nRowB, int nColumn, size_t nKeyPosition) const
{
    for (;;) {
        const int nResult = CompareColumn(nRowA, nRowB, nColumn);
        if (nResult != 0 || nKeyPosition + 1 >= m_keys.size())
            return nResult;
        ++nKeyPosition;
        nColumn = m_keys[nKeyPosition].column;
    }
}

void CReportRowComparer::SortRowIndices(std::vector<int>& rows) const
{
    if (rows.size() > 1 && !m_keys.empty())
        QuickSort(rows, 0, static_cast<int>(rows.size()) - 1);
}

void CReportRowComparer::QuickSort(std::vector<int>& rows, int nLo, int nHi) const
{
    const int nColumn = m_keys[0].column;
    const int nSign = m_keys[0].ascending ? 1 : -1;
    while (nLo < nHi) {
        const int nPivot = rows[(nLo + nHi) / 2];
        int i = nLo, j = nHi;
        do {
            while (nSign * CompareRows(rows[i], nPivot, nColumn, 0) < 0)
                ++i;
            while (nSign * CompareRows(rows[j], nPivot, nColumn, 0) > 0)
                --j;
            if (j < i)
                break;
            if (i < j)
                std::swap(rows[i], rows[j]);
            ++i;
            --j;
        } while (i <= j);
        // Recurse into the smaller part so the depth stays logarithmic.
        if (j - nLo < nHi - i) {
            if (nLo < j)
                QuickSort(rows, nLo, j);
            nLo = i;
        } else {
            if (i < nHi)
                QuickSort(rows, i, nHi);
            nHi = j;
        }
    }
}
