#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "tests/controls/ReportFixture.h"
#include "ui/controls/ReportSort.h"

namespace {

using Keys = std::vector<ColumnSortInfo>;

class ReportSortTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        m_pList->SortKeys() = {{0, 1}};
    }
};

TEST_F(ReportSortTest, HeaderClicksFlipThePrimaryKeyAndPromoteAFormerSecondaryWithItsDirection)
{
    AddRow("b.flac", 1.0, 48000);
    AddRow("c.flac", 1.0, 44100);
    AddRow("a.flac", 1.0, 22050);
    QSignalSpy sorted(m_pList.get(), &CReportCtrl::ReportSorted);

    ClickHeader(0);  // Name is already the ascending primary key: flips
    EXPECT_EQ(m_pList->SortKeys(), (Keys{{0, 0}}));
    EXPECT_EQ(ColumnTexts(0), (QStringList{"c.flac", "b.flac", "a.flac"}));
    ASSERT_EQ(sorted.size(), 1);
    EXPECT_EQ(sorted[0], (QVariantList{0, false}));
    EXPECT_EQ(m_pList->HeaderSortArrow(0), CReportCtrl::SortArrow::Descending);

    ClickHeader(6);  // a new column sorts ascending
    EXPECT_EQ(m_pList->SortKeys(), (Keys{{6, 1}, {0, 0}}));
    EXPECT_EQ(ColumnTexts(0), (QStringList{"a.flac", "c.flac", "b.flac"}));
    EXPECT_EQ(m_pList->HeaderSortArrow(6), CReportCtrl::SortArrow::Ascending);
    EXPECT_EQ(m_pList->HeaderSortArrow(0), CReportCtrl::SortArrow::None);

    ClickHeader(0);  // a former secondary key comes back with its own direction
    EXPECT_EQ(m_pList->SortKeys(), (Keys{{0, 0}, {6, 1}}));
    EXPECT_EQ(ColumnTexts(0), (QStringList{"c.flac", "b.flac", "a.flac"}));
    EXPECT_EQ(sorted.size(), 3);
    EXPECT_FALSE(g_bListBusy);
}

TEST_F(ReportSortTest, SeventhDistinctColumnDropsTheOldestKey)
{
    AddRow("a.flac");
    for (int c = 1; c <= 6; ++c)
        ClickHeader(c);
    EXPECT_EQ(m_pList->SortKeys(), (Keys{{6, 1}, {5, 1}, {4, 1}, {3, 1}, {2, 1}, {1, 1}}));
    ClickHeader(7);
    EXPECT_EQ(m_pList->SortKeys(), (Keys{{7, 1}, {6, 1}, {5, 1}, {4, 1}, {3, 1}, {2, 1}}));
}

TEST_F(ReportSortTest, NumericColumnsCompareNumbersAndOthersCompareUtf8Bytes)
{
    struct Case
    {
        int column;
        QStringList expected;  // column texts after an ascending sort
    };
    AddRow("Zeta.flac", 10.5, 8000, 2);
    AddRow("alpha.flac", 9.8, 48000, 1);
    AddRow("\u00e9t\u00e9.flac", 100.25, 11025, 6);
    AddRow("Beta.flac", 0.5, 44100, 2);
    m_pList->SetItemText(0, 5, "10:00:00");
    m_pList->SetItemText(1, 5, "00:59:59");
    m_pList->SetItemText(2, 5, "100:00:00");
    m_pList->SetItemText(3, 5, "02:00:00");
    const Case cases[] = {
        {3, {"0.50", "9.80", "10.50", "100.25"}},
        {6, {"8000 Hz", "11025 Hz", "44100 Hz", "48000 Hz"}},
        {7, {"1", "2", "2", "6"}},
        {5, {"00:59:59", "02:00:00", "100:00:00", "10:00:00"}},  // by text: '0' < ':'
        {0, {"Beta.flac", "Zeta.flac", "alpha.flac", "\u00e9t\u00e9.flac"}},  // case-sensitive, bytes
    };
    for (const Case& c : cases) {
        m_pList->SortKeys() = {{c.column, 1}};
        m_pList->SortItems(0, m_pList->GetItemCount() - 1, true);
        EXPECT_EQ(ColumnTexts(c.column), c.expected) << "column " << c.column;
    }
}

TEST_F(ReportSortTest, TiesFollowTheNextKeyReadInThePrimaryDirection)
{
    AddRow("d.flac", 1, 44100);
    AddRow("b.flac", 1, 48000);
    AddRow("c.flac", 1, 44100);
    AddRow("a.flac", 1, 44100);
    m_pList->SortKeys() = {{6, 1}, {0, 1}};
    m_pList->SortItems(0, 3, true);
    EXPECT_EQ(ColumnTexts(0), (QStringList{"a.flac", "c.flac", "d.flac", "b.flac"}));

    ClickHeader(6);  // descending frequency reverses the name ties too
    EXPECT_EQ(m_pList->SortKeys(), (Keys{{6, 0}, {0, 1}}));
    EXPECT_EQ(ColumnTexts(0), (QStringList{"b.flac", "d.flac", "c.flac", "a.flac"}));
}

TEST_F(ReportSortTest, RowsCarryTheirDataSelectionFocusAndImagesAndAreRecoloured)
{
    AddRow("c.flac", 3.0);
    AddRow("a.flac", 1.0, 44100, 2, true);
    AddRow("b.flac", 2.0);
    m_pList->SetItemImage(0, 0, 7);
    m_pList->SetItemStates(0, RC_ITEM_SELECTED | RC_ITEM_FOCUSED);
    void* pC = m_pList->GetItemData(0);

    ClickHeader(3);  // size ascending: a, b, c
    EXPECT_EQ(ColumnTexts(0), (QStringList{"a.flac", "b.flac", "c.flac"}));
    EXPECT_EQ(m_pList->GetItemData(2), pC);
    EXPECT_EQ(m_pList->GetItemImage(2, 0), 7);
    EXPECT_EQ(m_pList->GetItemStates(2), RC_ITEM_SELECTED | RC_ITEM_FOCUSED | RC_ITEM_UNCHECKED);
    EXPECT_EQ(m_pList->GetItemStates(0), RC_ITEM_UNSELECTED | RC_ITEM_UNFOCUSED | RC_ITEM_UNCHECKED);

    EXPECT_EQ(m_pList->GetItemBkColor(0, 0), QColor(255, 225, 241));  // invalid row, every cell
    EXPECT_EQ(m_pList->GetItemBkColor(0, 3), QColor(255, 225, 241));
    EXPECT_EQ(m_pList->GetItemBkColor(1, 3), QColor(227, 230, 242));  // odd row, sort column
    EXPECT_EQ(m_pList->GetItemBkColor(1, 0), QColor(244, 245, 252));
    EXPECT_EQ(m_pList->GetItemBkColor(2, 3), QColor(241, 242, 247));  // even row, sort column
    EXPECT_EQ(m_pList->GetItemBkColor(2, 4), QColor(255, 255, 255));

    m_pList->RecolourRows(false);  // the tint goes until the next sort
    EXPECT_EQ(m_pList->GetItemBkColor(1, 3), QColor(244, 245, 252));
    EXPECT_EQ(m_pList->GetItemBkColor(2, 3), QColor(255, 255, 255));
}

TEST_F(ReportSortTest, ShortListsAndBadRangesAreNotReorderedButStillNotifyAndRecolour)
{
    QSignalSpy sorted(m_pList.get(), &CReportCtrl::ReportSorted);
    m_pList->SortItems(0, -1, true);  // empty list
    AddRow("b.flac");
    AddRow("a.flac");
    m_pList->SortItems(1, 1, true);
    m_pList->SortItems(1, 0, true);
    m_pList->SortItems(0, 5, true);
    EXPECT_EQ(ColumnTexts(0), (QStringList{"b.flac", "a.flac"}));
    EXPECT_EQ(sorted.size(), 4);
    EXPECT_EQ(m_pList->GetItemBkColor(1, 0), QColor(227, 230, 242));
}

TEST_F(ReportSortTest, HeaderWithoutButtonBehaviourDoesNotSort)
{
    AddRow("b.flac");
    AddRow("a.flac");
    m_pList->SetSortable(false);
    QSignalSpy sorted(m_pList.get(), &CReportCtrl::ReportSorted);
    ClickHeader(0);
    EXPECT_EQ(ColumnTexts(0), (QStringList{"b.flac", "a.flac"}));
    EXPECT_TRUE(sorted.isEmpty());
}

class PaintCounter : public QObject
{
public:
    int m_nPaints = 0;
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        m_nPaints += pEvent->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(ReportSortTest, ASortRepaintsTheListOnce)
{
    for (int i = 0; i < 200; ++i)
        AddRow(QString("%1.flac").arg((i * 7919) % 200, 3, 10, QChar('0')));
    m_pList->SetItemStates(5, RC_ITEM_SELECTED | RC_ITEM_FOCUSED);
    QCoreApplication::processEvents();
    PaintCounter counter;
    m_pList->viewport()->installEventFilter(&counter);
    ClickHeader(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.m_nPaints, 1);
    EXPECT_EQ(m_pList->GetItemText(0, 0), "199.flac");  // Name was ascending: now descending
}

}  // namespace
