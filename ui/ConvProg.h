#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "batch/BatchRunner.h"
#include "platform/qt/TemplateDialog.h"
#include "ui/ConvLog.h"
#include "ui/controls/ResizeDlg.h"
#include "ui/controls/WindowPlacementStore.h"

class QProgressBar;

// The progress window of a batch. The caller fills m_arrTasks (with
// AddConversionTask, which also adds to m_nOverallTotal) and runs DoModal;
// initialisation starts the batch thread, which runs RunBatch on this
// object's run state, and the window shows what the threads report:
// percentages, bars, times, speeds, the paths and the log. Pause/Resume,
// Clear and Cancel while it runs; Open Dir and Finish once it has finished.
//
// The worker threads use this object until they end: destroying it stops
// the batch and waits for them.
class CConvProg : public CTemplateDialog, public CResizeDlg, public CBatchRunner
{
public:
    // Key and section of the window's placement in the profile.
    static constexpr char kPlacementKey[] = "{104A7F6F-FFA3-4293-B808-9578D46FEC55}";
    static constexpr char kPlacementSection[] = "Position";
    // How long Cancel waits for each worker thread.
    static constexpr uint32_t kCancelWaitMs = 1000;

    explicit CConvProg(QWidget* pParent = nullptr);
    ~CConvProg() override;

    // What Open Dir does with the output folder; by default the desktop's
    // file browser opens it. Returns the opener it replaces.
    using FolderOpener = std::function<void(const std::string& strFolder)>;
    static FolderOpener SetFolderOpener(FolderOpener fnOpener);

    // Handlers of the window's messages and buttons.
    void OnProgress(float fCurrent, float fOverall);
    void OnLogLine(const std::string& strText, int nKind);
    void OnFinished();
    void OnPauseResume();
    void OnClearLog();
    void OnCancel() override;

    // Appends a line to the log (also the window's own finish line).
    void AddLogLine(const QString& strText, int nKind);

    // Display operations of the batch thread: applied on the window's thread;
    // they return once applied, or at once when the batch has been stopped or
    // the window has gone.
    void SetWindowText(const std::string& strText) override;
    void SetDlgItemText(int nId, const std::string& strText) override;
    void SetTimer(int nId, uint32_t nElapse) override;
    using CTemplateDialog::SetDlgItemText;

    CReportCtrl& LogList() const { return *m_pLogList; }

protected:
    void OnInitDialog() override;
    void OnCommand(int nId) override;
    void OnMessage(CMessage& msg) override;
    void OnTimer(int nId) override;
    QWidget* FindAnchorControl(int nCtrlId) const override;
    void OnDestroy() override;

private:
    void AddAnchors();
    void RestorePlacement();
    void ShowText(int nId, const std::string& strText);

    // The window's own placement store; the base's key stays empty.
    WindowPlacementStore m_placementStore;
    QProgressBar* m_pCurrentBar;
    QProgressBar* m_pOverallBar;
    CReportCtrl* m_pLogList;
    CConvLog m_log;
};
