// Closing saves the settings, the placement and the list layout; the next
// start restores them.
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/RingBuffer.h"
#include "platform/qt/ProfileStore.h"
#include "settings/ConversionSettings.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_main/MainWindowFixture.h"
#include "ui/MainStatusBar.h"

namespace {

std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

TEST_F(MainWindowTest, FirstStartHasTheDefaultLayoutAndAMaximisedWindow)
{
    OpenWindow();
    constexpr int kDefaultWidths[] = {150, 150, 65, 85, 120, 88, 96, 88};
    ASSERT_EQ(List().GetColumnCount(), kFileListColumnCount);
    for (int c = 0; c < kFileListColumnCount; ++c) {
        EXPECT_TRUE(List().IsColumnVisible(c)) << c;
        EXPECT_EQ(List().GetColumnWidth(c), kDefaultWidths[c]) << c;
        EXPECT_EQ(List().model()->headerData(c, Qt::Horizontal).toString(), kFileListColumnTitles[c]);
    }
    EXPECT_EQ(List().SortKeys(), (std::vector<ColumnSortInfo>{{0, 1}}));
    EXPECT_TRUE(Dlg().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(Dlg().windowTitle(), "Kestrune");
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), "No file");
    EXPECT_EQ(Dlg().StatusBar().PaneText(2), QString::fromStdString(SettingsSummaryText()));
    EXPECT_EQ(Dlg().StatusBar().PaneTip(2), Dlg().StatusBar().PaneText(2));
    ASSERT_NE(g_pDecodedRing, nullptr);
    ASSERT_NE(g_pProcessedRing, nullptr);
    EXPECT_EQ(g_pDecodedRing->Capacity(), kSampleRingCapacity);

    // The status bar runs along the bottom, its panes split at 25 % and 50 %.
    PumpEventsFor(50);
    const QRect bar = Dlg().StatusBar().geometry();
    EXPECT_EQ(bar.bottom(), Dlg().height() - 1);
    EXPECT_EQ(bar.height(), CVESKDlg::kStatusBarHeight);
    EXPECT_EQ(bar.width(), Dlg().width());
}

TEST_F(MainWindowTest, ClosingSavesEverythingAndTheNextStartRestoresTheLayout)
{
    OpenWindow();
    // A hidden Frequency column, a wider Path column and a sort by size.
    List().ShowColumn(COLUMN_FREQUENCY, false);
    List().SetColumnWidth(COLUMN_PATH, 222);
    ClickHeader(COLUMN_SIZE);
    Dlg().showNormal();
    Dlg().setGeometry(40, 50, 700, 500);
    PumpEventsFor(50);
    const std::string strConfig = g_settings.settingsFolder + "/Config.ini";
    ASSERT_FALSE(g_settings.settingsFolder.empty());

    CloseWindow();
    EXPECT_EQ(m_exitCodes, std::vector<int>{1});
    EXPECT_EQ(g_pDecodedRing, nullptr);
    EXPECT_EQ(g_pProcessedRing, nullptr);

    const std::string strIni = ReadFile(strConfig);
    for (const char* pszKey : {"[OUTPUT]", "DesDir=", "[MP3]", "LameBits=11", "LameChannel=0", "Freq=0"})
        EXPECT_NE(strIni.find(pszKey), std::string::npos) << pszKey << " in\n" << strIni;
    std::vector<uint8_t> data;
    EXPECT_TRUE(ProfileStore::GetBinary("Position", CVESKDlg::kPlacementKey, data));
    ASSERT_TRUE(ProfileStore::GetBinary("FileList", "Column", data));
    EXPECT_EQ(data.size(), 8u * kFileListColumnCount);
    ASSERT_TRUE(ProfileStore::GetBinary("FileList", "SortEx", data));
    EXPECT_EQ(data.size(), 16u);

    OpenWindow();
    EXPECT_FALSE(List().IsColumnVisible(COLUMN_FREQUENCY));
    EXPECT_EQ(List().GetColumnState(COLUMN_FREQUENCY).savedWidth, 96);
    EXPECT_EQ(List().GetColumnWidth(COLUMN_PATH), 222);
    EXPECT_EQ(List().SortKeys(), (std::vector<ColumnSortInfo>{{COLUMN_SIZE, 1}, {0, 1}}));
    EXPECT_FALSE(Dlg().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(Dlg().size(), QSize(700, 500));
    EXPECT_EQ(List().GetItemCount(), 0);

    // Shown again, the column has its width back.
    List().ShowColumn(COLUMN_FREQUENCY, true);
    EXPECT_EQ(List().GetColumnWidth(COLUMN_FREQUENCY), 96);
}
