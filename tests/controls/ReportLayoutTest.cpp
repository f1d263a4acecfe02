#include <QHeaderView>

#include "platform/qt/ProfileStore.h"
#include "tests/controls/ReportFixture.h"
#include "tests/support/TempHome.h"
#include "ui/controls/ReportLayoutStore.h"

namespace {

class ReportLayoutTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ProfileStore::SetProfileName("kestrune-controls-test");
        ReportFixture::SetUp();
    }

    // A second list, as the next start would build it: default columns, then
    // the stored layout.
    std::unique_ptr<CReportCtrl> RestoredList()
    {
        auto pList = std::make_unique<CReportCtrl>();
        const int widths[] = {150, 150, 65, 85, 120, 88, 96, 88};
        for (int c = 0; c < 8; ++c)
            pList->InsertColumn(c, QString("C%1").arg(c), LVCFMT_LEFT, widths[c]);
        RestoreReportLayout(*pList, "FileList");
        return pList;
    }

    CTempHome m_home;
};

std::vector<uint8_t> Records(std::initializer_list<int32_t> values)
{
    std::vector<uint8_t> data;
    for (int32_t v : values) {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    }
    return data;
}

TEST_F(ReportLayoutTest, ColumnsAndSortKeysRoundTripThroughTheProfile)
{
    m_pList->SetColumnWidth(0, 210);
    m_pList->SetColumnWidth(6, 101);
    m_pList->ShowColumn(6, false);
    m_pList->SortKeys() = {{3, 0}, {0, 1}};
    EXPECT_EQ(m_pList->GetColumnRecords(),
              Records({1, 210, 1, 150, 1, 65, 1, 85, 1, 120, 1, 88, 0, 101, 1, 88}));
    EXPECT_EQ(m_pList->GetSortKeyRecords(), Records({3, 0, 0, 1}));
    SaveReportLayout(*m_pList, "FileList");

    std::vector<uint8_t> stored;
    ASSERT_TRUE(ProfileStore::GetBinary("FileList", "Column", stored));
    EXPECT_EQ(stored, m_pList->GetColumnRecords());

    auto pRestored = RestoredList();
    EXPECT_EQ(pRestored->GetColumnRecords(), m_pList->GetColumnRecords());
    EXPECT_EQ(pRestored->SortKeys(), (std::vector<ColumnSortInfo>{{3, 0}, {0, 1}}));
    EXPECT_EQ(pRestored->header()->visualIndex(6), 0);
    pRestored->ShowColumn(6, true);
    EXPECT_EQ(pRestored->GetColumnWidth(6), 101);
}

TEST_F(ReportLayoutTest, NothingStoredGivesDefaultWidthsAndSortByName)
{
    auto pRestored = RestoredList();
    EXPECT_EQ(pRestored->GetColumnRecords(),
              Records({1, 150, 1, 150, 1, 65, 1, 85, 1, 120, 1, 88, 1, 96, 1, 88}));
    EXPECT_EQ(pRestored->SortKeys(), (std::vector<ColumnSortInfo>{{0, 1}}));
}

TEST_F(ReportLayoutTest, DamagedValuesAreReadAsFarAsTheyMakeSense)
{
    // Three records only (one hiding Name, which could never be shown again),
    // and sort keys naming a column that does not exist.
    const std::vector<uint8_t> columns = Records({0, 99, 1, 77, 0, 55});
    const std::vector<uint8_t> keys = Records({42, 1, 5, 7, 2});
    ProfileStore::WriteBinary("FileList", "Column", columns.data(), columns.size());
    ProfileStore::WriteBinary("FileList", "SortEx", keys.data(), keys.size());

    auto pRestored = RestoredList();
    EXPECT_EQ(pRestored->GetColumnRecords(),
              Records({1, 99, 1, 77, 0, 55, 1, 85, 1, 120, 1, 88, 1, 96, 1, 88}));
    EXPECT_EQ(pRestored->SortKeys(), (std::vector<ColumnSortInfo>{{5, 1}}));
}

}  // namespace
