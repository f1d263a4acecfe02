#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "batch/TaskMaker.h"
#include "engine/RingBuffer.h"
#include "platform/FileSystem.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "settings/ConversionSettings.h"
#include "ui/ConvProg.h"
#include "ui/FileListLoader.h"
#include "ui/MainStatusBar.h"
#include "ui/ProcessingDlg.h"
#include "ui/ThemedIcons.h"
#include "ui/controls/ReportCtrl.h"
#include "ui/controls/ReportLayoutStore.h"
#include "ui/controls/ReportSort.h"

CVESKDlg* g_pMainDlg = nullptr;

namespace {

struct ColumnLayout
{
    int nFormat;
    int nWidth;
};

constexpr ColumnLayout kColumns[kFileListColumnCount] = {
    {LVCFMT_LEFT, 150}, {LVCFMT_LEFT, 150},  {LVCFMT_RIGHT, 65}, {LVCFMT_RIGHT, 85},
    {LVCFMT_RIGHT, 120}, {LVCFMT_RIGHT, 88}, {LVCFMT_RIGHT, 96}, {LVCFMT_RIGHT, 88},
};

struct ToolButton
{
    int nCommand;
    int nIcon;
};

constexpr ToolButton kToolButtons[] = {
    {ID_ADD_FILES, IDI_ADD_FILES},
    {ID_CONVERT_ALL, IDI_APP},
    {ID_OPTIONS, IDI_OPTIONS},
    {ID_ABOUT, IDI_ABOUT},
};

constexpr int kToolIconSize = 48;
constexpr char kPlacementSection[] = "Position";
constexpr uint32_t kLayoutDelayMs = 1000;

// System commands 16 to 31 all open the About box.
constexpr bool IsAboutSystemCommand(int nId)
{
    return nId >= IDM_ABOUTBOX && nId <= IDM_ABOUTBOX + 15;
}

CVESKDlg::ProcessExit& ProcessExitFunction()
{
    static CVESKDlg::ProcessExit s_fnExit = [](int nExitCode) {
        std::fflush(nullptr);
        std::_Exit(nExitCode);
    };
    return s_fnExit;
}

QWidget* CreateMainControl(const DialogControl& control, QWidget* pParent)
{
    return control.nId == IDC_FILELIST ? new CReportCtrl(pParent) : nullptr;
}

ReportRowFields ReadRowFields(const void* pOwnerData)
{
    const auto* pInfo = static_cast<const AudioFileInfo*>(pOwnerData);
    if (!pInfo)
        return {};
    return {pInfo->invalid != 0, pInfo->sizeMB, pInfo->sampleRate, pInfo->channels};
}

QString FromUtf8(const std::string& str)
{
    return QString::fromStdString(str);
}

}  // namespace

CVESKDlg::ProcessExit CVESKDlg::SetProcessExit(ProcessExit fnExit)
{
    ProcessExit fnPrevious = std::move(ProcessExitFunction());
    ProcessExitFunction() = std::move(fnExit);
    return fnPrevious;
}

CVESKDlg::CVESKDlg(QWidget* pParent)
    : CTemplateDialog(IDD_MAIN, pParent, CreateMainControl), m_fnChooseFiles(ChooseFlacFiles)
{
    m_pList = GetDlgItemAs<CReportCtrl>(IDC_FILELIST);
    LoadAccelerators(IDR_MAIN_ACCELERATORS);
}

CVESKDlg::~CVESKDlg()
{
    SetSettingsSummaryReceiver({});
    StopLoad();
    FreeAllEntries();
    DestroyRings();
    if (g_pMainDlg == this)
        g_pMainDlg = nullptr;
}

// ------------------------------------------------------------ initialisation

void CVESKDlg::OnInitDialog()
{
    CResizeDlg::OnInitDialog(this);
    setWindowIcon(ThemedIcon(IDI_APP));

    m_pProcessing = new CProcessing(this);
    m_pProcessing->m_fnOnCancel = [this] { OnLoadCancel(); };
    m_pProcessing->Create();

    ShowSizeGrip(false);
    g_pMainDlg = this;
    SwallowEscapeAndEnter();
    g_sourceTypeTable["FLAC"] = 1;

    InitSettingsStore();
    CreateStatusBar();
    SetSettingsSummaryReceiver([this](const std::string& strSummary) {
        m_pStatusBar->SetPaneText(2, FromUtf8(strSummary));
        m_pStatusBar->SetPaneTip(2, FromUtf8(strSummary));
    });
    CreateToolBar();

    PlaceInitialControls();
    AddAnchor(IDC_FILELIST, ANCHOR_STRETCH, ANCHOR_STRETCH, ANCHOR_STRETCH, ANCHOR_STRETCH);
    AddAnchor(m_pStatusBar, ANCHOR_STRETCH, ANCHOR_STRETCH, ANCHOR_MOVE, ANCHOR_MOVE);
    SetUpFileList();
    RecalcLayout();

    m_strPlacementKey = kPlacementKey;
    RestorePlacement();

    if (!g_pDecodedRing && !g_pProcessedRing) {
        g_pDecodedRing = new SampleRing(kSampleRingCapacity);
        g_pProcessedRing = new SampleRing(kSampleRingCapacity);
        m_bOwnsRings = true;
    }
    UpdateSettingsSummary();
}

void CVESKDlg::CreateStatusBar()
{
    m_pStatusBar = new CMainStatusBar(this);
    m_pStatusBar->SetPaneText(0, QStringLiteral("No file"));
    m_pStatusBar->SetPaneTip(0, QStringLiteral("No file"));
    m_pStatusBar->SetPaneText(1, QStringLiteral("No file selected"));
}

void CVESKDlg::CreateToolBar()
{
    // The band along the top that holds the toolbar. The toolbar offers the
    // window menu (the About item) on a right click.
    m_pToolBand = new QWidget(this);
    m_pToolBar = new QToolBar(m_pToolBand);
    m_pToolBar->setIconSize(QSize(kToolIconSize, kToolIconSize));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    for (const ToolButton& button : kToolButtons) {
        const QString strTip = FromUtf8(std::string(LoadResString(button.nCommand)));
        QAction* pAction = m_pToolBar->addAction(ThemedIcon(button.nIcon), strTip);
        pAction->setToolTip(strTip);
        const int nCommand = button.nCommand;
        connect(pAction, &QAction::triggered, this, [this, nCommand] { OnCommand(nCommand); });
    }
    m_pToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pToolBar, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowWindowMenu(m_pToolBar->mapToGlobal(pos)); });
    m_pToolBand->resize(width(), m_pToolBar->sizeHint().height());
}

void CVESKDlg::PlaceInitialControls()
{
    // The list fills the space between the toolbar band and the status bar,
    // whatever height the desktop's style gives the toolbar.
    m_pToolBand->setGeometry(0, 0, width(), m_pToolBar->sizeHint().height());
    m_pStatusBar->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
    QRect list = m_pList->geometry();
    list.setTop(m_pToolBand->geometry().bottom() + 1);
    list.setBottom(m_pStatusBar->geometry().top() - 1);
    m_pList->setGeometry(list);
}

void CVESKDlg::SetUpFileList()
{
    m_pList->SetRowReader(ReadRowFields);
    m_pList->SetExtendedStyle(LVS_EX_INFOTIP | LVS_EX_HEADERDRAGDROP);
    for (int nColumn = 0; nColumn < kFileListColumnCount; ++nColumn)
        m_pList->InsertColumn(nColumn, QString::fromLatin1(kFileListColumnTitles[nColumn]), kColumns[nColumn].nFormat,
                              kColumns[nColumn].nWidth);
    RestoreReportLayout(*m_pList, kListSection);

    m_pList->SetImageList(m_fileIcons);
    m_pList->SetHeaderImageList(
        {ThemedIcon(IDI_SORT_NONE), ThemedIcon(IDI_SORT_ASCENDING), ThemedIcon(IDI_SORT_DESCENDING)});
    m_pList->SetSortable(true);
    // The header images are the sort arrows; the style's own would be a second set.
    m_pList->header()->setSortIndicatorShown(false);
    m_pList->EnableEditing(true);
    m_pList->AddEditableColumn(COLUMN_NAME);
    m_pList->SetShowHints(true);

    connect(m_pList, &CReportCtrl::ReportSorted, this, &CVESKDlg::OnReportSorted);
    connect(m_pList, &CReportCtrl::ReportEdited, this, &CVESKDlg::OnReportEdited);
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!g_bListBusy && !m_bBusy)
            RefreshSelectionStatus();
    });
    m_pList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pList, &QWidget::customContextMenuRequested, this, &CVESKDlg::OnListContextMenu);
    m_pList->viewport()->installEventFilter(this);
}

void CVESKDlg::RestorePlacement()
{
    if (!m_placement.Restore(this, m_strPlacementKey, kPlacementSection))
        setWindowState(windowState() | Qt::WindowMaximized);
}

// -------------------------------------------------------------------- layout

void CVESKDlg::RecalcLayout()
{
    const int nWidth = width();
    m_pStatusBar->setGeometry(0, height() - kStatusBarHeight, nWidth, kStatusBarHeight);
    m_pToolBand->resize(nWidth, m_pToolBand->height());
    m_pToolBar->setGeometry(0, 0, nWidth, m_pToolBand->height());
    m_pStatusBar->SetPaneEdges(nWidth * 25 / 100, nWidth * 50 / 100);
    if (CSizeGripExt* pGrip = SizeGrip())
        pGrip->raise();
    m_pToolBand->update();
    m_pList->update();
}

void CVESKDlg::OnSize(SizeChange type)
{
    CResizeDlg::OnSize(type);
    if (m_pStatusBar)
        RecalcLayout();
}

void CVESKDlg::paintEvent(QPaintEvent* pEvent)
{
    if (m_bFirstPaint) {
        m_bFirstPaint = false;
        RecalcLayout();
    }
    CTemplateDialog::paintEvent(pEvent);
}

void CVESKDlg::moveEvent(QMoveEvent* pEvent)
{
    CTemplateDialog::moveEvent(pEvent);
    OnFirstPlacementChange();
}

void CVESKDlg::showEvent(QShowEvent* pEvent)
{
    CTemplateDialog::showEvent(pEvent);
    OnFirstPlacementChange();
}

void CVESKDlg::OnFirstPlacementChange()
{
    // Once more about a second after the window first showed, when the
    // desktop has settled its size.
    if (!m_bFirstPlacementChange)
        return;
    m_bFirstPlacementChange = false;
    SetTimer(TIMER_LAYOUT, kLayoutDelayMs);
}

void CVESKDlg::OnTimer(int nId)
{
    switch (nId) {
    case TIMER_LAYOUT:
        RecalcLayout();
        KillTimer(TIMER_LAYOUT);
        break;
    case TIMER_LIST_STATUS:
        KillTimer(TIMER_LIST_STATUS);
        m_pStatusBar->SetPaneText(0, FromUtf8(m_totals.ListText()));
        m_pStatusBar->SetPaneTip(0, FromUtf8(m_totals.ListText()));
        m_pStatusBar->repaint();
        break;
    default:
        break;
    }
}

// ------------------------------------------------------- messages and events

void CVESKDlg::OnMessage(CMessage& msg)
{
    switch (msg.Id()) {
    case WM_FILELIST_APPEND:
        if (auto* pRows = msg.Payload<CFileListRowsPayload>())
            OnFileListAppend(*pRows);
        break;
    case WM_FILELIST_READING:
        if (auto* pReading = msg.Payload<CFileReadingPayload>())
            OnFileReading(pReading->nId, pReading->strPath);
        break;
    case WM_FILELIST_LOADED:
        if (auto* pLoaded = msg.Payload<CFileListLoadedPayload>())
            OnLoadFinished(pLoaded->nId);
        break;
    default:
        break;
    }
}

bool CVESKDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pList->viewport() && pEvent->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton) {
        // After the list has handled the click itself.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (FirstSelectedRow() >= 0)
                    OnCommand(ID_CONVERT_SELECTED);
            },
            Qt::QueuedConnection);
    }
    return CTemplateDialog::eventFilter(pWatched, pEvent);
}

void CVESKDlg::OnListContextMenu(const QPoint& pos)
{
    if (!m_pList->indexAt(pos).isValid())
        return;
    TrackPopupMenu(IDR_LIST_CONTEXT_MENU, 0, m_pList->viewport()->mapToGlobal(pos));
}

void CVESKDlg::ShowWindowMenu(const QPoint& globalPos)
{
    // Qt offers no way into the desktop's window menu, so its About item lives
    // here, on the toolbar, next to the About button.
    QMenu menu(this);
    QAction* pAbout = menu.addAction(FromUtf8(std::string(LoadResString(IDS_ABOUTBOX))));
    if (menu.exec(globalPos) == pAbout)
        OnCommand(IDM_ABOUTBOX);
}

void CVESKDlg::OnReportSorted(int nColumn, bool bAscending)
{
    for (int c = 0; c < m_pList->GetColumnCount(); ++c)
        m_pList->SetHeaderImage(c, c == nColumn ? (bAscending ? 1 : 2) : 0);
}

void CVESKDlg::OnCommand(int nId)
{
    switch (nId) {
    case ID_ADD_FILES:
        OnAddFiles();
        break;
    case ID_CONVERT_ALL:
        ConvertEntries(false);
        break;
    case ID_CONVERT_SELECTED:
        ConvertEntries(true);
        break;
    case ID_OPTIONS:
        OnOptions();
        break;
    case ID_ABOUT:
        OnAbout();
        break;
    case ID_FILE_OPEN:
        OnFileOpen();
        break;
    case ID_PROPERTIES:
        OnProperties();
        break;
    case ID_REMOVE_SELECTED:
        OnRemoveSelected();
        break;
    case ID_REMOVE_ALL:
        OnRemoveAll();
        break;
    case ID_SELECT_ALL:
        OnSelectAll();
        break;
    case ID_RENAME:
        OnRename();
        break;
    case ID_EXIT:
        QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
        break;
    default:
        if (IsAboutSystemCommand(nId))
            OnAbout();
        else
            CTemplateDialog::OnCommand(nId);
        break;
    }
}

void CVESKDlg::OnOptions()
{
    if (m_fnRunOptions)
        m_fnRunOptions(this);
    UpdateSettingsSummary();
}

void CVESKDlg::OnAbout()
{
    if (m_fnRunAbout)
        m_fnRunAbout(this);
}

// ------------------------------------------------------------- status panes

void CVESKDlg::RefreshListStatus()
{
    const QString strText = FromUtf8(m_totals.ListText());
    m_pStatusBar->SetPaneText(0, strText);
    m_pStatusBar->SetPaneTip(0, strText);
    m_pList->RecolourRows(false);
    RefreshSelectionStatus();
}

void CVESKDlg::RefreshSelectionStatus()
{
    FileListTotals selection;
    for (int nRow = m_pList->GetNextItem(RC_ITEM_SELECTED, -1); nRow >= 0;
         nRow = m_pList->GetNextItem(RC_ITEM_SELECTED, nRow)) {
        if (const auto* pInfo = static_cast<const AudioFileInfo*>(m_pList->GetItemData(nRow)))
            selection.Add(*pInfo);
    }
    m_pStatusBar->SetPaneText(1, FromUtf8(selection.SelectionText()));
}

// --------------------------------------------------------------- conversion

void CVESKDlg::ConvertEntries(bool bSelectedOnly)
{
    if (g_bListBusy || m_bBusy)
        return;
    if (!bSelectedOnly && m_pList->GetItemCount() == 0)
        return;
    if (!PathExists(g_settings.outputFolder))
        CreateFolderPath(g_settings.outputFolder);

    std::vector<CConversionTask> tasks;
    for (int nRow = 0; nRow < m_pList->GetItemCount(); ++nRow) {
        if (bSelectedOnly && !(m_pList->GetItemStates(nRow) & RC_ITEM_SELECTED))
            continue;
        const auto* pInfo = static_cast<const AudioFileInfo*>(m_pList->GetItemData(nRow));
        if (!pInfo || pInfo->invalid)
            continue;
        tasks.push_back(MakeConversionTask(EntryFolder(nRow), EntryName(nRow), *pInfo));
    }
    if (tasks.empty())
        return;

    CConvProg progress(this);
    for (CConversionTask& task : tasks)
        AddConversionTask(progress, std::move(task));
    progress.DoModal();
}

// ------------------------------------------------------------------ closing

void CVESKDlg::OnClose()
{
    OnCloseSequence();
}

void CVESKDlg::OnCloseSequence()
{
    // Closing is not offered while a load runs, as the rows it is adding
    // would be lost half-way.
    if (m_bClosing)
        return;
    if (IsLoading()) {
        QApplication::beep();
        return;
    }
    m_bBusy = 1;
    m_bClosing = true;

    // Told to end during a conversion (a signal reaches the window under the
    // progress window): the batch stops first, as its threads use the rings.
    bool bThreadsEnded = true;
    if (g_pConvProg) {
        g_pConvProg->m_bRunning.store(0, std::memory_order_release);
        bThreadsEnded = g_pConvProg->WaitForThreads(CConvProg::kCancelWaitMs);
    }
    if (bThreadsEnded)
        DestroyRings();
    SaveSettings();
    CResizeDlg::OnDestroy();
    SaveReportLayout(*m_pList, kListSection);

    EndDialog(1);
    ProcessExitFunction()(1);
}

void CVESKDlg::DestroyRings()
{
    if (!m_bOwnsRings)
        return;
    delete g_pDecodedRing;
    delete g_pProcessedRing;
    g_pDecodedRing = nullptr;
    g_pProcessedRing = nullptr;
    m_bOwnsRings = false;
}

void CVESKDlg::FreeAllEntries()
{
    for (int nRow = 0; nRow < m_pList->GetItemCount(); ++nRow) {
        delete static_cast<AudioFileInfo*>(m_pList->GetItemData(nRow));
        m_pList->SetItemData(nRow, nullptr);
    }
}
