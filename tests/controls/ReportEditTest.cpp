#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "tests/controls/ReportFixture.h"

namespace {

class ReportEditTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        m_pList->EnableEditing(true);
        m_pList->AddEditableColumn(0);
    }

    QLineEdit* Editor() const { return m_pList->Editor(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Editor(), key, modifiers); }
};

TEST_F(ReportEditTest, EditorSelectsTheNameUpToItsLastPoint)
{
    struct Case
    {
        QString text;
        QString selected;
    };
    const Case cases[] = {
        {"track.one.flac", "track.one"},
        {"README", "README"},
        {".hidden", ""},
    };
    for (const Case& c : cases) {
        AddRow(c.text);
        ASSERT_TRUE(m_pList->BeginEdit(m_pList->GetItemCount() - 1, 0));
        EXPECT_EQ(Editor()->selectedText(), c.selected) << c.text.toStdString();
        EXPECT_TRUE(Editor()->isVisible());
        EXPECT_EQ(m_pList->m_strPreEditText, c.text);
    }
    EXPECT_FALSE(m_pList->BeginEdit(99, 0));
    EXPECT_FALSE(m_pList->BeginEdit(0, 8));
}

TEST_F(ReportEditTest, FirstClickSelectsASecondClickOnAnEditableCellOpensTheEditor)
{
    AddRow("a.flac");
    AddRow("b.flac");
    ClickCell(1, 0);
    EXPECT_FALSE(m_pList->IsEditing());
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_SELECTED), 1);

    ClickCell(1, 2);  // not an editable column
    EXPECT_FALSE(m_pList->IsEditing());
    ClickCell(1, 0);
    EXPECT_TRUE(m_pList->IsEditing());
    EXPECT_EQ(m_pList->EditRow(), 1);

    ClickCell(0, 0);  // a click elsewhere commits and only selects
    EXPECT_FALSE(m_pList->IsEditing());
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_SELECTED), 0);

    ClickCell(1, 0, Qt::RightButton);  // right clicks never open it
    ClickCell(1, 0, Qt::RightButton);
    EXPECT_FALSE(m_pList->IsEditing());

    m_pList->EnableEditing(false);
    ClickCell(1, 0);
    EXPECT_FALSE(m_pList->IsEditing());
}

TEST_F(ReportEditTest, DoubleClickOnAnUnselectedRowOpensTheEditor)
{
    AddRow("a.flac");
    AddRow("b.flac");
    DoubleClickCell(1, 0);
    EXPECT_TRUE(m_pList->IsEditing());
    EXPECT_EQ(m_pList->EditRow(), 1);
}

TEST_F(ReportEditTest, UpAndDownWrapAroundTheRows)
{
    for (const char* psz : {"a.flac", "b.flac", "c.flac"})
        AddRow(psz);
    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    Key(Qt::Key_Up);
    EXPECT_EQ(m_pList->EditRow(), 2);
    EXPECT_EQ(m_pList->GetNextItem(RC_ITEM_SELECTED | RC_ITEM_FOCUSED), 2);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_pList->EditRow(), 0);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_pList->EditRow(), 1);
    EXPECT_EQ(Editor()->text(), "b.flac");
}

TEST_F(ReportEditTest, TabMovesAmongEditableColumnsAndWraps)
{
    AddRow("a.flac");
    AddRow("b.flac");
    QSignalSpy edited(m_pList.get(), &CReportCtrl::ReportEdited);

    // With one editable column Tab commits and reopens the same cell.
    ASSERT_TRUE(m_pList->BeginEdit(1, 0));
    QTest::keyClicks(Editor(), "x");
    Key(Qt::Key_Tab);
    EXPECT_EQ(edited.size(), 1);
    EXPECT_EQ(m_pList->GetItemText(1, 0), "x.flac");
    EXPECT_EQ(m_pList->EditRow(), 1);
    EXPECT_EQ(m_pList->EditColumn(), 0);

    m_pList->AddEditableColumn(2);
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->EditColumn(), 2);
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->EditColumn(), 0);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(m_pList->EditColumn(), 2);
    EXPECT_EQ(m_pList->EditRow(), 1);
}

TEST_F(ReportEditTest, TabOnAColumnThatIsNotEditableActsAsUp)
{
    AddRow("a.flac");
    AddRow("b.flac");
    ASSERT_TRUE(m_pList->BeginEdit(0, 4));  // the owner may open any cell
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_pList->EditRow(), 1);
    EXPECT_EQ(m_pList->EditColumn(), 4);
}

TEST_F(ReportEditTest, OnlyAChangedTextIsCommittedAndReported)
{
    AddRow("Song.flac");
    QSignalSpy edited(m_pList.get(), &CReportCtrl::ReportEdited);

    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    Key(Qt::Key_Return);  // unchanged
    EXPECT_FALSE(m_pList->IsEditing());
    EXPECT_TRUE(edited.isEmpty());

    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    QTest::keyClicks(Editor(), "Other");
    Key(Qt::Key_Escape);  // discarded
    EXPECT_EQ(m_pList->GetItemText(0, 0), "Song.flac");
    EXPECT_TRUE(edited.isEmpty());

    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    QTest::keyClicks(Editor(), "song");  // only the case differs
    Key(Qt::Key_Enter);
    EXPECT_EQ(m_pList->GetItemText(0, 0), "song.flac");
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0], (QVariantList{0, 0}));
    EXPECT_EQ(m_pList->m_strPreEditText, "Song.flac");
    EXPECT_FALSE(m_pList->EndEdit(true));  // closed already
}

TEST_F(ReportEditTest, OwnerWritingTheOldTextBackFromTheNotificationIsSafe)
{
    AddRow("Song.flac");
    QObject::connect(m_pList.get(), &CReportCtrl::ReportEdited, m_pList.get(), [this](int nRow, int nColumn) {
        m_pList->SetItemText(nRow, nColumn, m_pList->m_strPreEditText);  // a failed rename
    });
    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    QTest::keyClicks(Editor(), "New");
    Key(Qt::Key_Return);
    EXPECT_EQ(m_pList->GetItemText(0, 0), "Song.flac");
    EXPECT_FALSE(m_pList->IsEditing());
}

TEST_F(ReportEditTest, ScrollingDiscardsTheTypedText)
{
    for (int i = 0; i < 60; ++i)
        AddRow(QString("%1.flac").arg(i));
    QSignalSpy edited(m_pList.get(), &CReportCtrl::ReportEdited);
    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    QTest::keyClicks(Editor(), "changed");

    const QPoint pos = m_pList->viewport()->rect().center();
    QWheelEvent wheel(pos, m_pList->viewport()->mapToGlobal(pos), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_pList->viewport(), &wheel);
    EXPECT_FALSE(m_pList->IsEditing());
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(m_pList->GetItemText(0, 0), "0.flac");

    ASSERT_TRUE(m_pList->BeginEdit(30, 0));
    QTest::keyClicks(Editor(), "changed");
    m_pList->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);  // the scroll bar
    EXPECT_FALSE(m_pList->IsEditing());
    EXPECT_EQ(m_pList->GetItemText(30, 0), "30.flac");
    EXPECT_TRUE(edited.isEmpty());
}

TEST_F(ReportEditTest, ListOperationsEndTheEditorImplicitly)
{
    AddRow("a.flac");
    AddRow("b.flac");
    QSignalSpy edited(m_pList.get(), &CReportCtrl::ReportEdited);

    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    QTest::keyClicks(Editor(), "c");
    m_pList->SetItemText(1, 2, "X");  // commits
    EXPECT_EQ(m_pList->GetItemText(0, 0), "c.flac");
    EXPECT_EQ(edited.size(), 1);

    ASSERT_TRUE(m_pList->BeginEdit(1, 0));
    QTest::keyClicks(Editor(), "gone");
    m_pList->DeleteItem(1);  // the edit row: discarded
    EXPECT_EQ(edited.size(), 1);
    EXPECT_EQ(m_pList->GetItemCount(), 1);

    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    QTest::keyClicks(Editor(), "d");
    m_pList->DeleteItems(RC_ITEM_UNSELECTED);  // discards, deletes nothing here
    EXPECT_EQ(m_pList->GetItemText(0, 0), "c.flac");
    EXPECT_FALSE(m_pList->IsEditing());
}

TEST_F(ReportEditTest, SpaceIsSwallowedWhileNoEditorIsOpen)
{
    AddRow("a.flac");
    AddRow("b.flac");
    m_pList->SetItemStates(1, RC_ITEM_FOCUSED);
    m_pList->setFocus();
    QTest::keyClick(m_pList.get(), Qt::Key_Space);
    EXPECT_EQ(m_pList->GetItemCount(RC_ITEM_SELECTED), 0);

    ASSERT_TRUE(m_pList->BeginEdit(0, 0));
    Key(Qt::Key_End);
    QTest::keyClicks(Editor(), " ");
    EXPECT_TRUE(Editor()->text().endsWith(' '));
}

TEST_F(ReportEditTest, CheckBoxClicksSelectTheRowAndNotifyTheParent)
{
    m_pList->SetExtendedStyle(LVS_EX_CHECKBOXES);
    AddRow("a.flac");
    AddRow("b.flac");
    QSignalSpy checked(m_pList.get(), &CReportCtrl::ReportCheckSelect);

    // Find the box by clicking along the cell with editing off.
    m_pList->EnableEditing(false);
    const QRect cell = m_pList->visualRect(m_pList->model()->index(1, 0));
    QPoint box;
    for (int x = cell.left(); x < cell.right() && box.isNull(); ++x) {
        QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, QPoint(x, cell.center().y()));
        if (m_pList->GetItemStates(1) & RC_ITEM_CHECKED)
            box = QPoint(x, cell.center().y());
    }
    ASSERT_FALSE(box.isNull()) << "no check box found";
    ASSERT_EQ(checked.size(), 1);
    EXPECT_EQ(checked[0], (QVariantList{1, RC_MSG_LBUTTONDOWN}));
    EXPECT_EQ(m_pList->GetItemStates(1), RC_ITEM_SELECTED | RC_ITEM_CHECKED | RC_ITEM_FOCUSED);

    // On a selected, focused row of an editable column the check handling
    // takes the click, so the editor stays closed.
    m_pList->EnableEditing(true);
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, box);
    EXPECT_FALSE(m_pList->GetItemStates(1) & RC_ITEM_CHECKED);
    EXPECT_EQ(checked.size(), 2);
    EXPECT_FALSE(m_pList->IsEditing());

    m_pList->SetCheckMode(3);  // read-only check boxes
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, box);
    EXPECT_FALSE(m_pList->GetItemStates(1) & RC_ITEM_CHECKED);
    EXPECT_EQ(checked.size(), 2);
}

}  // namespace
