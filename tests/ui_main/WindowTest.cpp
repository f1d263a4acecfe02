// The window's own surface: toolbar, context menus, the About item.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <functional>

#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_main/MainWindowFixture.h"
#include "ui/MainStatusBar.h"

namespace {

struct PopupSeen
{
    bool bShown = false;
    QStringList texts;
    QString strDefault;
    bool bDefaultBold = false;
};

// Opens a popup with fnOpen, notes what it offers and picks the item
// strChoose (or none, closing it).
PopupSeen UsePopup(const std::function<void()>& fnOpen, const QString& strChoose = QString())
{
    PopupSeen seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!pMenu)
            return;
        timer.stop();
        seen.bShown = true;
        for (QAction* pAction : pMenu->actions())
            seen.texts << pAction->text();
        if (QAction* pDefault = pMenu->defaultAction()) {
            seen.strDefault = pDefault->text();
            seen.bDefaultBold = pDefault->font().bold();
        }
        for (QAction* pAction : pMenu->actions())
            if (!strChoose.isEmpty() && pAction->text() == strChoose)
                pMenu->setActiveAction(pAction);
        QTest::keyClick(pMenu, strChoose.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    });
    timer.start(10);
    fnOpen();
    PumpEventsFor(100);
    return seen;
}

void RightClick(QWidget* pWidget, const QPoint& pos)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, pWidget->mapToGlobal(pos));
    QApplication::sendEvent(pWidget, &event);
}

}  // namespace

TEST_F(MainWindowTest, ToolbarButtonsRunAddConvertOptionsAndAbout)
{
    OpenWindow();
    int nOptions = 0, nAbout = 0;
    Dlg().m_fnRunOptions = [&](QWidget* pOwner) {
        ++nOptions;
        EXPECT_EQ(pOwner, &Dlg());
        // 320 kbit/s, then back to the default 128.
        g_settings.bitrateIndex = nOptions == 1 ? 16 : 11;
    };
    Dlg().m_fnRunAbout = [&](QWidget*) { ++nAbout; };

    const QList<QAction*> actions = Dlg().ToolBar().actions();
    ASSERT_EQ(actions.size(), 4);
    QStringList tips;
    for (QAction* pAction : actions) {
        tips << pAction->toolTip();
        EXPECT_FALSE(pAction->icon().isNull());
    }
    EXPECT_EQ(tips, QStringList({"Add audio files to the current file list", "Convert the files in the list",
                                 "Open the option dialog", "About Kestrune"}));
    EXPECT_EQ(Dlg().ToolBar().iconSize(), QSize(48, 48));

    // Options refreshes the settings summary whatever the dialog did.
    actions[2]->trigger();
    EXPECT_EQ(nOptions, 1);
    EXPECT_TRUE(Dlg().StatusBar().PaneText(2).contains("CBR 320 kbps")) << Dlg().StatusBar().PaneText(2).toStdString();
    PressKey(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(nOptions, 2);
    EXPECT_TRUE(Dlg().StatusBar().PaneText(2).contains("CBR 128 kbps"));

    actions[3]->trigger();
    EXPECT_EQ(nAbout, 1);
    // The About item of the window menu lives on the toolbar's context menu.
    const PopupSeen windowMenu =
        UsePopup([&] { RightClick(&Dlg().ToolBar(), QPoint(Dlg().ToolBar().width() - 5, 10)); }, "&About");
    EXPECT_EQ(windowMenu.texts, QStringList({"&About"}));
    EXPECT_EQ(nAbout, 2);

    // Add: the file dialog is asked, owned by the window.
    QWidget* pChooserOwner = nullptr;
    Dlg().m_fnChooseFiles = [&](QWidget* pOwner) {
        pChooserOwner = pOwner;
        return QStringList();
    };
    actions[0]->trigger();
    EXPECT_EQ(pChooserOwner, &Dlg());
}

TEST_F(MainWindowTest, RightClickOnARowOffersTheContextMenuAndNothingBelowTheRows)
{
    OpenWindow();
    const std::string strGone = WriteFlac("gone.flac", 44100, 2, 16, 4410);
    Load({strGone, WriteFlac("kept.flac", 44100, 2, 16, 4410)});
    std::filesystem::remove(strGone);
    Select({"gone.flac"});
    const QPoint onRow = List().visualRect(List().model()->index(RowOf("gone.flac"), COLUMN_SIZE)).center();

    // The menu's commands reach the window: Open asks about the vanished file.
    m_pBoxes->PushAnswer(IDNO);
    const PopupSeen rowMenu = UsePopup([&] { RightClick(List().viewport(), onRow); }, "Open");
    ASSERT_TRUE(rowMenu.bShown);
    EXPECT_EQ(rowMenu.texts, QStringList({"Convert Selected\tShift+F3", "Open", "Properties"}));
    EXPECT_EQ(rowMenu.strDefault, "Convert Selected\tShift+F3");
    EXPECT_TRUE(rowMenu.bDefaultBold);
    ASSERT_EQ(m_pBoxes->Asked().size(), 1u);
    EXPECT_EQ(m_pBoxes->Asked()[0].strText, "File NOT Found!  Remove It from the List?");

    const PopupSeen below = UsePopup([&] { RightClick(List().viewport(), QPoint(10, List().viewport()->height() - 5)); });
    EXPECT_FALSE(below.bShown);
}
