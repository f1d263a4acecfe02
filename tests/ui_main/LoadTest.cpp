// Loading files into the list: rows, totals, panes, the wait window, sorting.
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <cmath>
#include <filesystem>

#include "platform/qt/QtMessageBox.h"
#include "resources/Resource.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_main/MainWindowFixture.h"
#include "ui/MainStatusBar.h"
#include "ui/ProcessingDlg.h"
#include "ui/controls/ReportSort.h"

namespace {

double SizeMB(const std::string& strPath)
{
    return std::ldexp(static_cast<double>(std::filesystem::file_size(strPath)), -20);
}

// The header image a column shows: 0 none, 1 ascending, 2 descending, -1 other.
int HeaderImage(CReportCtrl& list, int nColumn)
{
    const QList<QIcon> images = list.SetHeaderImageList({});
    list.SetHeaderImageList(images);
    const QIcon shown = list.model()->headerData(nColumn, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
    for (int i = 0; i < images.size(); ++i)
        if (images[i].cacheKey() == shown.cacheKey())
            return i;
    return -1;
}

}  // namespace

TEST_F(MainWindowTest, LoadFillsRowsTotalsAndPanesAndSortsByName)
{
    OpenWindow();
    const std::string strStereo = WriteFlac("b-44k.flac", 44100, 2, 16, 44100 * 2);
    const std::string strMono = WriteFlac("a-48k.flac", 48000, 1, 24, 72000);
    const std::string strText = WriteText("c-text.flac");
    const std::string strTwelve = WriteFlac("d-12bit.flac", 44100, 2, 12, 4410);
    Load({strStereo, strMono, strText, strTwelve, (m_dir / "gone.flac").string()});

    // A chosen file that vanished is not listed; the rest is sorted by name.
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"a-48k.flac", "b-44k.flac", "c-text.flac", "d-12bit.flac"}));
    EXPECT_EQ(ColumnTexts(COLUMN_TYPE), QStringList({"FLAC", "FLAC", "Unknown", "Unknown"}));
    EXPECT_EQ(ColumnTexts(COLUMN_FREQUENCY), QStringList({"48000 Hz", "44100 Hz", "", ""}));
    EXPECT_EQ(ColumnTexts(COLUMN_CHANNEL), QStringList({"1 (Mono)", "2 (Stereo)", "", ""}));
    EXPECT_EQ(ColumnTexts(COLUMN_DURATION), QStringList({"00:00:01", "00:00:02", "", ""}));
    EXPECT_EQ(List().GetItemText(0, COLUMN_PATH).toStdString(), m_dir.string() + "/");
    EXPECT_EQ(List().GetItemTextColor(2, COLUMN_TYPE), QColor(255, 0, 0));
    EXPECT_EQ(List().GetItemTextColor(0, COLUMN_TYPE), List().GetItemTextColor(0, COLUMN_NAME));

    const auto boxes = m_pBoxes->Asked();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].strText, "Invalid Flac File: " + strText + "!");
    EXPECT_EQ(boxes[1].strText, "Bitdepth 12 is not supposed to be supported!");

    // Every file counts with its size; only the valid ones with a duration.
    const FileListTotals& totals = Dlg().Totals();
    EXPECT_EQ(totals.fileCount, 4);
    EXPECT_NEAR(totals.sizeMB, SizeMB(strStereo) + SizeMB(strMono) + SizeMB(strText) + SizeMB(strTwelve), 1e-9);
    EXPECT_DOUBLE_EQ(totals.seconds, 3.5);
    const QString strListText = QString::fromStdString(totals.ListText());
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), strListText);
    EXPECT_EQ(Dlg().StatusBar().PaneTip(0), strListText);
    EXPECT_EQ(Dlg().StatusBar().PaneText(1), " No file selected");
    EXPECT_EQ(Dlg().StatusBar().PaneTip(1), "No file selected");
    EXPECT_EQ(Dlg().windowTitle(), "Kestrune");
    EXPECT_EQ(HeaderImage(List(), COLUMN_NAME), 1);
    EXPECT_EQ(HeaderImage(List(), COLUMN_SIZE), 0);

    // Selecting shows the selection's sums; choosing nothing in the file
    // dialog then changes nothing at all.
    Select({"b-44k.flac"});
    const QString strSelection = Dlg().StatusBar().PaneText(1);
    EXPECT_TRUE(strSelection.startsWith("1 file(s) selected, ")) << strSelection.toStdString();
    EXPECT_TRUE(strSelection.endsWith("00:00:02")) << strSelection.toStdString();
    Load({});
    EXPECT_EQ(List().GetItemCount(), 4);
    EXPECT_EQ(Dlg().StatusBar().PaneText(1), strSelection);
    EXPECT_FALSE(Dlg().WaitWindow().isVisible());

    // The same file added again is listed and counted twice.
    Load({strStereo});
    EXPECT_EQ(ColumnTexts(COLUMN_NAME).count("b-44k.flac"), 2);
    EXPECT_EQ(Dlg().Totals().fileCount, 5);
    EXPECT_DOUBLE_EQ(Dlg().Totals().seconds, 5.5);
    EXPECT_TRUE(PumpEventsUntil([&] {
        return Dlg().StatusBar().PaneText(0) == QString::fromStdString(Dlg().Totals().ListText());
    }));
}

// A probe message box that is answered only after the test has looked at the
// window in the middle of the load makes the load as slow as the test needs.
TEST_F(MainWindowTest, SlowLoadShowsWaitWindowAndCancelKeepsTheRowsSoFar)
{
    OpenWindow();
    Load({WriteFlac("0-earlier.flac", 44100, 2, 16, 4410)});
    std::vector<std::string> paths = {WriteFlac("1.flac", 44100, 2, 16, 4410), WriteText("2-text.flac")};
    for (const char* pszName : {"3.flac", "4.flac", "5.flac"})
        paths.push_back(WriteFlac(pszName, 44100, 2, 16, 4410));

    bool bWaitShown = false;
    QString strWaitCaption, strTitle;
    int nRowsBeforeDelete = -1, nRowsAfterDelete = -1;
    const MessageBoxHandler fnPrevious =
        InstallQtMessageBoxes([&](const QString&, const QString&, unsigned) {
            bWaitShown = PumpEventsUntil([&] { return Dlg().WaitWindow().isVisible(); }, 5000);
            strWaitCaption = Dlg().WaitWindow().windowTitle();
            strTitle = Dlg().windowTitle();
            // Rows neither vanish under a running load nor get counted twice.
            Select({"0-earlier.flac"});
            nRowsBeforeDelete = List().GetItemCount();
            Dlg().OnCommand(ID_REMOVE_SELECTED);
            nRowsAfterDelete = List().GetItemCount();
            Dlg().OnCommand(ID_SELECT_ALL);
            QTest::mouseClick(Dlg().WaitWindow().GetDlgItem(IDC_PROCESSING_CANCEL), Qt::LeftButton);
            return int(IDOK);
        });
    Load(paths);
    SetMessageBoxHandler(fnPrevious);

    EXPECT_TRUE(bWaitShown);
    EXPECT_EQ(strWaitCaption.toStdString(), "Reading  " + paths[1]);
    EXPECT_EQ(strTitle, "Loading files, this may takes up to minutes, please wait...");
    EXPECT_EQ(nRowsAfterDelete, nRowsBeforeDelete);
    EXPECT_NE(RowOf("0-earlier.flac"), -1);

    // The file whose box was open when Cancel came is the last one listed.
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"0-earlier.flac", "1.flac", "2-text.flac"}));
    EXPECT_FALSE(Dlg().WaitWindow().isVisible());
    EXPECT_FALSE(g_bListBusy);
    EXPECT_EQ(Dlg().windowTitle(), "Kestrune");
    const FileListTotals rows = RowTotals();
    EXPECT_EQ(Dlg().Totals().fileCount, 3);
    EXPECT_DOUBLE_EQ(Dlg().Totals().sizeMB, rows.sizeMB);
    EXPECT_DOUBLE_EQ(Dlg().Totals().seconds, rows.seconds);
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), QString::fromStdString(rows.ListText()));
}

TEST_F(MainWindowTest, HeaderClicksSortBySizeAndShowTheArrows)
{
    OpenWindow();
    Load({WriteFlac("a-long.flac", 44100, 2, 16, 44100 * 3), WriteFlac("b-short.flac", 44100, 2, 16, 4410),
          WriteFlac("c-mid.flac", 44100, 2, 16, 44100)});

    ClickHeader(COLUMN_SIZE);
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"b-short.flac", "c-mid.flac", "a-long.flac"}));
    EXPECT_EQ(HeaderImage(List(), COLUMN_SIZE), 1);
    EXPECT_EQ(HeaderImage(List(), COLUMN_NAME), 0);

    ClickHeader(COLUMN_SIZE);
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"a-long.flac", "c-mid.flac", "b-short.flac"}));
    EXPECT_EQ(HeaderImage(List(), COLUMN_SIZE), 2);

    // The records moved with their rows.
    double dPrevious = 1e9;
    for (int nRow = 0; nRow < List().GetItemCount(); ++nRow) {
        const double dSize = static_cast<const AudioFileInfo*>(List().GetItemData(nRow))->sizeMB;
        EXPECT_EQ(List().GetItemText(nRow, COLUMN_SIZE), QString::asprintf("%.2f", dSize));
        EXPECT_LE(dSize, dPrevious);
        dPrevious = dSize;
    }
}

TEST_F(MainWindowTest, AddDuringALoadStopsItAndLoadsTheNewChoice)
{
    OpenWindow();
    const std::vector<std::string> first = {WriteFlac("1.flac", 44100, 2, 16, 4410), WriteText("2-text.flac"),
                                            WriteFlac("3.flac", 44100, 2, 16, 4410)};
    const QStringList second = {QString::fromStdString(WriteFlac("x.flac", 48000, 2, 16, 4800)),
                                QString::fromStdString(WriteFlac("y.flac", 48000, 1, 16, 4800))};
    int nBoxes = 0;
    const MessageBoxHandler fnPrevious = InstallQtMessageBoxes([&](const QString&, const QString&, unsigned) {
        // While the first load waits for this answer, the user adds again.
        if (nBoxes++ == 0) {
            Dlg().m_fnChooseFiles = [second](QWidget*) { return second; };
            Dlg().OnCommand(ID_ADD_FILES);
        }
        return int(IDOK);
    });
    StartLoad(first);
    EXPECT_TRUE(PumpEventsUntil([&] { return nBoxes == 1 && !Dlg().IsLoading(); }, 30000));
    PumpEventsFor(200);
    SetMessageBoxHandler(fnPrevious);

    // The first load stopped with the file it was reading; what it had not
    // yet handed over to the window is dropped with it.
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"x.flac", "y.flac"}));
    const FileListTotals rows = RowTotals();
    EXPECT_EQ(Dlg().Totals().fileCount, 2);
    EXPECT_DOUBLE_EQ(Dlg().Totals().sizeMB, rows.sizeMB);
    EXPECT_DOUBLE_EQ(Dlg().Totals().seconds, rows.seconds);
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), QString::fromStdString(rows.ListText()));
    EXPECT_EQ(Dlg().windowTitle(), "Kestrune");
    EXPECT_FALSE(Dlg().WaitWindow().isVisible());
}
