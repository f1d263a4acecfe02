#include <gtest/gtest.h>

#include <QHeaderView>
#include <ctime>
#include <memory>

#include "batch/ProgressText.h"
#include "engine/ConvRunState.h"
#include "tests/support_qt/QtTestApp.h"
#include "ui/ConvLog.h"
#include "ui/controls/ReportCtrl.h"

namespace {

class ConvLogTest : public ::testing::Test
{
protected:
    ConvLogTest() { m_log.SetUp(); }

    int Number(int nRow) const { return m_list.GetItemText(nRow, CConvLog::kNumberColumn).toInt(); }

    QApplication& m_app = TestApplication();
    CReportCtrl m_list;
    CConvLog m_log{m_list};
};

TEST_F(ConvLogTest, FourColumnsWithTheKindColumnHidden)
{
    ASSERT_EQ(m_list.GetColumnCount(), 4);
    const QAbstractItemModel* pModel = m_list.model();
    const char* const titles[] = {"", "#", "Time", "Description"};
    const int widths[] = {0, 55, 63, 500};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(pModel->headerData(c, Qt::Horizontal).toString().toStdString(), titles[c]) << c;
        EXPECT_EQ(m_list.GetColumnWidth(c), widths[c]) << c;
    }
    EXPECT_FALSE(m_list.IsColumnVisible(CConvLog::kKindColumn));
    EXPECT_FALSE(m_list.header()->sectionsClickable());  // the header does not sort
}

TEST_F(ConvLogTest, LinesAreNumberedOnAcrossClearAndAcrossLogs)
{
    m_log.AddLine(QStringLiteral("first"), LOG_INFO);
    const std::time_t tNow = std::time(nullptr);
    m_log.AddLine(QStringLiteral("second"), LOG_INFO);
    const int nFirst = Number(0);
    EXPECT_GE(nFirst, 1);
    EXPECT_EQ(Number(1), nFirst + 1);
    EXPECT_EQ(m_list.GetItemText(0, CConvLog::kNumberColumn).toStdString(), FormatLogNumber(nFirst));
    const std::string strTime = m_list.GetItemText(0, CConvLog::kTimeColumn).toStdString();
    EXPECT_TRUE(strTime == FormatLogTime(tNow) || strTime == FormatLogTime(tNow - 1)) << strTime;
    EXPECT_EQ(m_list.GetItemText(1, CConvLog::kDescriptionColumn).toStdString(), "second");
    EXPECT_EQ(m_list.GetItemText(1, CConvLog::kKindColumn).toStdString(), "");

    m_log.Clear();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    m_log.AddLine(QStringLiteral("after clear"), LOG_INFO);
    EXPECT_EQ(Number(0), nFirst + 2);

    // A later window's log goes on with the same count.
    CReportCtrl otherList;
    CConvLog otherLog(otherList);
    otherLog.SetUp();
    otherLog.AddLine(QStringLiteral("next batch"), LOG_INFO);
    EXPECT_EQ(otherList.GetItemText(0, CConvLog::kNumberColumn).toInt(), nFirst + 3);
}

TEST_F(ConvLogTest, TextColourByKindOnStripedRows)
{
    struct Case
    {
        int nKind;
        QColor text;
    };
    const QColor defaultText = m_list.palette().color(QPalette::Text);
    const Case cases[] = {
        {LOG_INFO, QColor(0, 0, 255)},  {LOG_WARNING, QColor(153, 0, 0)}, {LOG_ERROR, QColor(255, 0, 0)},
        {LOG_INFO, QColor(0, 0, 255)},  {7, defaultText},
    };
    for (const Case& c : cases)
        m_log.AddLine(QStringLiteral("line"), c.nKind);

    for (int nRow = 0; nRow < 5; ++nRow) {
        const QColor back = nRow % 2 ? QColor(243, 245, 252) : QColor(255, 255, 255);
        EXPECT_EQ(m_log.LineKind(nRow), cases[nRow].nKind);
        for (int c = CConvLog::kNumberColumn; c <= CConvLog::kDescriptionColumn; ++c) {
            EXPECT_EQ(m_list.GetItemTextColor(nRow, c), cases[nRow].text) << nRow << "," << c;
            EXPECT_EQ(m_list.GetItemBkColor(nRow, c), back) << nRow << "," << c;
        }
    }

    // After Clear the stripes start again at the top.
    m_log.Clear();
    m_log.AddLine(QStringLiteral("again"), LOG_ERROR);
    EXPECT_EQ(m_list.GetItemBkColor(0, CConvLog::kDescriptionColumn), QColor(255, 255, 255));
}

TEST_F(ConvLogTest, TheNewestLineIsScrolledIntoView)
{
    m_list.resize(400, 150);
    m_list.show();
    for (int i = 0; i < 200; ++i) {
        m_log.AddLine(QString::number(i), LOG_INFO);
        if (i % 50 == 0 || i == 199) {
            const QRect rowRect = m_list.visualRect(m_list.model()->index(i, CConvLog::kNumberColumn));
            EXPECT_TRUE(m_list.viewport()->rect().contains(rowRect)) << i;
        }
    }
}

TEST_F(ConvLogTest, DescriptionFitsItsLongestTextNarrowerOrWider)
{
    m_list.show();
    m_log.AddLine(QStringLiteral("short"), LOG_INFO);
    m_log.FitDescription();
    const int nNarrow = m_list.GetColumnWidth(CConvLog::kDescriptionColumn);
    EXPECT_LT(nNarrow, 500);

    m_log.AddLine(QString(300, QChar(u'W')), LOG_INFO);
    m_log.FitDescription();
    const int nWide = m_list.GetColumnWidth(CConvLog::kDescriptionColumn);
    EXPECT_GT(nWide, 500);
    EXPECT_GE(nWide, m_list.fontMetrics().horizontalAdvance(QString(300, QChar(u'W'))));
}

}  // namespace
