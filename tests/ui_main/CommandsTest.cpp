// The commands on list entries: remove, select all, rename, open, properties.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "resources/Resource.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_main/MainWindowFixture.h"
#include "ui/MainStatusBar.h"

namespace fs = std::filesystem;

TEST_F(MainWindowTest, DeleteSelectAllAndRemoveAllKeepTotalsAndPanesRight)
{
    OpenWindow();
    Load({WriteFlac("a.flac", 44100, 2, 16, 44100), WriteFlac("b.flac", 44100, 2, 16, 88200),
          WriteText("c.flac")});

    PressKey(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(List().GetItemCount(RC_ITEM_SELECTED), 3);
    EXPECT_EQ(Dlg().StatusBar().PaneText(1), QString::fromStdString(RowTotals().SelectionText()));
    EXPECT_TRUE(Dlg().StatusBar().PaneText(1).startsWith("3 file(s) selected, "));

    Select({"a.flac", "c.flac"});
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"b.flac"}));
    EXPECT_EQ(Dlg().Totals().fileCount, 1);
    EXPECT_NEAR(Dlg().Totals().sizeMB, RowTotals().sizeMB, 1e-12);
    EXPECT_NEAR(Dlg().Totals().seconds, 2.0, 1e-12);
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), QString::fromStdString(Dlg().Totals().ListText()));
    EXPECT_EQ(Dlg().StatusBar().PaneText(1), "No file selected");

    // Delete with nothing selected removes nothing.
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(List().GetItemCount(), 1);

    Dlg().OnCommand(ID_REMOVE_ALL);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(Dlg().Totals().fileCount, 0);
    EXPECT_NEAR(Dlg().Totals().sizeMB, 0.0, 1e-12);
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), "No file");
}

TEST_F(MainWindowTest, EscapeAndEnterLeaveTheWindowOpen)
{
    OpenWindow();
    PressKey(Qt::Key_Escape);
    PressKey(Qt::Key_Return);
    QTest::keyClick(&Dlg(), Qt::Key_Escape);
    PumpEventsFor(50);
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(MainWindowTest, F2RenamesTheFileOnDiskAndNeverReplacesAnother)
{
    OpenWindow();
    const std::string strA = WriteFlac("a.flac", 44100, 2, 16, 4410);
    const std::string strB = WriteFlac("b.flac", 44100, 1, 16, 44100);
    const auto nSizeB = fs::file_size(strB);
    Load({strA, strB});

    auto renameTo = [&](const QString& strFrom, const QString& strTo) {
        Select({strFrom});
        List().setCurrentIndex(List().model()->index(RowOf(strFrom), 0));
        PressKey(Qt::Key_F2);
        ASSERT_TRUE(List().IsEditing());
        EXPECT_EQ(List().Editor()->text(), strFrom);
        EXPECT_EQ(List().Editor()->selectedText(), strFrom.left(strFrom.lastIndexOf('.')));
        List().Editor()->setText(strTo);
        QTest::keyClick(List().Editor(), Qt::Key_Return);
        EXPECT_FALSE(List().IsEditing());
    };

    renameTo("a.flac", "renamed.flac");
    EXPECT_FALSE(fs::exists(strA));
    EXPECT_TRUE(fs::exists(m_dir / "renamed.flac"));
    EXPECT_NE(RowOf("renamed.flac"), -1);
    EXPECT_TRUE(m_pBoxes->Asked().empty());

    // Onto another file, out of the folder, or to nothing: refused, the old
    // name is back in the cell and both files are untouched.
    for (const QString& strBad : {QString("b.flac"), QString("../escaped.flac"), QString(".")}) {
        renameTo("renamed.flac", strBad);
        EXPECT_NE(RowOf("renamed.flac"), -1) << strBad.toStdString();
        ASSERT_FALSE(m_pBoxes->Asked().empty());
        EXPECT_EQ(m_pBoxes->Asked().back().strText, "Fail to Rename File!");
        EXPECT_EQ(m_pBoxes->Asked().back().nType, unsigned(MB_OK));
    }
    EXPECT_EQ(m_pBoxes->Asked().size(), 3u);
    EXPECT_TRUE(fs::exists(m_dir / "renamed.flac"));
    EXPECT_EQ(fs::file_size(strB), nSizeB);
    EXPECT_FALSE(fs::exists(m_dir.parent_path() / "escaped.flac"));
}

TEST_F(MainWindowTest, OpenOfAVanishedFileAsksAndRemovesItOnYes)
{
    OpenWindow();
    const std::string strGone = WriteFlac("gone.flac", 44100, 2, 16, 44100);
    Load({strGone, WriteFlac("kept.flac", 44100, 2, 16, 4410)});
    fs::remove(strGone);
    Select({"gone.flac"});

    m_pBoxes->PushAnswer(IDNO);
    Dlg().OnCommand(ID_FILE_OPEN);
    ASSERT_EQ(m_pBoxes->Asked().size(), 1u);
    EXPECT_EQ(m_pBoxes->Asked()[0].strText, "File NOT Found!  Remove It from the List?");
    EXPECT_EQ(m_pBoxes->Asked()[0].nType, unsigned(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(List().GetItemCount(), 2);

    m_pBoxes->PushAnswer(IDYES);
    Dlg().OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(ColumnTexts(COLUMN_NAME), QStringList({"kept.flac"}));
    EXPECT_EQ(Dlg().Totals().fileCount, 1);
    EXPECT_NEAR(Dlg().Totals().seconds, 0.1, 1e-9);
    EXPECT_EQ(Dlg().StatusBar().PaneText(0), QString::fromStdString(Dlg().Totals().ListText()));
}

TEST_F(MainWindowTest, PropertiesWithoutAFileManagerShowOurOwnWindow)
{
    // No session bus: nothing on the desktop can answer.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kestrune-test-bus");
    OpenWindow();
    Load({WriteFlac("a.flac", 44100, 2, 16, 4410), WriteFlac("b.flac", 44100, 2, 16, 4410)});
    Select({"b.flac", "a.flac"});
    Dlg().OnCommand(ID_PROPERTIES);

    QDialog* pProperties = nullptr;
    ASSERT_TRUE(PumpEventsUntil([&] {
        for (QWidget* pWidget : QApplication::topLevelWidgets())
            if (auto* pDialog = qobject_cast<QDialog*>(pWidget); pDialog && pDialog->isVisible() &&
                                                                  pDialog->windowTitle().endsWith(" Properties"))
                pProperties = pDialog;
        return pProperties != nullptr;
    }));
    // The topmost selected row's file.
    EXPECT_EQ(pProperties->windowTitle(), "a.flac Properties");
    QStringList texts;
    for (QLabel* pLabel : pProperties->findChildren<QLabel*>())
        texts << pLabel->text();
    EXPECT_TRUE(texts.contains(QString::fromStdString(m_dir.string()))) << texts.join('|').toStdString();
    pProperties->close();
}
