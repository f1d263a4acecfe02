#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/MessageBox.h"
#include "platform/qt/QtMessageBox.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/support_qt/ScriptedMessageBoxes.h"

namespace {

TEST(QtMessageBoxes, AWorkersBoxIsAnsweredOnTheUserInterfaceThread)
{
    TestApplication();
    CScriptedMessageBoxes boxes;
    boxes.PushAnswer(IDNO);
    std::atomic<int> nAnswer{0};
    std::thread worker([&] { nAnswer = ShowMessageBox("Do You Want to Cancel?", "Kestrune", MB_YESNO); });
    ASSERT_TRUE(PumpEventsUntil([&] { return nAnswer.load() != 0; }));
    worker.join();
    EXPECT_EQ(nAnswer.load(), IDNO);

    // Asked on the user-interface thread itself: answered directly; with the
    // script used up, the first button.
    EXPECT_EQ(ShowMessageBox("Invalidate Output Folder!", "", MB_OK | MB_ICONERROR), IDOK);

    const auto asked = boxes.Asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].strText, "Do You Want to Cancel?");
    EXPECT_EQ(asked[0].strCaption, "Kestrune");
    EXPECT_EQ(asked[0].nType, unsigned(MB_YESNO));
    EXPECT_TRUE(asked[0].bOnUiThread);
    EXPECT_EQ(asked[1].nType, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(asked[1].bOnUiThread);
}

TEST(QtMessageBoxes, TheScriptIsRemovedWithItsObject)
{
    TestApplication();
    const MessageBoxHandler previous = SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) {
        return 99;
    });
    {
        CScriptedMessageBoxes boxes;
        EXPECT_EQ(ShowMessageBox("Reset ALL Options, Are You Sure?", "", MB_YESNO | MB_ICONWARNING), IDYES);
    }
    EXPECT_EQ(ShowMessageBox("x", "", MB_OK), 99);
    SetMessageBoxHandler(previous);
}

// Presses a button of the box that is about to open, as a user would.
void PressWhenShown(QMessageBox::StandardButton button, QMessageBox::Icon* pIconSeen, QString* pTitleSeen)
{
    QTimer::singleShot(0, [=] {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(pBox, nullptr);
        *pIconSeen = pBox->icon();
        *pTitleSeen = pBox->windowTitle();
        if (button == QMessageBox::NoButton)
            pBox->reject();
        else
            pBox->button(button)->click();
    });
}

TEST(QtMessageBoxes, RealBoxesMapButtonsIconsAndResults)
{
    TestApplication();
    QApplication::setApplicationName("kestrune-test");
    struct Case
    {
        unsigned nType;
        QMessageBox::StandardButton press;
        int nExpected;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, QMessageBox::Ok, IDOK, QMessageBox::Critical},
        {MB_OKCANCEL, QMessageBox::Cancel, IDCANCEL, QMessageBox::NoIcon},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::No, IDNO, QMessageBox::Question},
        {MB_YESNO | MB_ICONWARNING, QMessageBox::Yes, IDYES, QMessageBox::Warning},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, QMessageBox::Cancel, IDCANCEL, QMessageBox::Information},
        {MB_YESNO, QMessageBox::NoButton, IDNO, QMessageBox::NoIcon},        // closed without a button
        {MB_OKCANCEL, QMessageBox::NoButton, IDCANCEL, QMessageBox::NoIcon},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon iconSeen{};
        QString strTitle;
        PressWhenShown(c.press, &iconSeen, &strTitle);
        EXPECT_EQ(ShowQtMessageBox("text", "Caption", c.nType), c.nExpected) << c.nType;
        EXPECT_EQ(iconSeen, c.icon) << c.nType;
        EXPECT_EQ(strTitle, "Caption");
    }
    QMessageBox::Icon iconSeen{};
    QString strTitle;
    PressWhenShown(QMessageBox::Ok, &iconSeen, &strTitle);
    ShowQtMessageBox("text", "", MB_OK);
    EXPECT_EQ(strTitle, "kestrune-test");
}

}  // namespace
