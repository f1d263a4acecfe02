// Window placements in the profile: the 44-byte record, the shared show mode,
// and what a stored placement does to a window.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/qt/ProfileStore.h"
#include "tests/support/TempHome.h"
#include "ui/controls/WindowPlacementStore.h"

namespace {

constexpr char kSection[] = "Position";
constexpr char kKey[] = "{08498238-9FCE-4F3C-861C-BE77C5E25FD5}";

class PlacementStoreTest : public testing::Test
{
protected:
    PlacementStoreTest() { ProfileStore::SetProfileName("placement_test"); }

    static void Show(QWidget& window, const QRect& geometry)
    {
        window.setGeometry(geometry);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static void StoreRecord(const WindowPlacement& wp)
    {
        const auto bytes = wp.ToBytes();
        ASSERT_TRUE(ProfileStore::WriteBinary(kSection, kKey, bytes.data(), bytes.size()));
    }

    static WindowPlacement Record(uint32_t showCmd, uint32_t flags, const QRect& r)
    {
        WindowPlacement wp;
        wp.length = 44;
        wp.flags = flags;
        wp.showCmd = showCmd;
        wp.normalLeft = r.left();
        wp.normalTop = r.top();
        wp.normalRight = r.left() + r.width();
        wp.normalBottom = r.top() + r.height();
        return wp;
    }

    CTempHome m_home;
};

TEST_F(PlacementStoreTest, RecordIsLittleEndianInPlatformFieldOrder)
{
    WindowPlacement wp;
    wp.length = 44;
    wp.flags = 2;
    wp.showCmd = 3;
    wp.minX = -1;
    wp.minY = -2;
    wp.maxX = 0x01020304;
    wp.maxY = 5;
    wp.normalLeft = 10;
    wp.normalTop = 20;
    wp.normalRight = 0x1234;
    wp.normalBottom = -300;
    const auto bytes = wp.ToBytes();
    const std::array<uint8_t, 44> expected = {
        44, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0,                    // length, flags, show command
        0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF,         // minimised position
        4, 3, 2, 1, 5, 0, 0, 0,                                 // maximised position
        10, 0, 0, 0, 20, 0, 0, 0, 0x34, 0x12, 0, 0, 0xD4, 0xFE, 0xFF, 0xFF};  // normal rectangle
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(WindowPlacement::FromBytes(bytes), wp);
}

TEST_F(PlacementStoreTest, SavedPlacementRestoresGeometryAndState)
{
    const QRect normal(60, 70, 320, 240);
    {
        QWidget window;
        Show(window, normal);
        window.showMaximized();
        QTRY_VERIFY(window.isMaximized());
        WindowPlacementStore store;
        ASSERT_TRUE(store.Save(&window, kKey, kSection));
        EXPECT_EQ(store.Current().showCmd, WindowPlacement::kShowMaximized);
    }
    QWidget window;
    window.setGeometry(5, 5, 100, 100);
    WindowPlacementStore store;
    ASSERT_TRUE(store.Restore(&window, kKey, kSection));
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    window.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(window.geometry(), normal);
}

struct MinimisedCase
{
    const char* name;
    bool bMaximisedBefore;
    Qt::WindowStates expected;
};

class MinimisedPlacementTest : public PlacementStoreTest, public testing::WithParamInterface<MinimisedCase>
{
};

TEST_P(MinimisedPlacementTest, ReopensInStateBeforeMinimising)
{
    const MinimisedCase& c = GetParam();
    {
        QWidget window;
        Show(window, QRect(50, 50, 300, 200));
        if (c.bMaximisedBefore) {
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
        }
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
        QTRY_VERIFY(window.isMinimized());
        WindowPlacementStore store;
        ASSERT_TRUE(store.Save(&window, kKey, kSection));
        EXPECT_EQ(store.Current().showCmd, WindowPlacement::kShowMinimized);
    }
    QWidget window;
    WindowPlacementStore store;
    ASSERT_TRUE(store.Restore(&window, kKey, kSection));
    EXPECT_EQ(window.windowState(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Placement, MinimisedPlacementTest,
                         testing::Values(MinimisedCase{"was_normal", false, Qt::WindowNoState},
                                         MinimisedCase{"was_maximised", true, Qt::WindowMaximized}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PlacementStoreTest, SharedShowModeOverridesStoredShowCommand)
{
    struct Case
    {
        int nShowMode;
        uint32_t storedCmd;
        uint32_t storedFlags;
        Qt::WindowStates expected;
    };
    const Case cases[] = {
        {1, WindowPlacement::kShowMinimized, 0, Qt::WindowMinimized},
        {2, WindowPlacement::kShowMaximized, 0, Qt::WindowNoState},
        {3, WindowPlacement::kShowNormal, 0, Qt::WindowMaximized},
        {4, WindowPlacement::kShowNormal, 0, Qt::WindowMinimized},
        {0, WindowPlacement::kShowMinimized, WindowPlacement::kRestoreToMaximized, Qt::WindowMaximized},
        // Flag bits other than "restore to maximised" do not make a show command.
        {7, WindowPlacement::kShowMinimized, 1, Qt::WindowNoState},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ProfileStore::WriteInt(kSection, "", c.nShowMode));
        StoreRecord(Record(c.storedCmd, c.storedFlags, QRect(10, 20, 200, 150)));
        QWidget window;
        WindowPlacementStore store;
        ASSERT_TRUE(store.Restore(&window, kKey, kSection));
        EXPECT_EQ(window.windowState(), c.expected) << "show mode " << c.nShowMode;
        EXPECT_EQ(store.ShowMode(), c.nShowMode);
    }
}

TEST_F(PlacementStoreTest, SaveWritesBackTheShowModeItRead)
{
    ASSERT_TRUE(ProfileStore::WriteInt(kSection, "", 3));
    QWidget window;
    Show(window, QRect(30, 30, 200, 100));
    WindowPlacementStore store;
    EXPECT_FALSE(store.Restore(&window, "{no such key}", kSection));
    ASSERT_TRUE(ProfileStore::WriteInt(kSection, "", 0));
    ASSERT_TRUE(store.Save(&window, kKey, kSection));
    EXPECT_EQ(ProfileStore::GetInt(kSection, "", -1), 3);
}

TEST_F(PlacementStoreTest, MissingOrMalformedRecordCountsAsAbsent)
{
    const QRect geometry(40, 45, 260, 180);
    WindowPlacement wrongLength = Record(WindowPlacement::kShowMaximized, 0, QRect(0, 0, 10, 10));
    wrongLength.length = 40;
    const auto good = Record(WindowPlacement::kShowMaximized, 0, QRect(0, 0, 10, 10)).ToBytes();
    const std::vector<std::vector<uint8_t>> records = {
        std::vector<uint8_t>(good.begin(), good.end() - 1),                 // one byte short
        [&] { std::vector<uint8_t> v(good.begin(), good.end()); v.push_back(0); return v; }(),  // one too many
        [&] { const auto b = wrongLength.ToBytes(); return std::vector<uint8_t>(b.begin(), b.end()); }(),
    };
    for (size_t i = 0; i <= records.size(); ++i) {
        if (i < records.size()) {
            ASSERT_TRUE(ProfileStore::WriteBinary(kSection, kKey, records[i].data(), records[i].size()));
        }
        QWidget window;
        Show(window, geometry);
        WindowPlacementStore store;
        EXPECT_FALSE(store.Restore(&window, i < records.size() ? kKey : "{absent}", kSection)) << i;
        EXPECT_EQ(window.geometry(), geometry) << i;
        EXPECT_EQ(window.windowState(), Qt::WindowNoState) << i;
        EXPECT_EQ(store.Current(), store.Default()) << i;
    }
}

TEST_F(PlacementStoreTest, DefaultIsFirstPlacementCentredOnScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QWidget window;
    Show(window, QRect(10, 10, 301, 201));
    WindowPlacementStore store;
    // Before any restore there is no default to apply.
    store.ApplyDefault(&window);
    EXPECT_EQ(window.geometry(), QRect(10, 10, 301, 201));

    EXPECT_FALSE(store.Restore(&window, kKey, kSection));
    const WindowPlacement& wp = store.Default();
    EXPECT_EQ(wp.normalLeft, (screen.width() - 301) / 2);
    EXPECT_EQ(wp.normalRight, (301 + screen.width()) / 2);
    EXPECT_EQ(wp.normalTop, (screen.height() - 201) / 2);
    EXPECT_EQ(wp.normalBottom, (201 + screen.height()) / 2);

    // A later restore keeps the first default.
    window.setGeometry(0, 0, 100, 100);
    EXPECT_FALSE(store.Restore(&window, kKey, kSection));
    EXPECT_EQ(store.Default(), wp);

    store.ApplyDefault(&window);
    EXPECT_EQ(window.geometry(), QRect(wp.normalLeft, wp.normalTop, wp.normalRight - wp.normalLeft,
                                       wp.normalBottom - wp.normalTop));
}

}  // namespace
