#include "ui/ConvLog.h"

#include <cstdint>
#include <ctime>

#include "batch/ProgressText.h"
#include "engine/ConvRunState.h"
#include "ui/controls/ReportCtrl.h"

namespace {

// Lines logged in this run of the program; only the user-interface thread
// touches it.
int g_nLogLines = 0;

void* KindData(int nKind)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int16_t>(nKind)));
}

}  // namespace

CConvLog::CConvLog(CReportCtrl& list) : m_list(list) {}

void CConvLog::SetUp()
{
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP);
    m_list.SetSortable(false);
    m_list.InsertColumn(kKindColumn, QString(), LVCFMT_LEFT, 0);
    m_list.InsertColumn(kNumberColumn, QStringLiteral("#"), LVCFMT_CENTER, 55);
    m_list.InsertColumn(kTimeColumn, QStringLiteral("Time"), LVCFMT_CENTER, 63);
    m_list.InsertColumn(kDescriptionColumn, QStringLiteral("Description"), LVCFMT_LEFT, 500);
    m_list.ShowColumn(kKindColumn, false);
}

void CConvLog::AddLine(const QString& strText, int nKind)
{
    const int nNumber = ++g_nLogLines;
    const QString strTime = QString::fromStdString(FormatLogTime(std::time(nullptr)));
    const int nRow = m_list.InsertItem(m_list.GetItemCount(), QString(), KindData(nKind));
    m_list.SetItemText(nRow, kNumberColumn, QString::fromStdString(FormatLogNumber(nNumber)));
    m_list.SetItemText(nRow, kTimeColumn, strTime);
    m_list.SetItemText(nRow, kDescriptionColumn, strText);
    OnCustomDrawLog(nRow);
    // The new line is the last row: only the vertical position changes.
    m_list.scrollToBottom();
}

void CConvLog::Clear()
{
    m_list.DeleteItems(RC_ITEM_ALL);
}

void CConvLog::FitDescription()
{
    m_list.AutoSizeColumns(kDescriptionColumn, false);
}

int CConvLog::LineKind(int nRow) const
{
    return static_cast<int16_t>(reinterpret_cast<intptr_t>(m_list.GetItemData(nRow)));
}

QColor CConvLog::KindColour(int nKind)
{
    switch (nKind) {
    case LOG_INFO:
        return QColor(0, 0, 255);
    case LOG_WARNING:
        return QColor(153, 0, 0);
    case LOG_ERROR:
        return QColor(255, 0, 0);
    default:
        return {};
    }
}

QColor CConvLog::RowBackground(int nRow)
{
    return nRow % 2 != 0 ? QColor(243, 245, 252) : QColor(255, 255, 255);
}

void CConvLog::OnCustomDrawLog(int nRow)
{
    m_list.SetItemBkColor(nRow, -1, RowBackground(nRow), false);
    m_list.SetItemTextColor(nRow, -1, KindColour(LineKind(nRow)));
}
