#include "ui/FileListLoader.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>

#include "filelist/FileProbe.h"
#include "platform/MessageBox.h"
#include "platform/Tick.h"
#include "ui/MainStatusBar.h"
#include "ui/MainWindow.h"
#include "ui/ProcessingDlg.h"
#include "ui/controls/ReportCtrl.h"
#include "ui/controls/ReportSort.h"

namespace {

// How long Add waits for the previous loading thread to notice it was stopped.
constexpr uint32_t kLoaderStopWaitMs = 500;

QString FromUtf8(const std::string& str)
{
    return QString::fromStdString(str);
}

// Collects probed files and sends them to the window in groups.
class CRowSender
{
public:
    CRowSender(const CFileListLoadJob& job, const std::shared_ptr<CMessageTarget>& pWindow)
        : m_job(job), m_pWindow(pWindow)
    {
    }

    void Add(std::unique_ptr<CLoadedFile> pFile)
    {
        if (!m_pPending) {
            m_pPending = std::make_unique<CFileListRowsPayload>();
            m_pPending->nLoadId = m_job.nId;
            m_pPending->files.reserve(kMaxFilesPerAppend);
            m_dwFirst = GetTickCount();
        }
        m_pPending->files.push_back(std::move(*pFile));
        if (m_pPending->files.size() >= kMaxFilesPerAppend || GetTickCount() - m_dwFirst >= kMaxAppendDelayMs)
            Flush();
    }

    // A stopped load gives up waiting; the rows still arrive whole.
    void Flush()
    {
        if (m_pPending)
            m_pWindow->Send(CMessage(WM_FILELIST_APPEND, std::move(m_pPending)), &m_job.bContinue);
    }

private:
    const CFileListLoadJob& m_job;
    const std::shared_ptr<CMessageTarget>& m_pWindow;
    std::unique_ptr<CFileListRowsPayload> m_pPending;
    uint32_t m_dwFirst = 0;
};

}  // namespace

void LoadFilesThreadProc(const std::shared_ptr<CFileListLoadJob>& pJob, const std::shared_ptr<CMessageTarget>& pWindow)
{
    CRowSender sender(*pJob, pWindow);
    try {
        for (const std::string& strPath : pJob->paths) {
            if (pJob->bContinue.load(std::memory_order_acquire) == 0)
                break;
            const std::optional<FoundFile> found = FindFoundFile(strPath);
            if (!found)
                continue;
            pWindow->Post(CMessage(WM_FILELIST_READING, std::make_unique<CFileReadingPayload>(pJob->nId, strPath)));
            auto pFile = std::make_unique<CLoadedFile>();
            DescribeFoundFile(*found, pFile->info, pFile->row);
            ProbeAudioFile(found->fullPath, pFile->info, pFile->row);
            sender.Add(std::move(pFile));
        }
        sender.Flush();
    } catch (...) {
        // What was handed over stays listed; the window's finishing still runs.
        ShowMessageBox("An Error Occurred While Loading Files!", kMessageBoxCaption, MB_OK | MB_ICONERROR);
    }
    pWindow->Post(CMessage(WM_FILELIST_LOADED, std::make_unique<CFileListLoadedPayload>(pJob->nId)));
}

void CVESKDlg::OnAddFiles()
{
    StopLoad();
    const QStringList paths = m_fnChooseFiles(this);
    if (!paths.isEmpty())
        BeginLoad(paths);
}

void CVESKDlg::StopLoad()
{
    m_bBusy = 0;
    if (m_pLoad) {
        m_pLoad->bContinue.store(0, std::memory_order_release);
        // The stopped load is forgotten: its late messages no longer count.
        m_pLoad.reset();
        m_pProcessing->EndWait();
        m_pList->setUpdatesEnabled(true);
        setWindowTitle(QString::fromUtf8(kTitle));
        // A Cancel of the forgotten load raised it for a sort that will not come.
        g_bListBusy = false;
    }
    // A thread still inside a probe message box is left to end by itself:
    // it holds nothing of this window.
    if (m_pLoaderThread)
        m_pLoaderThread->Wait(kLoaderStopWaitMs);
    m_pLoaderThread.reset();
}

void CVESKDlg::BeginLoad(const QStringList& paths)
{
    std::vector<std::string> chosen;
    chosen.reserve(static_cast<size_t>(paths.size()));
    for (const QString& strPath : paths)
        chosen.push_back(strPath.toStdString());

    m_pList->setUpdatesEnabled(false);
    m_pProcessing->BeginWait();
    m_bBusy = 1;
    setWindowTitle(QString::fromUtf8(kLoadingTitle));

    m_pLoad = std::make_shared<CFileListLoadJob>(++m_nLastLoadId, std::move(chosen));
    m_pLoaderThread = CWorkerThread::CreateSuspended(
        [pJob = m_pLoad, pWindow = MessageTarget()] { LoadFilesThreadProc(pJob, pWindow); });
    m_pLoaderThread->Resume();
}

void CVESKDlg::OnFileReading(uint64_t nLoadId, const std::string& strPath)
{
    if (m_pLoad && m_pLoad->nId == nLoadId)
        m_pProcessing->setWindowTitle(QStringLiteral("Reading  ") + FromUtf8(strPath));
}

void CVESKDlg::OnFileListAppend(CFileListRowsPayload& payload)
{
    // A load that a new one replaced ends with the files it had not yet
    // handed over; they are not listed any more.
    if (!m_pLoad || m_pLoad->nId != payload.nLoadId)
        return;
    for (const CLoadedFile& file : payload.files)
        AppendRow(file);
}

void CVESKDlg::AppendRow(const CLoadedFile& file)
{
    const FileRowTexts& row = file.row;
    auto pInfo = std::make_unique<AudioFileInfo>(file.info);
    const int nImage = FileIconIndex(row.texts[COLUMN_PATH] + row.texts[COLUMN_NAME]);
    const int nRow = m_pList->InsertItem(m_pList->GetItemCount(), FromUtf8(row.texts[COLUMN_NAME]), pInfo.get(), nImage);
    if (nRow < 0)
        return;
    AudioFileInfo& info = *pInfo.release();  // the row owns it now
    for (int nColumn = COLUMN_PATH; nColumn < kFileListColumnCount; ++nColumn)
        m_pList->SetItemText(nRow, nColumn, FromUtf8(row.texts[nColumn]));
    if (row.typeInRed)
        m_pList->SetItemTextColor(nRow, COLUMN_TYPE, QColor(255, 0, 0), false);
    m_totals.Add(info);
}

void CVESKDlg::OnLoadFinished(uint64_t nLoadId)
{
    if (!m_pLoad || m_pLoad->nId != nLoadId)
        return;
    m_pProcessing->EndWait();

    m_pStatusBar->SetPaneText(0, FromUtf8(m_totals.ListText()));
    m_pStatusBar->SetPaneTip(0, FromUtf8(m_totals.ListText()));
    m_pStatusBar->SetPaneText(1, QStringLiteral(" No file selected"));
    m_pStatusBar->SetPaneTip(1, QStringLiteral("No file selected"));

    // The sort turns drawing back on and puts the arrows into the header
    // (OnReportSorted).
    m_pList->setUpdatesEnabled(true);
    m_pList->SortItems(0, m_pList->GetItemCount() - 1, true);

    m_bBusy = 0;
    m_pLoad.reset();
    SetTimer(TIMER_LIST_STATUS, kListStatusDelayMs);
    setWindowTitle(QString::fromUtf8(kTitle));
}

void CVESKDlg::OnLoadCancel()
{
    // The load stops before its next file; the rows it added stay and are
    // sorted when it has finished.
    g_bListBusy = true;
    m_bBusy = 0;
    if (m_pLoad)
        m_pLoad->bContinue.store(0, std::memory_order_release);
}

int CVESKDlg::FileIconIndex(const std::string& strPath)
{
    // Files with one extension share an icon; looking one up per file would
    // cost more than the probe.
    const QFileInfo file(FromUtf8(strPath));
    const QString strKey = file.suffix().toLower();
    const auto it = m_mapIconIndex.find(strKey);
    if (it != m_mapIconIndex.end())
        return it->second;
    const int nIndex = static_cast<int>(m_fileIcons.size());
    m_fileIcons.append(QFileIconProvider().icon(file));
    m_mapIconIndex.emplace(strKey, nIndex);
    m_pList->SetImageList(m_fileIcons);
    return nIndex;
}

QStringList CVESKDlg::ChooseFlacFiles(QWidget* pOwner)
{
    return QFileDialog::getOpenFileNames(pOwner, QString(), QString(), QStringLiteral("Flac File (*.flac)"));
}
