#include <QImage>
#include <QTest>

#include "tests/controls/ReportFixture.h"

namespace {

using ReportRowsTest = ReportFixture;

TEST_F(ReportRowsTest, StateFiltersMatchRowsHavingEveryFlag)
{
    for (int i = 0; i < 5; ++i)
        AddRow(QString("%1.flac").arg(i));
    m_pList->SetItemStates(1, RC_ITEM_SELECTED);
    m_pList->SetItemStates(3, RC_ITEM_SELECTED | RC_ITEM_FOCUSED);

    EXPECT_EQ(m_pList->GetItemStates(3), RC_ITEM_SELECTED | RC_ITEM_FOCUSED | RC_ITEM_UNCHECKED);
    EXPECT_EQ(m_pList->GetItemStates(0), RC_ITEM_UNSELECTED | RC_ITEM_UNFOCUSED | RC_ITEM_UNCHECKED);
    EXPECT_EQ(m_pList->GetItemCount(RC_ITEM_ALL), 5);
    EXPECT_EQ(m_pList->GetItemCount(RC_ITEM_SELECTED), 2);
    EXPECT_EQ(m_pList->GetItemCount(RC_ITEM_SELECTED | RC_ITEM_FOCUSED), 1);
    EXPECT_EQ(m_pList->GetItemCount(RC_ITEM_CHECKED), 0);  // no check boxes: all unchecked
    EXPECT_EQ(m_pList->GetItemCount(0), 0);
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_SELECTED), 1);
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_SELECTED, 1), 3);
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_SELECTED, 3), -1);
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_ALL, -7), 0);

    EXPECT_EQ(m_pList->SetAllItemStates(RC_ITEM_ALL, RC_ITEM_SELECTED), 5);
    EXPECT_EQ(m_pList->GetItemCount(RC_ITEM_SELECTED), 5);
    EXPECT_EQ(m_pList->SetAllItemStates(RC_ITEM_FOCUSED, RC_ITEM_UNSELECTED | RC_ITEM_UNFOCUSED), 1);
    EXPECT_EQ(m_pList->GetItemStates(3), RC_ITEM_UNSELECTED | RC_ITEM_UNFOCUSED | RC_ITEM_UNCHECKED);
    EXPECT_EQ(m_pList->SetAllItemStates(0, RC_ITEM_SELECTED), 0);
    EXPECT_FALSE(m_pList->SetItemStates(0, 0));
    EXPECT_FALSE(m_pList->SetItemStates(9, RC_ITEM_SELECTED));
}

TEST_F(ReportRowsTest, DeleteItemsRemovesMatchingRowsAndKeepsTheOthersInOrder)
{
    for (int i = 0; i < 7; ++i)
        AddRow(QString("%1.flac").arg(i));
    for (int r : {0, 2, 3, 6})
        m_pList->SetItemStates(r, RC_ITEM_SELECTED);
    EXPECT_EQ(m_pList->DeleteItems(RC_ITEM_SELECTED), 4);
    EXPECT_EQ(ColumnTexts(0), (QStringList{"1.flac", "4.flac", "5.flac"}));
    EXPECT_EQ(m_pList->DeleteItems(0), 0);

    m_pList->DeleteItem(0, true);
    EXPECT_EQ(ColumnTexts(0), (QStringList{"4.flac", "5.flac"}));
    EXPECT_EQ(m_pList->GetItemStates(0) & RC_ITEM_SELECTED, RC_ITEM_SELECTED);  // the next row
    EXPECT_EQ(m_pList->DeleteItems(RC_ITEM_ALL), 2);
    EXPECT_EQ(m_pList->GetItemCount(), 0);
}

TEST_F(ReportRowsTest, ItemNumbersAreFormattedWithDecimalsOrTrimmed)
{
    struct Case
    {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {10.5, 2, "10.50"}, {1.0, 0, "1"}, {2.5, -1, "2.5"}, {3.0, -1, "3"}, {0.0, -1, "0"}, {100.0, -1, "100"},
    };
    AddRow("a.flac");
    for (const Case& c : cases) {
        EXPECT_TRUE(m_pList->SetItemNumber(0, 3, c.value, c.decimals));
        EXPECT_EQ(m_pList->GetItemText(0, 3), c.text) << c.value << " " << c.decimals;
    }
    EXPECT_FALSE(m_pList->SetItemNumber(5, 3, 1.0, 2));
}

TEST_F(ReportRowsTest, CellColoursApplyToACellARowAColumnOrEverything)
{
    AddRow("a.flac");
    AddRow("b.flac");
    const QColor system = m_pList->palette().color(QPalette::Text);
    EXPECT_EQ(m_pList->GetItemTextColor(1, 2), system);

    m_pList->SetItemTextColor(1, 2, Qt::red);
    EXPECT_EQ(m_pList->GetItemTextColor(1, 2), QColor(Qt::red));
    EXPECT_EQ(m_pList->GetItemTextColor(0, 2), system);
    m_pList->SetItemTextColor(-1, 4, Qt::blue);  // a whole column
    EXPECT_EQ(m_pList->GetItemTextColor(0, 4), QColor(Qt::blue));
    EXPECT_EQ(m_pList->GetItemTextColor(1, 4), QColor(Qt::blue));
    m_pList->SetItemBkColor(0, 99, Qt::green);  // outside the columns: the whole row
    EXPECT_EQ(m_pList->GetItemBkColor(0, 7), QColor(Qt::green));
    EXPECT_EQ(m_pList->GetItemBkColor(1, 7), m_pList->palette().color(QPalette::Base));
    m_pList->SetItemTextColor();  // everything back to the system colour
    EXPECT_EQ(m_pList->GetItemTextColor(1, 2), system);

    // A column inserted later gives every row the system colours there.
    m_pList->InsertColumn(1, "Extra");
    EXPECT_EQ(m_pList->GetItemBkColor(0, 1), m_pList->palette().color(QPalette::Base));
    EXPECT_EQ(m_pList->GetItemBkColor(0, 8), QColor(Qt::green));
    EXPECT_EQ(m_pList->GetColumnState(1).savedWidth, 0);
}

TEST_F(ReportRowsTest, EmptyListShowsTheHintOfTheCurrentSixSecondSlot)
{
    EXPECT_EQ(CReportCtrl::HintText(0), "Load your files by clicking the \"Add Files\" toolbar button");
    EXPECT_EQ(CReportCtrl::HintText(6000), "Right click items in the file list, then click the floating popup menu "
                                           "to perform various file operations");
    EXPECT_EQ(CReportCtrl::HintText(17999), "Click the column header to sort the file list");
    EXPECT_EQ(CReportCtrl::HintText(18000),
              "Right click the column header, then click the floating popup menu to show/hide columns");
    EXPECT_EQ(CReportCtrl::HintText(24000), CReportCtrl::HintText(0));

    auto hasHintColour = [this] {
        const QImage image = m_pList->viewport()->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == QColor(106, 106, 255))
                    return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(hasHintColour());
    m_pList->SetShowHints(true);
    EXPECT_TRUE(hasHintColour());
    AddRow("a.flac");
    EXPECT_FALSE(hasHintColour());
}

}  // namespace
