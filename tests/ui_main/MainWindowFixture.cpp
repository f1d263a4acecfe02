#include "tests/ui_main/MainWindowFixture.h"

#include <QHeaderView>
#include <QTest>
#include <fstream>

#include "filelist/AudioFileInfo.h"
#include "tests/support/FlacFixture.h"
#include "tests/support_qt/QtTestApp.h"

void MainWindowTest::SetUp()
{
    TestApplication();
    m_pHome = std::make_unique<CTempHome>();
    m_pBoxes = std::make_unique<CScriptedMessageBoxes>();
    m_fnPreviousExit = CVESKDlg::SetProcessExit([this](int nCode) { m_exitCodes.push_back(nCode); });
    m_dir = m_pHome->MakeDir("flac");
}

void MainWindowTest::TearDown()
{
    m_pDlg.reset();
    CVESKDlg::SetProcessExit(std::move(m_fnPreviousExit));
    m_pBoxes.reset();
    m_pHome.reset();
}

CTestMainDlg& MainWindowTest::OpenWindow()
{
    m_pDlg.reset();
    m_pDlg = std::make_unique<CTestMainDlg>();
    m_pDlg->Create();
    m_pDlg->show();
    m_pDlg->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_pDlg.get()));
    m_pDlg->FileList().setFocus();
    return *m_pDlg;
}

void MainWindowTest::CloseWindow()
{
    m_pDlg->close();
    m_pDlg.reset();
}

std::string MainWindowTest::WriteFlac(const std::string& strName, uint32_t nRate, uint32_t nChannels, uint32_t nBits,
                                      uint32_t nFrames)
{
    FlacFixtureShape shape;
    shape.sampleRate = nRate;
    shape.channels = nChannels;
    shape.bitsPerSample = nBits;
    shape.samples = MakeSine(nFrames, nChannels, nBits, nRate, 440.0, 0.5);
    const std::string strPath = (m_dir / strName).string();
    EXPECT_TRUE(WriteFlacFixture(strPath, shape)) << strPath;
    return strPath;
}

std::string MainWindowTest::WriteText(const std::string& strName)
{
    const std::string strPath = (m_dir / strName).string();
    std::ofstream(strPath) << "not a FLAC stream\n";
    return strPath;
}

void MainWindowTest::StartLoad(const std::vector<std::string>& paths)
{
    QStringList chosen;
    for (const std::string& strPath : paths)
        chosen << QString::fromStdString(strPath);
    m_pDlg->m_fnChooseFiles = [chosen](QWidget*) { return chosen; };
    PressKey(Qt::Key_F6);
}

void MainWindowTest::Load(const std::vector<std::string>& paths)
{
    StartLoad(paths);
    ASSERT_TRUE(PumpEventsUntil([this] { return !m_pDlg->IsLoading(); }, 30000));
}

void MainWindowTest::PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    // Keys reach the window's shortcuts only while it is the active window,
    // which it is again only some time after a modal window closed.
    if (!m_pDlg->isActiveWindow()) {
        m_pDlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_pDlg.get()));
    }
    QTest::keyClick(&m_pDlg->FileList(), key, modifiers);
}

void MainWindowTest::ClickHeader(int nColumn)
{
    QHeaderView* pHeader = List().header();
    const QPoint pos(pHeader->sectionViewportPosition(nColumn) + pHeader->sectionSize(nColumn) / 2,
                     pHeader->height() / 2);
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

QStringList MainWindowTest::ColumnTexts(int nColumn) const
{
    QStringList texts;
    for (int nRow = 0; nRow < m_pDlg->FileList().GetItemCount(); ++nRow)
        texts << m_pDlg->FileList().GetItemText(nRow, nColumn);
    return texts;
}

int MainWindowTest::RowOf(const QString& strName) const
{
    return static_cast<int>(ColumnTexts(COLUMN_NAME).indexOf(strName));
}

void MainWindowTest::Select(const QStringList& names)
{
    List().SetAllItemStates(RC_ITEM_ALL, RC_ITEM_UNSELECTED);
    for (const QString& strName : names)
        List().SetItemStates(RowOf(strName), RC_ITEM_SELECTED);
}

FileListTotals MainWindowTest::RowTotals() const
{
    FileListTotals totals;
    for (int nRow = 0; nRow < m_pDlg->FileList().GetItemCount(); ++nRow)
        totals.Add(*static_cast<const AudioFileInfo*>(m_pDlg->FileList().GetItemData(nRow)));
    return totals;
}
