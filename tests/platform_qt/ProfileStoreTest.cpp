#include <gtest/gtest.h>

#include <filesystem>

#include "platform/qt/ProfileStore.h"
#include "tests/support/TempHome.h"

namespace {

class ProfileStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ProfileStore::SetProfileName("kestrune-test"); }
    void TearDown() override { ProfileStore::SetProfileName(""); }

    CTempHome m_home;
};

TEST_F(ProfileStoreTest, LivesUnderTheConfigHomeInTheCompanysFolder)
{
    EXPECT_EQ(std::filesystem::path(ProfileStore::ProfileFilePath()),
              m_home.Path() / ".config" / "Dovanic Corporation" / "Kestrune" / "kestrune-test.conf");
}

TEST_F(ProfileStoreTest, BinaryValuesRoundTripByteForByte)
{
    std::vector<uint8_t> record;
    for (int i = 0; i < 256; ++i)
        record.push_back(static_cast<uint8_t>(i));
    ASSERT_TRUE(ProfileStore::WriteBinary("FileList", "Column", record.data(), record.size()));
    ASSERT_TRUE(ProfileStore::WriteBinary("FileList", "SortEx", nullptr, 0));

    std::vector<uint8_t> read{1, 2, 3};
    ASSERT_TRUE(ProfileStore::GetBinary("FileList", "Column", read));
    EXPECT_EQ(read, record);
    ASSERT_TRUE(ProfileStore::GetBinary("FileList", "SortEx", read));
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(ProfileStore::GetBinary("FileList", "Missing", read));
    EXPECT_TRUE(std::filesystem::exists(ProfileStore::ProfileFilePath()));
}

TEST_F(ProfileStoreTest, IntegersAndStringsRoundTripAndMissingOnesGiveTheDefault)
{
    ASSERT_TRUE(ProfileStore::WriteInt("Position", "ShowCmd", -3));
    ASSERT_TRUE(ProfileStore::WriteInt("Position", "Max", 2147483647));
    const std::string strOdd = "{08498238-9FCE} = ; \"quoted\" ä日本 \\ back";
    ASSERT_TRUE(ProfileStore::WriteString("Position", "{08498238-9FCE-4F3C-861C-BE77C5E25FD5}", strOdd));

    EXPECT_EQ(ProfileStore::GetInt("Position", "ShowCmd", 7), -3);
    EXPECT_EQ(ProfileStore::GetInt("Position", "Max", 7), 2147483647);
    EXPECT_EQ(ProfileStore::GetInt("Position", "Missing", 7), 7);
    EXPECT_EQ(ProfileStore::GetString("Position", "{08498238-9FCE-4F3C-861C-BE77C5E25FD5}", ""), strOdd);
    EXPECT_EQ(ProfileStore::GetString("Position", "Missing", "dflt"), "dflt");
    // Sections keep equal names apart.
    ASSERT_TRUE(ProfileStore::WriteInt("FileList", "ShowCmd", 5));
    EXPECT_EQ(ProfileStore::GetInt("Position", "ShowCmd", 7), -3);
}

}  // namespace
