#include "ui/ConvProg.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProgressBar>
#include <QUrl>
#include <exception>
#include <stdexcept>

#include "batch/ProgressText.h"
#include "platform/MessageBox.h"
#include "platform/Tick.h"
#include "platform/qt/Icons.h"
#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "ui/controls/ReportCtrl.h"

namespace {

// Progress messages handled in this run of the program; the times and speeds
// follow every tenth.
uint64_t g_nProgressMessages = 0;

void OpenInFileBrowser(const std::string& strFolder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(strFolder)));
}

CConvProg::FolderOpener& FolderOpenerSlot()
{
    static CConvProg::FolderOpener s_fnOpener = OpenInFileBrowser;
    return s_fnOpener;
}

QWidget* CreateProgressControl(const DialogControl& control, QWidget* pParent)
{
    return control.nId == IDC_LOG ? new CReportCtrl(pParent) : nullptr;
}

template <class T>
T* RequiredControl(const CTemplateDialog& dialog, int nId)
{
    T* pControl = dialog.GetDlgItemAs<T>(nId);
    if (!pControl)
        throw std::logic_error("progress window template lacks control " + std::to_string(nId));
    return pControl;
}

double SecondsSince(uint32_t dwStart, uint32_t dwNow)
{
    return static_cast<uint32_t>(dwNow - dwStart) / 1000.0;
}

// Waits for a worker that has been told to stop. A worker may be waiting for
// a message box, which the application object shows on this thread: those
// requests are served meanwhile, nothing else.
void WaitUntilEnded(const std::shared_ptr<CWorkerThread>& pThread)
{
    if (!pThread)
        return;
    while (!pThread->Wait(20)) {
        if (QCoreApplication* pApp = QCoreApplication::instance())
            QCoreApplication::sendPostedEvents(pApp, QEvent::MetaCall);
    }
}

}  // namespace

CConvProg::CConvProg(QWidget* pParent)
    : CTemplateDialog(IDD_PROGRESS, pParent, CreateProgressControl),
      m_pCurrentBar(RequiredControl<QProgressBar>(*this, IDC_CURRENT_BAR)),
      m_pOverallBar(RequiredControl<QProgressBar>(*this, IDC_OVERALL_BAR)),
      m_pLogList(RequiredControl<CReportCtrl>(*this, IDC_LOG)),
      m_log(*m_pLogList)
{
}

CConvProg::~CConvProg()
{
    // The workers use this object until they end; with the flag clear every
    // stage loop ends on its own and no worker waits for this window.
    m_bRunning.store(0, std::memory_order_release);
    WaitUntilEnded(m_pBatchThread.Get());
    WaitUntilEnded(m_pEffectsThread.Get());
    WaitUntilEnded(m_pEncoderThread.Get());
}

CConvProg::FolderOpener CConvProg::SetFolderOpener(FolderOpener fnOpener)
{
    FolderOpener fnPrevious = std::move(FolderOpenerSlot());
    FolderOpenerSlot() = fnOpener ? std::move(fnOpener) : FolderOpener(OpenInFileBrowser);
    return fnPrevious;
}

// ------------------------------------------------------------ initialisation

void CConvProg::OnInitDialog()
{
    CResizeDlg::OnInitDialog(this);
    setWindowIcon(LoadIconResource(IDI_APP));

    g_pConvProg = this;
    m_bPaused.store(0, std::memory_order_release);
    m_bRunning.store(0, std::memory_order_release);
    for (QProgressBar* pBar : {m_pCurrentBar, m_pOverallBar}) {
        pBar->setRange(0, 100);
        pBar->setValue(0);
    }
    m_fCurrentSeconds.store(0.0f, std::memory_order_release);
    m_fOverallSeconds.store(0.0f, std::memory_order_release);
    m_nCurrentTask.store(0, std::memory_order_release);
    m_nCurrentDone.store(0, std::memory_order_release);
    m_nOverallDone.store(0, std::memory_order_release);

    m_log.SetUp();
    AddAnchors();
    SwallowEscapeAndEnter();
    RestorePlacement();

    SetMessageTarget(CMessageWindow::MessageTarget());
    PostProgress(0.0f, 0.0f, false);
    m_bRunning.store(1, std::memory_order_release);
    StartBatchThread();
}

void CConvProg::AddAnchors()
{
    for (int nId : {IDC_CURRENT_GROUP, IDC_OVERALL_GROUP, IDC_CURRENT_BAR, IDC_OVERALL_BAR, IDC_SOURCE,
                    IDC_DESTINATION})
        AddAnchor(nId, ANCHOR_STRETCH, ANCHOR_STRETCH, ANCHOR_NONE, ANCHOR_NONE);
    for (int nId : {IDC_CLEAR, IDC_PAUSE, IDC_CANCEL})
        AddAnchor(nId, ANCHOR_CENTER, ANCHOR_CENTER, ANCHOR_MOVE, ANCHOR_MOVE);
    for (int nId : {IDC_CURRENT_DONE_LABEL, IDC_OVERALL_DONE_LABEL, IDC_CURRENT_SPEED_LABEL,
                    IDC_OVERALL_SPEED_LABEL, IDC_CURRENT_ELAPSED_LABEL, IDC_OVERALL_ELAPSED_LABEL,
                    IDC_CURRENT_ETA_LABEL, IDC_OVERALL_ETA_LABEL, IDC_CURRENT_SPEED, IDC_OVERALL_SPEED,
                    IDC_CURRENT_ELAPSED, IDC_OVERALL_ELAPSED, IDC_CURRENT_ETA, IDC_OVERALL_ETA, IDC_OVERALL_DONE})
        AddAnchor(nId, ANCHOR_CENTER, ANCHOR_CENTER, ANCHOR_NONE, ANCHOR_NONE);
    // The value that changes with every message paints its own background.
    AddAnchor(IDC_CURRENT_DONE, ANCHOR_CENTER, ANCHOR_CENTER, ANCHOR_NONE, ANCHOR_NONE, 1);
    AddAnchor(IDC_LOG, ANCHOR_STRETCH, ANCHOR_STRETCH, ANCHOR_STRETCH, ANCHOR_STRETCH);
}

void CConvProg::RestorePlacement()
{
    try {
        m_placementStore.Restore(this, kPlacementKey, kPlacementSection);
    } catch (const std::exception&) {
        m_placementStore.ApplyDefault(this);
    }
}

QWidget* CConvProg::FindAnchorControl(int nCtrlId) const
{
    return GetDlgItem(nCtrlId);
}

void CConvProg::OnDestroy()
{
    CResizeDlg::OnDestroy();
    m_placementStore.Save(this, kPlacementKey, kPlacementSection);
}

// ------------------------------------------------------------------ messages

void CConvProg::OnMessage(CMessage& msg)
{
    // The message owns its payload and frees it after this handler.
    switch (msg.Id()) {
    case WM_CONV_PROGRESS:
        if (const auto* pProgress = msg.Payload<CProgressPayload>())
            OnProgress(pProgress->fCurrent, pProgress->fOverall);
        break;
    case WM_CONV_LOG:
        if (const auto* pLine = msg.Payload<CLogPayload>())
            OnLogLine(pLine->strText, pLine->nKind);
        break;
    case WM_CONV_FINISHED:
        OnFinished();
        break;
    default:
        break;
    }
}

void CConvProg::ShowText(int nId, const std::string& strText)
{
    CTemplateDialog::SetDlgItemText(nId, QString::fromStdString(strText));
}

void CConvProg::OnProgress(float fCurrent, float fOverall)
{
    if (!m_bRunning.load(std::memory_order_acquire))
        return;
    ++g_nProgressMessages;
    fCurrent = CapPercent(fCurrent);
    fOverall = CapPercent(fOverall);

    ShowText(IDC_CURRENT_DONE, FormatPercent(fCurrent));
    ShowText(IDC_OVERALL_DONE, FormatPercent(fOverall));
    m_pOverallBar->setValue(static_cast<int>(fOverall));
    m_pCurrentBar->setValue(static_cast<int>(fCurrent));

    if (g_nProgressMessages % 10 != 0)
        return;
    const uint32_t dwNow = GetTickCount();
    const double dFile = SecondsSince(m_dwFileStart.load(std::memory_order_acquire), dwNow);
    const double dBatch = SecondsSince(m_dwBatchStart.load(std::memory_order_acquire), dwNow);
    if (dFile <= 0.1)
        return;
    ShowText(IDC_CURRENT_ELAPSED, FormatHms(dFile));
    if (fCurrent > 0.0f)
        ShowText(IDC_CURRENT_ETA, FormatHms(RemainingSeconds(dFile, fCurrent)));
    ShowText(IDC_OVERALL_ELAPSED, FormatHms(dBatch));
    if (fOverall > 0.0f)
        ShowText(IDC_OVERALL_ETA, FormatHms(RemainingSeconds(dBatch, fOverall)));
    ShowText(IDC_CURRENT_SPEED, FormatSpeed(m_fCurrentSeconds.load(std::memory_order_acquire), dFile));
    ShowText(IDC_OVERALL_SPEED, FormatSpeed(m_fOverallSeconds.load(std::memory_order_acquire), dBatch));
}

void CConvProg::OnLogLine(const std::string& strText, int nKind)
{
    AddLogLine(QString::fromStdString(strText), nKind);
}

void CConvProg::AddLogLine(const QString& strText, int nKind)
{
    m_log.AddLine(strText, nKind);
}

void CConvProg::OnFinished()
{
    m_bRunning.store(0, std::memory_order_release);
    ShowText(IDC_CURRENT_DONE, "100.00%");
    ShowText(IDC_OVERALL_DONE, "100.00%");
    m_pCurrentBar->setValue(100);
    m_pOverallBar->setValue(100);
    ShowText(IDC_CURRENT_ETA, "00:00:00");
    ShowText(IDC_OVERALL_ETA, "00:00:00");

    GetDlgItem(IDC_PAUSE)->setEnabled(true);
    ShowText(IDC_PAUSE, "Open Dir");
    ShowText(IDC_CANCEL, "Finish");
    setWindowTitle(QStringLiteral("Finished Converting"));
    AddLogLine(QStringLiteral("Finished converting, all done"), LOG_INFO);
}

void CConvProg::OnTimer(int nId)
{
    if (nId != 1)
        return;
    if (m_bRunning.load(std::memory_order_acquire))
        m_log.FitDescription();
    else
        KillTimer(1);
}

// ------------------------------------------------------------------- buttons

void CConvProg::OnCommand(int nId)
{
    switch (nId) {
    case IDC_PAUSE:
        OnPauseResume();
        break;
    case IDC_CLEAR:
        OnClearLog();
        break;
    default:
        CTemplateDialog::OnCommand(nId);
        break;
    }
}

void CConvProg::OnPauseResume()
{
    if (!m_bRunning.load(std::memory_order_acquire)) {
        FolderOpenerSlot()(g_settings.outputFolder);
        return;
    }
    const bool bPaused = m_bPaused.load(std::memory_order_acquire) == 0;
    m_bPaused.store(bPaused ? 1 : 0, std::memory_order_release);
    ShowText(IDC_PAUSE, bPaused ? "Resume" : "Pause");
}

void CConvProg::OnClearLog()
{
    m_log.Clear();
}

void CConvProg::OnCancel()
{
    if (m_bRunning.load(std::memory_order_acquire)) {
        // The encoder takes no samples while the user decides; No gives back
        // the pause state the button shows.
        const int32_t bWasPaused = m_bPaused.exchange(1, std::memory_order_acq_rel);
        if (ShowMessageBox("Do You Want to Cancel?", kMessageBoxCaption, MB_YESNO) != IDYES) {
            m_bPaused.store(bWasPaused, std::memory_order_release);
            return;
        }
        m_bRunning.store(0, std::memory_order_release);
        GetDlgItem(IDC_PAUSE)->setEnabled(false);
        GetDlgItem(IDC_CANCEL)->setEnabled(false);
        setWindowTitle(QStringLiteral("Aborting, Please Wait..."));
        // A thread still running afterwards ends by itself; the destructor waits for it.
        WaitForThreads(kCancelWaitMs);
    }
    EndDialog(0);
}

// ---------------------------------------------- display operations (workers)

void CConvProg::SetWindowText(const std::string& strText)
{
    RunOnWindowThread([this, strTitle = QString::fromStdString(strText)] { setWindowTitle(strTitle); }, &m_bRunning);
}

void CConvProg::SetDlgItemText(int nId, const std::string& strText)
{
    RunOnWindowThread(
        [this, nId, strValue = QString::fromStdString(strText)] { CTemplateDialog::SetDlgItemText(nId, strValue); },
        &m_bRunning);
}

void CConvProg::SetTimer(int nId, uint32_t nElapse)
{
    RunOnWindowThread([this, nId, nElapse] { CMessageWindow::SetTimer(nId, nElapse); }, &m_bRunning);
}
