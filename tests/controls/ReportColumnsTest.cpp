#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "tests/controls/ReportFixture.h"

namespace {

struct MenuEntry
{
    QString text;
    bool separator;
    bool enabled;
    bool checked;
    bool operator==(const MenuEntry&) const = default;
};

class ReportColumnsTest : public ReportFixture
{
protected:
    // Right-clicks the header over the column and, while the menu is open,
    // records its entries and picks the one titled strPick (none when empty).
    std::vector<MenuEntry> UseHeaderMenu(int nOverColumn, const QString& strPick)
    {
        std::vector<MenuEntry> entries;
        QTimer::singleShot(0, [&] {
            auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(pMenu, nullptr);
            QAction* pPick = nullptr;
            for (QAction* pAction : pMenu->actions()) {
                entries.push_back({pAction->text(), pAction->isSeparator(), pAction->isEnabled(), pAction->isChecked()});
                if (pAction->text() == strPick)
                    pPick = pAction;
            }
            if (pPick) {
                pMenu->setActiveAction(pPick);
                QTest::keyClick(pMenu, Qt::Key_Return);
            } else {
                QTest::keyClick(pMenu, Qt::Key_Escape);
            }
        });
        QHeaderView* pHeader = m_pList->header();
        const QPoint pos(pHeader->sectionViewportPosition(nOverColumn) + 5, pHeader->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, pHeader->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(pHeader->viewport(), &event);
        return entries;
    }

    int VisualIndex(int nColumn) const { return m_pList->header()->visualIndex(nColumn); }

    void DragSection(int nColumn, int nToX)
    {
        QWidget* pViewport = m_pList->header()->viewport();
        const QPoint from(m_pList->header()->sectionViewportPosition(nColumn) + 20, 5);
        auto send = [&](QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
            QMouseEvent event(type, pos, pViewport->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(pViewport, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int x = from.x(); x != nToX; x += (nToX > x ? 1 : -1) * std::min(10, std::abs(nToX - x)))
            send(QEvent::MouseMove, QPoint(x, 5), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(nToX, 5), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPoint(nToX, 5), Qt::NoButton);
    }
};

TEST_F(ReportColumnsTest, HeaderMenuListsColumnsAndHidesAndShowsThem)
{
    m_pList->SetColumnWidth(6, 123);
    const std::vector<MenuEntry> entries = UseHeaderMenu(2, "Frequency");
    const std::vector<MenuEntry> expected = {
        {"Name", false, false, true},      {"Path", false, false, true},         {"Type", false, true, true},
        {"", true, true, false},           {"Size(MB)", false, true, true},      {"Last Modified", false, true, true},
        {"Duration", false, true, true},   {"Frequency", false, true, true},     {"Channel", false, true, true},
    };
    EXPECT_EQ(entries, expected);

    // Hidden: no width, at the far left, its width remembered.
    EXPECT_FALSE(m_pList->IsColumnVisible(6));
    EXPECT_EQ(m_pList->GetColumnWidth(6), 0);
    EXPECT_EQ(m_pList->GetColumnState(6).savedWidth, 123);
    EXPECT_EQ(VisualIndex(6), 0);
    EXPECT_EQ(VisualIndex(0), 1);
    EXPECT_EQ(VisualIndex(7), 7);

    const std::vector<MenuEntry> again = UseHeaderMenu(0, "Frequency");
    ASSERT_EQ(again.size(), 9u);
    EXPECT_FALSE(again[7].checked);
    // Shown: width back, at the right end.
    EXPECT_TRUE(m_pList->IsColumnVisible(6));
    EXPECT_EQ(m_pList->GetColumnWidth(6), 123);
    EXPECT_EQ(VisualIndex(6), 7);
    EXPECT_EQ(VisualIndex(7), 6);
}

TEST_F(ReportColumnsTest, KeyboardContextMenuOnTheHeaderOpensNothing)
{
    bool bOpened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* pPopup = QApplication::activePopupWidget()) {
            bOpened = true;
            pPopup->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(m_pList->header()->viewport(), &event);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bOpened);
}

TEST_F(ReportColumnsTest, HiddenColumnsRefuseWidthChangesAndGatherAtTheLeft)
{
    m_pList->ShowColumn(5, false);
    m_pList->ShowColumn(3, false);
    EXPECT_EQ(VisualIndex(3), 0);
    EXPECT_EQ(VisualIndex(5), 1);

    EXPECT_FALSE(m_pList->SetColumnWidth(3, 200));
    AddRow("a rather long name for a file.flac");
    m_pList->AutoSizeColumns(-1, true);
    EXPECT_EQ(m_pList->GetColumnWidth(3), 0);
    EXPECT_EQ(m_pList->GetColumnState(3).savedWidth, 85);

    // A drag on the left edge, where the hidden columns sit, resizes none of them.
    QWidget* pViewport = m_pList->header()->viewport();
    QTest::mousePress(pViewport, Qt::LeftButton, {}, QPoint(1, 5));
    QTest::mouseMove(pViewport, QPoint(60, 5));
    QTest::mouseRelease(pViewport, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_FALSE(m_pList->IsColumnVisible(3));
    EXPECT_EQ(m_pList->GetColumnWidth(3), 0);

    // Hiding twice keeps the width to give back; showing restores it.
    m_pList->ShowColumn(3, false);
    m_pList->ShowColumn(3, true);
    EXPECT_EQ(m_pList->GetColumnWidth(3), 85);
    EXPECT_EQ(VisualIndex(3), 7);
}

TEST_F(ReportColumnsTest, ColumnDroppedAmongHiddenOnesLandsAtTheLeftmostVisiblePlace)
{
    m_pList->ShowColumn(4, false);
    m_pList->ShowColumn(5, false);
    ASSERT_EQ(VisualIndex(5), 0);
    ASSERT_EQ(VisualIndex(4), 1);
    ASSERT_EQ(VisualIndex(0), 2);

    DragSection(7, 0);
    EXPECT_EQ(VisualIndex(5), 0);
    EXPECT_EQ(VisualIndex(4), 1);
    EXPECT_EQ(VisualIndex(7), 2);
    EXPECT_EQ(VisualIndex(0), 3);
}

TEST_F(ReportColumnsTest, EnsureColumnVisibleScrollsOnlyWhenNeeded)
{
    m_pList->resize(300, 200);
    QCoreApplication::processEvents();
    QScrollBar* pBar = m_pList->horizontalScrollBar();
    const int nClient = m_pList->viewport()->width();
    const int nLeft7 = m_pList->header()->sectionPosition(7);

    m_pList->EnsureColumnVisible(7, false);
    EXPECT_EQ(pBar->value(), nLeft7 + 88 - nClient);  // right edge brought in
    m_pList->EnsureColumnVisible(7, true);
    EXPECT_EQ(pBar->value(), nLeft7 + 88 - nClient);  // already there
    m_pList->EnsureColumnVisible(1, true);
    EXPECT_EQ(pBar->value(), 150);  // Path's left edge at the view's left
}

}  // namespace
