// The main window's commands on list entries: open, properties, remove,
// select all and rename.
#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "filelist/AudioFileInfo.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "ui/FileProperties.h"
#include "ui/MainWindow.h"
#include "ui/controls/ReportCtrl.h"

namespace {

// A name the rename may give: one directory entry in the entry's own folder.
bool IsPlainFileName(const std::string& strName)
{
    return !strName.empty() && strName != "." && strName != ".." && strName.find('/') == std::string::npos &&
           strName.find('\0') == std::string::npos;
}

}  // namespace

std::string CVESKDlg::EntryFolder(int nRow) const
{
    return m_pList->GetItemText(nRow, COLUMN_PATH).toStdString();
}

std::string CVESKDlg::EntryName(int nRow) const
{
    return m_pList->GetItemText(nRow, COLUMN_NAME).toStdString();
}

int CVESKDlg::FirstSelectedRow() const
{
    return m_pList->GetNextItem(RC_ITEM_SELECTED, -1);
}

int CVESKDlg::RowOfEntry(const void* pInfo) const
{
    for (int nRow = 0; nRow < m_pList->GetItemCount(); ++nRow)
        if (m_pList->GetItemData(nRow) == pInfo)
            return nRow;
    return -1;
}

bool CVESKDlg::RefuseWhileLoading() const
{
    // Rows come and go only when no load is appending and sorting them.
    if (!IsLoading())
        return false;
    QApplication::beep();
    return true;
}

void CVESKDlg::RemoveEntry(int nRow)
{
    auto* pInfo = static_cast<AudioFileInfo*>(m_pList->GetItemData(nRow));
    m_pList->DeleteItem(nRow, false);
    if (pInfo) {
        m_totals.Remove(*pInfo);
        delete pInfo;
    }
}

void CVESKDlg::OnFileOpen()
{
    const int nRow = FirstSelectedRow();
    if (nRow < 0)
        return;
    const std::string strPath = EntryFolder(nRow) + EntryName(nRow);
    if (PathExists(strPath)) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(strPath))))
            ShowMessageBox("There is no application associated with the given file name extension.",
                           kMessageBoxCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    // Rows may move (a load finishing its sort) while the question is open:
    // the entry is found again by its record.
    const void* pEntry = m_pList->GetItemData(nRow);
    if (ShowMessageBox("File NOT Found!  Remove It from the List?", kMessageBoxCaption, MB_YESNO | MB_ICONWARNING) !=
        IDYES)
        return;
    const int nNow = RowOfEntry(pEntry);
    if (nNow < 0 || RefuseWhileLoading())
        return;
    m_bBusy = 1;
    RemoveEntry(nNow);
    RefreshListStatus();
    m_bBusy = 0;
}

void CVESKDlg::OnProperties()
{
    const int nRow = FirstSelectedRow();
    if (nRow >= 0)
        ShowFileProperties(QString::fromStdString(EntryFolder(nRow) + EntryName(nRow)), this);
}

void CVESKDlg::OnRemoveSelected()
{
    if (RefuseWhileLoading())
        return;
    m_bBusy = 1;
    m_pList->setUpdatesEnabled(false);
    for (int nRow = FirstSelectedRow(); nRow >= 0; nRow = FirstSelectedRow())
        RemoveEntry(nRow);
    RefreshListStatus();
    m_pList->setUpdatesEnabled(true);
    m_bBusy = 0;
}

void CVESKDlg::OnRemoveAll()
{
    if (RefuseWhileLoading())
        return;
    m_bBusy = 1;
    m_pList->setUpdatesEnabled(false);
    while (m_pList->GetItemCount() > 0)
        RemoveEntry(0);
    RefreshListStatus();
    m_pList->setUpdatesEnabled(true);
    m_bBusy = 0;
}

void CVESKDlg::OnSelectAll()
{
    // Selecting changes no row, so it is fine during a load; it leaves the
    // load's busy state as it was.
    const int bWasBusy = m_bBusy;
    m_bBusy = 1;
    m_pList->SetAllItemStates(RC_ITEM_ALL, RC_ITEM_SELECTED);
    m_bBusy = bWasBusy;
    RefreshSelectionStatus();
}

void CVESKDlg::OnRename()
{
    const int nRow = FirstSelectedRow();
    if (nRow < 0)
        return;
    m_pList->BeginEdit(nRow, COLUMN_NAME);  // notes the old name itself, after ending any other edit
}

void CVESKDlg::OnReportEdited(int nRow, int nColumn)
{
    if (nColumn != COLUMN_NAME)
        return;
    const std::string strFolder = EntryFolder(nRow);
    const std::string strNewName = EntryName(nRow);
    // Never replaces another file, and never moves the file out of its folder.
    if (IsPlainFileName(strNewName) &&
        RenameNoReplace(strFolder + m_pList->m_strPreEditText.toStdString(), strFolder + strNewName))
        return;
    const void* pEntry = m_pList->GetItemData(nRow);
    const QString strOldName = m_pList->m_strPreEditText;
    ShowMessageBox("Fail to Rename File!", kMessageBoxCaption, MB_OK);
    if (const int nNow = RowOfEntry(pEntry); nNow >= 0)
        m_pList->SetItemText(nNow, COLUMN_NAME, strOldName);
}
