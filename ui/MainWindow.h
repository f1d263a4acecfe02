#pragma once
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "filelist/FileListTotals.h"
#include "platform/WorkerThread.h"
#include "platform/qt/TemplateDialog.h"
#include "ui/controls/ResizeDlg.h"

class CMainStatusBar;
class CProcessing;
class CReportCtrl;
class QToolBar;
struct CFileListLoadJob;
struct CFileListRowsPayload;
struct CLoadedFile;

// The main window: a toolbar along the top, the file list in the middle and
// a three-pane status bar at the bottom. It owns the list's entries and
// totals, loads files into it, runs the list commands, turns entries into
// conversion tasks for the progress window, and on closing saves the
// settings, its placement and the list's layout, then ends the process.
class CVESKDlg : public CTemplateDialog, public CResizeDlg
{
    Q_OBJECT

public:
    // Value name of the window's placement in the profile's "Position" section.
    static constexpr char kPlacementKey[] = "{08498238-9FCE-4F3C-861C-BE77C5E25FD5}";
    static constexpr char kListSection[] = "FileList";
    static constexpr char kTitle[] = "Kestrune";
    static constexpr char kLoadingTitle[] = "Loading files, this may takes up to minutes, please wait...";
    static constexpr int kStatusBarHeight = 25;

    explicit CVESKDlg(QWidget* pParent = nullptr);
    ~CVESKDlg() override;

    // The files to add, chosen by the user; empty when the choice was
    // cancelled. By default a multi-selection file dialog for FLAC files.
    using FileChooser = std::function<QStringList(QWidget* pOwner)>;
    FileChooser m_fnChooseFiles;
    static QStringList ChooseFlacFiles(QWidget* pOwner);
    // The Options dialog and the About box, run modally over the window; set
    // by the application. The settings summary is refreshed after Options
    // whatever it did.
    std::function<void(QWidget* pOwner)> m_fnRunOptions;
    std::function<void(QWidget* pOwner)> m_fnRunAbout;

    // Ends the process after the close sequence; by default at once, with
    // the given exit code. Returns the function it replaces.
    using ProcessExit = std::function<void(int nExitCode)>;
    static ProcessExit SetProcessExit(ProcessExit fnExit);

    // Pane 0 and its tooltip from the totals, the rows recoloured without the
    // sort tint, then pane 1.
    void RefreshListStatus();
    // Pane 1 from the selected rows.
    void RefreshSelectionStatus();
    // Converts the valid entries (only the selected ones with bSelectedOnly)
    // in the progress window; nothing happens while the list is busy.
    void ConvertEntries(bool bSelectedOnly);

    CReportCtrl& FileList() const { return *m_pList; }
    CMainStatusBar& StatusBar() const { return *m_pStatusBar; }
    QToolBar& ToolBar() const { return *m_pToolBar; }
    CProcessing& WaitWindow() const { return *m_pProcessing; }
    const FileListTotals& Totals() const { return m_totals; }
    // A load has started and not yet finished.
    bool IsLoading() const { return m_pLoad != nullptr; }

protected:
    void OnInitDialog() override;
    void OnCommand(int nId) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    void OnMessage(CMessage& msg) override;
    void OnTimer(int nId) override;
    QWidget* FindAnchorControl(int nCtrlId) const override { return GetDlgItem(nCtrlId); }
    void OnSize(SizeChange type) override;
    // The placement is saved by the close sequence, at its place in the order.
    void OnDestroy() override {}

    void paintEvent(QPaintEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    enum
    {
        TIMER_LAYOUT = 1,
        TIMER_LIST_STATUS = 2,
    };
    // Pane 0 is refreshed once more this long after a load has finished.
    static constexpr uint32_t kListStatusDelayMs = 100;

    // Initialisation
    void CreateToolBar();
    void CreateStatusBar();
    void SetUpFileList();
    void PlaceInitialControls();
    void RecalcLayout();
    void OnFirstPlacementChange();
    void RestorePlacement();
    void ShowWindowMenu(const QPoint& globalPos);
    void OnListContextMenu(const QPoint& pos);
    void OnReportSorted(int nColumn, bool bAscending);
    void OnOptions();
    void OnAbout();
    void OnCloseSequence();
    void DestroyRings();

    // Loading (FileListLoader.cpp)
    void OnAddFiles();
    void StopLoad();
    void BeginLoad(const QStringList& paths);
    void OnFileListAppend(CFileListRowsPayload& payload);
    void AppendRow(const CLoadedFile& file);
    void OnFileReading(uint64_t nLoadId, const std::string& strPath);
    void OnLoadFinished(uint64_t nLoadId);
    void OnLoadCancel();
    int FileIconIndex(const std::string& strPath);

    // List commands (FileListCommands.cpp)
    void OnFileOpen();
    void OnProperties();
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnSelectAll();
    void OnRename();
    void OnReportEdited(int nRow, int nColumn);
    bool RefuseWhileLoading() const;
    void RemoveEntry(int nRow);
    void FreeAllEntries();
    std::string EntryFolder(int nRow) const;
    std::string EntryName(int nRow) const;
    int FirstSelectedRow() const;
    int RowOfEntry(const void* pInfo) const;

    CReportCtrl* m_pList = nullptr;
    CMainStatusBar* m_pStatusBar = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QWidget* m_pToolBand = nullptr;
    CProcessing* m_pProcessing = nullptr;

    FileListTotals m_totals;
    // 1 while a load, a removal or a select-all runs: row changes do not
    // refresh the selection pane, and nothing is converted.
    int m_bBusy = 0;
    bool m_bClosing = false;
    bool m_bFirstPaint = true;
    bool m_bFirstPlacementChange = true;
    bool m_bOwnsRings = false;

    // The running load (null when none) and the most recent loading thread.
    std::shared_ptr<CFileListLoadJob> m_pLoad;
    std::shared_ptr<CWorkerThread> m_pLoaderThread;
    uint64_t m_nLastLoadId = 0;

    // Small file icons by type, as the list's image list.
    QList<QIcon> m_fileIcons;
    std::map<QString, int> m_mapIconIndex;
};

// The main window while it exists; read by the windows it owns.
extern CVESKDlg* g_pMainDlg;
