// The resizable dialog on real widgets: controls follow size changes, the
// grip sits in the corner, the placement is saved when the dialog closes.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

#include "platform/MessageBox.h"
#include "platform/qt/ProfileStore.h"
#include "tests/support/TempHome.h"
#include "ui/controls/ResizeDlg.h"

namespace {

enum { IDC_LIST = 1001, IDC_OK = 1002, IDC_TITLE = 1003 };

// A dialog built the way template dialogs are: controls made with ids and
// placed at fixed positions, found again by id.
class CTestDialog : public QDialog, public CResizeDlg
{
public:
    CTestDialog()
    {
        resize(400, 300);
        m_controls[IDC_LIST] = MakeControl(new QLabel("list", this), QRect(10, 10, 380, 240));
        m_controls[IDC_OK] = MakeControl(new QPushButton("OK", this), QRect(310, 260, 80, 30));
        m_controls[IDC_TITLE] = MakeControl(new QLabel("title", this), QRect(150, 260, 100, 20));
        CResizeDlg::OnInitDialog(this);
        AddAnchor(IDC_LIST, ANCHOR_NONE, ANCHOR_STRETCH, ANCHOR_NONE, ANCHOR_STRETCH);
        AddAnchor(IDC_OK, ANCHOR_NONE, ANCHOR_MOVE, ANCHOR_NONE, ANCHOR_MOVE);
        // Repainted at once when it moves.
        AddAnchor(IDC_TITLE, ANCHOR_NONE, ANCHOR_CENTER, ANCHOR_NONE, ANCHOR_MOVE, 2);
    }

    QWidget* Item(int nId) const { return m_controls.at(nId); }

protected:
    QWidget* FindAnchorControl(int nCtrlId) const override
    {
        auto it = m_controls.find(nCtrlId);
        return it != m_controls.end() ? it->second : nullptr;
    }

private:
    static QWidget* MakeControl(QWidget* pControl, const QRect& rect)
    {
        pControl->setGeometry(rect);
        return pControl;
    }

    std::map<int, QWidget*> m_controls;
};

class ResizeDlgTest : public testing::Test
{
protected:
    void ShowDialog()
    {
        m_dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
        QTest::qWait(20);
    }

    CTempHome m_home;
    CTestDialog m_dlg;
};

TEST_F(ResizeDlgTest, ControlsFollowTheirAnchors)
{
    ShowDialog();
    m_dlg.resize(500, 360);
    QTRY_COMPARE(m_dlg.size(), QSize(500, 360));
    EXPECT_EQ(m_dlg.Item(IDC_LIST)->geometry(), QRect(10, 10, 480, 300));
    EXPECT_EQ(m_dlg.Item(IDC_OK)->geometry(), QRect(410, 320, 80, 30));
    // The title keeps its centre at the same fraction (200 / 400) of the width.
    EXPECT_EQ(m_dlg.Item(IDC_TITLE)->geometry(), QRect(200, 320, 100, 20));

    m_dlg.resize(400, 300);
    QTRY_COMPARE(m_dlg.size(), QSize(400, 300));
    EXPECT_EQ(m_dlg.Item(IDC_OK)->geometry(), QRect(310, 260, 80, 30));
}

TEST_F(ResizeDlgTest, MinimiseAndRestoreMoveNothing)
{
    ShowDialog();
    m_dlg.resize(450, 320);
    QTRY_COMPARE(m_dlg.size(), QSize(450, 320));
    const QRect okBefore = m_dlg.Item(IDC_OK)->geometry();
    const QRect listBefore = m_dlg.Item(IDC_LIST)->geometry();

    m_dlg.setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    m_dlg.setWindowState(Qt::WindowNoState);
    QTest::qWait(50);
    EXPECT_EQ(m_dlg.Item(IDC_OK)->geometry(), okBefore);
    EXPECT_EQ(m_dlg.Item(IDC_LIST)->geometry(), listBefore);
}

TEST_F(ResizeDlgTest, GripSitsInCornerAndHidesWhileMaximised)
{
    ShowDialog();
    CSizeGripExt* pGrip = m_dlg.SizeGrip();
    ASSERT_NE(pGrip, nullptr);
    EXPECT_TRUE(pGrip->isVisible());
    EXPECT_EQ(pGrip->geometry().bottomRight(), m_dlg.rect().bottomRight());

    m_dlg.showMaximized();
    QTRY_VERIFY(m_dlg.isMaximized());
    QTRY_VERIFY(!pGrip->isVisible());

    m_dlg.showNormal();
    m_dlg.resize(420, 330);
    QTRY_COMPARE(m_dlg.size(), QSize(420, 330));
    QTRY_VERIFY(pGrip->isVisible());
    EXPECT_EQ(pGrip->geometry().bottomRight(), QPoint(419, 329));

    m_dlg.ShowSizeGrip(false);
    EXPECT_FALSE(pGrip->isVisible());
}

TEST_F(ResizeDlgTest, GripIsClippedToItsLowerRightTriangle)
{
    ShowDialog();
    CSizeGripExt* pGrip = m_dlg.SizeGrip();
    const QRect r = pGrip->geometry();
    ASSERT_GT(r.width(), 4);
    // Lower-right corner hits the grip, upper-left corner what lies behind it.
    EXPECT_EQ(m_dlg.childAt(r.bottomRight() - QPoint(1, 1)), pGrip);
    EXPECT_NE(m_dlg.childAt(r.topLeft() + QPoint(1, 1)), pGrip);

    // Dragging the grip resizes the dialog.
    const QSize before = m_dlg.size();
    const QPoint grab = r.bottomRight() - QPoint(2, 2) - r.topLeft();
    QTest::mousePress(pGrip, Qt::LeftButton, {}, grab);
    QTest::mouseMove(pGrip, grab + QPoint(30, 20));
    QTest::mouseRelease(pGrip, Qt::LeftButton, {}, grab + QPoint(30, 20));
    QTRY_COMPARE(m_dlg.size(), before + QSize(30, 20));
    QTRY_COMPARE(m_dlg.Item(IDC_OK)->geometry(), QRect(340, 280, 80, 30));
}

TEST_F(ResizeDlgTest, RegistrationByIdAndPointer)
{
    EXPECT_FALSE(m_dlg.AddAnchor(4711, ANCHOR_NONE, ANCHOR_MOVE, ANCHOR_NONE, ANCHOR_NONE));

    auto* pExtra = new QLabel("extra", &m_dlg);
    pExtra->setGeometry(20, 200, 50, 20);
    ASSERT_TRUE(m_dlg.AddAnchor(pExtra, ANCHOR_NONE, ANCHOR_MOVE, ANCHOR_NONE, ANCHOR_NONE));
    // Again with other rules: still one item, at the same place in the list.
    ASSERT_TRUE(m_dlg.AddAnchor(pExtra, ANCHOR_NONE, ANCHOR_STRETCH, ANCHOR_NONE, ANCHOR_NONE, 1));
    ASSERT_TRUE(m_dlg.AddAnchor(IDC_OK, ANCHOR_NONE, ANCHOR_NONE, ANCHOR_NONE, ANCHOR_MOVE));
    ASSERT_EQ(m_dlg.Anchors().size(), 4u);
    EXPECT_EQ(m_dlg.Anchors()[1].ctrlId, IDC_OK);
    EXPECT_EQ(m_dlg.Anchors()[3].RightMode(), unsigned(ANCHOR_STRETCH));
    // A control that asks to be left out of the dialog's background paints its own.
    EXPECT_TRUE(pExtra->autoFillBackground());

    ShowDialog();
    m_dlg.resize(440, 330);
    QTRY_COMPARE(m_dlg.size(), QSize(440, 330));
    EXPECT_EQ(pExtra->geometry(), QRect(20, 200, 90, 20));
    EXPECT_EQ(m_dlg.Item(IDC_OK)->geometry(), QRect(310, 290, 80, 30));
}

TEST_F(ResizeDlgTest, TrackLimitsBoundTheSize)
{
    m_dlg.SetTrackLimits(QSize(300, 200), true, false);
    ShowDialog();
    m_dlg.resize(100, 100);
    EXPECT_EQ(m_dlg.size(), QSize(300, 200));
    // The height is fixed at the minimum; the width is free.
    m_dlg.resize(500, 400);
    EXPECT_EQ(m_dlg.size(), QSize(500, 200));
}

TEST_F(ResizeDlgTest, PlacementSavedWhenClosedWithKey)
{
    ProfileStore::SetProfileName("resize_dlg_test");
    m_dlg.m_strPlacementKey = "{08498238-9FCE-4F3C-861C-BE77C5E25FD5}";
    ShowDialog();
    m_dlg.setGeometry(40, 50, 430, 310);
    QTest::qWait(20);
    m_dlg.accept();

    std::vector<uint8_t> data;
    ASSERT_TRUE(ProfileStore::GetBinary("Position", m_dlg.m_strPlacementKey, data));
    ASSERT_EQ(data.size(), 44u);
    const WindowPlacement wp = WindowPlacement::FromBytes(*reinterpret_cast<const std::array<uint8_t, 44>*>(data.data()));
    EXPECT_EQ(wp.showCmd, WindowPlacement::kShowNormal);
    EXPECT_EQ(QRect(wp.normalLeft, wp.normalTop, wp.normalRight - wp.normalLeft, wp.normalBottom - wp.normalTop),
              m_dlg.geometry());
}

TEST_F(ResizeDlgTest, FailedSaveIsReported)
{
    // The profile's folder cannot be made: a file stands in its way.
    std::ofstream(m_home.Path() / ".config" / "Dovanic Corporation") << "x";
    ProfileStore::SetProfileName("resize_dlg_test");
    std::vector<std::string> texts;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& strText, const std::string&, unsigned) {
        texts.push_back(strText);
        return IDOK;
    });
    m_dlg.m_strPlacementKey = "{104A7F6F-FFA3-4293-B808-9578D46FEC55}";
    ShowDialog();
    m_dlg.reject();
    SetMessageBoxHandler(previous);
    EXPECT_EQ(texts, std::vector<std::string>{"Fail to Save!"});
}

TEST_F(ResizeDlgTest, NothingSavedWithoutKey)
{
    ProfileStore::SetProfileName("resize_dlg_test");
    ShowDialog();
    m_dlg.reject();
    EXPECT_FALSE(std::filesystem::exists(ProfileStore::ProfileFilePath()));
}

}  // namespace
